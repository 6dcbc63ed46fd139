// The program's database files after a run was killed, when a file is put in their place (a backup
// copied over them as the backup window's help says, or an empty file), and when a file is
// replaced while the program runs.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <vector>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "shell/startup.h"
#include "support/scripted_dialogs.h"
#include "shell_fixture.h"

using shell_test::readBytes;
using shell_test::writeBytes;

namespace {

// What a plain SQLite connection of its own reads (one value).
QString readRaw(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    QString value = QStringLiteral("(cannot open)");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        else
            value = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
}

int cardsIn(const QString& path) {
    return platform::Database::open(path)->openRecordset(QStringLiteral("SELECT count(*) FROM mydata")).value(0, 0).toInt();
}

void addCards(const QString& path, int n, int textSize = 10) {
    auto db = platform::Database::open(path);
    for (int i = 0; i < n; ++i)
        db->executeRaw(QStringLiteral("INSERT INTO mydata (銘柄, コード, 情報) VALUES ('カード', 1301, '%1')")
                           .arg(QString(textSize, QLatin1Char('x'))));
}

// Runs `work` in a child process that is killed (SIGKILL) the moment work is done, as the program
// killed at that moment, with the connections work returns still open (as the windows hold them).
// This process holds no connection while it forks.
using Held = std::vector<std::shared_ptr<platform::Database>>;
void killedAfter(const std::function<Held()>& work) {
    platform::Database::releaseUnused();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const Held held = work();
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

// A backup copied over the file in place (as cp does: same file, new bytes), or as a new file.
void putInPlace(const QString& path, const QByteArray& bytes, bool newFile) {
    if (newFile) QFile::remove(path);
    writeBytes(path, bytes);
}

// A run killed after its writes ended: a backup put in place, or an empty file, comes up as
// itself at the next start, whole.
TEST(DatabaseFiles, AKillAfterAWriteLeavesNothingToLayOverAFilePutInPlace) {
    struct Case {
        const char* name;
        enum { BackupInPlace, BackupAsNewFile, EmptyFile } put;
        int cards;   // the cards the file put in place comes up with
    };
    const Case cases[] = {
        {"backup copied over the file", Case::BackupInPlace, 5},
        {"backup as a new file", Case::BackupAsNewFile, 5},
        {"empty file", Case::EmptyFile, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::ProgramFolderScope scope;
        testing_support::SeamScope seam;
        const QString main = platform::mainDatabasePath();
        auto lock = shell::startUp();
        ASSERT_NE(lock, nullptr);
        addCards(main, 5);
        platform::Database::releaseUnused();
        const QByteArray backup = readBytes(main);

        killedAfter([&] {
            Held held{platform::Database::open(main), platform::Database::open(platform::listDatabasePath())};
            addCards(main, 11);
            held[1]->executeRaw(QStringLiteral("INSERT INTO 情報源リスト (情報源) VALUES ('後')"));
            return held;
        });
        lock.reset();
        EXPECT_EQ(readRaw(main, "SELECT count(*) FROM mydata"), QStringLiteral("16"));   // the killed run's cards were stored

        if (c.put == Case::EmptyFile)
            putInPlace(main, QByteArray(), false);
        else
            putInPlace(main, backup, c.put == Case::BackupAsNewFile);
        lock = shell::startUp();
        ASSERT_NE(lock, nullptr);
        EXPECT_EQ(cardsIn(main), c.cards);
        EXPECT_EQ(readRaw(main, "PRAGMA integrity_check"), QStringLiteral("ok"));
        EXPECT_EQ(readRaw(platform::listDatabasePath(), "SELECT count(*) FROM 情報源リスト WHERE 情報源 = '後'"), QStringLiteral("1"));
        platform::Database::releaseUnused();
    }
}

// A run killed in the middle of a write leaves a journal that puts the file back as it was
// before that write. Over the file itself it is played back; over a backup put in place it is
// not (it would mix pages of two files): it is set aside and the person told where it is.
TEST(DatabaseFiles, AKillDuringAWriteRestoresTheFileButNeverABackupPutInPlace) {
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "backup put in place" : "the file itself");
        testing_support::ProgramFolderScope scope;
        testing_support::SeamScope seam;
        const QString main = platform::mainDatabasePath();
        auto lock = shell::startUp();
        ASSERT_NE(lock, nullptr);
        platform::Database::releaseUnused();
        const QByteArray backup = readBytes(main);
        addCards(main, 200, 300);

        killedAfter([&] {
            auto db = platform::Database::open(main);
            db->executeRaw(QStringLiteral("PRAGMA cache_size = 5"));   // pages go to the file before the commit
            db->executeRaw(QStringLiteral("BEGIN"));
            addCards(main, 3000, 300);
            return Held{db};
        });
        lock.reset();
        const QString journal = main + QStringLiteral("-journal");
        ASSERT_GT(QFileInfo(journal).size(), 0);

        if (restore) {
            putInPlace(main, backup, false);
            seam->answerMsgBox(ui::vbOK);
        }
        lock = shell::startUp();
        ASSERT_NE(lock, nullptr);
        EXPECT_EQ(cardsIn(main), restore ? 0 : 200);
        EXPECT_EQ(readRaw(main, "PRAGMA integrity_check"), QStringLiteral("ok"));
        EXPECT_FALSE(QFileInfo::exists(journal));
        EXPECT_EQ(QFileInfo::exists(journal + QStringLiteral(".orphan")), restore);
        if (restore) EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral(".orphan")));
        EXPECT_TRUE(seam->allAnswersUsed());
        platform::Database::releaseUnused();
    }
}

// A file put in place of a database while the program runs is used only after the same check as
// at start: another program's file is refused and left as it is; a database of the program is used.
TEST(DatabaseFiles, AFileReplacedWhileRunningPassesTheStartCheckFirst) {
    testing_support::ProgramFolderScope scope;
    testing_support::SeamScope seam;
    auto lock = shell::startUp();
    ASSERT_NE(lock, nullptr);
    const QString list = platform::listDatabasePath();
    platform::Database::open(list)->openRecordset(QStringLiteral("checklist"));
    platform::Database::releaseUnused();

    const QString other = QFileInfo(list).absolutePath() + QStringLiteral("/other.db");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(other).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE notes (x); INSERT INTO notes VALUES (1);", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const QByteArray otherBytes = readBytes(other);
    ASSERT_TRUE(QFile::remove(list));
    ASSERT_TRUE(QFile::rename(other, list));
    try {
        platform::Database::open(list);
        ADD_FAILURE() << "another program's file was opened";
    } catch (const platform::DataError& e) {
        EXPECT_TRUE(e.text.contains(QStringLiteral("checklist"))) << e.text.toStdString();
    }
    EXPECT_EQ(readBytes(list), otherBytes);

    // The main database replaced by another database of the program: used as it is.
    const QString main = platform::mainDatabasePath();
    addCards(main, 1);
    platform::Database::releaseUnused();
    const QString copy = main + QStringLiteral(".copy");
    ASSERT_TRUE(QFile::copy(main, copy));
    ASSERT_TRUE(QFile::remove(main));
    ASSERT_TRUE(QFile::rename(copy, main));
    EXPECT_EQ(cardsIn(main), 1);
}

}  // namespace
