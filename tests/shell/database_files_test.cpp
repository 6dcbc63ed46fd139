// The program's database files after a run was killed (by a kill of a second process at a chosen
// write), when a file is put in their place (a backup copied over them as the backup window's
// help says, or an empty file), and when a file is replaced while the program runs.
#include <gtest/gtest.h>
#include <sqlite3.h>
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
#include "cards/form25.h"
#include "services/module1.h"
#include "shell/backup.h"
#include "shell/startup.h"
#include "support/killed_writes.h"
#include "support/scripted_dialogs.h"
#include "shell_fixture.h"

using shell_test::readBytes;
using shell_test::readRaw;
using testing_support::runRaw;
using shell_test::writeBytes;

namespace {

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
    Held held;
    ASSERT_TRUE(testing_support::killedChild([&] { held = work(); }));
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

// The change counter of a database file's header.
quint32 changeCounter(const QByteArray& file) {
    const auto* p = reinterpret_cast<const unsigned char*>(file.constData() + 24);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// Runs `work` in a child process whose SQLite is killed (SIGKILL) at its n-th write to a database
// file (0: at the file's sync), as a kill of the program at that moment (see killAtDatabaseWrite).
// This process holds no connection while it forks.
void killedAtWrite(int n, bool afterPage1, const std::function<void()>& work) {
    platform::Database::releaseUnused();
    ASSERT_TRUE(testing_support::killedChild(
        [&] {
            if (n == 0) testing_support::killAtDatabaseSync();
            else testing_support::killAtDatabaseWrite(n, afterPage1);
            work();
        },
        false))
        << "the write ended before its kill";
}

// A transaction of the statements on file (its pages held in a cache large enough for them all)
// whose write is killed once its journal was synced and the first page written.
void killedTransaction(const QString& file, const QStringList& statements) {
    killedAtWrite(1, true, [&] {
        auto db = platform::Database::open(file);
        db->executeRaw(QStringLiteral("PRAGMA cache_size = 20000"));
        db->executeRaw(QStringLiteral("BEGIN"));
        for (const QString& sql : statements) db->executeRaw(sql);
        db->executeRaw(QStringLiteral("COMMIT"));
    });
}

// The main database's bytes after prices were written for every stock (the state a backup is
// made of), made once.
const QByteArray& pricedDatabase() {
    static const QByteArray bytes = [] {
        testing_support::ProgramFolderScope scope;
        platform::ensureProgramDatabases();
        runRaw(platform::mainDatabasePath(),
               "UPDATE \"list\" SET \"kabuka1\" = 100 + \"ID\" % 997, \"kabuka2\" = 90 + \"ID\" % 991, "
               "\"kabuka3\" = 95 + \"ID\" % 89, \"kabuka10\" = 120 + \"ID\" % 13 WHERE \"コード\" <> 1001");
        return readBytes(platform::mainDatabasePath());
    }();
    return bytes;
}

// A program folder of its own whose main database holds those prices, started.
struct PricedFolder {
    testing_support::ProgramFolderScope scope;
    testing_support::SeamScope seam;
    const QString main = platform::mainDatabasePath();
    const QString journal = main + QStringLiteral("-journal");
    std::unique_ptr<platform::FolderLock> lock;
    PricedFolder() {
        writeBytes(main, pricedDatabase());
        lock = shell::startUp();
    }
};

// The program's write of new prices for every stock into the file at path, killed in a child
// process as killedAtWrite says; a small page cache writes pages before the commit.
void killedPriceWrite(const QString& path, int cachePages, int killAt, bool afterPage1) {
    killedAtWrite(killAt, afterPage1, [&] {
        auto db = platform::Database::open(path);
        db->executeRaw(QStringLiteral("PRAGMA cache_size = %1").arg(cachePages));
        db->executeRaw(QStringLiteral("UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" + 1, \"kabuka2\" = \"kabuka2\" + 2"));
    });
}

// Codes whose row of code_change does not name the code's first row of list, and rows of
// code_change for no code of list.
QString staleCodes(const QString& path) {
    return readRaw(path, "SELECT (SELECT count(*) FROM (SELECT \"コード\", min(\"ID\") FROM \"list\" WHERE \"コード\" IS NOT NULL "
                         "GROUP BY \"コード\" EXCEPT SELECT \"コード\", \"ID\" FROM \"code_change\")) + "
                         "(SELECT count(*) FROM \"code_change\" WHERE \"コード\" NOT IN (SELECT \"コード\" FROM \"list\"))");
}

// Another program's INSERT OR REPLACE on list, taking the place of a stock by its ID.
const char* const kReplaceByAnotherProgram = "INSERT OR REPLACE INTO \"list\" (\"ID\", \"銘柄\", \"コード\", \"kabuka1\") "
                                             "SELECT max(\"ID\"), 'z', 9999, 70 FROM \"list\"";

// A run killed in the middle of a write leaves a rollback journal that, played back, puts the file
// as it was before that write. Over the file itself it is played back; a backup copied over the
// file after the kill comes up as the backup, and the journal is set aside under a numbered name
// (an earlier one kept). The journal is never judged by a field of its own: SQLite plays it back
// over a private copy, which must pass the integrity check and the stored changes' check, and the
// file as it stands is checked too. Where both are whole (the journal over a backup is whole
// whenever the killed write journalled every page the backup differs in; the write had reached
// the file whole before its end) the person is asked, and the file not used is kept.
TEST(DatabaseFiles, ALeftoverJournalIsTriedOnACopyFirst) {
    enum class Work { Prices, OtherProgram };
    enum class Target { Own, BackupWindowCopy, EqualCounter, NextCounter };
    struct Case {
        const char* name;
        Work work;
        int cachePages;    // the writer's page cache: a small one writes pages before the commit
        int killAt;        // the n-th write to the database file (0: its sync) ...
        bool afterPage1;   // ... counting from the journalling of the first page's old image
        Target target;
        int page1Segment;  // the journal's segment holding the first page's image: 0 none, -1 a later one
        bool bothWhole;    // the person is asked (and answers as the target tells)
        bool staleCodeChange = false;   // the backup's code_change left behind by another program's REPLACE
    };
    const Case cases[] = {
        {"page 1 in the only segment, the file's own", Work::Prices, 20000, 1, true, Target::Own, 1, false},
        {"page 1 in the only segment, backup window copy", Work::Prices, 20000, 1, true, Target::BackupWindowCopy, 1, true},
        {"page 1 in a later segment, the file's own", Work::Prices, 10, 1, true, Target::Own, -1, false},
        {"page 1 in a later segment, backup at the same counter", Work::Prices, 10, 1, true, Target::EqualCounter, -1, true},
        {"no page 1, the file's own", Work::Prices, 10, 10, false, Target::Own, 0, false},
        {"no page 1, backup at the next counter", Work::Prices, 10, 10, false, Target::NextCounter, 0, false},
        {"no page 1, backup whose code_change another program left behind", Work::Prices, 10, 10, false, Target::NextCounter, 0,
         false, true},
        {"count -1, a stale page 1 behind, the file's own", Work::OtherProgram, 10, 10, false, Target::Own, 0, false},
        {"count -1, a stale page 1 behind, backup window copy", Work::OtherProgram, 10, 10, false, Target::BackupWindowCopy, 0, false},
        {"every page in the file, killed at its sync, the file's own", Work::Prices, 20000, 0, true, Target::Own, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PricedFolder f;
        const QString& main = f.main;
        const QString& journal = f.journal;
        auto& seam = f.seam;
        ASSERT_NE(f.lock, nullptr);

        // The backups: one the backup window made of this state, and copies of it given other
        // cards until their change counters stand where the case wants them.
        const QString made = f.scope.folder() + QStringLiteral("made.mdb");
        ASSERT_EQ(shell::backupDatabase(main, made), QString());
        const QByteArray backupWindowCopy = readBytes(made);
        QFile::remove(made);
        ASSERT_TRUE(QFile::copy(main, made));
        runRaw(main, "UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" * 2 WHERE \"ID\" % 3 = 0");
        if (c.work == Work::OtherProgram)   // earlier writes of that program leave their records behind
            runRaw(main, "PRAGMA journal_mode=PERSIST; PRAGMA synchronous=OFF; UPDATE \"list\" SET \"kabuka3\" = \"kabuka3\" + 1; "
                         "DELETE FROM \"mydata\" WHERE \"ID\" % 2 = 0; INSERT INTO \"mydata\" (\"情報\") SELECT \"銘柄\" FROM \"list\";");
        const QByteArray before = readBytes(main);
        const quint32 counter = changeCounter(before);
        QByteArray backup = backupWindowCopy;
        if (c.target == Target::EqualCounter || c.target == Target::NextCounter) {
            const quint32 wanted = counter + (c.target == Target::NextCounter ? 1 : 0);
            if (c.staleCodeChange) {
                runRaw(made, kReplaceByAnotherProgram);
                ASSERT_NE(staleCodes(made), QStringLiteral("0"));
            }
            while (changeCounter(readBytes(made)) < wanted)
                runRaw(made, "INSERT INTO \"mydata\" (\"銘柄\", \"コード\", \"情報\") VALUES ('バックアップ', 7203, 'backup')");
            backup = readBytes(made);
            ASSERT_EQ(changeCounter(backup), wanted);
        } else if (c.target == Target::BackupWindowCopy) {
            ASSERT_NE(changeCounter(backup), counter);
            ASSERT_NE(changeCounter(backup), counter + 1);
        }
        QFile::remove(made);

        if (c.work == Work::OtherProgram)
            killedAtWrite(c.killAt, c.afterPage1, [&] {
                runRaw(main, QByteArray("PRAGMA journal_mode=PERSIST; PRAGMA synchronous=OFF; PRAGMA cache_size=" +
                                        QByteArray::number(c.cachePages) + "; UPDATE \"list\" SET \"kabuka4\" = \"kabuka2\" + 1")
                                 .constData());
            });
        else
            killedPriceWrite(main, c.cachePages, c.killAt, c.afterPage1);
        f.lock.reset();
        const testing_support::JournalShape shape = testing_support::journalShape(journal);
        ASSERT_GT(shape.segments, 0);
        if (c.page1Segment >= 0) EXPECT_EQ(shape.page1Segment, c.page1Segment);
        else EXPECT_GT(shape.page1Segment, 1);
        EXPECT_EQ(shape.countFromSize && shape.stalePage1, c.work == Work::OtherProgram);
        const QByteArray leftover = readBytes(journal);

        const bool own = c.target == Target::Own;
        if (!own) {
            writeBytes(main, backup);   // copied over the file, as the backup window's help says
            writeBytes(journal + QStringLiteral(".1.orphan"), "set aside by an earlier start");
        }
        if (c.bothWhole) seam->answerMsgBox(own ? ui::vbYes : ui::vbNo);
        if (!own || c.bothWhole) seam->answerMsgBox(ui::vbOK);
        f.lock = shell::startUp();
        ASSERT_NE(f.lock, nullptr);
        EXPECT_TRUE(seam->allAnswersUsed());
        EXPECT_FALSE(QFileInfo::exists(journal));
        EXPECT_EQ(readRaw(main, "PRAGMA integrity_check"), QStringLiteral("ok"));
        if (own) {
            EXPECT_EQ(readBytes(main), before);   // the old state, whole
            const QStringList orphans = QDir(f.scope.folder()).entryList({QStringLiteral("*.orphan")});
            if (c.bothWhole) {   // the new state, whole as well, is kept
                EXPECT_EQ(orphans, QStringList{QStringLiteral("druvolo.mdb.1.orphan")});
                EXPECT_EQ(readRaw(main + QStringLiteral(".1.orphan"), "PRAGMA integrity_check"), QStringLiteral("ok"));
                EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("druvolo.mdb.1.orphan")));
            } else {
                EXPECT_TRUE(orphans.isEmpty()) << orphans.join(u' ').toStdString();
            }
        } else {
            if (c.staleCodeChange)   // the backup, its code_change made good
                EXPECT_EQ(staleCodes(main), QStringLiteral("0"));
            else
                EXPECT_EQ(readBytes(main), backup);   // the backup as it was copied in
            EXPECT_EQ(readBytes(journal + QStringLiteral(".2.orphan")), leftover);
            EXPECT_EQ(readBytes(journal + QStringLiteral(".1.orphan")), QByteArray("set aside by an earlier start"));
            EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("druvolo.mdb-journal.2.orphan")));
        }
        platform::Database::releaseUnused();
    }
}

// A write-ahead log a killed writer left (a file of an earlier version, or of another program, in
// that mode) is tried the same way. Here the log's committed writes laid over the file make a
// whole file, and so is the file without them: the person is asked. A backup copied over the file
// (in rollback mode, as the program keeps its files) comes up as it was copied in without a
// question, with the log set aside and its index removed.
TEST(DatabaseFiles, ALeftoverLogIsTriedOnACopyFirst) {
    for (const bool own : {true, false}) {
        SCOPED_TRACE(own ? "the file's own" : "backup window copy");
        PricedFolder f;
        ASSERT_NE(f.lock, nullptr);
        const QString backupPath = f.scope.folder() + QStringLiteral("made.mdb");
        ASSERT_EQ(shell::backupDatabase(f.main, backupPath), QString());
        const QByteArray backup = readBytes(backupPath);
        runRaw(f.main, "PRAGMA journal_mode=WAL");
        killedAfter([&] {
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(f.main).constData(), &db);
            sqlite3_exec(db, "PRAGMA wal_autocheckpoint=0; UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" + 5; "
                             "INSERT INTO \"mydata\" (\"情報\") VALUES ('log');",
                         nullptr, nullptr, nullptr);
            return Held{};
        });
        f.lock.reset();
        const QString wal = f.main + QStringLiteral("-wal");
        ASSERT_GT(QFileInfo(wal).size(), 0);
        const QByteArray log = readBytes(wal);
        if (!own) writeBytes(f.main, backup);
        if (own) f.seam->answerMsgBox(ui::vbYes);   // a backup in rollback mode: the log is never its own
        f.seam->answerMsgBox(ui::vbOK);
        f.lock = shell::startUp();
        ASSERT_NE(f.lock, nullptr);
        EXPECT_TRUE(f.seam->allAnswersUsed());
        EXPECT_EQ(readRaw(f.main, "PRAGMA integrity_check"), QStringLiteral("ok"));
        if (own) {
            EXPECT_EQ(readRaw(f.main, "SELECT count(*) FROM \"mydata\" WHERE \"情報\" = 'log'"), QStringLiteral("1"));
            EXPECT_TRUE(QFileInfo::exists(f.main + QStringLiteral(".1.orphan")));
            // what each holds, the file in log mode read from its copy without the log as well
            const QString question = f.seam->msgBoxPrompts().value(0);
            EXPECT_TRUE(question.contains(QStringLiteral("はい: 反映します（カード 1 件、"))) << question.toStdString();
            EXPECT_TRUE(question.contains(QStringLiteral("いいえ: 今のファイルをそのまま使います（カード 0 件、"))) << question.toStdString();
        } else {
            EXPECT_EQ(readBytes(f.main), backup);
            EXPECT_EQ(readBytes(wal + QStringLiteral(".1.orphan")), log);
            EXPECT_FALSE(QFileInfo::exists(wal));
            EXPECT_FALSE(QFileInfo::exists(f.main + QStringLiteral("-shm")));
        }
        platform::Database::releaseUnused();
    }
}

// A journal cut short (a disk that ran full, say) beside the file its killed write left torn:
// neither the recovery nor the file as it stands is whole. Another program's file with the journal
// of its own killed write, in place of the main database: neither is the program's database. In
// both, nothing is touched; the start tells the database cannot be used, as for any damaged file
// or another program's, and leaves it unopened. A journal beside an empty file (a new database
// takes its place) is set aside.
TEST(DatabaseFiles, AnUnfinishedWriteThatNoWayMakesWholeIsLeftAsItIs) {
    enum class Case { Torn, Foreign, Empty };
    for (const Case c : {Case::Torn, Case::Foreign, Case::Empty}) {
        SCOPED_TRACE(c == Case::Torn ? "torn file" : c == Case::Foreign ? "another program's file" : "empty file");
        PricedFolder f;
        const QString& main = f.main;
        const QString& journal = f.journal;
        auto& seam = f.seam;
        ASSERT_NE(f.lock, nullptr);
        if (c == Case::Foreign) {
            QFile::remove(main);
            runRaw(main, "CREATE TABLE notes (x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                         "INSERT INTO notes SELECT printf('%.900c', 'n') FROM n;");
            killedAtWrite(1, true, [&] { runRaw(main, "PRAGMA cache_size=5; UPDATE notes SET x = 'changed';"); });
        } else {
            killedPriceWrite(main, 10, 1, true);
        }
        f.lock.reset();
        QByteArray leftover = readBytes(journal);
        if (c != Case::Foreign) leftover.truncate(leftover.size() / 2);
        writeBytes(journal, leftover);
        if (c == Case::Empty) writeBytes(main, QByteArray());
        const QByteArray torn = readBytes(main);
        seam->answerMsgBox(ui::vbOK);
        f.lock = shell::startUp();
        ASSERT_NE(f.lock, nullptr);
        EXPECT_TRUE(seam->allAnswersUsed());
        if (c == Case::Empty) {
            EXPECT_EQ(readBytes(journal + QStringLiteral(".1.orphan")), leftover);
            EXPECT_EQ(readRaw(main, "SELECT count(*) > 3000 FROM \"list\""), QStringLiteral("1"));   // made anew
            continue;
        }
        EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("このデータベースは使えません。")));
        EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("druvolo.mdb-journal")));
        EXPECT_EQ(readBytes(main), torn);
        EXPECT_EQ(readBytes(journal), leftover);
        EXPECT_TRUE(platform::Database::isRefused(main));
        EXPECT_TRUE(QDir(f.scope.folder()).entryList({QStringLiteral("*.orphan")}).isEmpty());
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

    // ... and by one beside which lies the journal of another file's killed write: the same trial
    // as at start sets it aside (SQLite alone would lay it over the file).
    platform::Database::releaseUnused();
    ASSERT_TRUE(QFile::copy(main, copy));
    const QString priced = main + QStringLiteral(".priced");
    writeBytes(priced, pricedDatabase());
    killedPriceWrite(priced, 10, 10, false);
    ASSERT_TRUE(QFile::remove(main));
    ASSERT_TRUE(QFile::rename(copy, main));
    ASSERT_TRUE(QFile::rename(priced + QStringLiteral("-journal"), main + QStringLiteral("-journal")));
    seam->answerMsgBox(ui::vbOK);
    EXPECT_EQ(cardsIn(main), 1);
    EXPECT_TRUE(QFileInfo::exists(main + QStringLiteral("-journal.1.orphan")));
    EXPECT_EQ(readRaw(main, "PRAGMA integrity_check"), QStringLiteral("ok"));
    EXPECT_TRUE(seam->allAnswersUsed());
}

// Another program's REPLACE on list (which fires no delete trigger) leaves code_change behind: the
// start makes it good before the program uses the file, and so does the check of a file put in
// its place while the program runs.
TEST(DatabaseFiles, CodeChangeLeftBehindByAnotherProgramIsMadeGoodAtStartAndInAFilePutInPlace) {
    testing_support::ProgramFolderScope scope;
    testing_support::SeamScope seam;
    const QString main = platform::mainDatabasePath();
    auto lock = shell::startUp();
    ASSERT_NE(lock, nullptr);
    runRaw(main, kReplaceByAnotherProgram);
    ASSERT_NE(staleCodes(main), QStringLiteral("0"));
    lock.reset();
    lock = shell::startUp();
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(staleCodes(main), QStringLiteral("0"));

    const QString copy = main + QStringLiteral(".copy");
    ASSERT_TRUE(QFile::copy(main, copy));
    runRaw(copy, "UPDATE OR REPLACE \"list\" SET \"ID\" = (SELECT min(\"ID\") FROM \"list\") WHERE \"コード\" = 9999");
    ASSERT_NE(staleCodes(copy), QStringLiteral("0"));
    ASSERT_TRUE(QFile::remove(main));
    ASSERT_TRUE(QFile::rename(copy, main));
    platform::Database::open(main);
    EXPECT_EQ(staleCodes(main), QStringLiteral("0"));
}


// The folder's orphans (files kept under a numbered name), by name.
QStringList orphansIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.orphan")}, QDir::Files, QDir::Name);
}

// What a killed run or a user's copy leaves beside a database file, and what the file holds
// afterwards wherever it is taken up: at start as the program folder's main database, or chosen
// through the card import window's "search" from another folder. A journal the file's own write
// left is played back, and so is one beside a backup of the very state it puts back (both ways
// hold the same rows: nothing to ask); a journal from before a backup copied over the file, and another
// database's log beside a file in rollback mode, never are (the question's default keeps the file
// as it stands, and the side file is kept under a numbered name and named); a journal whose
// header is blank changes nothing and is left as it is, without a question or a message; a
// journal cut short leaves the file unusable and untouched.
TEST(DatabaseFiles, EachLeftoverIsSettledAlikeAtStartAndWhenChosenAsTheMainDatabase) {
    enum class Leftover { OwnJournal, BackupOfTheStateBefore, JournalBeforeRestoredBackup, OtherDatabasesLog, BlankHeaderJournal,
                          CutJournal };
    struct Case {
        const char* name;
        Leftover leftover;
        bool asked;            // the question, answered with its default
        const char* kept;      // the orphan left beside the file ("" none)
        bool journalLeft;      // the journal stays as it was
        bool usable;
    };
    const Case cases[] = {
        {"the file's own journal", Leftover::OwnJournal, false, "", false, true},
        {"a backup of the very state before the kill", Leftover::BackupOfTheStateBefore, false, "", false, true},
        {"a journal from before a restored backup", Leftover::JournalBeforeRestoredBackup, true,
         "druvolo.mdb-journal.1.orphan", false, true},
        {"another database's log", Leftover::OtherDatabasesLog, false, "druvolo.mdb-wal.1.orphan", false, true},
        {"a journal with a blank header", Leftover::BlankHeaderJournal, false, "", true, true},
        {"a journal cut short", Leftover::CutJournal, false, "", true, false},
    };
    for (const bool chosen : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (chosen ? ", chosen through \"search\"" : ", at start"));
            testing_support::ProgramFolderScope scope;
            testing_support::SeamScope seam;
            testing_support::WindowsScope windows;
            auto lock = shell::startUp();
            ASSERT_NE(lock, nullptr);
            const QString folder = chosen ? scope.folder() + QStringLiteral("other/") : scope.folder();
            QDir().mkpath(folder);
            const QString file = folder + QStringLiteral("druvolo.mdb");
            const QString journal = file + QStringLiteral("-journal");
            if (!chosen) lock.reset();
            platform::Database::releaseUnused();

            writeBytes(file, pricedDatabase());
            QByteArray expected;   // the file's bytes afterwards
            switch (c.leftover) {
            case Leftover::OwnJournal:
            case Leftover::BackupOfTheStateBefore:
            case Leftover::CutJournal:
                expected = readBytes(file);
                killedPriceWrite(file, 10, 1, true);
                if (c.leftover == Leftover::BackupOfTheStateBefore) writeBytes(file, expected);
                if (c.leftover == Leftover::CutJournal) {
                    const QByteArray whole = readBytes(journal);
                    writeBytes(journal, whole.left(whole.size() / 2));
                    expected = readBytes(file);
                }
                break;
            case Leftover::JournalBeforeRestoredBackup:
                // A backup of an earlier week; then that week's prices and cards, and the next
                // registration of prices and of its date killed once its journal was synced.
                expected = readBytes(file);
                runRaw(file, "UPDATE \"日付\" SET \"kabuka1\" = '26/12/04'; UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" * 2 "
                             "WHERE \"ID\" % 3 = 0; INSERT INTO \"mydata\" (\"情報\") VALUES ('a'), ('b');");
                killedTransaction(file, {QStringLiteral("UPDATE \"日付\" SET \"kabuka1\" = '26/12/11'"),
                                         QStringLiteral("UPDATE \"list\" SET \"kabuka1\" = \"kabuka1\" + 1, \"kabuka2\" = \"kabuka2\" + 2")});
                writeBytes(file, expected);   // the backup copied over the file
                break;
            case Leftover::OtherDatabasesLog: {
                expected = readBytes(file);
                const QString other = folder + QStringLiteral("other.mdb");
                writeBytes(other, pricedDatabase());
                runRaw(other, "PRAGMA journal_mode=WAL");
                killedAfter([&] {
                    sqlite3* db = nullptr;
                    sqlite3_open(QFile::encodeName(other).constData(), &db);
                    sqlite3_exec(db, "PRAGMA wal_autocheckpoint=0; DELETE FROM \"mydata\"; UPDATE \"list\" SET \"kabuka1\" = 1;",
                                 nullptr, nullptr, nullptr);
                    return Held{};
                });
                ASSERT_TRUE(QFile::rename(other + QStringLiteral("-wal"), file + QStringLiteral("-wal")));
                break;
            }
            case Leftover::BlankHeaderJournal:
                // Another program's write in a mode that keeps the journal, its header blanked at the end.
                runRaw(file, "PRAGMA journal_mode=PERSIST; UPDATE \"list\" SET \"kabuka3\" = \"kabuka3\" + 1;");
                expected = readBytes(file);
                ASSERT_GT(QFileInfo(journal).size(), 0);
                break;
            }
            const QByteArray leftJournal = readBytes(journal);

            if (c.asked) seam->answerMsgBox(ui::vbNo);
            if (*c.kept || !c.usable) seam->answerMsgBox(ui::vbOK);
            const QString currentMain = Module1::MainDbPath;
            if (chosen) {
                seam->answerOpenFile(file);
                Form25& f = Form25::it();
                f.Text2->setText(QStringLiteral("search"));
                f.Show();
                f.Command1->doClick();
                EXPECT_EQ(Module1::MainDbPath, c.usable ? file : currentMain);
                if (!c.usable) EXPECT_TRUE(seam->msgBoxPrompts().last().endsWith(QStringLiteral("現在のデータベースをそのまま使います。")));
            } else {
                lock = shell::startUp();
                ASSERT_NE(lock, nullptr);
                EXPECT_EQ(platform::Database::isRefused(file), !c.usable);
                if (!c.usable) EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("このデータベースは使えません。")));
            }
            EXPECT_TRUE(seam->allAnswersUsed());
            EXPECT_EQ(readBytes(file), expected);
            EXPECT_EQ(orphansIn(folder), *c.kept ? QStringList{QString::fromLatin1(c.kept)} : QStringList{});
            EXPECT_EQ(readBytes(journal), c.journalLeft ? leftJournal : QByteArray());
            EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral("-wal")));
            if (c.asked) {
                const testing_support::SeamEvent* question = nullptr;
                for (const auto& e : seam->events)
                    if (e.kind == QLatin1String("msgbox") && (e.style & ui::vbYesNo) == ui::vbYesNo) question = &e;
                ASSERT_NE(question, nullptr);
                EXPECT_EQ(question->style & ui::vbDefaultButton2, ui::vbDefaultButton2);
                EXPECT_TRUE(question->prompt.contains(QStringLiteral("今のファイルをそのまま使います（カード 0 件、最新の日付 ")))
                    << question->prompt.toStdString();
            }
            if (*c.kept) EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QString::fromLatin1(c.kept)));
            platform::Database::releaseUnused();
            Module1::reset();
        }
    }
}

// Another list database's journal beside the list database is not played over the person's
// lists by default; the question tells the entries of each list in both.
TEST(DatabaseFiles, AnotherListDatabasesJournalIsNotPlayedOverTheListsByDefault) {
    testing_support::ProgramFolderScope scope;
    testing_support::SeamScope seam;
    auto lock = shell::startUp();
    ASSERT_NE(lock, nullptr);
    lock.reset();
    platform::Database::releaseUnused();
    const QString lists = platform::listDatabasePath();
    const QString other = scope.folder() + QStringLiteral("other.mdb");
    ASSERT_TRUE(QFile::copy(lists, other));
    const char* const fill = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                             "INSERT INTO \"checklist\" (\"コード\", \"銘柄\", \"date\") SELECT 1300 + i, printf('%.60c', '%s'), '26/12/01' FROM n;";
    runRaw(lists, QByteArray(fill).replace("'%s'", "'u'").constData());
    runRaw(other, QByteArray(fill).replace("'%s'", "'o'").constData());
    runRaw(other, "INSERT INTO \"mylist\" (\"コード\") VALUES (7203), (6758)");
    const QByteArray userLists = readBytes(lists);
    killedTransaction(other, {QStringLiteral("UPDATE \"checklist\" SET \"銘柄\" = 'x'"),
                              QStringLiteral("UPDATE \"mylist\" SET \"銘柄\" = 'x'")});
    ASSERT_TRUE(QFile::rename(other + QStringLiteral("-journal"), lists + QStringLiteral("-journal")));

    seam->answerMsgBox(ui::vbNo);
    seam->answerMsgBox(ui::vbOK);
    lock = shell::startUp();
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(seam->allAnswersUsed());
    EXPECT_EQ(readBytes(lists), userLists);
    EXPECT_EQ(readRaw(lists, "SELECT count(*) FROM \"checklist\" WHERE \"銘柄\" LIKE 'u%'"), QStringLiteral("300"));
    EXPECT_TRUE(QFileInfo::exists(lists + QStringLiteral("-journal.1.orphan")));
    const QString question = seam->msgBoxPrompts().value(0);
    EXPECT_TRUE(question.contains(QStringLiteral("はい: 反映します（checklist 300 件、trend 0 件、checklist2 0 件、mylist 2 件、")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("いいえ: 今のファイルをそのまま使います（checklist 300 件、trend 0 件、checklist2 0 件、mylist 0 件、")))
        << question.toStdString();
}

}  // namespace
