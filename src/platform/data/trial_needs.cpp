#include "platform/data/trial_needs.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

constexpr qint64 kMB = 1024 * 1024;

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The error of the access as the user who runs the program (its file-system identity), or 0.
int accessError(const QString& path, int mode) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0 ? 0 : errno;
}

}  // namespace

qint64 trialRoomNeeded(qint64 fileBytes, qint64 sideBytes) { return 2 * fileBytes + 2 * sideBytes; }

std::optional<QString> shortOfRoom(const QString& folder, qint64 needed, qint64 free) {
    if (free >= needed) return std::nullopt;
    const qint64 neededMB = (needed + kMB - 1) / kMB;
    const qint64 freeMB = free / kMB;
    return QStringLiteral("ディスクの空きが足りません。%1 に %2 MB の空きが要りますが、%3 MB しかありません。"
                          "どのファイルも書き換えていません。空きを作ってから、もう一度起動してください。")
        .arg(QDir::toNativeSeparators(folder))
        .arg(neededMB)
        .arg(freeMB);
}

qint64 freeRoom(const QString& folder) {
    struct statvfs room {};
    if (::statvfs(QFile::encodeName(folder).constData(), &room) != 0) return -1;
    return qint64(room.f_bavail) * qint64(room.f_frsize);
}

std::optional<QString> trialRoomProblem(const QString& privateFolder, const QString& path, const QStringList& sides) {
    const qint64 free = freeRoom(privateFolder);
    if (free < 0) return std::nullopt;
    qint64 sideBytes = 0;
    for (const QString& side : sides) sideBytes += QFileInfo(side).size();
    return shortOfRoom(QFileInfo(privateFolder).absolutePath(), trialRoomNeeded(QFileInfo(path).size(), sideBytes), free);
}

std::optional<QString> unwritableProblem(const QString& path) {
    const auto told = [](const QString& what, int error) {
        return QStringLiteral("%1に書き込めないため（%2）、途中の書き込みを片付けられません。"
                              "書き込めるようにしてから、もう一度起動してください。どのファイルも書き換えていません。")
            .arg(what, systemError(error));
    };
    if (const int error = accessError(path, R_OK | W_OK)) return told(QStringLiteral("このファイル"), error);
    const QString folder = QFileInfo(path).absolutePath();
    if (const int error = accessError(folder, W_OK | X_OK))
        return told(QStringLiteral("このファイルのフォルダ（%1）").arg(QDir::toNativeSeparators(folder)), error);
    return std::nullopt;
}

}  // namespace platform
