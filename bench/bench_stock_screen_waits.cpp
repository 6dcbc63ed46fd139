// The listed-stock screen ("全市場", 4,000 and 40,000 stocks): the sort by 銘柄 ("並変え実行" on
// that column) against a plain stable sort of the column's texts, and the name search ("銘柄で探す")
// against its query stepped raw with SQLite's own LIKE (limit 3x each at 40,000 stocks). Then the
// waits a person sees on a shown window, painted offscreen: a pattern click on "全市場" at 4,000
// stocks, and opening the card screen on "保有銘柄".
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <vector>
#include "bench_support.h"
#include "demo/demo_data.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/ui/flexgrid.h"
#include "raw_sqlite.h"
#include "services/module1.h"
#include "shell/form5.h"
#include "trend_stocks/apply_pattern.h"
#include "trend_cards/form16.h"
#include "trend_stocks/form6.h"

namespace {

using benchsupport::timedMs;

const QByteArray kTouch = "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" WHERE \"ID\" = 1";
const QString kWord = QStringLiteral("工");   // in about one name in eight

void report(benchmark::State& state, const char* what, double screen, double floor, const char* floorName) {
    const double n = double(state.iterations());
    const double ratio = screen / floor;
    state.counters["screen_ms"] = screen / n;
    state.counters["floor_ms"] = floor / n;
    state.counters["ratio"] = ratio;
    std::printf("stocks %lld, %s: screen %.1f ms, %s %.1f ms, ratio %.2f%s\n", (long long)state.range(0), what, screen / n,
                floorName, floor / n, ratio, state.range(0) < 40000 ? "" : ratio <= 3 ? " (limit 3): within" : " (limit 3): OVER");
}

// The screen over a program folder of its own with that many priced stocks.
QString stockFolder(QTemporaryDir& dir, int stocks) {
    benchsupport::demoStocks(dir.path(), stocks);
    return dir.path();
}

struct StockScreen {
    QTemporaryDir dir;
    benchsupport::ScreenScope scope;
    benchsupport::AnsweringDialogs* answers = scope.answers;
    explicit StockScreen(int stocks) : scope(stockFolder(dir, stocks)) {
        Module1::reset();
        Module1::MainDbPath = platform::mainDatabasePath();
        Module1::MenuMode = 1001;
        Form6::it();
    }
    ~StockScreen() {
        if (Form6::isLoaded()) Form6::it().Unload();
    }
};

void BM_StockNameSort(benchmark::State& state) {
    StockScreen screen(int(state.range(0)));
    Form6& f = Form6::it();
    double sortMs = 0, floorMs = 0;
    for (auto _ : state) {
        f.Command10_Click();   // 元に戻す: the universe in its own order
        std::vector<QString> names;
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) names.push_back(f.MSFlexGrid1->TextMatrix(r, 2));
        floorMs += timedMs([&] {
            std::stable_sort(names.begin(), names.end(),
                             [](const QString& a, const QString& b) { return QString::compare(a, b) < 0; });
        });
        benchmark::DoNotOptimize(names.data());
        f.MSFlexGrid1->setCol(2);
        sortMs += timedMs([&] { f.Command13_Click(); });
        if (f.MSFlexGrid1->TextMatrix(1, 2) != names.front()) state.SkipWithError("the grid sorted otherwise");
    }
    report(state, "sort by 銘柄", sortMs, floorMs, "plain sort of the names");
}
BENCHMARK(BM_StockNameSort)->Arg(4000)->Arg(40000)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_StockNameSearch(benchmark::State& state) {
    StockScreen screen(int(state.range(0)));
    Form6& f = Form6::it();
    rawsql::Connection raw(platform::mainDatabasePath()), writer(platform::mainDatabasePath());
    // The search's SQL with SQLite's own LIKE and its wildcards.
    const QString sql = Module1::TrendBaseSql +
                        (trend::AndFormTest(Module1::TrendBaseSql) ? QStringLiteral(" and ") : QStringLiteral("where ")) +
                        QStringLiteral("[銘柄] like '*%1*'").arg(kWord);
    const QByteArray sqliteSql = platform::translateSql(sql).replace(QStringLiteral("'*%1*'").arg(kWord), QStringLiteral("'%%1%'").arg(kWord)).toUtf8();
    double searchMs = 0, rawMs = 0;
    int rows = 0;
    for (auto _ : state) {
        f.Command10_Click();
        rawsql::step(writer.get(), kTouch, nullptr);
        long long checksum = 0;
        rawMs += timedMs([&] { rows = rawsql::step(raw.get(), sqliteSql, &checksum); });
        rawsql::step(writer.get(), kTouch, nullptr);
        screen.answers->answers = {kWord};
        searchMs += timedMs([&] { f.Command34_Click(); });
        if (f.MSFlexGrid1->Rows() - 1 != rows) state.SkipWithError("the screen found other rows");
    }
    report(state, qPrintable(QStringLiteral("name search \"%1\" (%2 rows)").arg(kWord).arg(rows)), searchMs, rawMs,
           "raw query");
}
BENCHMARK(BM_StockNameSearch)->Arg(4000)->Arg(40000)->Iterations(5)->Unit(benchmark::kMillisecond);

// A pattern click on the shown "全市場" screen until its grid has painted: the pattern listing the
// most stocks. A price is written through another connection before each click (untimed).
void BM_ShownPatternClick(benchmark::State& state) {
    StockScreen screen(int(state.range(0)));
    Form6& f = Form6::it();
    f.Show();
    QCoreApplication::processEvents();
    const trend::TrendPattern* heaviest = &f.patterns().front();
    {
        const std::shared_ptr<platform::Database> db = platform::Database::open(platform::mainDatabasePath());
        int most = -1;
        for (const trend::TrendPattern& p : f.patterns()) {
            const int rows = db->openRecordset(trend::patternQuery(Module1::TrendBaseSql, p, false)).recordCount();
            if (rows > most) most = rows, heaviest = &p;
        }
    }
    rawsql::Connection writer(platform::mainDatabasePath());
    double clickMs = 0, paintMs = 0;
    for (auto _ : state) {
        rawsql::step(writer.get(), kTouch, nullptr);
        clickMs += timedMs([&] {
            f.patternClick(*heaviest);
            paintMs += timedMs([&] { f.MSFlexGrid1->viewport()->repaint(); });
        });
    }
    const double n = double(state.iterations());
    state.counters["click_ms"] = clickMs / n;
    state.counters["paint_ms"] = paintMs / n;
    std::printf("stocks %lld, pattern \"%s\" clicked on the shown screen (%d rows): %.1f ms, of which the grid's paint %.2f ms\n",
                (long long)state.range(0), qPrintable(heaviest->caption), f.MSFlexGrid1->Rows() - 1, clickMs / n, paintMs / n);
}
BENCHMARK(BM_ShownPatternClick)->Arg(4000)->Iterations(9)->Unit(benchmark::kMillisecond);

// Opening the card screen on "保有銘柄" (30 held stocks, 50,000 cards over 4,000 stocks) until its grid
// has painted; and one paint of its full grid alone.
void BM_OpenHoldings(benchmark::State& state) {
    QTemporaryDir dir;
    benchsupport::demoCards(dir.path(), 23, 4000, 50000);
    benchsupport::ScreenScope scope(dir.path());
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    QStringList held;
    {
        const std::shared_ptr<platform::Database> db = platform::Database::open(platform::mainDatabasePath());
        platform::Recordset codes = db->openRecordset(QStringLiteral("select distinct [コード] from [a000-all]"));
        for (int r = 0; r < codes.recordCount() && held.size() < 30; r += 97) held << QStringLiteral("[コード]=%1").arg(codes.text(r, 0));
    }
    double openMs = 0, paintMs = 0;
    int rows = 0;
    for (auto _ : state) {
        Module1::MenuMode = 14;
        Module1::HoldingsSql = QStringLiteral("select * from [a000-all] where (%1)").arg(held.join(QStringLiteral(" Or ")));
        openMs += timedMs([] {
            Form16::it().Show();
            QCoreApplication::processEvents();
            Form16::it().MSFlexGrid1->viewport()->repaint();
        });
        paintMs += timedMs([] { Form16::it().MSFlexGrid1->viewport()->repaint(); });
        rows = Form16::it().MSFlexGrid1->Rows() - 1;
        benchsupport::unload<Form16>();
    }
    const double n = double(state.iterations());
    state.counters["open_ms"] = openMs / n;
    state.counters["paint_ms"] = paintMs / n;
    std::printf("opening \"保有銘柄\" (%d cards of %lld held stocks): %.1f ms; a paint of its grid %.2f ms\n", rows,
                (long long)held.size(), openMs / n, paintMs / n);
}
BENCHMARK(BM_OpenHoldings)->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace
