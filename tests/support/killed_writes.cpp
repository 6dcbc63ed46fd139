#include "support/killed_writes.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cstring>

namespace testing_support {

namespace {

// The file layer: each file of the default layer wrapped, writes to database files counted.
sqlite3_vfs* underlying = nullptr;
sqlite3_vfs killing;
int writesLeft = 0;
bool countAfterPage1 = false;
bool killAtSync = false;
bool page1Journalled = false;

struct File {
    sqlite3_file base;
    sqlite3_file* real;
    int kind;   // SQLITE_OPEN_MAIN_DB, SQLITE_OPEN_MAIN_JOURNAL, ...
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

int xClose(sqlite3_file* f) {
    sqlite3_file* r = real(f);
    const int rc = r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
    sqlite3_free(r);
    return rc;
}
int xRead(sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); }
int xWrite(sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
    const int kind = reinterpret_cast<File*>(f)->kind;
    if (kind == SQLITE_OPEN_MAIN_JOURNAL && n >= 16 && std::memcmp(b, "SQLite format 3", 16) == 0) page1Journalled = true;
    if (kind == SQLITE_OPEN_MAIN_DB && (page1Journalled || !countAfterPage1) && --writesLeft == 0)
        ::kill(::getpid(), SIGKILL);
    return real(f)->pMethods->xWrite(real(f), b, n, o);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 s) { return real(f)->pMethods->xTruncate(real(f), s); }
int xSync(sqlite3_file* f, int flags) {
    if (killAtSync && page1Journalled && reinterpret_cast<File*>(f)->kind == SQLITE_OPEN_MAIN_DB) ::kill(::getpid(), SIGKILL);
    return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* s) { return real(f)->pMethods->xFileSize(real(f), s); }
int xLock(sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); }
int xUnlock(sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
int xCheckReservedLock(sqlite3_file* f, int* r) { return real(f)->pMethods->xCheckReservedLock(real(f), r); }
int xFileControl(sqlite3_file* f, int op, void* a) { return real(f)->pMethods->xFileControl(real(f), op, a); }
int xSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }

// Version 1 of the methods: no shared memory, so the layer serves rollback journals only.
const sqlite3_io_methods kMethods = {1,      xClose,      xRead,          xWrite,           xTruncate,
                                     xSync,  xFileSize,   xLock,          xUnlock,          xCheckReservedLock,
                                     xFileControl, xSectorSize, xDeviceCharacteristics, nullptr, nullptr,
                                     nullptr, nullptr,    nullptr,        nullptr};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* out) {
    auto* file = reinterpret_cast<File*>(f);
    file->real = static_cast<sqlite3_file*>(sqlite3_malloc(underlying->szOsFile));
    if (!file->real) return SQLITE_NOMEM;
    std::memset(file->real, 0, size_t(underlying->szOsFile));
    file->kind = flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_MAIN_JOURNAL);
    const int rc = underlying->xOpen(underlying, name, file->real, flags, out);
    if (rc != SQLITE_OK) {
        sqlite3_free(file->real);
        f->pMethods = nullptr;
        return rc;
    }
    f->pMethods = &kMethods;
    return rc;
}

quint32 bigEndian(const QByteArray& bytes, qint64 at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

}  // namespace

void runRaw(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

bool killedChild(const std::function<void()>& work, bool killAtEnd) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        if (killAtEnd) ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

void killAtDatabaseSync() {
    killAtDatabaseWrite(0, true);
    killAtSync = true;
}

void killAtDatabaseWrite(int n, bool afterPage1) {
    writesLeft = n;
    countAfterPage1 = afterPage1;
    underlying = sqlite3_vfs_find(nullptr);
    killing = *underlying;
    killing.iVersion = 1;
    killing.szOsFile = sizeof(File);
    killing.zName = "killed-writes";
    killing.xOpen = xOpen;
    sqlite3_vfs_register(&killing, 1);
}

JournalShape journalShape(const QString& journal) {
    JournalShape shape;
    QFile f(journal);
    if (!f.open(QIODevice::ReadOnly)) return shape;
    const QByteArray j = f.readAll();
    static const char magic[] = "\xd9\xd5\x05\xf9\x20\xa1\x63\xd7";
    if (j.size() < 28) return shape;
    const qint64 sector = bigEndian(j, 20), page = bigEndian(j, 24), record = page + 8;
    for (qint64 header = 0; header + 28 <= j.size() && std::memcmp(j.constData() + header, magic, 8) == 0;) {
        ++shape.segments;
        const quint32 count = bigEndian(j, header + 8), nonce = bigEndian(j, header + 12);
        qint64 at = header + sector;
        const qint64 records = count == 0xffffffffu ? (j.size() - at) / record : qint64(count);
        shape.countFromSize = shape.countFromSize || count == 0xffffffffu;
        for (qint64 r = 0; r < records; ++r, at += record) {
            if (at + record > j.size()) return shape;
            quint32 sum = nonce;
            for (qint64 i = page - 200; i > 0; i -= 200) sum += quint8(j[at + 4 + i]);
            if (sum != bigEndian(j, at + 4 + page)) {
                // SQLite plays nothing from here on
                shape.staleRecords = int(records - r);
                for (; r < records && at + record <= j.size(); ++r, at += record)
                    shape.stalePage1 = shape.stalePage1 || bigEndian(j, at) == 1;
                return shape;
            }
            if (bigEndian(j, at) == 1 && shape.page1Segment == 0) shape.page1Segment = shape.segments;
        }
        if (count == 0xffffffffu || count == 0) break;
        header = ((at + sector - 1) / sector) * sector;
    }
    return shape;
}

}  // namespace testing_support
