// The program's databases beside another process that opens, reads and closes them.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "support/scripted_dialogs.h"

namespace {

// What another process (the sqlite3 shell, as a database browser would) reads from the file: opened
// (for reading and writing), read, closed.
QString readFromOutside(const QString& path, const QString& sql) {
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {path, sql});
    if (!shell.waitForFinished(20000)) return QStringLiteral("(sqlite3 did not finish)");
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed() + QString::fromUtf8(shell.readAllStandardError()).trimmed();
}

// The files this process holds open that were deleted meanwhile.
QStringList deletedFilesHeld() {
    QStringList held;
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget().isEmpty() ? QFile::symLinkTarget(fd.filePath()) : fd.symLinkTarget();
        if (target.endsWith(QStringLiteral("(deleted)"))) held << target;
    }
    return held;
}

// Each write of the program is in the file at once, whatever another process did before: it
// opened, read and closed the file between the writes, while windows opened the same database
// again (as every refresh does).
TEST(OtherReader, EveryWriteIsSeenFromOutsideAtOnce) {
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty()) GTEST_SKIP() << "no sqlite3 shell";
    testing_support::ProgramFolderScope folder;
    platform::ensureProgramDatabases();
    struct Case {
        QString path;
        const char* table;
        const char* insert;
    };
    const Case cases[] = {
        {platform::mainDatabasePath(), "mydata", "INSERT INTO mydata (銘柄, コード) VALUES ('書き込み', 1301)"},
        {platform::listDatabasePath(), "情報源リスト", "INSERT INTO 情報源リスト (情報源) VALUES ('書き込み')"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const QString count = QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QString::fromUtf8(c.table));
        const int before = readFromOutside(c.path, count).toInt();
        std::shared_ptr<platform::Database> held = platform::Database::open(c.path);
        for (int write = 1; write <= 3; ++write) {
            auto db = platform::Database::open(c.path);
            db->executeRaw(QString::fromUtf8(c.insert));
            EXPECT_EQ(readFromOutside(c.path, count).toStdString(), std::to_string(before + write)) << "write " << write;
            EXPECT_EQ(deletedFilesHeld().join(u' ').toStdString(), "") << "write " << write;
        }
        // Nothing of the writes waits in a side file.
        EXPECT_FALSE(QFileInfo(c.path + QStringLiteral("-wal")).size() > 0);
        EXPECT_FALSE(QFileInfo::exists(c.path + QStringLiteral("-journal")));
        held.reset();
        platform::Database::releaseUnused();
    }
}

}  // namespace
