#include "platform/storage/picture.h"

#include "platform/storage/storage.h"
#include "platform/storage/utf8.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


using storage::Picture;

namespace {

struct MatchCase {
    const char* picture;
    const char* value;
    bool matches;
};

// Values are UTF-8, so the accented letters of real titles are in the table.
const MatchCase matchCases[] = {
    // symbols
    {"###", "123", true},
    {"###", "12", false},
    {"###", "1234", false},
    {"###", "12a", false},
    {"?", "a", true},
    {"?", "Z", true},
    {"?", "\xC3\xA3", true},          // ã
    {"?", "\xC3\x87", true},          // Ç
    {"?", "\xC2\xAA", true},          // ª, as in "1ª"
    {"?", "1", false},
    {"?", " ", false},
    {"&", "a", true},                 // case conversions do not restrict
    {"&", "A", true},
    {"&", "5", false},
    {"~", "A", true},
    {"~", "-", false},
    {"@", "-", true},
    {"@", "\xE2\x82\xAC", true},      // € is one character
    {"@", "", false},
    {"!", "x", true},
    {"!", "\xE2\x82\xAC", true},
    // literals, without regard to case
    {"ab", "ab", true},
    {"ab", "AB", true},
    {"\xC3\x87\xC3\xA3o", "\xC3\xA7\xC3\x83O", true},  // Ção against çÃO
    {"ab", "abc", false},
    {"a-b", "a-b", true},
    {";#", "#", true},
    {";#", "5", false},
    {";*;[;{;,;;", "*[{,;", true},
    // optional parts
    {"#[#]", "1", true},
    {"#[#]", "12", true},
    {"#[#]", "123", false},
    {"[+]###", "+123", true},
    {"[+]###", "123", true},
    {"###[-##]", "123-45", true},
    {"###[-##]", "123-", false},
    // groups and alternatives
    {"{Sim,N\xC3\xA3o}", "sim", true},
    {"{Sim,N\xC3\xA3o}", "N\xC3\x83O", true},
    {"{Sim,N\xC3\xA3o}", "Talvez", false},
    {"{Sim,N\xC3\xA3o}", "SimN\xC3\xA3o", false},
    {"Sim,N\xC3\xA3o", "n\xC3\xA3o", true},  // alternatives over the whole picture
    {"[{Dr,Sr}. ]&*?", "Dr. Jo\xC3\xA3o", true},
    {"[{Dr,Sr}. ]&*?", "Jo\xC3\xA3o", true},
    {"[{Dr,Sr}. ]&*?", "Dra. Ana", false},
    {"{a,ab}c", "abc", true},          // the first alternative must not win for good
    {"[a,b]c", "bc", true},
    {"[a,b]c", "c", true},
    // repetitions
    {"*#", "", true},
    {"*#", "0123456789", true},
    {"*#", "12x", false},
    {"*3#", "123", true},
    {"*3#", "12", false},
    {"*3#", "1234", false},
    {"*0#", "", true},
    {"*12#", "123456789012", true},    // counts of more than one digit
    {"*3;5", "555", true},             // a digit to repeat is written literally
    {"*2{##-}", "12-34-", true},
    {"*2{##-}", "12-34", false},
    {"*{##,?}", "12a34b", true},
    {"*{##,?}", "123", false},
    {"*[a]b", "aab", true},            // a repeated optional part
    {"**#", "123", true},
    {"&*?", "Pedra", true},
    {"&*?", "Pedra Bonita", false},
    {"&*{?,;,, }", "Pedra, Bonita", true},
    {"*@.", "fim.", true},             // a star leaves room for what follows
    {"*@.", "fim", false},
    // the kinds of values the texts table holds
    {"*{&*?[ ]}", "Manuel Bandeira", true},
    {"##/##/####", "01/02/1934", true},
    {"##/##/####", "1/2/1934", false},
    {"(###)###-####", "(011)555-1234", true},
};

void PrintTo(const MatchCase& c, std::ostream* os)
{
    *os << "'" << c.picture << "' against '" << c.value << "'";
}

class PictureMatch : public ::testing::TestWithParam<MatchCase> {};

}  // namespace

TEST_P(PictureMatch, MatchesTheWholeValue)
{
    const MatchCase& c = GetParam();
    const Picture picture(c.picture);
    EXPECT_EQ(picture.matches(std::string_view(c.value)), c.matches)
        << "picture " << c.picture << " value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(Table, PictureMatch, ::testing::ValuesIn(matchCases));

namespace {

struct InvalidCase {
    const char* picture;
    const char* complaint;  // a part of the message that says what is wrong
};

const InvalidCase invalidCases[] = {
    {"", "it is empty"},
    {"##;", "';' at character 3 has no character after it"},
    {"*", "'*' at character 1 is not followed by an item"},
    {"#*3", "'*' at character 2 is not followed by an item"},
    {"{a,*}", "'*' at character 4 is not followed by an item"},
    {"[##", "'[' at character 1 is not closed"},
    {"{a,{b}", "'{' at character 1 is not closed"},
    {"##]", "']' at character 3 closes nothing"},
    {"a}", "'}' at character 2 closes nothing"},
    {"{a]", "']' at character 3 does not close the '{'"},
    {"{}", "the group at character 1 is empty"},
    {"[]", "the group at character 1 is empty"},
    {"{a,}", "the alternative at character 4 is empty"},
    {"{,a}", "the alternative at character 2 is empty"},
    {"a,", "the alternative at character 3 is empty"},
    {"*99999999999#", "the repeat count at character 1 is too large"},
    {"*100{*100{*100#}}", "expand to more than"},
    {"\xC3", "not valid UTF-8"},
};

void PrintTo(const InvalidCase& c, std::ostream* os)
{
    *os << "'" << c.picture << "'";
}

class PictureInvalid : public ::testing::TestWithParam<InvalidCase> {};

}  // namespace

TEST_P(PictureInvalid, RaisesAnEngineErrorNamingThePicture)
{
    const InvalidCase& c = GetParam();
    try {
        Picture picture(c.picture);
        FAIL() << "accepted " << c.picture;
    } catch (const storage::EngineError& e) {
        EXPECT_EQ(e.code(), storage::code::InvalidPicture);
        EXPECT_THAT(e.message(), ::testing::StartsWith(std::string("Invalid picture '") + c.picture + "'"));
        EXPECT_THAT(e.message(), ::testing::HasSubstr(c.complaint));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PictureInvalid, ::testing::ValuesIn(invalidCases));

TEST(PictureNesting, DeepNestingIsRefusedInsteadOfExhaustingTheStack)
{
    const std::string deep = std::string(10000, '{') + "#" + std::string(10000, '}');
    EXPECT_THROW(Picture{deep}, storage::EngineError);
    const std::string stars = std::string(10000, '*') + "#";
    EXPECT_THROW(Picture{stars}, storage::EngineError);
    const std::string allowed = std::string(Picture::MaxNesting, '{') + "#" + std::string(Picture::MaxNesting, '}');
    EXPECT_TRUE(Picture(allowed).matches(std::string_view("7")));
}

TEST(PictureMatching, MalformedUtf8MatchesNothing)
{
    EXPECT_FALSE(Picture("*@").matches(std::string_view("ab\xFF")));
    EXPECT_TRUE(Picture("*@").matches(std::u32string_view(U"ab\u00FF")));
}

// A picture that makes a backtracking matcher take exponential time: each of
// the nested stars may take any share of the a's. A state machine reads the
// value once, so this finishes at once; a backtracking one would not finish
// within the suite's timeout.
TEST(PictureMatching, NestedRepetitionsOverALongValue)
{
    const Picture picture("*{*{*a}}b");
    const std::string value(20000, 'a');
    EXPECT_FALSE(picture.matches(std::string_view(value)));
    EXPECT_TRUE(picture.matches(std::string_view(value + "b")));
}

namespace {

struct FillCase {
    const char32_t* picture;
    const char32_t* value;
    const char32_t* filled;  // nullptr: no match
};

const FillCase fillCases[] = {
    {U"&*?", U"pedra", U"Pedra"},
    {U"*~", U"PEDRA", U"pedra"},
    {U"*!", U"a1b\u00e7", U"A1B\u00c7"},
    {U"&*~", U"\u00e9DIPO", U"\u00c9dipo"},
    {U"&", U"\u00df", U"\u00df"},             // ß has no capital of one letter
    {U"&&", U"\u0434\u03b1", U"\u0414\u0391"},  // Cyrillic and Greek
    {U"&", U"\u0101", U"\u0100"},             // Latin Extended-A pairs
    {U"&", U"\u00ff", U"\u0178"},
    {U"{&a,?b}", U"xb", U"xb"},               // the way that matches decides
    {U"{!b,@b}", U"ab", U"Ab"},               // the first way that matches wins
    {U"*&", U"", U""},
    {U"###", U"12", nullptr},
};

void PrintTo(const FillCase& c, std::ostream* os)
{
    *os << "'" << storage::Utf8::encode(c.picture) << "' filling '" << storage::Utf8::encode(c.value) << "'";
}

class PictureFill : public ::testing::TestWithParam<FillCase> {};

}  // namespace

TEST_P(PictureFill, AppliesTheCaseConversionsOfTheMatchingWay)
{
    const FillCase& c = GetParam();
    const Picture picture(storage::Utf8::encode(c.picture));
    const auto filled = picture.fill(c.value);
    if (c.filled == nullptr) {
        EXPECT_FALSE(filled.has_value());
    } else {
        ASSERT_TRUE(filled.has_value());
        EXPECT_TRUE(*filled == std::u32string(c.filled));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PictureFill, ::testing::ValuesIn(fillCases));
