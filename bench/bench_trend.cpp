// A pattern click on the listed-stock trend screen against the same SQL run directly.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include "demo/demo_data.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "shell/form5.h"
#include "services/module1.h"
#include "trend_stocks/apply_pattern.h"
#include "trend_stocks/form6.h"

namespace {

// A program folder of its own with n priced stocks of demo data (fixed seed).
void makeUniverse(QTemporaryDir& dir, int n) {
    demo::Options options;
    options.seed = 6;
    options.totalStocks = n;
    options.cards = 0;
    options.workbooks = false;
    demo::generate(dir.path(), options);
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
}

// The pattern that lists the most stocks of the universe: the heaviest grid fill and sort.
const trend::TrendPattern& benchPattern(const Form6& f, platform::Database& db) {
    const trend::TrendPattern* best = &f.patterns().front();
    int most = -1;
    for (const trend::TrendPattern& p : f.patterns()) {
        const int rows = db.openRecordset(trend::patternQuery(Module1::TrendBaseSql, p, false)).recordCount();
        if (rows > most) most = rows, best = &p;
    }
    return *best;
}

double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

// Each iteration runs the pattern's SQL directly, then clicks the pattern (query, grid fill,
// titles, sort, tints); the counters give both means and their ratio.
void BM_TrendPatternClick(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");   // back in place for whatever runs next
    makeUniverse(dir, int(state.range(0)));
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    Module1::MenuMode = 1001;
    Form6& f = Form6::it();
    auto db = platform::Database::open(platform::mainDatabasePath());
    const trend::TrendPattern& p = benchPattern(f, *db);
    const QString sql = trend::patternQuery(Module1::TrendBaseSql, p, trend::AndFormTest(Module1::TrendBaseSql));
    double raw = 0, click = 0;
    int rows = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        platform::Recordset rs = db->openRecordset(sql);
        rows = rs.recordCount();
        benchmark::DoNotOptimize(rows);
        raw += msSince(t0);
        t0 = std::chrono::steady_clock::now();
        f.patternClick(p);
        click += msSince(t0);
    }
    const double n = double(state.iterations());
    state.counters["raw_ms"] = raw / n;
    state.counters["click_ms"] = click / n;
    state.counters["ratio"] = click / raw;
    state.counters["rows"] = rows;
    const bool bounded = state.range(0) >= 40000;
    std::printf("stocks %lld, pattern %s \"%s\" listing %d: click %.1f ms, raw query %.1f ms, ratio %.2f%s\n",
                static_cast<long long>(state.range(0)), qPrintable(p.group), qPrintable(p.caption), rows, click / n,
                raw / n, click / raw, !bounded ? "" : click / raw <= 2.5 ? " (limit 2.5): within" : " (limit 2.5): OVER");
    Form6::it().Unload();
    if (Form5::isLoaded()) Form5::it().Unload();
    QCoreApplication::processEvents();
    db.reset();
    platform::Database::releaseUnused();
    qputenv("XDG_DATA_HOME", dataHome);
}
BENCHMARK(BM_TrendPatternClick)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
