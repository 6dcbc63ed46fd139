// The card store's bulk work (completion, purge, import) against the same work done raw with
// SQLite, on 4,000 stocks and 50,000 or 100,000 cards, so that the ratio and the growth with the
// number of cards can both be read.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>

#include "cards/card_bulk.h"
#include "platform/data/database.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_support.h"

namespace {

using platform::detail::Connection;
using Clock = std::chrono::steady_clock;

constexpr int kStocks = 4000;
constexpr double kPurgeLimit = 45200;   // half the cards are dated before this day serial

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// Cards i = 0 .. n-1: every fifth lacks a market, one code in eleven is not in the price table,
// dates spread over 400 days.
void addCards(Connection& db, int n) {
    db.exec(QStringLiteral(
        "WITH RECURSIVE seq(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM seq WHERE i + 1 < %1) "
        "INSERT INTO mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
        "SELECT '情報源' || (i % 50), 45000 + (i % 400), '銘柄' || i, 2000 + (i * 7) % 4400, "
        "CASE WHEN i % 5 = 0 THEN NULL ELSE '東証１部' END, CASE WHEN i % 5 = 0 THEN NULL ELSE 'D100' END, "
        "'note ' || i FROM seq").arg(n));
}

// A main database with 4,000 stocks and n cards, made once per size.
QString mainTemplate(int cards) {
    static std::map<int, QString> made;
    auto it = made.find(cards);
    if (it != made.end()) return it->second;
    const QString path = folder().filePath(QStringLiteral("main-%1.mdb").arg(cards));
    platform::ensureMainDatabase(path);
    {
        Connection db(path);
        db.exec(QStringLiteral("BEGIN; DELETE FROM list; "
                               "INSERT INTO list (銘柄, コード, 市場, 単位) VALUES ('見本', 1001, NULL, NULL); "
                               "WITH RECURSIVE seq(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM seq WHERE i + 1 < %1) "
                               "INSERT INTO list (銘柄, コード, 市場, 単位) SELECT '株' || i, 2000 + i, "
                               "CASE i % 3 WHEN 0 THEN '東証１部' WHEN 1 THEN '東証２部' ELSE 'マザーズ' END, 'D100' FROM seq;")
                    .arg(kStocks));
        addCards(db, cards);
        db.exec(QStringLiteral("COMMIT"));
    }
    return made.emplace(cards, path).first->second;
}

// A fresh copy of the template to work on.
QString workCopy(int cards) {
    platform::Database::releaseUnused();
    const QString path = folder().filePath(QStringLiteral("work.mdb"));
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(path + QLatin1String(suffix));
    QFile::copy(mainTemplate(cards), path);
    return path;
}

// Another database of the program holding n cards.
QString sourceDatabase(int n) {
    const QString path = folder().filePath(QStringLiteral("source-%1.mdb").arg(n));
    if (!QFile::exists(path)) {
        platform::ensureMainDatabase(path);
        Connection db(path);
        addCards(db, n);
    }
    return path;
}

// A workbook sheet "cards" holding n cards laid out like the card table.
QString sourceWorkbook(int n) {
    const QString path = folder().filePath(QStringLiteral("source-%1.xls").arg(n));
    if (!QFile::exists(path)) {
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"py(
import sys, datetime, xlwt
wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('cards')
date = xlwt.easyxf(num_format_str='yyyy/mm/dd')
for c, t in enumerate(['ID', '情報源', '日付', '銘柄', 'コード', '市場', '単位', '情報']):
    ws.write(0, c, t)
base = datetime.date(2023, 3, 14)
for i in range(int(sys.argv[2])):
    r = i + 1
    ws.write(r, 0, i); ws.write(r, 1, '情報源%d' % (i % 50)); ws.write(r, 2, base + datetime.timedelta(i % 400), date)
    ws.write(r, 3, '銘柄%d' % i); ws.write(r, 4, 2000 + (i * 7) % 4400); ws.write(r, 7, 'note %d' % i)
wb.save(sys.argv[1])
)py"), path, QString::number(n)});
        p.waitForFinished(600000);
    }
    return path;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Outcome {
    double oursMs = 0, rawMs = 0;
};
std::map<std::pair<std::string, int>, Outcome>& summary() {
    static std::map<std::pair<std::string, int>, Outcome> m;
    return m;
}

void record(benchmark::State& state, const char* name, int cards, double ours, double raw) {
    const double n = double(state.iterations());
    state.counters["ours_ms"] = ours / n * 1000;
    state.counters["raw_ms"] = raw / n * 1000;
    state.counters["ratio"] = ours / raw;
    summary()[{name, cards}] = {ours / n * 1000, raw / n * 1000};
}

// Runs ours and raw on fresh copies each iteration; only the work itself is timed.
template <class Ours, class Raw>
void compare(benchmark::State& state, const char* name, Ours ours, Raw raw) {
    const int cards = int(state.range(0));
    double oursTime = 0, rawTime = 0;
    for (auto _ : state) {
        {
            auto db = platform::Database::open(workCopy(cards));
            const auto t0 = Clock::now();
            ours(*db, cards);
            const double t = seconds(Clock::now() - t0);
            oursTime += t;
            state.SetIterationTime(t);
        }
        {
            auto db = platform::Database::open(workCopy(cards));
            const auto t0 = Clock::now();
            raw(*db, cards);
            rawTime += seconds(Clock::now() - t0);
        }
    }
    record(state, name, cards, oursTime, rawTime);
}

void check(const cards::BulkOutcome& o) {
    if (!o.ok) std::fprintf(stderr, "bulk work failed: %s\n", qPrintable(o.error));
}

void Completion(benchmark::State& state) {
    compare(state, "completion", [](platform::Database& db, int) { check(cards::completeMarkets(db)); },
            [](platform::Database& db, int) {
                db.executeRaw(QStringLiteral(
                    "UPDATE mydata SET 市場 = l.市場, 単位 = l.単位 FROM list l "
                    "WHERE l.コード = mydata.コード AND (mydata.市場 IS NULL OR trim(mydata.市場) = '')"));
            });
}

// The IDs that the purge window lists (its grid), read once; their deletion against one DELETE.
void Purge(benchmark::State& state) {
    const int size = int(state.range(0));
    std::vector<long long> ids;
    {
        platform::Recordset listed = platform::Database::open(mainTemplate(size))
            ->openRecordset(QStringLiteral("select * from [sakujo-main] where [日付] < %1").arg(kPurgeLimit));
        for (int r = 0; r < listed.recordCount(); ++r) ids.push_back(listed.value(r, 0).toLongLong());
    }
    compare(state, "purge", [&](platform::Database& db, int) { check(cards::deleteCards(db, ids)); },
            [](platform::Database& db, int) {
                db.executeRaw(QStringLiteral("DELETE FROM mydata WHERE 日付 < %1").arg(kPurgeLimit));
            });
}

// The rows of a source as the preview holds them after reading it.
const platform::Recordset& previewRows(const QString& path, const QString& connect, const QString& source) {
    static std::map<QString, std::pair<std::shared_ptr<platform::Database>, platform::Recordset>> read;
    auto it = read.find(path);
    if (it == read.end()) {
        auto db = platform::Database::open(path, connect);
        it = read.emplace(path, std::make_pair(db, db->openRecordset(source))).first;
    }
    return it->second.second;
}

std::vector<int> everyRecord(const platform::Recordset& rows) {
    std::vector<int> records(size_t(rows.recordCount()));
    std::iota(records.begin(), records.end(), 0);
    return records;
}

// Another database's cards, read by the preview, added by "登録→実行", against one INSERT … SELECT.
void ImportDatabase(benchmark::State& state) {
    const int size = int(state.range(0));
    const platform::Recordset& rows =
        previewRows(sourceDatabase(size / 10), QStringLiteral("Access 2000;"), QStringLiteral("select * from mydata"));
    compare(state, "import database",
            [&](platform::Database& db, int) {
                check(cards::importCards(db, rows, everyRecord(rows), cards::ImportSource::Database));
            },
            [](platform::Database& db, int cards) {
                db.executeRaw(QStringLiteral("ATTACH DATABASE '%1' AS src").arg(sourceDatabase(cards / 10)));
                db.executeRaw(QStringLiteral("INSERT INTO main.mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
                                             "SELECT 情報源, 日付, 銘柄, コード, 市場, 単位, 情報 FROM src.mydata"));
                db.executeRaw(QStringLiteral("DETACH DATABASE src"));
            });
}

// A workbook sheet, read by the preview, added by "登録→実行", against the raw inserts of the
// same read rows.
void ImportWorkbook(benchmark::State& state) {
    const int size = int(state.range(0));
    const platform::Recordset& rows =
        previewRows(sourceWorkbook(size / 10), QStringLiteral("Excel 8.0;"), QStringLiteral("select * from [cards$]"));
    compare(state, "import workbook",
            [&](platform::Database& db, int) {
                check(cards::importCards(db, rows, everyRecord(rows), cards::ImportSource::Workbook));
            },
            [&](platform::Database& db, int) {
                db.executeRaw(QStringLiteral("BEGIN"));
                platform::detail::Statement insert(db.handle(), QStringLiteral(
                    "INSERT INTO mydata (情報源, 日付, 銘柄, コード, 情報) VALUES (?1, ?2, ?3, ?4, ?5)"));
                for (int r = 0; r < rows.recordCount(); ++r)
                    insert.run({rows.value(r, 1), rows.value(r, 2), rows.value(r, 3), rows.value(r, 4), rows.value(r, 7)});
                db.executeRaw(QStringLiteral("COMMIT"));
            });
}

// The purge window's listing of old cards (its row source for 90 days, every card listed) with the
// time zone unset, where each reading of the local time looks at the system's zone file again,
// against the same listing with TZ=UTC (limit 1.1x): the current time is read once per listing.
void PurgeListingTimeZone(benchmark::State& state) {
    const int cards = int(state.range(0));
    const QString path = mainTemplate(cards);
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray zone = qgetenv("TZ");
    int listed = 0;
    const auto listing = [&] {
        auto db = platform::Database::open(path);
        const auto t0 = Clock::now();
        const platform::Recordset rows = db->openRecordset(QStringLiteral("select * from [sakujo-main] where [日付] < now()-90"));
        listed = rows.recordCount();
        return seconds(Clock::now() - t0);
    };
    const auto listingIn = [&](bool zoneSet) {
        if (zoneSet) qputenv("TZ", "UTC");
        else qunsetenv("TZ");
        tzset();
        return listing();
    };
    double unsetTime = 0, utcTime = 0;
    bool unsetFirst = true;   // the two take turns at going first
    for (auto _ : state) {
        const double first = listingIn(!unsetFirst), second = listingIn(unsetFirst);
        const double unset = unsetFirst ? first : second;
        unsetTime += unset;
        utcTime += unsetFirst ? second : first;
        state.SetIterationTime(unset);
        unsetFirst = !unsetFirst;
    }
    if (hadZone) qputenv("TZ", zone);
    else qunsetenv("TZ");
    tzset();
    const double n = double(state.iterations());
    state.counters["listed"] = listed;
    state.counters["tz_unset_ms"] = unsetTime / n * 1000;
    state.counters["tz_utc_ms"] = utcTime / n * 1000;
    state.counters["ratio"] = unsetTime / utcTime;
    summary()[{"purge listing, time zone unset against UTC", cards}] = {unsetTime / n * 1000, utcTime / n * 1000};
}

#define CARD_BULK_BENCHMARK(f) \
    BENCHMARK(f)->Arg(50000)->Arg(100000)->ArgNames({"cards"})->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond)
CARD_BULK_BENCHMARK(Completion);
CARD_BULK_BENCHMARK(Purge);
CARD_BULK_BENCHMARK(ImportDatabase);
CARD_BULK_BENCHMARK(ImportWorkbook);
CARD_BULK_BENCHMARK(PurgeListingTimeZone);

// The ratios to raw SQLite at 100,000 cards and the growth from 50,000 to 100,000 cards.
struct SummaryAtExit {
    SummaryAtExit() { summary(); }
    ~SummaryAtExit() {
        if (summary().empty()) return;
        bool within = true;
        for (const char* name : {"completion", "purge", "import database", "import workbook"}) {
            const auto small = summary().find({name, 50000});
            const auto large = summary().find({name, 100000});
            if (small == summary().end() || large == summary().end()) continue;
            const double ratio = large->second.oursMs / large->second.rawMs;
            const double growth = large->second.oursMs / small->second.oursMs;
            const double rawGrowth = large->second.rawMs / small->second.rawMs;
            std::printf("card bulk %-16s 100,000 cards: ours %8.2f ms, raw SQLite %8.2f ms, ratio %.2f; "
                        "50,000 -> 100,000 cards: ours x%.2f, raw x%.2f\n",
                        name, large->second.oursMs, large->second.rawMs, ratio, growth, rawGrowth);
            // Linear: twice the cards take about twice the time, as the raw work does (a quadratic
            // walk would take four times).
            if (ratio > 2.0 || growth > std::max(2.6, rawGrowth * 1.25)) within = false;
        }
        std::printf("card bulk work within 2x of raw SQLite and linear in the cards: %s\n", within ? "yes" : "NO");
        bool zoneWithin = true, zoneRun = false;
        for (const int cards : {50000, 100000}) {
            const auto z = summary().find({"purge listing, time zone unset against UTC", cards});
            if (z == summary().end()) continue;
            zoneRun = true;
            const double ratio = z->second.oursMs / z->second.rawMs;
            std::printf("purge listing of %d cards: time zone unset %8.2f ms, TZ=UTC %8.2f ms, ratio %.2f\n", cards,
                        z->second.oursMs, z->second.rawMs, ratio);
            if (ratio > 1.1) zoneWithin = false;
        }
        if (zoneRun) std::printf("purge listing with the time zone unset within 1.1x of TZ=UTC: %s\n", zoneWithin ? "yes" : "NO");
    }
} summaryAtExit;

}  // namespace
