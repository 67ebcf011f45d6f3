// A text file for the blank command: loading either refuses the bytes with
// the UTF-8 error or gives a text in the drill's form (CR LF breaks only, no
// two spaces together) that survives saving and loading again; and a press
// over it gives what the literal press gives for the same draws.
#include "memorize/blanker.h"
#include "memorize/drilltext.h"
#include "memorize/words.h"
#include "platform/exception.h"
#include "tests/support/literalpress.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void checkDrillForm(const std::u32string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && (i + 1 == text.size() || text[i + 1] != U'\n'))
            fail("a CR without its LF");
        if (text[i] == U'\n' && (i == 0 || text[i - 1] != U'\r'))
            fail("an LF without its CR");
        if (text[i] == U' ' && i > 0 && text[i - 1] == U' ')
            fail("two spaces together");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::u32string text;
    try {
        text = loadDrillText(bytes, "input");
    } catch (const Exception& e) {
        if (std::string(e.what()).rfind("input is not valid UTF-8: the byte at offset ", 0) != 0)
            fail("refused with another message");
        return 0;
    }
    checkDrillForm(text);
    if (loadDrillText(drillTextBytes(text), "saved") != text)
        fail("saving and loading again changed the text");

    // The literal press rescans the text at every draw: keep it short.
    if (text.size() > 4000)
        return 0;
    Blanker blanker(text);
    const std::int64_t words = blanker.count();
    if (words == 0)
        return 0;
    std::uint64_t state = size * 0x9E3779B97F4A7C15ull + 1;
    for (std::uint8_t byte : bytes)
        state = (state ^ byte) * 0x100000001B3ull;
    std::u32string literal = text;
    for (std::int64_t i = 0; i < 3 * words && i < 600; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const std::int64_t n = std::int64_t((state >> 33) % std::uint64_t(words)) + 1;
        const std::u32string next = literalDraw(literal, n);
        if (blanker.apply(n) != (next != literal))
            fail("the press and the literal press disagree on whether a draw blanked");
        literal = next;
        if (blanker.text() != literal)
            fail("the press and the literal press give different texts");
    }
    return 0;
}
