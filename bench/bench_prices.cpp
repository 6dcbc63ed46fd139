// The price registration's bulk input and period insertion, clicked on the screen, against their
// floors: FreeXL reading the same ten sheets plus one raw SQLite transaction writing the same
// prices, and one raw UPDATE shifting the ten price columns.
#include <benchmark/benchmark.h>
#include <freexl.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "bench_support.h"
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

// The screen on that folder, started.
Form18& screenOn(int stocks) {
    static bool wired = false;
    if (!wired) {
        shell::wireWindows();
        ui::setDialogs(std::make_unique<benchsupport::AnsweringDialogs>());
        wired = true;
    }
    for (ui::Form* f : ui::Form::loadedForms()) f->Unload();
    QCoreApplication::processEvents();
    platform::Database::releaseUnused();
    qputenv("XDG_DATA_HOME", QFile::encodeName(homeFor(stocks)));
    Module1::MainDbPath = platform::mainDatabasePath();
    Form18& f = Form18::it();
    f.Command3_Click();
    return f;
}

struct Sheet {
    QByteArray path;
    QByteArray name;
};

// The ten sheets the period record names.
std::vector<Sheet> sheetsOf(sqlite3* db) {
    std::vector<Sheet> sheets;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM \"日付\"", -1, &st, nullptr);
    if (sqlite3_step(st) == SQLITE_ROW)
        for (int k = 1; k <= 10; ++k) {
            const QString date = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, k)));
            const QString book = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, k + 11)));
            sheets.push_back({QFile::encodeName(platform::programFile(book + QStringLiteral(".xls"))),
                              (QStringLiteral("s") + QString(date).remove(u'/')).toUtf8()});
        }
    sqlite3_finalize(st);
    return sheets;
}

double numberOf(const FreeXL_CellValue& c) {
    return c.type == FREEXL_CELL_INT ? double(c.value.int_value) : c.type == FREEXL_CELL_DOUBLE ? c.value.double_value : -1;
}

// The floor of the bulk input: the ten sheets read with FreeXL, their prices written by one raw
// transaction, one UPDATE per sheet row.
void bulkFloor(sqlite3* db, const std::vector<Sheet>& sheets) {
    std::vector<std::vector<std::pair<long long, long long>>> prices(sheets.size());
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        const void* xls = nullptr;
        freexl_open(sheets[k].path.constData(), &xls);
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
            for (unsigned r = 1; r < rows; ++r) {
                FreeXL_CellValue code, close;
                freexl_get_cell_value(xls, r, 0, &code);
                freexl_get_cell_value(xls, r, 2, &close);
                prices[k].emplace_back((long long)numberOf(code), (long long)numberOf(close));
            }
        }
        freexl_close(xls);
    }
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (std::size_t k = 0; k < prices.size(); ++k) {
        const QByteArray sql = QStringLiteral("UPDATE \"list\" SET \"kabuka%1\" = ?1 WHERE \"コード\" = ?2").arg(k + 1).toUtf8();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        for (const auto& [code, price] : prices[k]) {
            sqlite3_bind_int64(st, 1, price);
            sqlite3_bind_int64(st, 2, code);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

// The floor of the insertion: one raw UPDATE shifting the ten price columns.
void insertionFloor(sqlite3* db) {
    sqlite3_exec(db,
                 "UPDATE \"list\" SET \"kabuka10\" = \"kabuka9\", \"kabuka9\" = \"kabuka8\", \"kabuka8\" = \"kabuka7\", "
                 "\"kabuka7\" = \"kabuka6\", \"kabuka6\" = \"kabuka5\", \"kabuka5\" = \"kabuka4\", \"kabuka4\" = \"kabuka3\", "
                 "\"kabuka3\" = \"kabuka2\", \"kabuka2\" = \"kabuka1\", \"kabuka1\" = NULL",
                 nullptr, nullptr, nullptr);
}

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Outcome {
    double screenMs, floorMs;
};
std::map<std::pair<int, int>, Outcome>& summary() {
    static std::map<std::pair<int, int>, Outcome> m;
    return m;
}

enum Operation { Bulk = 0, Insertion = 1 };

// One iteration: the floor on a raw connection, then the click on the screen. The reported time is
// the screen's; the counters give both and their ratio.
void PriceScreen(benchmark::State& state) {
    const int stocks = int(state.range(0));
    const auto operation = Operation(state.range(1));
    Form18& f = screenOn(stocks);
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(Module1::MainDbPath).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(raw, 5000);
    const std::vector<Sheet> sheets = sheetsOf(raw);
    double screenTime = 0, floorTime = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (operation == Bulk) bulkFloor(raw, sheets);
        else insertionFloor(raw);
        const auto t1 = std::chrono::steady_clock::now();
        if (operation == Bulk) f.Command4_Click();
        else f.Command5_Click();
        const auto t2 = std::chrono::steady_clock::now();
        if (operation == Bulk && f.Text1->Text() != QStringLiteral("登録　完了しました")) {
            state.SkipWithError("the bulk input did not complete");
            break;
        }
        floorTime += seconds(t1 - t0);
        screenTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
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

// The ratios the price registration is held to, once every benchmark has run.
struct SummaryAtExit {
    SummaryAtExit() { summary(); }   // the table outlives this printer
    ~SummaryAtExit() {
        auto& s = summary();
        if (s.empty()) return;
        for (const auto& [key, o] : s)
            std::printf("%-9s %6d stocks: screen %8.2f ms, floor %8.2f ms, ratio %.2f\n",
                        key.first == Bulk ? "bulk" : "insertion", key.second, o.screenMs, o.floorMs,
                        o.screenMs / o.floorMs);
        const auto at = [&](int op, int stocks) { return s.count({op, stocks}) ? &s.at({op, stocks}) : nullptr; };
        if (const Outcome* b = at(Bulk, 4000))
            std::printf("bulk input at 4,000 stocks within 2x of its floor: %s (%.2f)\n",
                        b->screenMs <= 2 * b->floorMs ? "yes" : "NO", b->screenMs / b->floorMs);
        if (const Outcome *small = at(Bulk, 4000), *large = at(Bulk, 40000); small && large)
            std::printf("bulk input at 40,000 stocks within 12x of 4,000: %s (%.2f)\n",
                        large->screenMs <= 12 * small->screenMs ? "yes" : "NO", large->screenMs / small->screenMs);
        if (const Outcome* i = at(Insertion, 40000))
            std::printf("insertion at 40,000 stocks within 2x of one raw UPDATE: %s (%.2f)\n",
                        i->screenMs <= 2 * i->floorMs ? "yes" : "NO", i->screenMs / i->floorMs);
    }
} summaryAtExit;

}  // namespace
