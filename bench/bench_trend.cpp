// A pattern click on the listed-stock trend screen against the same SQL run directly.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <random>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "shell/form5.h"
#include "shell/module1.h"
#include "trend_stocks/apply_pattern.h"
#include "trend_stocks/form6.h"

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "quenara_bench";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

// A program folder of its own with n listed stocks of random prices (fixed seed).
void makeUniverse(QTemporaryDir& dir, int n) {
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    platform::ensureProgramDatabases();
    auto db = platform::Database::open(platform::mainDatabasePath());
    db->executeRaw("delete from [list]");
    db->executeRaw("begin");
    std::mt19937 rng(6);
    std::uniform_real_distribution<double> step(-0.15, 0.15);
    const char* markets[] = {"東証１部", "東証２部", "ジャスダック", "マザーズ", "名証１部", "大証１部"};
    const char* units[] = {"A1", "B10", "D100", "F1000"};
    for (int i = 0; i < n; ++i) {
        double price = 100 + int(rng() % 5000);
        QStringList prices;
        for (int k = 0; k < 10; ++k) {
            prices << QString::number(int(price));
            price = std::max(1.0, price * (1 + step(rng)));
        }
        db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, "
                                      "kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('銘柄%1', %2, '%3', '%4', %5)")
                           .arg(i)
                           .arg(1300 + i)
                           .arg(QString::fromUtf8(markets[rng() % 6]), QString::fromLatin1(units[rng() % 4]),
                                prices.join(',')));
    }
    db->executeRaw("commit");
    db->executeRaw("delete from [日付]");
    db->executeRaw("insert into [日付] (kabuka1, kabuka10, kabuka11) values ('26/12/10', '26/12/01', 'day')");
}

const trend::TrendPattern& benchPattern(const Form6& f) {
    for (const trend::TrendPattern& p : f.patterns())
        if (p.control == QLatin1String("Command50")) return p;
    return f.patterns().front();
}

double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

// Each iteration runs the pattern's SQL directly, then clicks the pattern (query, grid fill,
// titles, sort, tints); the counters give both means and their ratio.
void BM_TrendPatternClick(benchmark::State& state) {
    ensureApplication();
    QTemporaryDir dir;
    makeUniverse(dir, int(state.range(0)));
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    Module1::MenuMode = 1001;
    Form6& f = Form6::it();
    const trend::TrendPattern& p = benchPattern(f);
    const QString sql = trend::patternQuery(Module1::TrendBaseSql, p, trend::AndFormTest(Module1::TrendBaseSql));
    auto db = platform::Database::open(platform::mainDatabasePath());
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
    std::printf("stocks %lld: pattern click %.1f ms, raw query %.1f ms, ratio %.2f (limit 2.5 at 40000)\n",
                static_cast<long long>(state.range(0)), click / n, raw / n, click / raw);
    Form6::it().Unload();
    if (Form5::isLoaded()) Form5::it().Unload();
    QCoreApplication::processEvents();
    db.reset();
    platform::Database::releaseUnused();
}
BENCHMARK(BM_TrendPatternClick)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
