// The price registration's bulk input and period insertion, clicked on the screen, against their
// floors: FreeXL reading the same ten sheets plus one raw SQLite transaction writing the same
// prices, and one raw UPDATE shifting the ten price columns.
#include <benchmark/benchmark.h>
#include <freexl.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "bench_support.h"
#include "probes.h"
#include "raw_sqlite.h"
#include "demo/demo_data.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "prices/form18.h"
#include "services/module1.h"
#include "shell/wiring.h"

namespace {


// A program folder of demo data with exactly this many priced stocks and its price workbooks.
QString homeFor(int stocks) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    auto it = made.find(stocks);
    if (it == made.end()) {
        demo::Options options;
        options.seed = 20240930u;
        options.totalStocks = stocks;
        options.cards = 100;
        const QString home = dir.path() + QStringLiteral("/s%1").arg(stocks);
        demo::generate(home, options);
        it = made.emplace(stocks, home).first;
    }
    return it->second;
}

// Every window unloaded and the connections nobody holds closed.
void closeScreens() {
    for (ui::Form* f : ui::Form::loadedForms()) f->Unload();
    QCoreApplication::processEvents();
    platform::Database::releaseUnused();
}

// The price screen over the program folder of dataHome, started as "まずは　ここから" starts it.
Form18& screenOver(const QString& dataHome) {
    static bool wired = false;
    if (!wired) {
        shell::wireWindows();
        ui::setDialogs(std::make_unique<benchsupport::AnsweringDialogs>());
        wired = true;
    }
    closeScreens();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    Module1::MainDbPath = platform::mainDatabasePath();
    Form18& f = Form18::it();
    f.Command3_Click();
    return f;
}

// The screen on the folder of that many stocks, started.
Form18& screenOn(int stocks) { return screenOver(homeFor(stocks)); }

struct Sheet {
    QByteArray path;
    QByteArray name;
};

// The period record: its ten sheets, and its 21 fields (ten dates, the unit, ten workbook names)
// as the click stores them again.
struct Period {
    std::vector<Sheet> sheets;
    std::vector<QByteArray> record;
};

Period periodOf(sqlite3* db) {
    Period period;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM \"日付\" ORDER BY \"ID\" LIMIT 1", -1, &st, nullptr);
    if (sqlite3_step(st) == SQLITE_ROW) {
        for (int k = 1; k <= 21; ++k)
            period.record.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, k)));
        for (int k = 1; k <= 10; ++k) {
            const QString date = QString::fromUtf8(period.record[std::size_t(k - 1)]);
            const QString book = QString::fromUtf8(period.record[std::size_t(k + 10)]);
            period.sheets.push_back({QFile::encodeName(platform::programFile(book + QStringLiteral(".xls"))),
                                     (QStringLiteral("s") + QString(date).remove(u'/')).toUtf8()});
        }
    }
    sqlite3_finalize(st);
    return period;
}

// The prices of one stock, slot 1 in entry 0; kNoPrice where the slot's sheet gives none.
constexpr long long kNoPrice = std::numeric_limits<long long>::min();
using SlotPrices = std::array<long long, 10>;

// A number cell's value; nothing for any other cell.
std::optional<double> numberOf(const FreeXL_CellValue& c) {
    if (c.type == FREEXL_CELL_INT) return double(c.value.int_value);
    if (c.type == FREEXL_CELL_DOUBLE) return c.value.double_value;
    return std::nullopt;
}

// The ten sheets read with FreeXL, two cells a row: each code's ten prices, in code order. The
// first row of a code counts; a price is rounded half to even.
std::vector<std::pair<long long, SlotPrices>> floorPrices(const std::vector<Sheet>& sheets) {
    std::vector<std::pair<long long, SlotPrices>> stocks;
    std::unordered_map<long long, std::size_t> at;
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        const void* xls = nullptr;
        if (freexl_open(sheets[k].path.constData(), &xls) != FREEXL_OK) throw std::runtime_error("freexl_open");
        unsigned count = 0;
        freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &count);
        for (unsigned short s = 0; s < count; ++s) {
            const char* name = nullptr;
            freexl_get_worksheet_name(xls, s, &name);
            if (!name || sheets[k].name != name) continue;
            freexl_select_active_worksheet(xls, s);
            unsigned rows = 0;
            unsigned short cols = 0;
            freexl_worksheet_dimensions(xls, &rows, &cols);
            at.reserve(rows);
            for (unsigned r = 1; r < rows; ++r) {
                FreeXL_CellValue code, close;
                if (freexl_get_cell_value(xls, r, 0, &code) != FREEXL_OK) continue;
                const auto c = numberOf(code);
                if (!c || *c != std::floor(*c) || *c == 1001) continue;   // 1001: the placeholder row's code
                if (freexl_get_cell_value(xls, r, 2, &close) != FREEXL_OK) continue;
                const auto p = numberOf(close);
                if (!p) continue;
                const auto [it, added] = at.try_emplace((long long)*c, stocks.size());
                if (added) {
                    stocks.emplace_back((long long)*c, SlotPrices{});
                    stocks.back().second.fill(kNoPrice);
                }
                long long& slot = stocks[it->second].second[k];
                if (slot == kNoPrice) slot = (long long)std::nearbyint(*p);
            }
        }
        freexl_close(xls);
    }
    std::sort(stocks.begin(), stocks.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return stocks;
}

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) throw std::runtime_error(sqlite3_errmsg(db));
}

sqlite3_stmt* prepared(sqlite3* db, const QByteArray& sql) {
    sqlite3_stmt* st = nullptr;
    check(db, sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr));
    return st;
}

// The period record's ten dates and workbooks, as the click stores them.
void floorPeriod(sqlite3* db, const std::vector<QByteArray>& record) {
    QByteArray sql = "UPDATE \"日付\" SET ";
    for (int k = 1; k <= 21; ++k) sql += QByteArray(k > 1 ? ", " : "") + "\"kabuka" + QByteArray::number(k) + "\" = ?";
    sql += " WHERE \"ID\" = (SELECT min(\"ID\") FROM \"日付\")";
    sqlite3_stmt* st = prepared(db, sql);
    for (int k = 0; k < 21; ++k)
        sqlite3_bind_text(st, k + 1, record[std::size_t(k)].constData(), int(record[std::size_t(k)].size()), SQLITE_STATIC);
    check(db, sqlite3_step(st));
    sqlite3_finalize(st);
}

// Each stock's prices written by one UPDATE joining a temporary table of the read prices. Measured
// against one prepared UPDATE per stock by its ID (as fast, after a query of every ID by code)
// and by its code (a third slower at 40,000 stocks).
void floorWrite(sqlite3* db, const std::vector<std::pair<long long, SlotPrices>>& stocks) {
    check(db, sqlite3_exec(db, "CREATE TEMP TABLE \"p\" (\"code\" INTEGER PRIMARY KEY, \"p1\", \"p2\", \"p3\", "
                               "\"p4\", \"p5\", \"p6\", \"p7\", \"p8\", \"p9\", \"p10\")",
                           nullptr, nullptr, nullptr));
    sqlite3_stmt* st = prepared(db, "INSERT INTO \"p\" VALUES (?11, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    for (const auto& [code, prices] : stocks) {
        for (int k = 0; k < 10; ++k)
            if (prices[std::size_t(k)] == kNoPrice) sqlite3_bind_null(st, k + 1);
            else sqlite3_bind_int64(st, k + 1, prices[std::size_t(k)]);
        sqlite3_bind_int64(st, 11, code);
        check(db, sqlite3_step(st));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    QByteArray update = "UPDATE \"list\" SET ";
    for (int k = 1; k <= 10; ++k) {
        const QByteArray n = QByteArray::number(k);
        update += (k > 1 ? ", \"kabuka" : "\"kabuka") + n + "\" = coalesce(\"p\".\"p" + n + "\", \"kabuka" + n + "\")";
    }
    update += " FROM \"p\" WHERE \"p\".\"code\" = \"list\".\"コード\"";
    check(db, sqlite3_exec(db, update.constData(), nullptr, nullptr, nullptr));
    if (!stocks.empty() && sqlite3_changes(db) == 0) throw std::runtime_error("the floor wrote no price");
    check(db, sqlite3_exec(db, "DROP TABLE \"p\"", nullptr, nullptr, nullptr));
}

// The floor of the bulk input: the ten sheets read with FreeXL, then one raw transaction storing
// the period record and each stock's ten prices.
void bulkFloor(sqlite3* db, const Period& period) {
    const auto stocks = floorPrices(period.sheets);
    check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    floorPeriod(db, period.record);
    floorWrite(db, stocks);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
}

// The floor of the insertion: one raw UPDATE shifting the ten price columns.
void insertionFloor(sqlite3* db) {
    sqlite3_exec(db,
                 "UPDATE \"list\" SET \"kabuka10\" = \"kabuka9\", \"kabuka9\" = \"kabuka8\", \"kabuka8\" = \"kabuka7\", "
                 "\"kabuka7\" = \"kabuka6\", \"kabuka6\" = \"kabuka5\", \"kabuka5\" = \"kabuka4\", \"kabuka4\" = \"kabuka3\", "
                 "\"kabuka3\" = \"kabuka2\", \"kabuka2\" = \"kabuka1\", \"kabuka1\" = NULL",
                 nullptr, nullptr, nullptr);
}

const QString kDone = QStringLiteral("登録　完了しました");

// A digest of every price of the price table, so that the floor and the click are seen to store
// the same prices.
long long pricesDigest(sqlite3* db) {
    QByteArray sql = "SELECT sum((\"ID\" % 97 + 1) * (0";
    for (int k = 1; k <= 10; ++k) sql += " + " + QByteArray::number(2 * k + 1) + " * coalesce(\"kabuka" + QByteArray::number(k) + "\", -7)";
    sql += ")) FROM \"list\"";
    long long digest = 0;
    rawsql::step(db, sql, &digest);
    return digest;
}

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Outcome {
    double screenMs, floorMs;
};
std::map<std::pair<int, int>, Outcome>& summary() {
    static std::map<std::pair<int, int>, Outcome> m;
    return m;
}

enum Operation { Bulk = 0, Insertion = 1, FirstBulk = 2 };

// One iteration: the floor on a raw connection, then the click on the screen. The reported time is
// the screen's; the counters give both and their ratio.
void PriceScreen(benchmark::State& state) {
    const int stocks = int(state.range(0));
    const auto operation = Operation(state.range(1));
    Form18& f = screenOn(stocks);
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(Module1::MainDbPath).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(raw, 5000);
    const Period period = periodOf(raw);
    double screenTime = 0, floorTime = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        try {
            if (operation == Bulk) bulkFloor(raw, period);
            else insertionFloor(raw);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        const auto t1 = std::chrono::steady_clock::now();
        const long long floorDigest = operation == Bulk ? pricesDigest(raw) : 0;   // what the click must store too
        const auto t2 = std::chrono::steady_clock::now();
        if (operation == Bulk) f.Command4_Click();
        else f.Command5_Click();
        const auto t3 = std::chrono::steady_clock::now();
        if (operation == Bulk && f.Text1->Text() != kDone) {
            state.SkipWithError("the bulk input did not complete");
            break;
        }
        if (operation == Bulk && pricesDigest(raw) != floorDigest) {
            state.SkipWithError("the floor and the click store different prices");
            break;
        }
        floorTime += seconds(t1 - t0);
        screenTime += seconds(t3 - t2);
        state.SetIterationTime(seconds(t3 - t2));
    }
    sqlite3_close(raw);
    const double n = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["floor_ms"] = floorTime / n * 1000;
    state.counters["screen_ms"] = screenTime / n * 1000;
    state.counters["ratio"] = floorTime > 0 ? screenTime / floorTime : 0;
    summary()[{int(operation), stocks}] = {screenTime / n * 1000, floorTime / n * 1000};
}

BENCHMARK(PriceScreen)
    ->ArgsProduct({{4000, 40000}, {Bulk, Insertion}})
    ->ArgNames({"stocks", "insertion"})
    ->UseManualTime()
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

// The first click of a new process against the first floor of a new process: each is run in a
// process of its own over the same folder, so that nothing of the workbooks is in memory (neither
// the screen's workbook snapshot nor anything FreeXL keeps), and the process is timed from the
// click to its end. The files themselves may be in the system's cache, for both sides alike.
double firstRunMs(const QString& dataHome, const char* side) {
    QProcess probe;
    probe.start(QCoreApplication::applicationFilePath(),
                {QString::fromUtf8(bench::kPriceClickProbeFlag), dataHome, QString::fromLatin1(side)});
    if (!probe.waitForFinished(600000) || probe.exitCode() != 0) return -1;
    double ms = -1;
    std::sscanf(probe.readAllStandardOutput().constData(), "ms %lf", &ms);
    return ms;
}

void PriceScreenFirstClick(benchmark::State& state) {
    const int stocks = int(state.range(0));
    const QString dataHome = homeFor(stocks);
    const QByteArray ownHome = qgetenv("XDG_DATA_HOME");
    closeScreens();
    double screenMs = 0, floorMs = 0;
    for (auto _ : state) {
        const double floor = firstRunMs(dataHome, "floor"), screen = firstRunMs(dataHome, "screen");
        if (floor < 0 || screen < 0) {
            state.SkipWithError("a first run failed");
            break;
        }
        floorMs += floor;
        screenMs += screen;
        state.SetIterationTime(screen / 1000);
    }
    qputenv("XDG_DATA_HOME", ownHome);
    const double n = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["floor_ms"] = floorMs / n;
    state.counters["screen_ms"] = screenMs / n;
    state.counters["ratio"] = floorMs > 0 ? screenMs / floorMs : 0;
    summary()[{int(FirstBulk), stocks}] = {screenMs / n, floorMs / n};
}

BENCHMARK(PriceScreenFirstClick)
    ->Arg(4000)
    ->Arg(40000)
    ->ArgNames({"stocks"})
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The ratios the price registration is held to, once every benchmark has run.
struct SummaryAtExit {
    SummaryAtExit() { summary(); }   // the table outlives this printer
    ~SummaryAtExit() {
        auto& s = summary();
        if (s.empty()) return;
        const auto label = [](int op) { return op == Bulk ? "bulk" : op == FirstBulk ? "bulk 1st" : "insertion"; };
        for (const auto& [key, o] : s)
            std::printf("%-9s %6d stocks: screen %8.2f ms, floor %8.2f ms, ratio %.2f\n", label(key.first), key.second,
                        o.screenMs, o.floorMs, o.screenMs / o.floorMs);
        const auto at = [&](int op, int stocks) { return s.count({op, stocks}) ? &s.at({op, stocks}) : nullptr; };
        for (const int op : {FirstBulk, Bulk}) {
            const char* which = op == FirstBulk ? "first bulk input of a new process" : "repeated bulk input";
            if (const Outcome* b = at(op, 4000))
                std::printf("%s at 4,000 stocks within 2x of its floor: %s (%.2f)\n", which,
                            b->screenMs <= 2 * b->floorMs ? "yes" : "NO", b->screenMs / b->floorMs);
            if (const Outcome *small = at(op, 4000), *large = at(op, 40000); small && large)
                std::printf("%s at 40,000 stocks within 12x of 4,000: %s (%.2f)\n", which,
                            large->screenMs <= 12 * small->screenMs ? "yes" : "NO", large->screenMs / small->screenMs);
        }
        if (const Outcome* i = at(Insertion, 40000))
            std::printf("insertion at 40,000 stocks within 2x of one raw UPDATE: %s (%.2f)\n",
                        i->screenMs <= 2 * i->floorMs ? "yes" : "NO", i->screenMs / i->floorMs);
    }
} summaryAtExit;

}  // namespace

namespace bench {

int priceClickProbe(const QString& dataHome, const QString& side) {
    if (side == QLatin1String("floor")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
        rawsql::Connection raw(platform::mainDatabasePath());
        sqlite3_busy_timeout(raw.get(), 5000);
        const Period period = periodOf(raw.get());
        const auto t0 = std::chrono::steady_clock::now();
        try {
            bulkFloor(raw.get(), period);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        std::printf("ms %.3f\n", benchsupport::msSince(t0));
        return 0;
    }
    Form18& f = screenOver(dataHome);
    const auto t0 = std::chrono::steady_clock::now();
    f.Command4_Click();
    const double ms = benchsupport::msSince(t0);
    if (f.Text1->Text() != kDone) return 1;
    std::printf("ms %.3f\n", ms);
    return 0;
}

}  // namespace bench
