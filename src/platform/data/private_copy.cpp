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

QString PrivateCopy::copy(const QString& path, const FileLock& lock, const QString& name, bool withSideFiles) {
    const QString to = dir_->filePath(name);
    copyThrough(lock.descriptor(), to);
    if (withSideFiles) {
        if (!lock.writeInProgress()) copySideFile(path + QStringLiteral("-journal"), to + QStringLiteral("-journal"));
        copySideFile(path + QStringLiteral("-wal"), to + QStringLiteral("-wal"));
    }
    return to;
}

void removeLeftoverPrivateCopies() {
    const QDir folder(programFolder());
    for (const QString& name : folder.entryList({kFolderPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(folder.filePath(name)).removeRecursively();
}

int recoverDatabase(const QString& path, QString* message) {
    sqlite3* db = nullptr;
    const int rc = openDatabaseFile(path, false, &db);
    if (message) *message = db ? lastError(db) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close_v2(db);
    return rc;
}

}  // namespace platform::detail
