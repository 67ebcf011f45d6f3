#include "platform/storage/picture.h"

#include "platform/storage/casefold.h"
#include "platform/storage/storage.h"
#include "platform/storage/utf8.h"

#include <algorithm>

namespace storage {

namespace {

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

// Letters of the scripts the case folding knows, plus the Latin letters
// without case (ª, º, ß) that Portuguese and its neighbours write.
bool isLetter(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (c == 0xAA || c == 0xB5 || c == 0xBA)
        return true;
    if (c >= 0xC0 && c <= 0x24F)
        return c != 0xD7 && c != 0xF7;
    if (c >= 0x386 && c <= 0x3FF)
        return c != 0x387 && c != 0x3F6;
    if (c >= 0x400 && c <= 0x52F)
        return c < 0x482 || c > 0x489;
    return CaseFold::fold(c) != c;
}

char32_t toLower(char32_t c)
{
    return CaseFold::fold(c);
}

// The inverse of the folding: the capital whose folded form is c. The folding
// maps each capital to a small lower-case offset, so trying those offsets
// finds it without a second table to keep in step.
char32_t toUpper(char32_t c)
{
    const char32_t candidates[] = {c - 32, c - 1, c - 80, 0x178};
    for (const char32_t candidate : candidates) {
        if (candidate != c && CaseFold::fold(candidate) == c)
            return candidate;
    }
    return c;
}

std::string quoted(const std::string& picture)
{
    return "'" + picture + "'";
}

}  // namespace

// The parsed picture, before it is compiled to states.
struct Picture::Node {
    enum class Type { Atom, Sequence, Choice, Optional, Star, Repeat };
    Type type = Type::Sequence;
    State atom;               // for Atom
    std::uint32_t count = 0;  // for Repeat
    std::vector<Node> children;
};

class Picture::Parser {
public:
    Parser(const std::string& text, std::u32string symbols) : m_text(text), m_s(std::move(symbols)) {}

    Node parse()
    {
        if (m_s.empty())
            fail("it is empty");
        Node node = choice(0, 0, 0);
        if (m_i < m_s.size())  // only a closing bracket stops the top level early
            fail("'" + Utf8::encode(m_s.substr(m_i, 1)) + "' at character " + position(m_i) +
                 " closes nothing");
        return node;
    }

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        throw EngineError(code::InvalidPicture, "Invalid picture " + quoted(m_text) + ": " + what);
    }

    static std::string position(std::size_t index) { return std::to_string(index + 1); }

    // Alternatives separated by ',' up to `closer` (0 at the top level).
    Node choice(int depth, char32_t closer, std::size_t opened)
    {
        if (depth > MaxNesting)
            fail("groups and repetitions nest deeper than " + std::to_string(MaxNesting) +
                 " levels at character " + position(opened));
        Node node{Node::Type::Choice, {}, 0, {}};
        for (;;) {
            const std::size_t start = m_i;
            Node alternative = sequence(depth, closer);
            const bool comma = m_i < m_s.size() && m_s[m_i] == ',';
            if (alternative.children.empty() && (comma || !node.children.empty()))
                fail("the alternative at character " + position(start) + " is empty");
            node.children.push_back(std::move(alternative));
            if (!comma)
                break;
            ++m_i;
        }
        if (node.children.size() == 1)
            return std::move(node.children.front());
        return node;
    }

    Node sequence(int depth, char32_t closer)
    {
        Node node{Node::Type::Sequence, {}, 0, {}};
        while (m_i < m_s.size()) {
            const char32_t c = m_s[m_i];
            if (c == ',' || c == ']' || c == '}') {
                if (closer == 0 || c == ',' || c == closer)
                    break;
                fail("'" + std::string(1, char(c)) + "' at character " + position(m_i) +
                     " does not close the '" + (closer == ']' ? "[" : "{") + "' before it");
            }
            node.children.push_back(item(depth));
        }
        return node;
    }

    Node item(int depth)
    {
        const std::size_t at = m_i;
        const char32_t c = m_s[m_i++];
        switch (c) {
        case '#': return atom(Kind::Digit, Convert::None);
        case '?': return atom(Kind::Letter, Convert::None);
        case '&': return atom(Kind::Letter, Convert::Upper);
        case '~': return atom(Kind::Letter, Convert::Lower);
        case '@': return atom(Kind::Any, Convert::None);
        case '!': return atom(Kind::Any, Convert::Upper);
        case ';':
            if (m_i == m_s.size())
                fail("';' at character " + position(at) + " has no character after it to take literally");
            return literal(m_s[m_i++]);
        case '*': return repetition(depth, at);
        case '[':
        case '{': {
            const char32_t closer = c == '[' ? ']' : '}';
            Node inner = choice(depth + 1, closer, at);
            if (m_i == m_s.size())
                fail("'" + std::string(1, char(c)) + "' at character " + position(at) + " is not closed");
            ++m_i;
            if (inner.type == Node::Type::Sequence && inner.children.empty())
                fail("the group at character " + position(at) + " is empty");
            if (c == '{')
                return inner;
            Node optional{Node::Type::Optional, {}, 0, {}};
            optional.children.push_back(std::move(inner));
            return optional;
        }
        default: return literal(c);
        }
    }

    Node repetition(int depth, std::size_t at)
    {
        std::uint32_t count = 0;
        bool counted = false;
        while (m_i < m_s.size() && isDigit(m_s[m_i])) {
            count = count * 10 + std::uint32_t(m_s[m_i++] - '0');
            counted = true;
            if (count > MaxStates)
                fail("the repeat count at character " + position(at) + " is too large");
        }
        if (m_i == m_s.size() || m_s[m_i] == ',' || m_s[m_i] == ']' || m_s[m_i] == '}')
            fail("'*' at character " + position(at) + " is not followed by an item to repeat");
        if (depth + 1 > MaxNesting)
            fail("groups and repetitions nest deeper than " + std::to_string(MaxNesting) +
                 " levels at character " + position(at));
        Node node{counted ? Node::Type::Repeat : Node::Type::Star, {}, count, {}};
        node.children.push_back(item(depth + 1));
        return node;
    }

    static Node atom(Kind kind, Convert convert)
    {
        Node node{Node::Type::Atom, {}, 0, {}};
        node.atom.kind = kind;
        node.atom.convert = convert;
        return node;
    }

    static Node literal(char32_t c)
    {
        Node node = atom(Kind::Literal, Convert::None);
        node.atom.literal = CaseFold::fold(c);
        return node;
    }

    const std::string& m_text;
    std::u32string m_s;
    std::size_t m_i = 0;
};

namespace {

// States a node compiles to, saturating at a bound so that counts nested in
// counts cannot overflow.
template <typename NodeT>
std::size_t stateCount(const NodeT& node, std::size_t bound)
{
    using Type = typename NodeT::Type;
    std::size_t total = 0;
    for (const NodeT& child : node.children) {
        total += stateCount(child, bound);
        if (total > bound)
            return bound + 1;
    }
    switch (node.type) {
    case Type::Atom: return 1;
    case Type::Sequence: return total;
    case Type::Choice: return total + node.children.size() - 1;
    case Type::Optional:
    case Type::Star: return total + 1;
    case Type::Repeat:
        if (node.count != 0 && total > bound / node.count)
            return bound + 1;
        return total * node.count;
    }
    return total;
}

}  // namespace

Picture::Picture(std::string_view utf8) : m_text(utf8)
{
    const auto symbols = Utf8::decode(utf8);
    if (!symbols)
        throw EngineError(code::InvalidPicture, "Invalid picture " + quoted(m_text) + ": it is not valid UTF-8");
    const Node root = Parser(m_text, *symbols).parse();
    if (stateCount(root, MaxStates) > MaxStates)
        throw EngineError(code::InvalidPicture, "Invalid picture " + quoted(m_text) +
                                                    ": its repetitions expand to more than " +
                                                    std::to_string(MaxStates) + " steps");
    m_states.reserve(stateCount(root, MaxStates) + 1);
    m_states.push_back(State{});  // state 0 accepts the value
    m_start = compile(root, 0);
}

// Builds the states of `node` in front of the state `next` and returns the
// state to enter it by.
int Picture::compile(const Node& node, int next)
{
    const auto add = [this](State state) {
        m_states.push_back(state);
        return int(m_states.size() - 1);
    };
    const auto split = [&](int first, int second) {
        State state;
        state.kind = Kind::Split;
        state.out = first;
        state.out2 = second;
        return add(state);
    };
    switch (node.type) {
    case Node::Type::Atom: {
        State state = node.atom;
        state.out = next;
        return add(state);
    }
    case Node::Type::Sequence:
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
            next = compile(*child, next);
        return next;
    case Node::Type::Choice: {
        int entry = compile(node.children.back(), next);
        for (auto child = node.children.rbegin() + 1; child != node.children.rend(); ++child)
            entry = split(compile(*child, next), entry);
        return entry;
    }
    case Node::Type::Optional: return split(compile(node.children.front(), next), next);
    case Node::Type::Star: {
        // The loop state is made first so the body can lead back to it.
        const int loop = split(-1, next);
        const int body = compile(node.children.front(), loop);
        m_states[std::size_t(loop)].out = body;
        return loop;
    }
    case Node::Type::Repeat:
        // A body without states (such as *0#) would make the loop spin through
        // counts that the state bound never sees.
        if (stateCount(node.children.front(), MaxStates) == 0)
            return next;
        for (std::uint32_t k = 0; k < node.count; ++k)
            next = compile(node.children.front(), next);
        return next;
    }
    return next;
}

bool Picture::accepts(const State& state, char32_t c) const
{
    switch (state.kind) {
    case Kind::Digit: return isDigit(c);
    case Kind::Letter: return isLetter(c);
    case Kind::Any: return true;
    case Kind::Literal: return CaseFold::fold(c) == state.literal;
    case Kind::Split:
    case Kind::Match: return false;
    }
    return false;
}

void Picture::addClosure(int state, std::vector<int>& list, std::vector<std::uint32_t>& seen,
                         std::uint32_t generation, std::vector<int>& stack) const
{
    stack.assign(1, state);
    while (!stack.empty()) {
        const int s = stack.back();
        stack.pop_back();
        if (seen[std::size_t(s)] == generation)
            continue;
        seen[std::size_t(s)] = generation;
        const State& st = m_states[std::size_t(s)];
        if (st.kind == Kind::Split) {
            stack.push_back(st.out2);  // explored after the preferred way
            stack.push_back(st.out);
        } else {
            list.push_back(s);
        }
    }
}

bool Picture::matches(std::string_view utf8) const
{
    const auto value = Utf8::decode(utf8);
    return value && matches(std::u32string_view(*value));
}

bool Picture::matches(std::u32string_view value) const
{
    std::vector<std::uint32_t> seen(m_states.size(), 0);
    std::vector<int> current, next, stack;
    std::uint32_t generation = 1;
    addClosure(m_start, current, seen, generation, stack);
    for (const char32_t c : value) {
        ++generation;
        next.clear();
        for (const int s : current) {
            const State& st = m_states[std::size_t(s)];
            if (accepts(st, c))
                addClosure(st.out, next, seen, generation, stack);
        }
        if (next.empty())
            return false;
        std::swap(current, next);
    }
    return std::find(current.begin(), current.end(), 0) != current.end();
}

std::optional<std::u32string> Picture::fill(std::u32string_view value) const
{
    // The same walk as matches(), keeping for every state reached which state
    // of the step before read the character, so the winning way can be traced
    // back. A state is claimed by the first (preferred) way that reaches it.
    struct Step {
        std::vector<int> states;
        std::vector<std::size_t> from;  // index into the previous step's states
    };
    std::vector<Step> steps(value.size() + 1);
    std::vector<std::uint32_t> seen(m_states.size(), 0);
    std::vector<int> stack;
    std::uint32_t generation = 1;
    addClosure(m_start, steps[0].states, seen, generation, stack);
    for (std::size_t i = 0; i < value.size(); ++i) {
        ++generation;
        Step& next = steps[i + 1];
        const Step& current = steps[i];
        for (std::size_t k = 0; k < current.states.size(); ++k) {
            const State& st = m_states[std::size_t(current.states[k])];
            if (!accepts(st, value[i]))
                continue;
            addClosure(st.out, next.states, seen, generation, stack);
            next.from.resize(next.states.size(), k);
        }
        if (next.states.empty())
            return std::nullopt;
    }
    const auto& last = steps.back().states;
    const auto accepted = std::find(last.begin(), last.end(), 0);
    if (accepted == last.end())
        return std::nullopt;
    std::u32string result(value);
    std::size_t index = std::size_t(accepted - last.begin());
    for (std::size_t i = value.size(); i > 0; --i) {
        index = steps[i].from[index];
        switch (m_states[std::size_t(steps[i - 1].states[index])].convert) {
        case Convert::Upper: result[i - 1] = toUpper(result[i - 1]); break;
        case Convert::Lower: result[i - 1] = toLower(result[i - 1]); break;
        case Convert::None: break;
        }
    }
    return result;
}

}  // namespace storage
