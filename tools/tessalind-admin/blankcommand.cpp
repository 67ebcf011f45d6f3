// The drill's blanking from the command line: the presses of "Sumir
// Palavras" over a text file, reproducible with a seed.
#include "tools/tessalind-admin/command.h"

#include "memorize/drilltext.h"
#include "memorize/integerconversion.h"
#include "memorize/press.h"
#include "memorize/seededdraws.h"
#include "platform/exception.h"

#include <charconv>
#include <functional>
#include <iostream>
#include <string>

namespace {

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
    std::u32string text = loadDrillText(readFileBytes(path), path == "-" ? "standard input" : path);

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
    const std::string out = drillTextBytes(text);
    std::cout.write(out.data(), std::streamsize(out.size()));
    std::cout.flush();
    if (!std::cout)
        throw Exception("cannot write the text to standard output");
    return 0;
}

}  // namespace
