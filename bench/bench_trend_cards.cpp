// The card trend screen on universe 10 (全銘柄, 40,000 cards over 4,000 stocks): a pattern click
// and an "X日" extraction, each against the same SQL, as translated for SQLite, stepped raw.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <deque>
#include "bench_support.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/ui/dialogs.h"
#include "raw_sqlite.h"
#include "services/module1.h"
#include "shell/form5.h"
#include "trend_cards/card_filters.h"
#include "trend_cards/form16.h"
#include "trend_stocks/apply_pattern.h"

namespace {

// Answers the screen's questions from a queue; shows nothing.
using benchsupport::msSince;

// What one run measures: the screen's handler against the raw query, and the rows it lists.
struct Measured {
    QString what;
    double screenMs = 0, rawMs = 0;
    int rows = 0;
};

// A write that changes nothing but tells every connection that the file changed, so that the
// screen's refresh reads the file again as the raw query does.
const QByteArray kTouch = "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" WHERE \"ID\" = 1";

// A program folder with 4,000 priced stocks and 40,000 cards, the screen open on universe 10.
// The raw queries and the touches run on connections of their own.
struct CardScreen {
    QTemporaryDir dir;
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    std::shared_ptr<platform::Database> db;
    benchsupport::AnsweringDialogs* answers = new benchsupport::AnsweringDialogs;
    std::unique_ptr<ui::Dialogs> previous = ui::setDialogs(std::unique_ptr<ui::Dialogs>(answers));

    CardScreen() {
        benchsupport::demoCards(dir.path(), 16, 4000, 40000);
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        Module1::reset();
        Module1::MainDbPath = platform::mainDatabasePath();
        Module1::MenuMode = 10;
        Form16::it();
        db = platform::Database::open(platform::mainDatabasePath());
        raw = std::make_unique<rawsql::Connection>(platform::mainDatabasePath());
        writer = std::make_unique<rawsql::Connection>(platform::mainDatabasePath());
    }
    std::unique_ptr<rawsql::Connection> raw, writer;
    ~CardScreen() {
        raw.reset();
        writer.reset();
        Form16::it().Unload();
        if (Form5::isLoaded()) Form5::it().Unload();
        QCoreApplication::processEvents();
        db.reset();
        platform::Database::releaseUnused();
        ui::setDialogs(std::move(previous));
        qputenv("XDG_DATA_HOME", dataHome);
    }
    void touch() const { rawsql::step(writer->get(), kTouch, nullptr); }
    // The program's SQL as SQLite runs it, stepped raw after a touch; the time in ms.
    double rawMs(const QByteArray& sqliteSql) const {
        touch();
        long long checksum = 0;
        const auto t0 = std::chrono::steady_clock::now();
        rawsql::step(raw->get(), sqliteSql, &checksum);
        const double ms = msSince(t0);
        benchmark::DoNotOptimize(checksum);
        return ms;
    }
};

// The pattern that lists the most cards of the universe: the heaviest grid fill and sort.
const trend::TrendPattern& heaviestPattern(const Form16& f, platform::Database& db) {
    const trend::TrendPattern* best = &f.patterns().front();
    int most = -1;
    for (const trend::TrendPattern& p : f.patterns()) {
        const int rows = db.openRecordset(trend::patternQuery(Module1::CardTrendBaseSql, p, false)).recordCount();
        if (rows > most) most = rows, best = &p;
    }
    return *best;
}

void report(benchmark::State& state, const Measured& m) {
    const double n = double(state.iterations());
    const double ratio = m.screenMs / m.rawMs;
    state.counters["raw_ms"] = m.rawMs / n;
    state.counters["screen_ms"] = m.screenMs / n;
    state.counters["ratio"] = ratio;
    state.counters["rows"] = m.rows;
    std::printf("cards 40000 over 4000 stocks, universe 全銘柄, %s listing %d: screen %.1f ms, raw query %.1f ms, "
                "ratio %.2f (limit 2.5): %s\n",
                qPrintable(m.what), m.rows, m.screenMs / n, m.rawMs / n, ratio, ratio <= 2.5 ? "within" : "OVER");
}

void BM_CardPatternClick(benchmark::State& state) {
    CardScreen screen;
    Form16& f = Form16::it();
    const trend::TrendPattern& p = heaviestPattern(f, *screen.db);
    const QString sql = trend::patternQuery(Module1::CardTrendBaseSql, p, Form16::andForm());
    Measured m{QStringLiteral("pattern %1 \"%2\"").arg(p.group, p.caption)};
    const QByteArray sqliteSql = platform::translateSql(sql).toUtf8();
    for (auto _ : state) {
        m.rawMs += screen.rawMs(sqliteSql);
        screen.touch();
        const auto t0 = std::chrono::steady_clock::now();
        f.patternClick(p);
        m.screenMs += msSince(t0);
    }
    m.rows = f.MSFlexGrid1->Rows() - 1;
    report(state, m);
}
BENCHMARK(BM_CardPatternClick)->Unit(benchmark::kMillisecond)->Iterations(5);

// "X日" over the last 365 days, no price level.
void BM_CardPeriodExtraction(benchmark::State& state) {
    CardScreen screen;
    Form16& f = Form16::it();
    const QDate today = QDate::currentDate();
    const QString sql = cardtrend::periodSql(Module1::CardTrendBaseSql, Form16::andForm(), 0, {0, 0}, today,
                                             *cardtrend::windowStart(QStringLiteral("365"), today));
    Measured m{QStringLiteral("\"X日\" of 365 days")};
    const QByteArray sqliteSql = platform::translateSql(sql).toUtf8();
    for (auto _ : state) {
        m.rawMs += screen.rawMs(sqliteSql);
        screen.answers->answers = {QStringLiteral("365"), QStringLiteral("0")};
        screen.touch();
        const auto t0 = std::chrono::steady_clock::now();
        f.Command35_Click();
        m.screenMs += msSince(t0);
    }
    if (f.Data1->RecordSource != sql) std::printf("the screen sent other SQL than the raw query\n");
    m.rows = f.MSFlexGrid1->Rows() - 1;
    report(state, m);
}
BENCHMARK(BM_CardPeriodExtraction)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
