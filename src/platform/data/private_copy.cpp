#include "platform/data/private_copy.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/sqlite_support.h"

namespace platform::detail {

namespace {

// SQLite's lock bytes of a database file (the same on every system it runs on).
constexpr off_t kPendingByte = 0x40000000;
constexpr off_t kReservedByte = kPendingByte + 1;
constexpr off_t kSharedFirst = kPendingByte + 2;
constexpr off_t kSharedSize = 510;

const QString kFolderPrefix = QStringLiteral(".quenara-copy-");

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The bytes read through the descriptor into a new file of the owner's alone.
void copyThrough(int fd, const QString& to) {
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !out.setPermissions(kOwnerOnly))
        throw DataError(QStringLiteral("cannot write %1: %2").arg(to, out.errorString()));
    std::vector<char> buffer(std::size_t(1) << 20);
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw DataError(QStringLiteral("cannot read the database file: %1").arg(systemError()));
        if (n == 0) break;
        if (out.write(buffer.data(), n) != n) throw DataError(QStringLiteral("cannot write %1: %2").arg(to, out.errorString()));
        at += n;
    }
}

// A side file that holds anything, copied.
void copySideFile(const QString& from, const QString& to) {
    if (QFileInfo(from).size() <= 0) return;
    QFile side(from);
    if (!side.copy(to) || !QFile::setPermissions(to, kOwnerOnly))
        throw DataError(QStringLiteral("cannot copy %1: %2").arg(from, side.errorString()));
}

}  // namespace

FileLock::FileLock(const QString& path, Kind kind, int waitMs) {
    fd_ = ::open(QFile::encodeName(path).constData(), (kind == Kind::Sole ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd_ < 0) return;
    struct flock lock {};
    lock.l_type = kind == Kind::Sole ? F_WRLCK : F_RDLCK;
    lock.l_whence = SEEK_SET;
    // Sole: the pending, reserved and shared bytes, as no SQLite of another process can then
    // begin to read or write. Shared: the shared bytes as a reader holds them.
    lock.l_start = kind == Kind::Sole ? kPendingByte : kSharedFirst;
    lock.l_len = kind == Kind::Sole ? 2 + kSharedSize : kSharedSize;
    QElapsedTimer waited;
    waited.start();
    while (!(held_ = ::fcntl(fd_, F_SETLK, &lock) == 0) && waited.elapsed() < waitMs) QThread::msleep(20);
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileLock::writeInProgress() const {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kReservedByte;
    probe.l_len = 1;
    return fd_ >= 0 && (::fcntl(fd_, F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK);
}

PrivateCopy::PrivateCopy() : dir_(std::make_unique<QTemporaryDir>(programFolder() + kFolderPrefix + QStringLiteral("XXXXXX"))) {
    if (!dir_->isValid()) dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quenara-copy-XXXXXX"));
    if (!dir_->isValid()) throw DataError(QStringLiteral("cannot make a private folder: %1").arg(dir_->errorString()));
}

PrivateCopy::~PrivateCopy() = default;

QString PrivateCopy::folder() const { return dir_->path(); }

QString PrivateCopy::copy(const QString& path, const FileLock& lock, const QString& name, bool withSideFiles, bool withLog) {
    const QString to = dir_->filePath(name);
    copyThrough(lock.descriptor(), to);
    if (withSideFiles) {
        if (!lock.writeInProgress()) copySideFile(path + QStringLiteral("-journal"), to + QStringLiteral("-journal"));
        if (withLog) copySideFile(path + QStringLiteral("-wal"), to + QStringLiteral("-wal"));
    }
    return to;
}

QStringList sideFilesOf(const QString& path) {
    QStringList sides;
    for (const char* suffix : {"-journal", "-wal"})
        if (QFileInfo(path + QLatin1String(suffix)).size() > 0) sides << path + QLatin1String(suffix);
    return sides;
}

void removeLeftoverPrivateCopies() {
    const QDir folder(programFolder());
    for (const QString& name : folder.entryList({kFolderPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(folder.filePath(name)).removeRecursively();
}

namespace {

// The header of the connection's database file, read through the connection's own descriptor: no
// other descriptor of the file is opened and closed (which would drop this process's locks on it).
QByteArray headerThrough(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return {};
    QByteArray header(100, '\0');
    const int rc = file->pMethods->xRead(file, header.data(), int(header.size()), 0);
    return rc == SQLITE_OK || rc == SQLITE_IOERR_SHORT_READ ? header : QByteArray();
}

}  // namespace

int openForReading(const QString& path, sqlite3** db, std::unique_ptr<PrivateCopy>* copy) {
    configureEngine();
    *db = nullptr;
    int rc = sqlite3_open_v2(readOnlyUri(path).constData(), db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) return rc;
    const QByteArray header = headerThrough(*db);
    const bool logMode = header.startsWith(QByteArray("SQLite format 3\0", 16)) && (header[18] == 2 || header[19] == 2);
    const bool log = QFileInfo::exists(path + QStringLiteral("-wal")), index = QFileInfo::exists(path + QStringLiteral("-shm"));
    if (!(logMode || log) || (log && index)) {
        sqlite3_busy_timeout(*db, 5000);
        rc = sqlite3_exec(*db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK || rc == SQLITE_NOTADB) return rc;
    }
    // SQLite would write beside the file (a log's index), or cannot read it whole where it lies
    // (a journal to be played back, a log it cannot read without its index).
    const QString here = lastError(*db);
    sqlite3_close_v2(*db);
    *db = nullptr;
    const bool unfinished = !sideFilesOf(path).isEmpty();
    QString why;
    try {
        auto made = std::make_unique<PrivateCopy>();
        QString file;
        {
            FileLock lock(path, FileLock::Kind::Shared, 5000);
            if (!lock.held()) throw DataError(QStringLiteral("database is locked"));
            file = made->copy(path, lock, QStringLiteral("source"), true);
        }
        rc = recoverDatabase(file, &why);
        if (rc == SQLITE_NOTADB) return rc;
        if (rc == SQLITE_OK) rc = openDatabaseFile(file, true, db);
        if (rc == SQLITE_OK) {
            *copy = std::move(made);
            return rc;
        }
        if (*db) why = lastError(*db);
        sqlite3_close_v2(*db);
        *db = nullptr;
    } catch (const DataError& e) {
        if (e.text == QLatin1String("database is locked")) throw;
        why = e.text;
    }
    if (unfinished)
        throw DataError(QStringLiteral("ファイル %1 には終わっていない書き込みが残っていて、読めません（%2）。")
                            .arg(QDir::toNativeSeparators(path), why));
    throw DataError(QStringLiteral("Cannot open the database %1: %2").arg(path, here));
}

int recoverDatabase(const QString& path, QString* message) {
    sqlite3* db = nullptr;
    const int rc = openDatabaseFile(path, false, &db);
    if (message) *message = db ? lastError(db) : QString::fromUtf8(sqlite3_errstr(rc));
    // One plain file, as the program keeps its databases: a log's writes taken into it.
    if (rc == SQLITE_OK) sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    return rc;
}

}  // namespace platform::detail
