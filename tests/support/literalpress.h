#pragma once
// The press read literally: every draw finds its stretch with AchaPalavra and
// blanks it with TrocaPalavra, each scanning the text from its start. Slow
// (draws x length) and obviously right: the oracle the fast press is held to,
// and the baseline its benchmark is measured against.

#include "memorize/words.h"

#include <cstdint>
#include <string>

inline std::u32string literalDraw(const std::u32string& text, std::int64_t n)
{
    return TrocaPalavra(text, AchaPalavra(text, n));
}

// Draws from `next` (called with W, giving 1 to W) k times, no skipping.
template <class Next>
std::u32string literalPress(const std::u32string& text, std::int64_t k, Next&& next)
{
    std::u32string current = text;
    const std::int64_t words = TotPalavras(current);
    for (std::int64_t i = 0; i < k; ++i)
        current = literalDraw(current, next(words));
    return current;
}
