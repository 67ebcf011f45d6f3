// The word routines on the worked examples and their odd corners.
#include "memorize/words.h"
#include "tests/memorize/showtext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FindCase {
    std::u32string text;
    std::int64_t n;
    std::u32string stretch;  // AchaPalavra
    std::u32string blanked;  // TrocaPalavra of the text with that stretch
};

class FindAndBlank : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindAndBlank, GivesTheStretchAndBlanksItsFirstOccurrence)
{
    const FindCase& c = GetParam();
    const std::u32string stretch = AchaPalavra(c.text, c.n);
    EXPECT_EQ(show(stretch), show(c.stretch)) << "text " << show(c.text) << " n " << c.n;
    EXPECT_EQ(show(TrocaPalavra(c.text, stretch)), show(c.blanked)) << "text " << show(c.text) << " n " << c.n;
}

const std::u32string kSol = U"O sol nasce, a lua dorme.";
const std::u32string kGato = U"O gato; o rato - e o pato.";
const std::u32string kUm = U"um\r\ndois tres";

INSTANTIATE_TEST_SUITE_P(
    Examples, FindAndBlank,
    ::testing::Values(
        FindCase{kSol, 1, U"O ", U"_ sol nasce, a lua dorme."},
        FindCase{kSol, 2, U" sol ", U"O ___ nasce, a lua dorme."},
        FindCase{kSol, 3, U" nasce,", U"O sol _____, a lua dorme."},
        FindCase{kSol, 4, U", ", kSol},  // both characters are separators
        FindCase{kSol, 5, U" a ", U"O sol nasce, _ lua dorme."},
        FindCase{kSol, 6, U" lua ", U"O sol nasce, a ___ dorme."},
        // above the count: the text after the last counted separator
        FindCase{kSol, 7, U" dorme.", U"O sol nasce, a lua _____."},
        FindCase{kSol, 99, U" dorme.", U"O sol nasce, a lua _____."},
        // 0 and below name position 1 alone
        FindCase{kSol, 0, U"O", U"_ sol nasce, a lua dorme."},
        FindCase{kSol, -5, U"O", U"_ sol nasce, a lua dorme."},
        // the same stretch twice: the first occurrence goes, whichever was named
        FindCase{kGato, 4, U" o ", U"O gato; _ rato - e o pato."},
        FindCase{kGato, 9, U" o ", U"O gato; _ rato - e o pato."},
        FindCase{kGato, 6, U" -", kGato},
        FindCase{kGato, 7, U"- ", kGato},
        // a word before a line break comes back with the LF but not the CR,
        // so it matches nowhere
        FindCase{kUm, 1, U"um\n", kUm},
        FindCase{kUm, 2, U"\ndois ", U"um\r\n____ tres"},
        FindCase{kUm, 3, U" tres", U"um\r\ndois ____"},
        // a separator at position 1 is the first stretch alone
        FindCase{U"-a.b", 1, U"-", U"-a.b"},
        FindCase{U"-a.b", 2, U"-a.", U"-_.b"},
        // already blanked: matches the first blanked stretch of that shape
        FindCase{U"a ___ b ___ c", 4, U" ___ ", U"a ___ b ___ c"},
        // case-sensitive: " O," passes over the earlier " o,"
        FindCase{U"a o, b O, c", 5, U" O,", U"a o, b _, c"},
        // one character is one position, accented or not
        FindCase{U"é çà ü", 2, U" çà ", U"é __ ü"},
        // fewer than two characters: the text itself, less a CR
        FindCase{U"", 1, U"", U""},
        FindCase{U"a", 1, U"a", U"_"},
        FindCase{U"\r", 1, U"", U"\r"},
        FindCase{U"a", 0, U"a", U"_"},
        // two characters: the last one is never counted
        FindCase{U"a.", 1, U"a.", U"_."},
        FindCase{U".a", 1, U".", U".a"},
        FindCase{U".a", 2, U".a", U"._"},
        // a CR in the middle of a word is left out of the stretch, which may
        // then match elsewhere
        FindCase{U"x a\rb ab y", 2, U" ab ", U"x a\rb __ y"}));

TEST(TotPalavras, CountsSeparatorsButNeverTheLastCharacter)
{
    const struct {
        std::u32string text;
        std::int64_t count;
    } cases[] = {
        {kSol, 6}, {kGato, 9}, {kUm, 2}, {U"a b ", 1}, {U"a, b", 2}, {U"um\r\ndois", 1}, {U"a", 0}, {U"", 0},
        {U".", 0}, {U"..", 1}, {U"a\tb:c?d!e\"f(g)h_i\rj", 0}, {U" ,;-.\nx", 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TotPalavras(c.text), c.count) << show(c.text);
}

TEST(TrocaPalavra, LeavesTheTextAloneWithoutAMatch)
{
    EXPECT_EQ(TrocaPalavra(kSol, U""), kSol);
    EXPECT_EQ(TrocaPalavra(U"", U"a "), U"");
    EXPECT_EQ(TrocaPalavra(kSol, U"xyz "), kSol);
    // a longer stretch than the text
    EXPECT_EQ(TrocaPalavra(U"ab", U"abc"), U"ab");
    // only the first occurrence changes
    EXPECT_EQ(TrocaPalavra(U"ab ab ab", U"ab "), U"__ ab ab");
}

TEST(TrocaPalavra, KeepsEverySeparatorInsideTheOccurrence)
{
    // A stretch given by hand may hold separators anywhere.
    EXPECT_EQ(TrocaPalavra(U"xa-b.c;d,e\nfx", U"a-b.c;d,e\nf"), U"x_-_._;_,_\n_x");
}

TEST(TiraEspaco, CollapsesEveryRunOfSpacesAndNothingElse)
{
    const struct {
        std::u32string in, out;
    } cases[] = {
        {U"  a  b   c ", U" a b c "}, {U"a    b", U"a b"}, {U"  ", U" "}, {U"", U""},
        {U"a\t\tb\r\n\r\n  c", U"a\t\tb\r\n\r\n c"}, {U" \u00a0 ", U" \u00a0 "}, {U"a", U"a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(TiraEspaco(c.in)), show(c.out)) << show(c.in);
}

TEST(RepeteCaractere, RepeatsOrGivesNothing)
{
    EXPECT_EQ(RepeteCaractere(U'_', 1), U"_");
    EXPECT_EQ(RepeteCaractere(U'é', 3), U"ééé");
    EXPECT_EQ(RepeteCaractere(U'_', 0), U"");
    EXPECT_EQ(RepeteCaractere(U'_', -4), U"");
}

}  // namespace
