// One press at 80 % over texts of 10 KiB, 100 KiB and 1 MiB: the fast press
// against the literal one (every draw rescanning the text), on the same text
// and the same draws. The literal press runs only where it ends in seconds.
// Prints the ratios at the end; the goal is a fast press on 1 MiB that takes
// less time than the literal press on 10 KiB.
#include "bench/ratioreporter.h"
#include "memorize/press.h"
#include "memorize/seededdraws.h"
#include "memorize/words.h"
#include "tests/support/literalpress.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr std::int32_t kPercent = 80;
constexpr std::uint64_t kSeed = 20261210;

// A text a person might learn, in size: lines of verse from a vocabulary of
// a few hundred words, so words repeat as they do in real texts, with
// accents, commas, semicolons, hyphens, full stops and CR LF breaks.
std::u32string verse(std::size_t characters)
{
    static const std::u32string syllables[] = {U"a",  U"ma", U"pa", U"sol", U"lu", U"ção", U"te", U"ri", U"o",
                                               U"no", U"dé", U"cu", U"ba", U"vi", U"gem", U"ar", U"es", U"ó"};
    std::mt19937 rng(7);
    std::u32string words[400];
    for (std::u32string& w : words)
        for (unsigned n = 1 + rng() % 4; n > 0; --n)
            w += syllables[rng() % std::size(syllables)];
    static const std::u32string gaps[] = {U" ", U" ", U" ", U" ", U" ", U", ", U"; ", U" - ", U".\r\n", U",\r\n"};
    std::u32string text;
    while (text.size() < characters) {
        text += words[rng() % std::size(words)];
        text += gaps[rng() % std::size(gaps)];
    }
    text.resize(characters);
    return text;
}

const std::u32string& textOf(std::size_t characters)
{
    static std::map<std::size_t, std::u32string> texts;
    auto it = texts.find(characters);
    if (it == texts.end())
        it = texts.emplace(characters, TiraEspaco(verse(characters))).first;
    return it->second;
}

void fastPress(benchmark::State& state)
{
    const std::u32string& text = textOf(std::size_t(state.range(0)));
    // As the window does, the press gets a text of its own to work on; the
    // buffer is handed back and refilled, as the window's would be.
    std::u32string work;
    for (auto _ : state) {
        SeededDraws draws(kSeed);
        work.assign(text);
        work = press(std::move(work), kPercent, std::ref(draws)).text;
        benchmark::DoNotOptimize(work.data());
    }
    state.counters["W"] = double(TotPalavras(text));
}

void literalPress(benchmark::State& state)
{
    const std::u32string& text = textOf(std::size_t(state.range(0)));
    const std::int64_t k = drawCount(TotPalavras(text), kPercent);
    for (auto _ : state) {
        SeededDraws draws(kSeed);
        benchmark::DoNotOptimize(literalPress(text, k, std::ref(draws)).data());
    }
    state.counters["W"] = double(TotPalavras(text));
}

constexpr std::int64_t kKiB = 1024;

BENCHMARK(fastPress)->Arg(10 * kKiB)->Arg(100 * kKiB)->Arg(1024 * kKiB)->Unit(benchmark::kMillisecond);
BENCHMARK(literalPress)->Arg(10 * kKiB)->Unit(benchmark::kMillisecond);
// Seconds a press: once is enough to see the ratio.
BENCHMARK(literalPress)->Arg(100 * kKiB)->Iterations(1)->Unit(benchmark::kMillisecond);

void printRatio(const RatioReporter& reporter, const std::string& what, const std::string& over,
                const std::string& under)
{
    if (const double ratio = reporter.ratio(over, under); ratio >= 0)
        std::printf("%-44s %10.1f\n", what.c_str(), ratio);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios of processor time (times as many):\n");
    printRatio(reporter, "literal / fast, 10 KiB", "literalPress/10240", "fastPress/10240");
    printRatio(reporter, "literal / fast, 100 KiB", "literalPress/102400/iterations:1", "fastPress/102400");
    printRatio(reporter, "literal 10 KiB / fast 1 MiB (goal: above 1)", "literalPress/10240", "fastPress/1048576");
    benchmark::Shutdown();
    return 0;
}
