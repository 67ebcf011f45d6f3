#include "memorize/words.h"

#include <algorithm>

std::int64_t TotPalavras(const std::u32string& text)
{
    if (text.size() < 2)
        return 0;
    return std::count_if(text.begin(), text.end() - 1, isSeparator);
}

std::u32string AchaPalavra(const std::u32string& text, std::int64_t n)
{
    const std::size_t length = text.size();
    // The start position s, 1-based; 0 only for the empty text, which then
    // collects nothing.
    std::size_t s = length;
    if (length >= 2) {
        if (n <= 0) {
            s = 1;
        } else {
            std::int64_t count = 0;
            for (std::size_t p = 1; p <= length - 1; ++p) {
                if (isSeparator(text[p - 1]) && ++count >= n) {
                    s = p;
                    break;
                }
            }
        }
    }
    // Walk back from s to the separator before it, leaving out every CR. The
    // character at s itself is always taken, separator or not.
    std::size_t begin = s;
    while (begin > 1 && !isSeparator(text[begin - 2]))
        --begin;
    if (begin > 1)
        --begin;  // the bounding separator
    std::u32string stretch;
    for (std::size_t p = begin; p <= s && p >= 1; ++p)
        if (text[p - 1] != U'\r')
            stretch.push_back(text[p - 1]);
    return stretch;
}

std::u32string TrocaPalavra(const std::u32string& text, const std::u32string& stretch)
{
    if (stretch.empty())
        return text;
    const std::size_t i = text.find(stretch);
    if (i == std::u32string::npos)
        return text;
    std::u32string result = text;
    for (std::size_t p = i; p < i + stretch.size(); ++p)
        if (!isSeparator(result[p]))
            result.replace(p, 1, RepeteCaractere(kBlank, 1));
    return result;
}

std::u32string TiraEspaco(const std::u32string& text)
{
    std::u32string result = text;
    collapseSpaces(result);
    return result;
}

void collapseSpaces(std::u32string& text)
{
    // A press collapses a text that is already collapsed: look for two
    // spaces together first, without branching on every character.
    bool pair = false;
    for (std::size_t p = 1; p < text.size(); ++p)
        pair |= text[p - 1] == U' ' && text[p] == U' ';
    if (!pair)
        return;
    std::size_t out = text.find(U"  ") + 1;
    for (std::size_t p = out; p < text.size(); ++p)
        if (text[p] != U' ' || text[out - 1] != U' ')
            text[out++] = text[p];
    text.resize(out);
}

std::u32string RepeteCaractere(char32_t c, std::int64_t count)
{
    if (count <= 0)
        return {};
    return std::u32string(std::size_t(count), c);
}
