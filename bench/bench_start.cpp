// The start over 4,000 stocks and 50,000 cards (and, with QUENARA_BENCH_LARGE=1 in the environment,
// 40,000 stocks and 500,000 cards) with what a killed run leaves beside the main database: nothing, a journal whose header is blank (a write in a mode that keeps its journal),
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
#include <cstdlib>
#include <map>
#include <memory>

#include "bench_support.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "shell/startup.h"

namespace {

using benchsupport::timedMs;

enum class Leftover { None, BlankHeaderJournal, HotJournal };

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
QTemporaryDir& demoFolder(int stocks, int cards) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[cards];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        benchsupport::demoCards(dir->path(), 31, stocks, cards);
    }
    return *dir;
}

void BM_StartWithLeftover(benchmark::State& state, int stocks, int cards, Leftover leftover) {
    QTemporaryDir& dir = demoFolder(stocks, cards);
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
    std::printf("start, %d stocks, %d cards, %s: %.0f ms\n", stocks, cards,
                leftover == Leftover::None ? "no side file" : leftover == Leftover::HotJournal ? "journal of a killed write"
                                                                                             : "journal with a blank header",
                totalMs / double(state.iterations()));
}

const bool registered = [] {
    const struct {
        const char* name;
        Leftover leftover;
    } cases[] = {{"none", Leftover::None},
                 {"blank_header_journal", Leftover::BlankHeaderJournal},
                 {"killed_write_journal", Leftover::HotJournal}};
    const bool large = std::getenv("QUENARA_BENCH_LARGE") != nullptr;
    for (const auto& c : cases)
        for (const auto& [stocks, cards] : {std::pair{4000, 50000}, std::pair{40000, 500000}}) {
            if (cards > 50000 && !large) continue;
            benchmark::RegisterBenchmark(("BM_StartWithLeftover/" + std::to_string(cards) + "/" + c.name).c_str(),
                                         BM_StartWithLeftover, stocks, cards, c.leftover)
                ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
        }
    return true;
}();

}  // namespace
