// The listed-stock trend screen against its queries stepped raw with SQLite: opening the screen
// from the menu, and a pattern click.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include "bench_support.h"
#include "demo/demo_data.h"
#include "probes.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/ui/flexgrid.h"
#include "raw_sqlite.h"
#include "services/module1.h"
#include "shell/form5.h"
#include "shell/wiring.h"
#include "trend_stocks/apply_pattern.h"
#include "trend_stocks/form6.h"

namespace {

const QString kUniverseSql = QStringLiteral("select * from [list1plus]");
// A write that changes nothing but tells every connection that the file changed.
const QByteArray kTouch = "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" WHERE \"ID\" = 1";
const QString kAllMarketsButton = QStringLiteral("Command53");   // the menu's "全市場"

// A program folder of its own with n priced stocks of demo data (fixed seed).
void makeUniverse(QTemporaryDir& dir, int n) {
    benchsupport::demoStocks(dir.path(), n);
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
}

// What a pattern's query costs raw: the pattern that lists the most stocks (the heaviest grid fill
// and sort), or the one whose conditions name the changes most often (the heaviest filter).
enum class Heaviest { Rows, Mentions };

const trend::TrendPattern& benchPattern(const Form6& f, platform::Database& db, Heaviest by) {
    const trend::TrendPattern* best = &f.patterns().front();
    int most = -1;
    for (const trend::TrendPattern& p : f.patterns()) {
        const QString sql = trend::patternQuery(Module1::TrendBaseSql, p, false);
        const int weight = by == Heaviest::Rows ? db.openRecordset(sql).recordCount()
                                                : int(sql.count(QStringLiteral("ratio"), Qt::CaseInsensitive));
        if (weight > most) most = weight, best = &p;
    }
    return *best;
}

using benchsupport::msSince;

// The program's SQL as SQLite runs it, stepped raw; returns the rows and the time in ms.
std::pair<int, double> rawQuery(sqlite3* db, const QByteArray& sqliteSql) {
    long long checksum = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const int rows = rawsql::step(db, sqliteSql, &checksum);
    const double ms = msSince(t0);
    benchmark::DoNotOptimize(checksum);
    return {rows, ms};
}

QByteArray sqliteText(const QString& programSql) { return platform::translateSql(programSql).toUtf8(); }

// The menu shown and wired, as the program starts.
void startAtTheMenu() {
    Module1::reset();
    shell::wireWindows();
    Form5::it().Show();
    QCoreApplication::processEvents();
}

// The menu's "全市場" clicked; done when the trend screen's grid has painted.
void openAllMarkets() {
    Form5::it().Command(kAllMarketsButton)->doClick();
    QCoreApplication::processEvents();
    Form6::it().MSFlexGrid1->viewport()->repaint();
}

void closeEverything() {
    if (Form6::isLoaded()) Form6::it().Unload();
    if (Form5::isLoaded()) Form5::it().Unload();
    QCoreApplication::processEvents();
    platform::Database::releaseUnused();
}

// Each iteration writes a price through another connection before each timed step (untimed), so
// that every query, the click's included, reads the file again, runs the pattern's SQL raw, then clicks the pattern (query, grid fill, titles,
// sort, tints); the counters give both means and their ratio. The universe's own raw query is
// timed alongside, for the cost of the pattern's conditions.
void BM_TrendPatternClick(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");   // back in place for whatever runs next
    makeUniverse(dir, int(state.range(0)));
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    Module1::MenuMode = 1001;
    Form6& f = Form6::it();
    const Heaviest by = state.range(1) ? Heaviest::Mentions : Heaviest::Rows;
    const trend::TrendPattern& p = benchPattern(f, *platform::Database::open(platform::mainDatabasePath()), by);
    const QByteArray sql =
        sqliteText(trend::patternQuery(Module1::TrendBaseSql, p, trend::AndFormTest(Module1::TrendBaseSql)));
    const QByteArray universe = sqliteText(Module1::TrendBaseSql);
    rawsql::Connection raw(platform::mainDatabasePath());
    rawsql::Connection writer(platform::mainDatabasePath());
    double rawMs = 0, universeMs = 0, click = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto touch = [&] { rawsql::step(writer.get(), kTouch, nullptr); };
        touch();
        const auto [n, ms] = rawQuery(raw.get(), sql);
        rows = n;
        rawMs += ms;
        touch();
        universeMs += rawQuery(raw.get(), universe).second;
        touch();
        const auto t0 = std::chrono::steady_clock::now();
        f.patternClick(p);
        click += msSince(t0);
    }
    const double n = double(state.iterations());
    state.counters["raw_ms"] = rawMs / n;
    state.counters["universe_raw_ms"] = universeMs / n;
    state.counters["click_ms"] = click / n;
    state.counters["ratio"] = click / rawMs;
    state.counters["rows"] = rows;
    const bool bounded = state.range(0) >= 40000;
    std::printf("stocks %lld, pattern %s \"%s\" (%s) listing %d: click %.1f ms, raw query %.1f ms, ratio %.2f%s;"
                " raw pattern query / raw universe query %.2f%s\n",
                static_cast<long long>(state.range(0)), qPrintable(p.group), qPrintable(p.caption),
                by == Heaviest::Rows ? "most rows" : "most change mentions", rows, click / n, rawMs / n, click / rawMs,
                !bounded ? "" : click / rawMs <= 2.5 ? " (limit 2.5): within" : " (limit 2.5): OVER",
                rawMs / universeMs, !bounded ? "" : rawMs <= universeMs ? " (limit 1): within" : " (limit 1): OVER");
    closeEverything();
    qputenv("XDG_DATA_HOME", dataHome);
}
BENCHMARK(BM_TrendPatternClick)
    ->ArgsProduct({{4000, 40000}, {0, 1}})
    ->ArgNames({"stocks", "mentions"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(9);

long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The memory of a process of its own at the menu and at its peak while opening the screen, in kB:
// {menu, peak}; {-1, -1} when it could not be measured.
std::pair<long, long> openingMemory(const QString& dataHome) {
    QProcess probe;
    probe.start(QCoreApplication::applicationFilePath(), {QString::fromUtf8(bench::kOpeningProbeFlag), dataHome});
    if (!probe.waitForFinished(120000)) return {-1, -1};
    long menu = -1, peak = -1;
    std::sscanf(probe.readAllStandardOutput().constData(), "menu %ld peak %ld", &menu, &peak);
    return {menu, peak};
}

// Opening the screen from the menu: the click on "全市場" (load with its refreshes, grid fill,
// titles, sort by code) until the grid has painted, against one raw query of the universe on a
// connection that has been used before, as the menu's is. The window is shown on the offscreen
// platform and its grid painted there.
void BM_OpenTrendScreen(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    makeUniverse(dir, int(state.range(0)));
    startAtTheMenu();
    rawsql::Connection raw(platform::mainDatabasePath());
    const QByteArray universe = sqliteText(kUniverseSql);
    rawQuery(raw.get(), universe);
    double rawMs = 0, openMs = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto [n, ms] = rawQuery(raw.get(), universe);
        rows = n;
        rawMs += ms;
        const auto t0 = std::chrono::steady_clock::now();
        openAllMarkets();
        openMs += msSince(t0);
        if (Form6::it().MSFlexGrid1->Rows() - 1 != rows) state.SkipWithError("the screen shows another universe");
        Form6::it().Command5_Click();
        QCoreApplication::processEvents();
    }
    closeEverything();
    const double n = double(state.iterations());
    state.counters["raw_ms"] = rawMs / n;
    state.counters["open_ms"] = openMs / n;
    state.counters["ratio"] = openMs / rawMs;
    state.counters["rows"] = rows;
    const bool bounded = state.range(0) >= 40000;
    std::printf("stocks %lld, opening the listed-stock screen from the menu (%d rows, painted offscreen): %.1f ms, "
                "raw universe query %.1f ms, ratio %.2f%s\n",
                static_cast<long long>(state.range(0)), rows, openMs / n, rawMs / n, openMs / rawMs,
                !bounded ? "" : openMs / rawMs <= 2.5 ? " (limit 2.5): within" : " (limit 2.5): OVER");
    const auto [menuKb, peakKb] = openingMemory(dir.path());
    if (menuKb > 0 && peakKb > 0) {
        const double ratio = double(peakKb) / double(menuKb);
        state.counters["memory_ratio"] = ratio;
        std::printf("stocks %lld, memory of a fresh process: %.1f MB at the menu, peak %.1f MB while opening, ratio %.2f%s\n",
                    static_cast<long long>(state.range(0)), menuKb / 1024.0, peakKb / 1024.0, ratio,
                    !bounded ? "" : ratio <= 1.5 ? " (limit 1.5): within" : " (limit 1.5): OVER");
    } else {
        std::printf("stocks %lld, memory of a fresh process: not measured\n", static_cast<long long>(state.range(0)));
    }
    qputenv("XDG_DATA_HOME", dataHome);
}
BENCHMARK(BM_OpenTrendScreen)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

namespace bench {

int openingProbe(const QString& dataHome) {
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    startAtTheMenu();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    const long menu = statusKb("VmRSS:");
    // Resets the peak, so that it tells the opening alone.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) return 1;
    clear.close();
    openAllMarkets();
    std::printf("menu %ld peak %ld\n", menu, statusKb("VmHWM:"));
    return 0;
}

}  // namespace bench
