// The start over 40,000 stocks and 500,000 cards with what a killed run leaves beside the main
// database: nothing, a journal whose header is blank (a write in a mode that keeps its journal),
// and the journal of a price write killed half-way (the trial: two copies of the file, the checks,
// then SQLite's own recovery of the file). Each start begins from the same files, copied back
// untimed.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_support.h"
#include "demo/demo_data.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "shell/startup.h"

namespace {

using benchsupport::timedMs;

enum class Leftover { None, BlankHeaderJournal, HotJournal };

constexpr int kStocks = 40000;
constexpr int kCards = 500000;

void runRaw(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A price write over every stock, killed (SIGKILL) once its small page cache spilled pages into
// the file: a hot journal beside a half-written file.
void killedPriceWrite(const QString& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_exec(db, "PRAGMA cache_size = 50; BEGIN; UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" + 1", nullptr, nullptr,
                     nullptr);
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

// The program folder of that many stocks and cards (made once), its main database as made.
QTemporaryDir& demoFolder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        benchsupport::demoCards(dir.path(), 31, kStocks, kCards);
        return true;
    }();
    (void)made;
    return dir;
}

void BM_StartWithLeftover(benchmark::State& state, Leftover leftover) {
    QTemporaryDir& dir = demoFolder();
    benchsupport::ScreenScope scope(dir.path());
    const QString main = platform::mainDatabasePath();
    const QString journal = main + QStringLiteral("-journal");
    const QString made = dir.filePath(QStringLiteral("made.mdb"));
    if (!QFileInfo::exists(made)) QFile::copy(main, made);
    QFile::remove(main);
    QFile::remove(journal);
    QFile::copy(made, main);
    if (leftover == Leftover::BlankHeaderJournal)
        runRaw(main, "PRAGMA journal_mode=PERSIST; UPDATE \"list\" SET \"kabuka3\" = \"kabuka3\" + 1;");
    if (leftover == Leftover::HotJournal) killedPriceWrite(main);
    const QString savedMain = dir.filePath(QStringLiteral("saved.mdb")), savedJournal = savedMain + QStringLiteral("-journal");
    QFile::remove(savedMain);
    QFile::remove(savedJournal);
    QFile::copy(main, savedMain);
    QFile::copy(journal, savedJournal);
    const qint64 journalBytes = QFileInfo(journal).size();
    double totalMs = 0;
    for (auto _ : state) {
        QFile::remove(main);
        QFile::remove(journal);
        QFile::copy(savedMain, main);
        if (journalBytes > 0) QFile::copy(savedJournal, journal);
        const double ms = timedMs([] {
            auto lock = shell::startUp();
            benchmark::DoNotOptimize(lock);
        });
        platform::Database::releaseUnused();
        state.SetIterationTime(ms / 1000.0);
        totalMs += ms;
    }
    state.counters["journal_MB"] = double(journalBytes) / 1e6;
    state.counters["file_MB"] = double(QFileInfo(savedMain).size()) / 1e6;
    std::printf("start, %d stocks, %d cards, %s: %.0f ms\n", kStocks, kCards,
                leftover == Leftover::None ? "no side file" : leftover == Leftover::HotJournal ? "journal of a killed write"
                                                                                             : "journal with a blank header",
                totalMs / double(state.iterations()));
}

}  // namespace

BENCHMARK_CAPTURE(BM_StartWithLeftover, none, Leftover::None)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartWithLeftover, blank_header_journal, Leftover::BlankHeaderJournal)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartWithLeftover, killed_write_journal, Leftover::HotJournal)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
