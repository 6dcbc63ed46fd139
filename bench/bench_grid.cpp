#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include "demo/demo_data.h"
#include "platform/data/data_control.h"
#include "platform/ui/controls.h"
#include "platform/ui/flexgrid.h"
#include "raw_sqlite.h"

namespace {

constexpr int kStocks = 40000;
constexpr int kSortColumn = 8;   // ratio1

// The listed-stock universe of a demo program folder of its own with 40,000 priced stocks.
QString universe() {
    static QTemporaryDir home;
    static const QString path = [] {
        demo::Options options;
        options.totalStocks = kStocks;
        options.workbooks = false;
        return demo::generate(home.path(), options).folder + QStringLiteral("/druvolo.mdb");
    }();
    return path;
}

const QString kSource = QStringLiteral("select * from [list1plus]");

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// A data control's refresh bound to a shown grid, followed by a numeric sort on one column and a
// repaint, against another data control's refresh alone. The ratio of the two must stay at or
// below 2. A price is written by another connection before each refresh (untimed), so that both
// read their rows again.
void BM_BoundGridOverRefresh(benchmark::State& state) {
    platform::DataControl alone;
    alone.DatabaseName = universe();
    alone.RecordSource = kSource;

    QWidget window;
    window.resize(900, 500);
    ui::Data data(&window, {.name = "Data1", .visible = false});
    data.DatabaseName = universe();
    data.RecordSource = kSource;
    ui::FlexGrid grid(&window, {"MSFlexGrid1", -1, {}, 0, 0, 13500, 7500});
    grid.bind(&data);
    window.show();
    // Both controls once before timing, so neither pays for the first read of the file.
    data.Refresh();
    alone.Refresh();

    rawsql::Connection writer(universe());
    const auto touch = [&] { rawsql::step(writer.get(), "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" WHERE \"ID\" = 1", nullptr); };
    double aloneMs = 0, boundMs = 0;
    for (auto _ : state) {
        touch();
        QElapsedTimer t;
        t.start();
        data.Refresh();
        grid.setCol(kSortColumn);
        grid.Sort(3);
        grid.viewport()->repaint();
        boundMs += msSince(t);
        state.SetIterationTime(msSince(t) / 1000.0);

        state.PauseTiming();
        touch();
        t.restart();
        alone.Refresh();
        aloneMs += msSince(t);
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["refresh_ms"] = aloneMs / n;
    state.counters["grid_ms"] = boundMs / n;
    state.counters["ratio"] = boundMs / aloneMs;
    std::printf("bound grid refresh + numeric sort over %d rows: %.1f ms; refresh alone %.1f ms; ratio %.2f"
                " (limit 2): %s\n",
                grid.Rows() - 1, boundMs / n, aloneMs / n, boundMs / aloneMs, boundMs / aloneMs <= 2 ? "within" : "OVER");
}
BENCHMARK(BM_BoundGridOverRefresh)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
