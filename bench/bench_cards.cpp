// The card windows on 100,000 cards against the same queries run raw with SQLite: opening the
// card list, opening the card record editor, and a find by code in the editor.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "bench_support.h"
#include "cards/form2.h"
#include "cards/form28.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "services/module1.h"

namespace {

constexpr int kCards = 100000;
// The code of the last card only: the find walks every card before it.
constexpr int kLastCode = 9876;
const char* const kFindCriterion = "コード Like'9876*'";

// The program folder's main database with kCards cards (made once).
QString cardDatabase() {
    static const QString path = [] {
        platform::ensureProgramDatabases();
        const QString p = platform::mainDatabasePath();
        auto db = platform::Database::open(p);
        db->executeRaw(QStringLiteral("delete from mydata"));
        db->executeRaw(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
            "insert into mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
            "select '情報源' || (i % 40), 46000 + (i % 700), '銘柄' || i, "
            "case when i = %1 then %2 else 1300 + (i % 8000) end, '東証１部', 'D100', "
            "'カードの記事の本文 ' || i || ' 業績の見通しと材料について数行の説明が続く' from n")
                           .arg(kCards)
                           .arg(kLastCode));
        platform::Database::releaseUnused();
        return p;
    }();
    return path;
}

// The query stepped raw, every column of every row read (as the record set reads them).
long long stepAll(sqlite3* h, const QString& sql) {
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, utf8.constData(), int(utf8.size()), &st, nullptr) != SQLITE_OK) return -1;
    long long sum = 0;
    const int cols = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < cols; ++c)
            sum += sqlite3_column_type(st, c) == SQLITE_TEXT ? sqlite3_column_bytes(st, c) : sqlite3_column_int64(st, c);
    sqlite3_finalize(st);
    return sum;
}

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Outcome {
    double windowMs, rawMs;
};
std::map<std::string, Outcome>& outcomes() {
    static std::map<std::string, Outcome> m;
    return m;
}

// Times `window` against the raw query per iteration; reports the window's time.
template <class Window, class Raw>
void against(benchmark::State& state, const char* name, Window window, Raw raw) {
    Module1::MainDbPath = cardDatabase();
    auto db = platform::Database::open(Module1::MainDbPath);
    double windowTime = 0, rawTime = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(raw(db->handle()));
        const auto t1 = std::chrono::steady_clock::now();
        window();
        const auto t2 = std::chrono::steady_clock::now();
        rawTime += seconds(t1 - t0);
        windowTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    const double n = double(state.iterations());
    state.counters["raw_ms"] = rawTime / n * 1000;
    state.counters["ratio"] = windowTime / rawTime;
    outcomes()[name] = {windowTime / n * 1000, rawTime / n * 1000};
}

const QString kAllCards = QStringLiteral("select * from [mydata]");

void OpenCardList(benchmark::State& state) {
    Module1::MenuMode = 250;
    const QString sql = platform::translateSql(kAllCards) + QStringLiteral(" ORDER BY rowid");
    against(state, "open the card list", [] {
        Form28::it();
        benchsupport::unload<Form28>();
    }, [&](sqlite3* h) { return stepAll(h, sql); });
}

void OpenCardEditor(benchmark::State& state) {
    const QString sql = platform::translateSql(kAllCards) + QStringLiteral(" ORDER BY rowid");
    against(state, "open the card editor", [] {
        Form2::it();
        benchsupport::unload<Form2>();
    }, [&](sqlite3* h) { return stepAll(h, sql); });
}

// The find from the first card to the only card of its code, the last one.
void FindByCode(benchmark::State& state) {
    const QString sql = QStringLiteral("SELECT * FROM mydata WHERE ") + platform::translateSql(QString::fromUtf8(kFindCriterion)) +
                        QStringLiteral(" ORDER BY rowid LIMIT 1");
    Form2& editor = Form2::it();
    against(state, "find by code in the editor", [&] {
        editor.Data1->recordset().MoveFirst();
        if (!editor.findFirst(QString::fromUtf8(kFindCriterion)) || editor.Text4->Text() != QString::number(kLastCode))
            state.SkipWithError("the find did not reach the card");
    }, [&](sqlite3* h) { return stepAll(h, sql); });
    benchsupport::unload<Form2>();
}

BENCHMARK(OpenCardList)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCardEditor)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(FindByCode)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);

struct PrintAtExit {
    PrintAtExit() { outcomes(); }
    ~PrintAtExit() {
        bool within = true;
        for (const auto& [name, o] : outcomes()) {
            const double ratio = o.windowMs / o.rawMs;
            std::printf("%-28s %d cards: window %8.2f ms, raw SQLite %8.2f ms, ratio %.2f\n", name.c_str(), kCards,
                        o.windowMs, o.rawMs, ratio);
            if (ratio > 2.0) within = false;
        }
        if (!outcomes().empty()) std::printf("card windows within 2x of raw SQLite: %s\n", within ? "yes" : "NO");
    }
} printAtExit;

}  // namespace
