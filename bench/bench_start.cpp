// The start (the folder's lock, the side files settled, every database checked) over a main
// database that a killed price write left with its journal, against the start over the same file
// without it: 4,000 stocks and 50,000 cards, and, with QUENARA_BENCH_LARGE=1 in the environment,
// 40,000 stocks and 500,000 cards. Also the time until the notice that the database is being
// checked shows.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench_support.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "shell/startup.h"

namespace {

using benchsupport::msSince;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) std::abort();
}

// A price write for every stock, in a child process killed before its commit; its small page
// cache has written changed pages into the file already, so the journal is to be played back.
void killedPriceWrite(const QString& main) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(main).constData(), &db);
        sqlite3_exec(db, "PRAGMA cache_size=10; BEGIN; UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" + 1", nullptr, nullptr,
                     nullptr);
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Notes when the notice that a database is being checked shows.
class NoticeWatch : public QObject {
public:
    std::chrono::steady_clock::time_point shown{};
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->objectName() == QLatin1String("BusyNotice") &&
            shown == std::chrono::steady_clock::time_point{})
            shown = std::chrono::steady_clock::now();
        return false;
    }
};

void BM_Start(benchmark::State& state, int stocks, int cards) {
    QTemporaryDir dir;
    benchsupport::demoCards(dir.path(), 31, stocks, cards);
    benchsupport::ScreenScope scope(dir.path());
    const QString main = platform::mainDatabasePath(), journal = main + QStringLiteral("-journal");
    {   // started once, so that both sides begin from a file the program has taken up
        auto lock = shell::startUp();
        platform::Database::releaseUnused();
    }
    const QByteArray plain = readAll(main);
    killedPriceWrite(main);
    const QByteArray killed = readAll(main), leftover = readAll(journal);
    if (leftover.isEmpty()) std::abort();
    NoticeWatch watch;
    qApp->installEventFilter(&watch);
    double plainMs = 0, journalMs = 0, noticeMs = 0;
    for (auto _ : state) {
        // The start over the file without side files.
        QFile::remove(journal);
        writeAll(main, plain);
        auto t0 = std::chrono::steady_clock::now();
        auto lock = shell::startUp();
        const double p = msSince(t0);
        lock.reset();
        platform::Database::releaseUnused();
        // The start over the file the killed write left, with its journal.
        writeAll(main, killed);
        writeAll(journal, leftover);
        watch.shown = {};
        t0 = std::chrono::steady_clock::now();
        lock = shell::startUp();
        const double j = msSince(t0);
        const double n = std::chrono::duration<double, std::milli>(watch.shown - t0).count();
        lock.reset();
        platform::Database::releaseUnused();
        plainMs += p;
        journalMs += j;
        noticeMs += n;
        std::printf("start at %d stocks and %d cards (%.0f MB, journal %.1f MB): plain %.0f ms, with the leftover journal "
                    "%.0f ms (+%.0f ms), the notice shown after %.1f ms\n",
                    stocks, cards, double(plain.size()) / (1 << 20), double(leftover.size()) / (1 << 20), p, j, j - p, n);
    }
    qApp->removeEventFilter(&watch);
    state.counters["plain_ms"] = plainMs / double(state.iterations());
    state.counters["journal_ms"] = journalMs / double(state.iterations());
    state.counters["notice_ms"] = noticeMs / double(state.iterations());
}

const bool registered = [] {
    benchmark::RegisterBenchmark("BM_Start/50000", BM_Start, 4000, 50000)->Unit(benchmark::kMillisecond)->Iterations(3);
    if (std::getenv("QUENARA_BENCH_LARGE"))
        benchmark::RegisterBenchmark("BM_Start/500000", BM_Start, 40000, 500000)->Unit(benchmark::kMillisecond)->Iterations(3);
    return true;
}();

}  // namespace
