// "登録→実行" of the import preview: one card in fifty more from another database of the program
// into 50,000 cards (and, with QUENARA_BENCH_LARGE=1 in the environment, into 500,000), the card
// list closed before, then shown sorted. Against its floor stepped raw with SQLite: one INSERT …
// SELECT of the same cards plus one read of every card (limit 2x); and the peak of the resident
// memory during the click against what the card list holds once loaded (limit 1.5x).
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include "bench_support.h"
#include "cards/form22.h"
#include "cards/form28.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "raw_sqlite.h"
#include "services/module1.h"
#include "shell/form5.h"

namespace {

using benchsupport::timedMs;

// The resident memory now and its peak since the last resetPeak(), in kB (Linux).
long long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atoll(line.c_str() + std::strlen(field));
    return -1;
}
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_CardImportWindow(benchmark::State& state, int stocks, int cards) {
    QTemporaryDir dir;
    benchsupport::demoCards(dir.path(), 22, stocks, cards);
    benchsupport::ScreenScope scope(dir.path());
    const QString main = platform::mainDatabasePath();
    // The source: a database of the program with the first tenth of the cards.
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    platform::ensureMainDatabase(source);
    {
        rawsql::Connection src(source);
        rawsql::step(src.get(), QStringLiteral("ATTACH DATABASE '%1' AS m").arg(main).toUtf8(), nullptr);
        rawsql::step(src.get(),
                     QStringLiteral("INSERT INTO mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) SELECT 情報源, 日付, "
                                    "銘柄, コード, 市場, 単位, 情報 FROM m.mydata WHERE ID <= %1")
                         .arg(cards / 50)
                         .toUtf8(),
                     nullptr);
    }
    Module1::reset();
    Module1::MainDbPath = main;
    Module1::MenuMode = 500;
    const int imported = cards / 50;
    double clickMs = 0, floorMs = 0, peakRatio = 0;
    for (auto _ : state) {
        // The card list's own memory: loaded over every card, then closed again.
        const long long before = statusKb("VmRSS:");
        Form28::it();
        const long long listKb = statusKb("VmRSS:") - before;
        Form28::it().Unload();
        QCoreApplication::processEvents();
        platform::Database::releaseUnused();
        // The floor: the same cards inserted raw, then every card read once.
        double floor = 0;
        {
            rawsql::Connection raw(main);
            floor = timedMs([&] {
                rawsql::step(raw.get(), QStringLiteral("ATTACH DATABASE '%1' AS src").arg(source).toUtf8(), nullptr);
                rawsql::step(raw.get(),
                             "INSERT INTO main.mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) SELECT 情報源, 日付, 銘柄, "
                             "コード, 市場, 単位, 情報 FROM src.mydata",
                             nullptr);
                rawsql::step(raw.get(), "DETACH DATABASE src", nullptr);
                long long checksum = 0;
                rawsql::step(raw.get(), "SELECT * FROM mydata", &checksum);
                benchmark::DoNotOptimize(checksum);
            });
        }
        Form22& preview = Form22::it();
        preview.Data1->DatabaseName = source;
        preview.Data1->RecordSource = QStringLiteral("select * from mydata");
        preview.Data1->Connect = QStringLiteral("Access 2000;");
        preview.Data1->Refresh();
        const long long atClick = statusKb("VmRSS:");
        resetPeak();
        const double click = timedMs([&] { preview.Command3_Click(); });
        clickMs += click;
        floorMs += floor;
        const long long peakKb = statusKb("VmHWM:") - atClick;
        peakRatio = double(peakKb) / double(listKb);
        std::printf("import of %d cards into %d: click %.1f ms, floor %.1f ms, ratio %.2f (limit 2); peak memory "
                    "+%lld kB against the card list's %lld kB, ratio %.2f (limit 1.5)\n",
                    imported, cards, click, floor, click / floor, peakKb, listKb, peakRatio);
        if (Form28::isLoaded()) Form28::it().Unload();
        if (Form22::isLoaded()) Form22::it().Unload();
        QCoreApplication::processEvents();
        platform::Database::releaseUnused();
    }
    state.counters["click_ms"] = clickMs / double(state.iterations());
    state.counters["floor_ms"] = floorMs / double(state.iterations());
    state.counters["peak_ratio"] = peakRatio;
}

const bool registered = [] {
    benchmark::RegisterBenchmark("BM_CardImportWindow/50000", BM_CardImportWindow, 4000, 50000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    if (std::getenv("QUENARA_BENCH_LARGE"))
        benchmark::RegisterBenchmark("BM_CardImportWindow/500000", BM_CardImportWindow, 40000, 500000)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    return true;
}();

}  // namespace
