#pragma once
// A picture: the validity check a table may store for a field, in the Paradox
// picture language.
//
//   #      a digit 0-9
//   ?      a letter, either case
//   &      a letter, turned to upper case
//   ~      a letter, turned to lower case
//   @      any character
//   !      any character, turned to upper case
//   ;c     the character c itself (to match one of these symbols literally)
//   *X     any number (none included) of the item X
//   *nX    exactly n of the item X (n in decimal)
//   [...]  the contents may be left out
//   {...}  a group, so that * or [] applies to all of it
//   a,b    alternatives: inside [] or {}, or over the whole picture
//   other  that character, without regard to case
//
// An item is a single symbol, a literal character, a group, an optional part
// or another repetition. Matching covers the whole value and never backtracks:
// the picture is compiled to a state machine that reads the value once, so a
// value of n characters costs at most n times the size of the picture.
//
// Case conversions (&, ~, !) do not restrict matching: a lower-case letter
// matches &. fill() applies them, for a caller that wants the converted value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

class Picture {
public:
    // Raises EngineError with code::InvalidPicture, naming the picture, the
    // position (in characters, from 1) and what is wrong there.
    explicit Picture(std::string_view utf8);

    const std::string& text() const { return m_text; }

    bool matches(std::u32string_view value) const;
    // Malformed UTF-8 matches nothing.
    bool matches(std::string_view utf8) const;

    // The value with the picture's case conversions applied, following the
    // first way of matching (left alternatives first, repetitions taking as
    // much as they can); nullopt when the value does not match.
    std::optional<std::u32string> fill(std::u32string_view value) const;

    // Limits that keep matching bounded for any picture a file may hold.
    static constexpr int MaxNesting = 64;
    static constexpr std::size_t MaxStates = 20000;

private:
    enum class Kind : std::uint8_t { Digit, Letter, Any, Literal, Split, Match };
    enum class Convert : std::uint8_t { None, Upper, Lower };
    struct State {
        Kind kind = Kind::Match;
        Convert convert = Convert::None;
        char32_t literal = 0;  // folded, for Literal
        int out = -1;          // next state
        int out2 = -1;         // the second way out of a Split
    };
    struct Node;
    class Parser;

    int compile(const Node& node, int next);

    bool accepts(const State& state, char32_t c) const;
    // Adds `state` and every state reachable from it without reading a
    // character to `list`, consuming states only, in order of preference.
    void addClosure(int state, std::vector<int>& list, std::vector<std::uint32_t>& seen,
                    std::uint32_t generation, std::vector<int>& stack) const;

    std::string m_text;
    std::vector<State> m_states;
    int m_start = -1;
};

}  // namespace storage
