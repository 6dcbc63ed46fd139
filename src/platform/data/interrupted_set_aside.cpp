#include "platform/data/interrupted_set_aside.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

#include "platform/data/private_copy.h"

namespace platform {

namespace {

struct Identity {
    dev_t device;
    ino_t inode;
    bool operator==(const Identity& o) const { return device == o.device && inode == o.inode; }
};

std::optional<Identity> identityOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return Identity{st.st_dev, st.st_ino};
}

// The numbered names beside the side file that are the same file as it.
QStringList sameFileNames(const QString& side) {
    const auto identity = identityOf(side);
    if (!identity) return {};
    const QFileInfo info(side);
    const QDir folder = info.absoluteDir();
    const QRegularExpression numbered(QStringLiteral("^%1\\.[0-9]+\\.orphan$").arg(QRegularExpression::escape(info.fileName())));
    QStringList names;
    for (const QString& name : folder.entryList({info.fileName() + QStringLiteral(".*.orphan")},
                                                QDir::Files | QDir::Hidden | QDir::System))
        if (numbered.match(name).hasMatch() && identityOf(folder.filePath(name)) == identity) names << folder.filePath(name);
    return names;
}

}  // namespace

QStringList finishInterruptedSetAsides(const QString& path) {
    QStringList linked, sides;
    for (const char* suffix : {"-journal", "-wal"}) {
        const QString side = path + QLatin1String(suffix);
        const QStringList names = sameFileNames(side);
        if (names.isEmpty()) continue;
        sides << side;
        linked << names.first();
    }
    if (sides.isEmpty()) return {};
    // No other process may begin to play the side files back meanwhile.
    const QFileInfo file(path);
    std::optional<detail::FileLock> lock;
    if (file.exists() && file.size() > 0) {
        lock.emplace(path, detail::FileLock::Kind::Sole);
        if (!lock->held()) return {};
    }
    QStringList finished;
    for (qsizetype i = 0; i < sides.size(); ++i)
        if (::unlink(QFile::encodeName(sides[i]).constData()) == 0) finished << linked[i];
    // The index of a log set aside goes with it (SQLite makes it anew).
    if (!QFileInfo::exists(path + QStringLiteral("-wal"))) QFile::remove(path + QStringLiteral("-shm"));
    return finished;
}

}  // namespace platform
