// The register window's grid scrolling through tables of 100 and 100,000
// texts: Down and Up one record at a time, and Page Down and Page Up, each
// key followed by a repaint of the grid. The grid reads only the rows it
// shows, so the large table should scroll about as fast as the small one; the
// large/small ratio of each is printed at the end (goal: below 2).
//
// The walk on the large table runs in its middle, where counting rows to
// place the scroll thumb would cost the most.
#include "bench/ratioreporter.h"
#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "library/wwdbgrid.h"
#include "platform/storage/storage.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kSmall = 100;
constexpr int kLarge = 100000;
constexpr int kWalk = 80;  // records walked down, then up again

std::filesystem::path g_dir;

std::string tableName(int rows) { return "Textos" + std::to_string(rows) + ".DB"; }

void build(int rows)
{
    storage::Engine& engine = storage::Engine::instance();
    engine.createTable(g_dir.string(), tableName(rows), TextsTable::schema());
    auto table = engine.openTable(g_dir.string(), tableName(rows), storage::OpenMode::ReadWrite);
    const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss MS Sans Serif;}}\\f0\\fs24 " +
                            std::string(400, 'x') + "\\par\n}";
    for (int i = 0; i < rows; ++i)
        table->insert(std::nullopt, {"T\xC3\xADtulo " + std::to_string(i), "Autor " + std::to_string(i / 2),
                                     "Assunto", "Primeira linha " + std::to_string(i), rtf});
}

// The grid of the register window over one table, shown off screen.
struct GridWindow {
    explicit GridWindow(int rows)
    {
        table = TextsTable::make(&window, QStringLiteral("TabMemoria"), QString::fromStdString(g_dir.string()),
                                 QString::fromStdString(tableName(rows)));
        auto* source = new TwwDataSource(&window);
        source->setDataSet(table);
        grid = new TwwDBGrid(&window);
        grid->setGeometry(13, 192, 332, 353);
        grid->setSelected(TextsTable::gridColumns());
        grid->setDataSource(source);
        window.resize(400, 600);
        window.show();
        table->Open();
        QApplication::processEvents();
    }
    void start(int rows)
    {
        table->setRecNo(rows == kSmall ? 1 : rows / 2);
        QApplication::processEvents();
    }
    void press(int key)
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(grid, &down);
        grid->viewport()->repaint();
    }

    QWidget window;
    TwwTable* table = nullptr;
    TwwDBGrid* grid = nullptr;
};

// Made on first use; main() drops them while the application still exists.
std::map<int, std::unique_ptr<GridWindow>> g_windows;

GridWindow& gridOver(int rows)
{
    std::unique_ptr<GridWindow>& w = g_windows[rows];
    if (!w)
        w = std::make_unique<GridWindow>(rows);
    return *w;
}

void downUp(benchmark::State& state)
{
    const int rows = int(state.range(0));
    GridWindow& w = gridOver(rows);
    w.start(rows);
    for (auto _ : state) {
        for (int i = 0; i < kWalk; ++i)
            w.press(Qt::Key_Down);
        for (int i = 0; i < kWalk; ++i)
            w.press(Qt::Key_Up);
    }
    state.counters["keys"] = 2 * kWalk;
}

void pageDownUp(benchmark::State& state)
{
    const int rows = int(state.range(0));
    GridWindow& w = gridOver(rows);
    w.start(rows);
    // Within the small table: its rows hold a few pages.
    const int pages = std::max(1, (kSmall - 1) / w.grid->visibleRows() - 1);
    for (auto _ : state) {
        for (int i = 0; i < pages; ++i)
            w.press(Qt::Key_PageDown);
        for (int i = 0; i < pages; ++i)
            w.press(Qt::Key_PageUp);
    }
    state.counters["keys"] = 2 * pages;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (base / "tessalind-bench-grid-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    g_dir = pattern;
    build(kSmall);
    build(kLarge);
    for (const auto& [name, function] :
         std::map<std::string, void (*)(benchmark::State&)>{{"downUp", downUp}, {"pageDownUp", pageDownUp}})
        benchmark::RegisterBenchmark(name.c_str(), function)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
    RatioReporter reporter(RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_windows.clear();
    // Processor time: the machine is shared, and waiting for it is not the grid's.
    std::printf("\nratios, %d rows / %d rows (goal: below 2):\n", kLarge, kSmall);
    for (const char* name : {"downUp", "pageDownUp"}) {
        const std::string small = std::string(name) + "/" + std::to_string(kSmall);
        const std::string large = std::string(name) + "/" + std::to_string(kLarge);
        if (const double ratio = reporter.ratio(large, small); ratio >= 0)
            std::printf("  %-12s %6.2f\n", name, ratio);
    }
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(g_dir, ec);
    return 0;
}
