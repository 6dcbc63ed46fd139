// An import source is only read: previewing and importing its cards leaves the file, and the
// folder it lies in, exactly as they were.
#include "bulk_fixture.h"
#include "cards/card_bulk.h"
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include "support/earlier_layout.h"
#include "support/killed_writes.h"
#include "support/unprivileged.h"

namespace {

using testing_support::runRaw;

// Every file of a folder with its bytes.
std::map<QString, QByteArray> folderBytes(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile f(QDir(folder).filePath(name));
        files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }
    return files;
}

class ImportSource : public BulkTest {
protected:
    // The check "search" makes before it offers the file as the main database, then a preview
    // through "カードのIMPORT" and the import of every card of it.
    void checkPreviewAndImport(const QString& source) {
        EXPECT_EQ(cards::programDatabaseProblem(source).toStdString(), "");
        seam->answerOpenFile(source);
        Form25& f = Form25::it();
        f.Text2->setText(QStringLiteral("Access"));
        f.Show();
        f.Command1->doClick();
        seam->answerMsgBox(ui::vbOK);
        Form22::it().Command3->doClick();
        unloadAll();
    }
};

TEST_F(ImportSource, CheckPreviewAndImportLeaveEverySourceByteForByte) {
    const QStringList cards{QStringLiteral("四季報|2024/09/30|日立|7203|東証１部|D100|増額"),
                            QStringLiteral("新聞|2024/10/01|三|6501|||")};
    struct Case {
        const char* name;
        const char* layout;   // SQL that makes the source what the case names
        bool readOnlyFolder;
    };
    const Case cases[] = {
        {"program layout, rollback journal", "PRAGMA journal_mode=DELETE;", false},
        {"earlier layout", testing_support::kEarlierChangeLayout, false},
        {"write-ahead log in a folder that cannot be written", "PRAGMA journal_mode=WAL;", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = dir.filePath(QString::fromUtf8(c.name).left(7).replace(u' ', u'_'));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString source = folder + QStringLiteral("/cards.mdb");
        {
            const QString made = programDatabase(QStringLiteral("made.mdb"), cards);
            unloadAll();
            ASSERT_TRUE(QFile::rename(made, source));
        }
        runRaw(source, c.layout);
        const auto before = folderBytes(folder);
        const QStringList storedBefore = storedCards();
        unloadAll();
        if (c.readOnlyFolder) {
            // A folder nobody may write in (a backup folder on a read-only medium, say).
            testing_support::UnprivilegedFiles user({QDir::cleanPath(platform::programFolder() + QStringLiteral("/..")), dir.path()});
            ::chmod(QFile::encodeName(folder).constData(), 0555);
            checkPreviewAndImport(source);
            ::chmod(QFile::encodeName(folder).constData(), 0755);
        } else {
            checkPreviewAndImport(source);
        }
        EXPECT_EQ(seam->msgBoxPrompts().last(), QStringLiteral("登録が　終了しました。"));
        EXPECT_EQ(storedCards().size(), storedBefore.size() + 2);
        unloadAll();
        const auto after = folderBytes(folder);
        QStringList changed;
        for (const auto& [name, bytes] : after)
            if (!before.count(name) || before.at(name) != bytes) changed << name;
        for (const auto& [name, bytes] : before)
            if (!after.count(name)) changed << name;
        EXPECT_TRUE(changed.isEmpty()) << "changed, added or removed: " << changed.join(u' ').toStdString();
    }
}

// A source another program was writing when it was killed: a rollback journal to be played back
// lies beside it (the file itself half written), or a write-ahead log whose index file is gone
// (copied without it, say); in a folder the program may write in and in one it may not. The check,
// the preview and the import take exactly the committed cards, read from a private copy that
// SQLite recovers; the source and its folder stay byte for byte as they were. A journal no one but
// its writer may read refuses the source in words saying it holds an unfinished write, and nothing
// is stored.
TEST_F(ImportSource, ASourceWithAnUnfinishedWriteIsReadFromARecoveredCopy) {
    enum class Leftover { Journal, LogWithoutIndex, UnreadableJournal };
    struct Case {
        const char* name;
        Leftover leftover;
        bool readOnlyFolder;
    };
    const Case cases[] = {
        {"journal, writable folder", Leftover::Journal, false},
        {"journal, read-only folder", Leftover::Journal, true},
        {"log without index, writable folder", Leftover::LogWithoutIndex, false},
        {"log without index, read-only folder", Leftover::LogWithoutIndex, true},
        {"journal no one may read", Leftover::UnreadableJournal, false},
    };
    const char* const moreCards =
        "INSERT INTO mydata (情報源, 銘柄, コード, 情報) SELECT 'まとめ', 銘柄, コード, printf('%.300c', 'x') FROM list LIMIT %1";
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = dir.filePath(QStringLiteral("source%1").arg(++n));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString source = folder + QStringLiteral("/cards.mdb");
        ASSERT_TRUE(QFile::rename(programDatabase(QStringLiteral("made.mdb"), {QStringLiteral("四季報|2024/09/30|日立|7203|東証１部|D100|増額")}), source));
        unloadAll();
        runRaw(source, QByteArray(moreCards).replace("%1", "300").constData());
        int committed = 301;
        const bool log = c.leftover == Leftover::LogWithoutIndex;
        if (log) runRaw(source, "PRAGMA journal_mode=WAL");
        // The other program: cards committed into its log, then a write of many cards killed half-way.
        ASSERT_TRUE(testing_support::killedChild([&] {
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(source).constData(), &db);
            if (log)
                sqlite3_exec(db, QByteArray("PRAGMA wal_autocheckpoint=0; ").append(QByteArray(moreCards).replace("%1", "25")).constData(),
                             nullptr, nullptr, nullptr);
            sqlite3_exec(db, QByteArray("PRAGMA cache_size=5; BEGIN; UPDATE mydata SET 情報 = 'torn'; ")
                                 .append(QByteArray(moreCards).replace("%1", "1000")).constData(),
                         nullptr, nullptr, nullptr);
        }));
        if (log) {
            committed += 25;
            ASSERT_TRUE(QFile::remove(source + QStringLiteral("-shm")));
        } else {
            ASSERT_GT(QFileInfo(source + QStringLiteral("-journal")).size(), 0);
        }
        if (c.leftover == Leftover::UnreadableJournal)
            ::chmod(QFile::encodeName(source + QStringLiteral("-journal")).constData(), 0);
        const auto before = folderBytes(folder);
        const int storedBefore = int(storedCards().size());
        {
            testing_support::UnprivilegedFiles user({QDir::cleanPath(platform::programFolder() + QStringLiteral("/..")), dir.path()});
            if (c.readOnlyFolder) ::chmod(QFile::encodeName(folder).constData(), 0555);
            const bool refused = c.leftover == Leftover::UnreadableJournal;
            const QString problem = cards::programDatabaseProblem(source);
            EXPECT_EQ(problem.contains(QStringLiteral("終わっていない書き込みが残っていて")), refused) << problem.toStdString();
            seam->answerOpenFile(source);
            Form25& f = Form25::it();
            f.Text2->setText(QStringLiteral("Access"));
            f.Show();
            if (refused) seam->answerMsgBox(ui::vbOK);
            f.Command1->doClick();
            if (refused) {
                EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("終わっていない書き込みが残っていて")));
            } else {
                EXPECT_EQ(Form22::it().Text7->Text(), QString::number(committed));
                seam->answerMsgBox(ui::vbOK);
                Form22::it().Command3->doClick();
                EXPECT_EQ(seam->msgBoxPrompts().last(), QStringLiteral("登録が　終了しました。"));
            }
            unloadAll();
            EXPECT_EQ(int(storedCards().size()), storedBefore + (refused ? 0 : committed));
            ::chmod(QFile::encodeName(folder).constData(), 0755);
        }
        EXPECT_TRUE(folderBytes(folder) == before) << "the source or its folder changed";
    }
}

}  // namespace
