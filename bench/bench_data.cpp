// Refresh of a data control against the same query stepped raw with the SQLite C API.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <random>

#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"

namespace {

const char* const kBase = "select * from [list1plus]";
const char* const kPattern =
    "select * from [list1plus] where [ratio1] <= 0 and [ratio2] - [ratio1] <= 0 and [ratio3] - [ratio2] between -1 and 1";

// A price table of n stocks with ten periods of trending prices, and the listed-stock universe
// over it (the ratios of every period against the latest price).
QString makeDatabase(const QString& folder, int stocks) {
    const QString path = folder + QStringLiteral("/bench%1.mdb").arg(stocks);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.close();
    auto db = platform::Database::open(path);
    QString ratios;
    for (int n = 1; n <= 9; ++n)
        ratios += QStringLiteral(", CASE WHEN kabuka1 > 0 AND kabuka%1 > 0 THEN (kabuka%1 * 1.0 / kabuka1 - 1) * 100 END AS ratio%2")
                      .arg(n + 1)
                      .arg(n);
    db->executeRaw(QStringLiteral(
        "CREATE TABLE list (ID INTEGER PRIMARY KEY, 銘柄 TEXT, コード INTEGER, 市場 TEXT, 単位 TEXT, "
        "kabuka1 INTEGER, kabuka2 INTEGER, kabuka3 INTEGER, kabuka4 INTEGER, kabuka5 INTEGER, "
        "kabuka6 INTEGER, kabuka7 INTEGER, kabuka8 INTEGER, kabuka9 INTEGER, kabuka10 INTEGER);"
        "CREATE VIEW list1plus AS SELECT ID, 銘柄, コード, 市場, 単位, kabuka1, kabuka10%1 "
        "FROM list WHERE コード <> 1001 AND kabuka1 > 0;").arg(ratios));

    const char* markets[] = {"東証１部", "東証２部", "マザーズ", "ジャスダック", "名証１部", "大証２部"};
    const char* units[] = {"A1", "B10", "C50", "D100", "E500", "F1000"};
    std::mt19937 rng(20240930u + unsigned(stocks));
    std::normal_distribution<double> step(0.0, 0.03);
    std::uniform_real_distribution<double> trend(-0.02, 0.02);
    sqlite3* h = db->handle();
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(h, "INSERT INTO list VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15)", -1, &ins, nullptr);
    for (int i = 0; i < stocks; ++i) {
        const QByteArray name = QStringLiteral("銘柄%1").arg(i).toUtf8();
        sqlite3_bind_int(ins, 1, i + 1);
        sqlite3_bind_text(ins, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(ins, 3, i == 0 ? 1001 : 1300 + i);
        sqlite3_bind_text(ins, 4, markets[i % 6], -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, 5, units[(i / 6) % 6], -1, SQLITE_STATIC);
        double price = 200 + (i * 37) % 9000;
        const double drift = trend(rng);
        for (int k = 0; k < 10; ++k) {   // newest first
            if (i % 50 == 7 && k == 4) sqlite3_bind_null(ins, 6 + k);
            else sqlite3_bind_int(ins, 6 + k, int(price));
            price *= 1.0 - drift + step(rng);
        }
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    return path;
}

QString databaseFor(int stocks) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    auto it = made.find(stocks);
    if (it == made.end()) it = made.emplace(stocks, makeDatabase(dir.path(), stocks)).first;
    return it->second;
}

// The translated query stepped raw, every column of every row read.
long long rawPass(sqlite3* h, const QByteArray& sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &st, nullptr);
    const int cols = sqlite3_column_count(st);
    long long touched = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: touched += sqlite3_column_int64(st, c); break;
            case SQLITE_FLOAT: touched += (long long)sqlite3_column_double(st, c); break;
            case SQLITE_TEXT: touched += sqlite3_column_bytes(st, c) + *sqlite3_column_text(st, c); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(st);
    return touched;
}

struct Outcome {
    double rows, controlMs, rawMs;
};

std::map<std::pair<int, int>, Outcome>& summary() {
    static std::map<std::pair<int, int>, Outcome> m;
    return m;
}

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One iteration: both the data control's refresh and the raw pass, on the base and the pattern.
// The reported time is the data control's; the counters give both and their ratio.
void RefreshAgainstRaw(benchmark::State& state) {
    const int stocks = int(state.range(0));
    const char* source = state.range(1) ? kPattern : kBase;
    platform::DataControl data;
    data.DatabaseName = databaseFor(stocks);
    data.RecordSource = QString::fromUtf8(source);
    data.Refresh();
    auto db = platform::Database::open(data.DatabaseName);
    const QByteArray sql = platform::translateSql(QString::fromUtf8(source)).toUtf8();

    double controlTime = 0, rawTime = 0;
    long long rows = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(rawPass(db->handle(), sql));
        auto t1 = std::chrono::steady_clock::now();
        data.Refresh();
        auto t2 = std::chrono::steady_clock::now();
        rows = data.recordset().recordCount();
        rawTime += seconds(t1 - t0);
        controlTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    const double n = double(state.iterations());
    state.counters["rows"] = double(rows);
    state.counters["raw_ms"] = rawTime / n * 1000;
    state.counters["control_ms"] = controlTime / n * 1000;
    state.counters["ratio"] = controlTime / rawTime;
    summary()[{stocks, int(state.range(1))}] = {double(rows), controlTime / n * 1000, rawTime / n * 1000};
}

BENCHMARK(RefreshAgainstRaw)
    ->ArgsProduct({{4000, 40000}, {0, 1}})
    ->ArgNames({"stocks", "pattern"})
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

// The one main of the benchmark program: runs every benchmark, then sums up the data control.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bool within = true;
    for (const auto& [key, o] : summary()) {
        const double ratio = o.controlMs / o.rawMs;
        std::printf("%-7s %6d stocks, %6.0f rows: data control %7.2f ms, raw SQLite %7.2f ms, ratio %.2f\n",
                    key.second ? "pattern" : "base", key.first, o.rows, o.controlMs, o.rawMs, ratio);
        if (key.first >= 40000 && ratio > 1.5) within = false;
    }
    if (!summary().empty())
        std::printf("data control within 1.5x of raw SQLite at 40,000 stocks: %s\n", within ? "yes" : "NO");
    return 0;
}
