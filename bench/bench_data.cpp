// Refresh of a data control against the same query stepped raw with the SQLite C API: warm (the
// same control refreshed again and again) and cold (the first refresh of a new control and connection).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "demo/demo_data.h"
#include "raw_sqlite.h"

namespace {

const char* const kBase = "select * from [list1plus]";
const char* const kPattern =
    "select * from [list1plus] where [ratio1] <= 0 and [ratio2] - [ratio1] <= 0 and [ratio3] - [ratio2] between -1 and 1";

// A program folder of generated demo data with exactly this many priced stocks.
QString databaseFor(int stocks) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    auto it = made.find(stocks);
    if (it == made.end()) {
        demo::Options options;
        options.seed = 20240930u;
        options.totalStocks = stocks;
        options.workbooks = false;
        const QString home = dir.path() + QStringLiteral("/s%1").arg(stocks);
        const demo::Summary summary = demo::generate(home, options);
        it = made.emplace(stocks, summary.folder + QStringLiteral("/druvolo.mdb")).first;
    }
    return it->second;
}

struct Outcome {
    double rows, controlMs, rawMs;
};

// Kind 0: warm base, 1: warm pattern, 2: cold base.
std::map<std::pair<int, int>, Outcome>& summary() {
    static std::map<std::pair<int, int>, Outcome> m;
    return m;
}
const char* const kKindNames[] = {"base", "pattern", "cold"};

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The counters of one benchmark and its line of the summary.
void report(benchmark::State& state, int stocks, int kind, int rows, double controlTime, double rawTime) {
    const double n = double(state.iterations());
    state.counters["rows"] = double(rows);
    state.counters["raw_ms"] = rawTime / n * 1000;
    state.counters["control_ms"] = controlTime / n * 1000;
    state.counters["ratio"] = controlTime / rawTime;
    summary()[{stocks, kind}] = {double(rows), controlTime / n * 1000, rawTime / n * 1000};
}

// One iteration: a price written by another connection (untimed), so that neither side may keep
// what it read before, then the raw pass and the data control's refresh, on the base and the
// pattern. The reported time is the data control's; the counters give both and their ratio.
void RefreshAgainstRaw(benchmark::State& state) {
    const int stocks = int(state.range(0));
    const char* source = state.range(1) ? kPattern : kBase;
    platform::DataControl data;
    data.DatabaseName = databaseFor(stocks);
    data.RecordSource = QString::fromUtf8(source);
    data.Refresh();
    rawsql::Connection raw(data.DatabaseName);
    rawsql::Connection writer(data.DatabaseName);
    const QByteArray sql = platform::translateSql(QString::fromUtf8(source)).toUtf8();
    const QByteArray touch = "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" WHERE \"ID\" = 1";

    double controlTime = 0, rawTime = 0;
    long long checksum = 0;
    for (auto _ : state) {
        rawsql::step(writer.get(), touch, nullptr);
        auto t0 = std::chrono::steady_clock::now();
        rawsql::step(raw.get(), sql, &checksum);
        auto t1 = std::chrono::steady_clock::now();
        data.Refresh();
        auto t2 = std::chrono::steady_clock::now();
        rawTime += seconds(t1 - t0);
        controlTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    benchmark::DoNotOptimize(checksum);
    report(state, stocks, int(state.range(1)), data.recordset().recordCount(), controlTime, rawTime);
}

BENCHMARK(RefreshAgainstRaw)
    ->ArgsProduct({{4000, 40000}, {0, 1}})
    ->ArgNames({"stocks", "pattern"})
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

// The first refresh in a process: a new data control on a database no one holds open, against a
// new plain SQLite connection that prepares and steps the same SQL. Neither side's closing is timed.
void ColdRefreshAgainstRaw(benchmark::State& state) {
    const int stocks = int(state.range(0));
    const QString path = databaseFor(stocks);
    const QByteArray sql = platform::translateSql(QString::fromUtf8(kBase)).toUtf8();
    double controlTime = 0, rawTime = 0;
    long long checksum = 0;
    int rows = 0;
    for (auto _ : state) {
        {
            const auto t0 = std::chrono::steady_clock::now();
            rawsql::Connection raw(path);
            rawsql::step(raw.get(), sql, &checksum);
            rawTime += seconds(std::chrono::steady_clock::now() - t0);
        }
        auto data = std::make_unique<platform::DataControl>();
        data->DatabaseName = path;
        data->RecordSource = QString::fromUtf8(kBase);
        const auto t1 = std::chrono::steady_clock::now();
        data->Refresh();
        const auto t2 = std::chrono::steady_clock::now();
        rows = data->recordset().recordCount();
        controlTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    benchmark::DoNotOptimize(checksum);
    report(state, stocks, 2, rows, controlTime, rawTime);
}

BENCHMARK(ColdRefreshAgainstRaw)
    ->Arg(4000)
    ->Arg(40000)
    ->ArgName("stocks")
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

// Sums up the data control against raw SQLite once every benchmark has run.
struct SummaryAtExit {
    SummaryAtExit() { summary(); }   // the table outlives this printer
    ~SummaryAtExit() {
        bool within = true;
        for (const auto& [key, o] : summary()) {
            const double ratio = o.controlMs / o.rawMs;
            std::printf("%-7s %6d stocks, %6.0f rows: data control %7.2f ms, raw SQLite %7.2f ms, ratio %.2f\n",
                        kKindNames[key.second], key.first, o.rows, o.controlMs, o.rawMs, ratio);
            if (key.first >= 40000 && ratio > 1.5) within = false;
            // The cold refresh against the raw query on a connection that has run before, too.
            const auto warm = summary().find({key.first, 0});
            if (key.second == 2 && warm != summary().end())
                std::printf("cold    %6d stocks: data control's first refresh against the warm raw query: ratio %.2f\n",
                            key.first, o.controlMs / warm->second.rawMs);
        }
        if (!summary().empty())
            std::printf("data control within 1.5x of raw SQLite at 40,000 stocks (warm and cold): %s\n", within ? "yes" : "NO");
    }
} summaryAtExit;

}  // namespace
