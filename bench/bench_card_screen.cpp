// The card trend screen on universe 全銘柄 against one raw scan of the cards (SELECT * FROM mydata,
// stepped with the SQLite C API on a connection of its own): opening the screen, "元に戻す" and
// the click of the pattern listing the most cards, at 50,000 cards over 4,000 stocks (limit: each
// under 100 ms) and, with QUENARA_BENCH_LARGE=1 in the environment, at 500,000 cards over 40,000
// stocks (limit: each within 3x the scan). Cold: the first run on new connections; warm: later
// runs after another connection wrote, so that both sides read the file again. The universe's own
// query, stepped raw with the program's page cache, is shown beside them: no wait can be shorter.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include "bench_support.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/paths.h"
#include "platform/data/sqlite_support.h"
#include "raw_sqlite.h"
#include "services/module1.h"
#include "shell/form5.h"
#include "trend_cards/form16.h"
#include "trend_stocks/apply_pattern.h"

namespace {

using benchsupport::msSince;
using benchsupport::timedMs;

const QByteArray kTouch = "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" WHERE \"ID\" = 1";
const QByteArray kScan = "SELECT * FROM \"mydata\"";
// The universe's own query, stepped raw: what opening the screen and "元に戻す" ask of SQLite.
const QByteArray kUniverse = "SELECT * FROM \"a000-all\"";

struct Size {
    int stocks, cards;
    double limitMs;     // a fixed limit, or 0
    double limitRatio;  // a limit against the scan, or 0
};

// A program folder with the cards of one size (made once per size and process).
QString folderOf(const Size& s) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    auto& dir = made[s.cards];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        const auto t0 = std::chrono::steady_clock::now();
        benchsupport::demoCards(dir->path(), 23, s.stocks, s.cards);
        std::printf("generated %d cards over %d stocks in %.0f ms\n", s.cards, s.stocks, msSince(t0));
    }
    return dir->path();
}

// The pages this process has been given by the system so far (each made resident and cleared).
long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

double scanMs(rawsql::Connection& raw, const QByteArray& sql = kScan) {
    long long checksum = 0;
    const auto t0 = std::chrono::steady_clock::now();
    rawsql::step(raw.get(), sql, &checksum);
    const double ms = msSince(t0);
    benchmark::DoNotOptimize(checksum);
    return ms;
}

void line(const Size& s, const char* what, double screenMs, double scan) {
    const double ratio = screenMs / scan;
    const bool within = s.limitRatio > 0 ? ratio <= s.limitRatio : screenMs < s.limitMs;
    std::printf("cards %d over %d stocks, 全銘柄, %-34s screen %7.1f ms, scan of mydata %6.1f ms, ratio %5.2f "
                "(limit %s): %s\n",
                s.cards, s.stocks, what, screenMs, scan, ratio,
                s.limitRatio > 0 ? qPrintable(QStringLiteral("%1x").arg(s.limitRatio))
                                 : qPrintable(QStringLiteral("%1 ms").arg(s.limitMs)),
                within ? "within" : "OVER");
}

void BM_CardScreen(benchmark::State& state, Size s) {
    benchsupport::ScreenScope scope(folderOf(s));
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    Module1::MenuMode = 10;
    const QString path = platform::mainDatabasePath();
    // The pattern listing the most cards, counted raw.
    std::optional<trend::TrendPattern> pattern;   // a copy: the window that holds it goes
    {
        rawsql::Connection raw(path);
        int most = -1;
        for (const trend::TrendPattern& p : Form16::it().patterns()) {
            const QString sql = trend::patternQuery(QStringLiteral("select * from [a000-all]"), p, false);
            const int rows = rawsql::step(raw.get(), platform::translateSql(sql).toUtf8(), nullptr);
            if (rows > most) most = rows, pattern = p;
        }
        benchsupport::unload<Form16>();
        platform::Database::releaseUnused();
    }
    for (auto _ : state) {
        // Cold: a new connection on each side.
        double coldScan, coldOpen;
        {
            rawsql::Connection raw(path);
            coldScan = scanMs(raw);
        }
        coldOpen = timedMs([] { Form16::it(); });
        Form16& f = Form16::it();
        rawsql::Connection raw(path), writer(path);
        auto touch = [&] { rawsql::step(writer.get(), kTouch, nullptr); };
        // Warm: the same connections after a write.
        touch();
        const double warmScan = scanMs(raw);
        touch();
        const long faultsBefore = minorFaults();
        const double restore = timedMs([&] { f.Command10_Click(); });
        const long restoreFaults = minorFaults() - faultsBefore;
        touch();
        const double click = timedMs([&] { f.patternClick(*pattern); });
        const int listed = f.MSFlexGrid1->Rows() - 1;
        benchsupport::unload<Form16>();
        touch();
        const double warmScan2 = scanMs(raw);
        touch();
        const double warmOpen = timedMs([] { Form16::it(); });
        benchsupport::unload<Form16>();
        // The universe's query on a connection with the program's page cache (with SQLite's default
        // the stock rows a card looks up are pushed out by the cards).
        rawsql::Connection rawCached(path);
        platform::detail::sizePageCache(rawCached.get(), QFileInfo(path).size());
        touch();
        const double universe = scanMs(rawCached, kUniverse);
        const double warm = std::min(warmScan, warmScan2);
        line(s, "opening the screen, cold", coldOpen, coldScan);
        line(s, "opening the screen, warm", warmOpen, warm);
        line(s, "\"元に戻す\"", restore, warm);
        std::printf("cards %d over %d stocks, 全銘柄, \"元に戻す\" took %ld pages of fresh memory (minor faults)\n", s.cards,
                    s.stocks, restoreFaults);
        line(s, qPrintable(QStringLiteral("pattern \"%1\" (%2 cards)").arg(pattern->caption).arg(listed)), click, warm);
        std::printf("cards %d over %d stocks, 全銘柄, the universe's query stepped raw %.1f ms: %.2f times the scan; "
                    "opening the screen %.2f times this query, \"元に戻す\" %.2f\n",
                    s.cards, s.stocks, universe, universe / warm, warmOpen / universe, restore / universe);
        state.counters["scan_ms"] = warm;
        state.counters["universe_ms"] = universe;
        state.counters["open_ms"] = warmOpen;
        state.counters["restore_ms"] = restore;
        state.counters["restore_faults"] = double(restoreFaults);
        state.counters["pattern_ms"] = click;
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("BM_CardScreen/50000", BM_CardScreen, Size{4000, 50000, 100, 0})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    if (std::getenv("QUENARA_BENCH_LARGE"))
        benchmark::RegisterBenchmark("BM_CardScreen/500000", BM_CardScreen, Size{40000, 500000, 0, 3})
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    return true;
}();

}  // namespace
