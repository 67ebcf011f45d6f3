#pragma once
// One press of "Sumir Palavras" over a text: collapse the runs of spaces,
// count the separators W, and make k = W x percent / 100 draws of a word
// index from 1 to W, each blanking on the text as the previous draw left it.

#include <cstdint>
#include <functional>
#include <string>

// Gives a word index from 1 to count, uniformly; count is at least 1.
using DrawSource = std::function<std::int64_t(std::int64_t count)>;

// k = words x percent / 100, rounded to nearest with halves to the even
// neighbour (2.5 gives 2, 3.5 gives 4). The product is taken in 64 bits: a
// large typed percentage must give a large count, not a wrapped or negative
// one. 0 or less means no draws.
std::int64_t drawCount(std::int64_t words, std::int32_t percent);

struct PressResult {
    std::u32string text;
    std::int64_t words = 0;  // W
    std::int64_t draws = 0;  // k
};

// The press. It works on the text it is given, so a caller that moves its
// text in spares a copy of it. Once no index can change the text any more
// the remaining draws are skipped: they could blank nothing. onDraw, when
// given, hears every index actually drawn, in order.
PressResult press(std::u32string text, std::int32_t percent, const DrawSource& draw,
                  const std::function<void(std::int64_t)>& onDraw = {});
