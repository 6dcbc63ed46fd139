#include "shell/backup.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace shell {

namespace {

struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close(db); }
    QString error() const { return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory"); }
};

QString copyPages(const QString& source, const QString& target) {
    if (!QFileInfo(source).isFile()) return QStringLiteral("no such database: ") + source;
    Connection from, to;
    if (sqlite3_open_v2(source.toUtf8().constData(), &from.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return from.error();
    if (sqlite3_open_v2(target.toUtf8().constData(), &to.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return to.error();
    sqlite3_busy_timeout(from.db, 2000);
    sqlite3_busy_timeout(to.db, 2000);
    sqlite3_backup* backup = sqlite3_backup_init(to.db, "main", from.db, "main");
    if (!backup) return to.error();
    int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) return QString::fromUtf8(sqlite3_errstr(rc));
    return {};
}

// Side files that a backup cut short (the program killed half-way) left beside the backups.
// One program runs per folder, so no other backup is writing them.
void removeStaleParts(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.part"), QStringLiteral("*.part-*")}, QDir::Files))
        QFile::remove(dir.filePath(name));
}

}  // namespace

// The pages go into a file beside the target first; only a finished copy replaces the target, so
// an earlier backup of the same name is never left half overwritten.
QString backupDatabase(const QString& source, const QString& target) {
    const QFileInfo existing(target);
    if (existing.exists() && !existing.isWritable()) return QStringLiteral("read-only: ") + target;
    const QString part = target + QStringLiteral(".part");
    removeStaleParts(existing.absolutePath());
    QString error = copyPages(source, part);
    if (error.isEmpty() && existing.exists() && !QFile::remove(target)) error = QStringLiteral("cannot replace ") + target;
    if (error.isEmpty() && !QFile::rename(part, target)) error = QStringLiteral("cannot write ") + target;
    if (!error.isEmpty()) QFile::remove(part);
    return error;
}

bool isPlainNamePart(const QString& text) {
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')) || text.contains(QStringLiteral("..")))
        return false;
    for (QChar c : text)
        if (c.category() == QChar::Other_Control) return false;
    return true;
}

}  // namespace shell
