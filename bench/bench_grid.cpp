#include <QDir>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/ui/controls.h"
#include "platform/ui/flexgrid.h"

namespace {

constexpr int kStocks = 40000;
constexpr int kSortColumn = 8;   // ratio1

// A universe of 40,000 trend rows: a first field, name, code, market, unit, two prices and nine
// changes, sixteen columns in all.
QString universe() {
    static const QString path = [] {
        const QString file = platform::programFile(QStringLiteral("bench_grid.mdb"));
        QFile::remove(file);
        sqlite3* raw = nullptr;
        sqlite3_open(file.toUtf8().constData(), &raw);
        sqlite3_close(raw);
        auto db = platform::Database::open(file);
        db->executeRaw(QStringLiteral(
            "create table trend (ID integer primary key, 銘柄 text, コード integer, 市場 text, 単位 text,"
            " p1 integer, p10 integer, ratio1 real, ratio2 real, ratio3 real, ratio4 real, ratio5 real,"
            " ratio6 real, ratio7 real, ratio8 real, ratio9 real);"
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1)"
            " insert into trend select i, '銘柄' || i, 1000 + i, case i % 3 when 0 then '東証１部'"
            " when 1 then '東証２部' else 'ジャスダック' end, 'D100', 100 + i % 977, 90 + i % 1013,"
            " ((i * 7919) % 2001 - 1000) / 10.0, ((i * 104729) % 2001 - 1000) / 10.0, (i % 37) - 18.5,"
            " (i % 41) - 20.5, (i % 43) - 21.5, (i % 47) - 23.5, (i % 53) - 26.5, (i % 59) - 29.5,"
            " (i % 61) - 30.5 from n;").arg(kStocks));
        return file;
    }();
    return path;
}

const QString kSource = QStringLiteral("select * from [trend]");

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// The data control's refresh alone, against the same refresh bound to a shown grid followed by a
// numeric sort on one column and a repaint. The ratio of the two must stay at or below 2.
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

    double aloneMs = 0, boundMs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        alone.Refresh();
        aloneMs += msSince(t);

        t.restart();
        data.Refresh();
        grid.setCol(kSortColumn);
        grid.Sort(3);
        grid.viewport()->repaint();
        boundMs += msSince(t);
        state.SetIterationTime(msSince(t) / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["refresh_ms"] = aloneMs / n;
    state.counters["grid_ms"] = boundMs / n;
    state.counters["ratio"] = boundMs / aloneMs;
    std::printf("bound grid refresh + numeric sort over %d rows: %.1f ms; refresh alone %.1f ms; ratio %.2f\n",
                grid.Rows() - 1, boundMs / n, aloneMs / n, boundMs / aloneMs);
}
BENCHMARK(BM_BoundGridOverRefresh)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
