// The record cursor on a table of 1,000 texts against one of 100,000: opening
// on the first row, Last, MoveBy(10) and Locate on Autor. The cursor never
// loads a whole table, so each should cost about the same on both; the ratios
// printed at the end (large / small) have the goal of staying below 2.
//
// The tables are built once, before the measurements, straight through the
// engine. Each write is a durable transaction, so they are built in shared
// memory when the machine has it, where making them durable is cheap; the
// reads measured are the same wherever the file lies.
#include "bench/ratioreporter.h"
#include "library/dataset/field.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "platform/storage/storage.h"

#include <benchmark/benchmark.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kSmall = 1000;
constexpr int kLarge = 100000;

std::string tableName(int rows) { return "Textos" + std::to_string(rows) + ".DB"; }

// Authors repeat, as in a real library: two texts each.
std::string authorOf(int i) { return "Autor " + std::to_string(i / 2); }

class Tables {
public:
    Tables()
    {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tessalind-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_dir = pattern;
        const std::string config = m_dir + "/engine.ini";
        std::ofstream(config) << "[Aliases]\nBench=" << m_dir << "\n";
        ::setenv("TESSALIND_ENGINE_CONFIG", config.c_str(), 1);
        build(kSmall);
        build(kLarge);
    }
    ~Tables()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

private:
    static void build(int rows)
    {
        storage::Engine& engine = storage::Engine::instance();
        engine.createTable("Bench", tableName(rows), TextsTable::schema());
        auto table = engine.openTable("Bench", tableName(rows), storage::OpenMode::ReadWrite);
        const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss MS Sans Serif;}}\\f0\\fs24 " +
                                std::string(400, 'x') + "\\par\n}";
        for (int i = 0; i < rows; ++i)
            table->insert(std::nullopt, {"T\xC3\xADtulo " + std::to_string(i), authorOf(i), "Assunto",
                                         "Primeira linha " + std::to_string(i), rtf});
    }

    std::string m_dir;
};

// One open cursor per table size, made on first use.
TwwTable* cursor(int rows)
{
    static std::map<int, std::unique_ptr<QObject>> owners;
    std::unique_ptr<QObject>& owner = owners[rows];
    if (!owner) {
        owner = std::make_unique<QObject>();
        TwwTable* table = TextsTable::make(owner.get(), QStringLiteral("TabMemoria"), QStringLiteral("Bench"),
                                           QString::fromStdString(tableName(rows)));
        table->Open();
    }
    return owner->findChild<TwwTable*>();
}

void openFirst(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        QObject owner;
        TwwTable* table = TextsTable::make(&owner, QStringLiteral("TabMemoria"), QStringLiteral("Bench"),
                                           QString::fromStdString(tableName(rows)));
        table->Open();
        benchmark::DoNotOptimize(table->FieldByName(QStringLiteral("Titulo"))->AsString());
    }
}

void last(benchmark::State& state)
{
    TwwTable* table = cursor(int(state.range(0)));
    for (auto _ : state) {
        table->First();
        table->Last();
    }
}

void moveBy10(benchmark::State& state)
{
    TwwTable* table = cursor(int(state.range(0)));
    table->First();
    for (auto _ : state) {
        if (table->MoveBy(10) < 10)
            table->First();
    }
}

// The author of a row in the middle of the table: a search that walked the
// rows would take fifty times as long on the large table.
void locateAuthor(benchmark::State& state)
{
    const int rows = int(state.range(0));
    TwwTable* table = cursor(rows);
    const QStringList sought = {QString::fromStdString(authorOf(rows / 2))};
    for (auto _ : state) {
        table->First();
        if (!table->Locate(QStringLiteral("Autor"), sought, loCaseInsensitive))
            state.SkipWithError("not found");
    }
}

// The same search without regard to case left off: the index ignores case,
// so the engine must still compare the exact bytes of what it finds.
void locateAuthorExact(benchmark::State& state)
{
    const int rows = int(state.range(0));
    TwwTable* table = cursor(rows);
    const QStringList sought = {QString::fromStdString(authorOf(rows / 2))};
    for (auto _ : state) {
        table->First();
        if (!table->Locate(QStringLiteral("Autor"), sought))
            state.SkipWithError("not found");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const Tables tables;
    for (const auto& [name, function] : std::map<std::string, void (*)(benchmark::State&)>{
             {"openFirst", openFirst},
             {"last", last},
             {"moveBy10", moveBy10},
             {"locateAuthor", locateAuthor},
             {"locateAuthorExact", locateAuthorExact}})
        benchmark::RegisterBenchmark(name.c_str(), function)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
    RatioReporter reporter(RatioReporter::Clock::Real);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios, %d rows / %d rows (goal: below 2):\n", kLarge, kSmall);
    for (const char* name : {"openFirst", "last", "moveBy10", "locateAuthor", "locateAuthorExact"}) {
        const std::string small = std::string(name) + "/" + std::to_string(kSmall);
        const std::string large = std::string(name) + "/" + std::to_string(kLarge);
        if (const double ratio = reporter.ratio(large, small); ratio >= 0)
            std::printf("  %-18s %6.2f\n", name, ratio);
    }
    benchmark::Shutdown();
    return 0;
}
