// The drill's blanking from the command line: the presses of "Sumir
// Palavras" over a text file, reproducible with a seed.
#include "tools/tessalind-admin/command.h"

#include "memorize/integerconversion.h"
#include "memorize/press.h"
#include "memorize/seededdraws.h"
#include "memorize/words.h"
#include "platform/exception.h"
#include "platform/storage/utf8.h"

#include <charconv>
#include <functional>
#include <iostream>
#include <string>

namespace {

// Strict UTF-8: a text that is not is refused with the place of the first bad
// byte, never passed on with replacement characters in it.
std::u32string decodeUtf8(const std::string& bytes, const std::string& source)
{
    std::u32string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    // A byte order mark is an encoding mark some editors write, not text.
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        i = 3;
    while (i < bytes.size()) {
        const std::size_t at = i;
        const auto c = storage::Utf8::next(bytes, i);
        if (!c)
            throw Exception(source + " is not valid UTF-8: the byte at offset " + std::to_string(at) +
                            " does not begin a well-formed character");
        text.push_back(*c);
    }
    return text;
}

// Every line break (CR LF, a lone LF or a lone CR) as CR LF, the way the
// rich edit's plain text gives them to the drill.
std::u32string withCrLf(const std::u32string& text)
{
    std::u32string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            out += U"\r\n";
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::uint64_t parseSeed(const std::string& value)
{
    std::uint64_t seed = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, error] = std::from_chars(value.data(), end, seed);
    if (value.empty() || error != std::errc() || ptr != end)
        throw Exception("--seed needs a whole number from 0 to 18446744073709551615, not '" + value + "'");
    return seed;
}

using DrawHeard = std::function<void(std::int64_t)>;

int runBlank(std::vector<std::string> args);

const AdminCommand blank{
    "blank", "[--percent R] [--presses N] [--seed S] [--trace] [FILE]",
    "blank words of a UTF-8 text (FILE or standard input) as N presses of the drill at R % would; "
    "writes the text with CR LF line breaks; --trace lists each press's draws on standard error",
    [](const std::vector<std::string>& args) { return runBlank(args); }};

int runBlank(std::vector<std::string> args)
{
    const auto percentText = takeOption(args, "--percent");
    const auto pressesText = takeOption(args, "--presses");
    const auto seedText = takeOption(args, "--seed");
    const bool trace = takeFlag(args, "--trace");
    expectArgs(args, args.size() <= 1 ? args.size() : 1, blank);

    const std::int32_t percent = percentText ? parseInteger(*percentText) : 10;
    const std::int32_t presses = pressesText ? parseInteger(*pressesText) : 1;
    if (presses < 0)
        throw Exception("--presses must be 0 or more, not " + std::to_string(presses));
    SeededDraws draws = seedText ? SeededDraws(parseSeed(*seedText)) : SeededDraws::fromClock();

    const std::string path = args.empty() ? "-" : args[0];
    std::u32string text =
        TiraEspaco(withCrLf(decodeUtf8(readFileBytes(path), path == "-" ? "standard input" : path)));

    for (std::int32_t p = 1; p <= presses; ++p) {
        std::string drawn;
        const auto hear = [&](std::int64_t n) {
            if (!drawn.empty())
                drawn += ',';
            drawn += std::to_string(n);
        };
        PressResult result = press(std::move(text), percent, std::ref(draws), trace ? DrawHeard(hear) : DrawHeard());
        text = std::move(result.text);
        if (trace)
            std::cerr << "press " << p << " W=" << result.words << " k=" << result.draws << " draws=" << drawn << '\n';
    }
    const std::string out = storage::Utf8::encode(text);
    std::cout.write(out.data(), std::streamsize(out.size()));
    std::cout.flush();
    if (!std::cout)
        throw Exception("cannot write the text to standard output");
    return 0;
}

}  // namespace
