#pragma once
// The word routines of the drill, on a text where one character is one code
// point. Positions are 1-based as the user counts them; line breaks are CR LF.
//
// A "separator" is one of space, comma, semicolon, hyphen-minus and full stop,
// or a line feed. Nothing else is: not CR, tab, colon, quotes or underscore.
// A word index n names the stretch that ends at the n-th separator; these
// routines keep their historical quirks exactly (see each), because the
// blanking press and its tests depend on them character for character.

#include <cstdint>
#include <string>

// The five separators, in their fixed order; the line feed is tested besides.
inline constexpr char32_t kSeparators[5] = {U' ', U',', U';', U'-', U'.'};
inline constexpr char32_t kBlank = U'_';

// True for the five separators and the line feed. Written as plain
// comparisons, without branches, so that loops over a text can test several
// characters at once.
constexpr bool isSeparator(char32_t c)
{
    return (int(c == kSeparators[0]) | int(c == kSeparators[1]) | int(c == kSeparators[2]) |
            int(c == kSeparators[3]) | int(c == kSeparators[4]) | int(c == U'\n')) != 0;
}

// Separator count over positions 1 to L-1: the last character is never
// examined, and a text of fewer than two characters counts 0.
std::int64_t TotPalavras(const std::u32string& text);

// The stretch index n names: the separator before the word (none for the
// first word), the word without its carriage returns, and the n-th separator.
// n <= 0 names position 1 alone; n above the count names the text after the
// last counted separator up to the last character.
std::u32string AchaPalavra(const std::u32string& text, std::int64_t n);

// The text with the first occurrence of `stretch` blanked: every character of
// it that is not a separator becomes one underscore. No occurrence (or an
// empty stretch) leaves the text as it is.
std::u32string TrocaPalavra(const std::u32string& text, const std::u32string& stretch);

// Every run of two or more spaces becomes one space; nothing else changes.
std::u32string TiraEspaco(const std::u32string& text);
// The same in place, for a text that is not needed as it was.
void collapseSpaces(std::u32string& text);

// `count` copies of c; empty for a count of 0 or less.
std::u32string RepeteCaractere(char32_t c, std::int64_t count);
