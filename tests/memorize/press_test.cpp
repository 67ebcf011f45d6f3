// The fast press against the literal one, the draw count and the draws.
#include "memorize/blanker.h"
#include "memorize/press.h"
#include "memorize/seededdraws.h"
#include "memorize/words.h"
#include "platform/exception.h"
#include "tests/memorize/showtext.h"
#include "tests/support/literalpress.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// Texts from a small vocabulary so that words repeat, with accents,
// underscores, CR LF and stray CRs and LFs, commas, hyphens, stops,
// semicolons and runs of spaces (before collapsing). A third of them start
// with a word holding a CR: the first word's stretch then leaves the CR out
// and its first occurrence is the tail of a later word ("asol"), which
// blanks into a shape ("a___") that may also stand in the text already.
std::u32string randomText(std::mt19937& rng, std::size_t targetLength)
{
    static const std::u32string words[] = {U"a",  U"o",   U"sol",  U"lua", U"é",    U"ação", U"sol", U"a",
                                           U"_",  U"__",  U"_a",   U"x\r", U"\ra",  U"ab",   U"b",   U"O",
                                           U"ü_", U"asol", U"a___", U"___", U"s\rol"};
    static const std::u32string firstWords[] = {U"s\rol", U"\r\rsol", U"so\rl", U"a\r"};
    static const std::u32string gaps[] = {U" ", U" ", U" ", U", ", U";", U"-", U" - ", U".", U"\r\n", U"\r\n\r\n",
                                          U"  ", U"   ", U"\n", U"\r", U",", U". "};
    std::u32string text;
    if (rng() % 3 == 0)
        text += firstWords[rng() % std::size(firstWords)] + gaps[rng() % std::size(gaps)];
    while (text.size() < targetLength) {
        text += words[rng() % std::size(words)];
        if (text.size() < targetLength)
            text += gaps[rng() % std::size(gaps)];
    }
    text.resize(targetLength);
    return text;
}

// Whether some index would still change the text, read literally.
bool literallySettled(const std::u32string& text)
{
    const std::int64_t words = TotPalavras(text);
    for (std::int64_t n = 1; n <= words; ++n)
        if (literalDraw(text, n) != text)
            return false;
    return true;
}

// Applies the draws one by one to both and compares after each; with
// `checkSettled`, also holds settled() to the literal reading.
void expectSameAsLiteral(const std::u32string& text, const std::vector<std::int64_t>& draws, bool checkSettled)
{
    Blanker blanker(text);
    std::u32string literal = text;
    ASSERT_EQ(blanker.count(), TotPalavras(text));
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const std::u32string next = literalDraw(literal, draws[i]);
        const bool changed = blanker.apply(draws[i]);
        ASSERT_EQ(show(blanker.text()), show(next)) << "text " << show(text) << " draw #" << i << " n=" << draws[i];
        ASSERT_EQ(changed, next != literal) << "text " << show(text) << " draw #" << i;
        literal = next;
        if (checkSettled) {
            ASSERT_EQ(blanker.settled(), literallySettled(literal)) << "text " << show(text) << " after draw #" << i;
        }
    }
}

TEST(Blanker, MatchesTheLiteralPressOnRandomTexts)
{
    std::mt19937 rng(20261210);
    const std::size_t lengths[] = {0, 1, 2, 3, 5, 8, 13, 40, 120, 300, 1200, 4000};
    for (std::size_t length : lengths) {
        const int texts = length <= 300 ? 150 : 12;
        for (int t = 0; t < texts; ++t) {
            const std::u32string text = TiraEspaco(randomText(rng, length));
            const std::int64_t words = TotPalavras(text);
            std::vector<std::int64_t> draws;
            if (words > 0) {
                std::uniform_int_distribution<std::int64_t> index(1, words);
                const std::int64_t count = length <= 300 ? 3 * words : words;
                for (std::int64_t i = 0; i < count; ++i)
                    draws.push_back(index(rng));
            }
            expectSameAsLiteral(text, draws, length <= 120);
            if (HasFatalFailure())
                return;
        }
    }
}

// Texts where the first occurrence of a stretch lies elsewhere than the
// stretch itself; every pair and triple of draws is tried.
TEST(Blanker, MatchesTheLiteralPressOnEveryShortDrawSequence)
{
    const std::u32string texts[] = {
        U"a b a b a",          // the same word over and over
        U"x ab x ab y",        // repeated stretches with neighbours
        U"a\rb ab cab d",      // the first word holds a CR: its stretch "ab " matches later tails
        U"\rab cab ab.",       // leading CR: the first word matches just after it
        U"ab\nab\r\nxab\nab",  // lone LFs after the same word
        U"a _ b _ c",          // underscores already there
        U"a b a_ b __ a",      // a blanked word newly matching an earlier shape
        U"s\r\nsol s\r\nsol",  // CR LF after single words
        U"-a.b-a.b",           // separators at the start and repeated
        U"ab",  U".", U"a.",   // tiny texts
        U"é, ü; é- ü. é",      // accents between all separators
    };
    for (const std::u32string& text : texts) {
        const std::int64_t words = TotPalavras(text);
        for (std::int64_t a = 1; a <= words; ++a)
            for (std::int64_t b = 1; b <= words; ++b) {
                expectSameAsLiteral(text, {a, b}, true);
                for (std::int64_t c = 1; c <= words && words <= 8; ++c)
                    expectSameAsLiteral(text, {a, b, c}, true);
                if (HasFatalFailure())
                    return;
            }
    }
}

TEST(Blanker, RefusesAnIndexOutsideTheCount)
{
    Blanker blanker(U"a b c");
    EXPECT_THROW(blanker.apply(0), Exception);
    EXPECT_THROW(blanker.apply(3), Exception);
    EXPECT_EQ(blanker.text(), U"a b c");
    EXPECT_THROW(Blanker(U"").apply(1), Exception);
}

TEST(Blanker, SettlesWhenEveryWordIsBlankedOrUnreachable)
{
    // "c" is after the last counted separator and "d" stands before a CR LF:
    // neither can ever be blanked, so the text settles with them in it.
    Blanker blanker(U"a b d\r\nb c");
    EXPECT_FALSE(blanker.settled());
    for (std::int64_t n = 1; n <= blanker.count(); ++n)
        blanker.apply(n);
    EXPECT_EQ(blanker.text(), U"_ _ d\r\n_ c");
    EXPECT_TRUE(blanker.settled());
    EXPECT_TRUE(Blanker(U"").settled());
    EXPECT_TRUE(Blanker(U", ; - .").settled());
}

TEST(DrawCount, RoundsHalvesToEvenWithA64BitProduct)
{
    const struct {
        std::int64_t words;
        std::int32_t percent;
        std::int64_t k;
    } cases[] = {
        {25, 10, 2},  // 2.5
        {35, 10, 4},  // 3.5
        {5, 10, 0},   // 0.5
        {15, 10, 2},  // 1.5
        {26, 10, 3},  // 2.6
        {24, 10, 2},  // 2.4
        {6, 0, 0},
        {6, -10, -1},  // -0.6: no draws either way
        {25, -10, -2}, // -2.5
        {10, 150, 15},
        {0, 80, 0},
        // 200000 x 2147483647 wraps in 32 bits
        {200000, 2147483647, 4294967294000},
        {1, -2147483647 - 1, -21474836},  // -21474836.48
    };
    for (const auto& c : cases)
        EXPECT_EQ(drawCount(c.words, c.percent), c.k) << c.words << " x " << c.percent;
}

TEST(Press, CollapsesSpacesAndGivesTheLiteralResultForTheSameSeed)
{
    std::mt19937 rng(7);
    for (int t = 0; t < 40; ++t) {
        const std::u32string text = randomText(rng, 1 + rng() % 600);
        const std::int32_t percent = std::int32_t(rng() % 250);
        const std::uint64_t seed = rng();
        SeededDraws fast(seed);
        std::vector<std::int64_t> drawn;
        const PressResult result =
            press(text, percent, std::ref(fast), [&](std::int64_t n) { drawn.push_back(n); });
        const std::u32string collapsed = TiraEspaco(text);
        EXPECT_EQ(result.words, TotPalavras(collapsed));
        EXPECT_EQ(result.draws, drawCount(result.words, percent));
        EXPECT_LE(std::int64_t(drawn.size()), std::max<std::int64_t>(result.draws, 0));
        SeededDraws slow(seed);
        EXPECT_EQ(show(result.text), show(literalPress(collapsed, result.draws, std::ref(slow))));
        // the indices heard are the ones that were applied
        std::size_t i = 0;
        EXPECT_EQ(show(literalPress(collapsed, std::int64_t(drawn.size()), [&](std::int64_t) { return drawn[i++]; })),
                  show(result.text));
    }
}

TEST(Press, EndsQuicklyOnAnAbsurdPercentage)
{
    // 2147483647 % of a few hundred separators is close to 10^10 draws; the
    // skip stops them once nothing can change.
    std::mt19937 rng(3);
    const std::u32string text = randomText(rng, 2000);
    SeededDraws draws(11);
    std::int64_t drawn = 0;
    const PressResult result = press(text, 2147483647, std::ref(draws), [&](std::int64_t) { ++drawn; });
    EXPECT_GT(result.draws, std::int64_t(1) << 33);
    EXPECT_LT(drawn, result.draws);
    EXPECT_TRUE(literallySettled(result.text));
}

TEST(Press, MakesNoDrawOnAnEmptyOrSeparatorFreeText)
{
    const DrawSource never = [](std::int64_t) -> std::int64_t { throw Exception("drawn"); };
    for (const std::u32string& text : {std::u32string(), std::u32string(U"a"), std::u32string(U"palavra.")}) {
        const PressResult result = press(text, 80, never);
        EXPECT_EQ(result.text, text);
        EXPECT_EQ(result.words, 0);
    }
}

TEST(SeededDraws, IsReproducibleAndCoversTheWholeRange)
{
    SeededDraws a(42), b(42);
    std::set<std::int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t n = a(7);
        ASSERT_EQ(n, b(7));
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 7);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(SeededDraws(1)(1), 1);
    EXPECT_THROW(SeededDraws(1)(0), Exception);
}

}  // namespace
