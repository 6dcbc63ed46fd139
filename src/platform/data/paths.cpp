#include "platform/data/paths.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

QString programFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = QDir::cleanPath(base + QStringLiteral("/Vostrel")) + u'/';
    QDir().mkpath(folder);
    return folder;
}

QString programFile(const QString& name) { return programFolder() + name; }

QString mainDatabasePath() { return programFile(QStringLiteral("druvolo.mdb")); }

QString listDatabasePath() { return programFile(QStringLiteral("kabulist.mdb")); }

QString FolderLock::lockFileName() { return QStringLiteral("quenara.lock"); }

// flock() belongs to the open file, not to the process: a second lock in the same process is
// refused as well, and the lock ends with the process.
FolderLock::FolderLock(const QString& folder) {
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(lockFileName()));
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        reason_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        state_ = State::Held;
        return;
    }
    const int error = errno;
    if (error == EWOULDBLOCK) {
        state_ = State::HeldByOther;
    } else {
        reason_ = QString::fromLocal8Bit(std::strerror(error));
    }
    ::close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
