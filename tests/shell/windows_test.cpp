#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "platform/ui/dialogs.h"
#include "shell/form23.h"
#include "shell/form5.h"
#include "shell/form7.h"
#include "shell/form8.h"
#include "services/module1.h"
#include "shell_fixture.h"
#include "support/unprivileged.h"
#include <sys/stat.h>

using namespace shell_test;

namespace {


QString lf(QString s) { return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

class MemoTest : public ShellTest {};

TEST_F(MemoTest, LoadThenSaveLeavesTheFileAsItWas) {
    const QByteArray stored = QStringLiteral("買い候補\r\n7203 トヨタ\r\n\r\n").toUtf8();
    writeBytes(Form7::memoPath(), stored);
    Form7::it().Show();
    EXPECT_EQ(lf(Form7::it().Text1->Text()), QStringLiteral("買い候補\n7203 トヨタ\n"));
    Form7::it().mnuSave->trigger();
    EXPECT_FALSE(Form7::it().isVisible());
    EXPECT_EQ(readBytes(Form7::memoPath()), stored);

    // Again through a fresh load and the program's end.
    unloadAll();
    Form5::it().Show();
    Form5::it().Command3->doClick();
    EXPECT_EQ(readBytes(Form7::memoPath()), stored);
    EXPECT_TRUE(ui::Form::loadedForms().empty());
}

// Each file shows its text without the final line break; a save writes it in UTF-8 with CR LF
// and keeps the final break as the file had it, so load and save never make the memo grow.
TEST_F(MemoTest, RoundTripsKeepTheTextAndGrowNothing) {
    const struct {
        const char* name;
        QByteArray file;
        QString shown;
        QByteArray saved;
    } cases[] = {
        {"UTF-8 with CR LF", QStringLiteral("買い候補\r\n7203\r\n").toUtf8(), QStringLiteral("買い候補\n7203"),
         QStringLiteral("買い候補\r\n7203\r\n").toUtf8()},
        {"bare LF", QStringLiteral("買い候補\n7203\n\n").toUtf8(), QStringLiteral("買い候補\n7203\n"),
         QStringLiteral("買い候補\r\n7203\r\n\r\n").toUtf8()},
        {"no final break", QStringLiteral("買い候補\r\n7203").toUtf8(), QStringLiteral("買い候補\n7203"),
         QStringLiteral("買い候補\r\n7203").toUtf8()},
        {"Shift_JIS with characters beyond strict Shift_JIS", QByteArray("\x87\x40\x83\x81\x83\x82 \x95\x5c\r\n"),
         QStringLiteral("①メモ 表"), QStringLiteral("①メモ 表\r\n").toUtf8()},
        {"empty file", QByteArray(), QString(), QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(Form7::memoPath(), c.file);
        Form7::it().Show();
        EXPECT_EQ(lf(Form7::it().Text1->Text()), c.shown);
        Form7::it().mnuSave->trigger();
        EXPECT_EQ(readBytes(Form7::memoPath()), c.saved);
        // A second round trip, through the program's end, changes nothing more.
        unloadAll();
        Form5::it().Show();
        Form5::it().Command3->doClick();
        EXPECT_EQ(readBytes(Form7::memoPath()), c.saved);
        unloadAll();
    }
}

// Bytes that are neither UTF-8 nor CP932 are shown as far as they read, and the file is kept.
TEST_F(MemoTest, AMemoNotReadLosslesslyIsNeverSavedOver) {
    const QByteArray stored("\x80\xff memo \x81");
    writeBytes(Form7::memoPath(), stored);
    Form5::it().Show();
    Form7::it().Show();
    EXPECT_TRUE(Form7::it().Text1->Text().contains(QStringLiteral(" memo ")));

    seam->answerMsgBox(ui::vbOK);
    Form7::it().mnuSave->trigger();
    EXPECT_TRUE(Form7::it().isVisible());
    EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("元のファイルを残しました")));
    seam->answerMsgBox(ui::vbNo);
    Form5::it().Command3->doClick();
    EXPECT_EQ(readBytes(Form7::memoPath()), stored);

    // Once the file has another name, the memo is saved anew.
    QFile::rename(Form7::memoPath(), Form7::memoPath() + QStringLiteral(".old"));
    Form7::it().Text1->setText(QStringLiteral("新しいメモ"));
    Form5::it().Command3->doClick();
    EXPECT_EQ(readBytes(Form7::memoPath()), QStringLiteral("新しいメモ\r\n").toUtf8());
    EXPECT_EQ(readBytes(Form7::memoPath() + QStringLiteral(".old")), stored);
}

// A memo file that is there but cannot be opened (its permissions) is never saved over either:
// the pad starts empty, and the end tells why the file was kept.
TEST_F(MemoTest, AMemoThatCannotBeOpenedIsNeverSavedOver) {
    const QByteArray stored = QStringLiteral("読めないメモ\r\n").toUtf8();
    writeBytes(Form7::memoPath(), stored);
    {
        testing_support::UnprivilegedFiles user({QDir::cleanPath(platform::programFolder() + QStringLiteral("/.."))});
        ::chmod(QFile::encodeName(Form7::memoPath()).constData(), 0);
        Form5::it().Show();
        Form7::it().Show();
        EXPECT_TRUE(Form7::it().Text1->Text().isEmpty());
        Form7::it().Text1->setText(QStringLiteral("上書き"));
        seam->answerMsgBox(ui::vbOK);
        Form7::it().mnuSave->trigger();
        EXPECT_TRUE(Form7::it().isVisible());
        EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("開けなかった")));
        seam->answerMsgBox(ui::vbNo);
        Form5::it().Command3->doClick();
        ::chmod(QFile::encodeName(Form7::memoPath()).constData(), 0644);
    }
    EXPECT_EQ(readBytes(Form7::memoPath()), stored);
}

TEST_F(MemoTest, WithoutAFileThePadStartsEmpty) {
    Form7::it().Show();
    EXPECT_TRUE(Form7::it().Text1->Text().isEmpty());
    Form7::it().mnuSave->trigger();
    EXPECT_EQ(readBytes(Form7::memoPath()), QByteArray("\r\n"));
}

TEST_F(MemoTest, EndSavesTheEditedMemoAndUnloadsEveryWindow) {
    Form5::it().Show();
    Form7::it().Show();
    Form7::it().Text1->setText(QStringLiteral("一行目\n二行目"));
    Form8::it().Show();
    Form5::it().Command3->doClick();
    EXPECT_EQ(readBytes(Form7::memoPath()), QStringLiteral("一行目\r\n二行目\r\n").toUtf8());
    EXPECT_TRUE(ui::Form::loadedForms().empty());
}

// A memo that cannot be written is never dropped without the person knowing.
TEST_F(MemoTest, AFailedWriteIsReported) {
    QDir().mkpath(Form7::memoPath());   // a folder where the file should be
    Form5::it().Show();
    Form7::it().Show();
    Form7::it().Text1->setText(QStringLiteral("大事なメモ"));

    seam->answerMsgBox(ui::vbOK);
    Form7::it().mnuSave->trigger();
    EXPECT_TRUE(Form7::it().isVisible());
    EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("メモを保存できませんでした。")));

    seam->answerMsgBox(ui::vbNo);   // stay
    Form5::it().Command3->doClick();
    EXPECT_TRUE(Form5::isLoaded());
    EXPECT_EQ(Form7::it().Text1->Text(), QStringLiteral("大事なメモ"));
    EXPECT_EQ(seam->events.back().style, ui::vbYesNo | ui::vbExclamation | ui::vbDefaultButton2);

    seam->answerMsgBox(ui::vbYes);  // end without the memo
    Form5::it().Command3->doClick();
    EXPECT_TRUE(ui::Form::loadedForms().empty());
}

class BackupTest : public ShellTest {};

TEST_F(BackupTest, CopiesTheDatabaseOfThePeriodUnit) {
    setDateRecord(QStringLiteral("week"));
    platform::ensureMainDatabase(platform::programFile(QStringLiteral("Wdruvolo.mdb")));
    platform::Database::open(platform::programFile(QStringLiteral("Wdruvolo.mdb")))
        ->executeRaw(QStringLiteral("update [日付] set kabuka11='week-db'"));
    Form5::it().Show();
    // As after an import of kind "search": another database of the program is the main database,
    // and stays so when the backup reloads the menu.
    const QString other = folder.folder() + QStringLiteral("elsewhere/other.mdb");
    platform::ensureMainDatabase(other);
    platform::Database::open(other)->executeRaw(QStringLiteral("update [日付] set kabuka11='week'"));
    Module1::MainDbPath = other;

    Form8& backup = Form8::it();
    backup.Show();
    EXPECT_FALSE(backup.Command4->isVisible());
    // An earlier file of the same name is replaced without a question, whatever it holds.
    const QString copy = platform::programFile(QStringLiteral("Mdb/")) + QStringLiteral("Wdruvolo261210.mdb");
    QDir().mkpath(platform::programFile(QStringLiteral("Mdb")));
    writeBytes(copy, "an older backup, damaged");
    seam->answerInput(QStringLiteral("261210"));
    backup.Command1->doClick();

    const auto& asked = seam->events.back();
    EXPECT_EQ(asked.prompt, QStringLiteral("日付を入力してください"));
    EXPECT_TRUE(asked.title.isEmpty() && !asked.title.isNull());
    EXPECT_EQ(asked.defaultAnswer, QDate::currentDate().toString(QStringLiteral("yyMMdd")));
    ASSERT_TRUE(QFileInfo::exists(copy));
    auto rs = platform::Database::open(copy)->openRecordset(QStringLiteral("select * from [日付]"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("kabuka11")).toString(), QStringLiteral("week-db"));
    EXPECT_EQ(backup.Command1->Caption(), QStringLiteral("バックアップファイル作成終わりました。"));
    EXPECT_TRUE(backup.Command4->isVisibleTo(&backup));
    EXPECT_EQ(backup.Command4->Caption(), QStringLiteral("ファイル名は　Wdruvolo261210.mdb"));
    EXPECT_FALSE(Form5::isLoaded());

    backup.Command2->doClick();
    EXPECT_FALSE(Form8::isLoaded());
    EXPECT_TRUE(Form5::isLoaded());
    EXPECT_TRUE(Form5::it().isVisible());
    EXPECT_EQ(Module1::MainDbPath, other);   // the chosen database stays chosen
}

TEST_F(BackupTest, ReportsWhatReallyHappened) {
    const QString mdb = platform::programFile(QStringLiteral("Mdb/"));
    const struct {
        const char* what;
        const char* unit;
        std::optional<QString> answer;
        QString message;   // start of the message; empty: none
        QString file;      // the backup made; empty: none
    } cases[] = {
        {"cancel", "day", std::nullopt, QString(), QString()},
        {"a path in the answer", "day", QStringLiteral("../../x"), QStringLiteral("ファイル名に使えない文字"), QString()},
        {"a folder in the answer", "day", QStringLiteral("a/b"), QStringLiteral("ファイル名に使えない文字"), QString()},
        {"no month database", "month", QStringLiteral("261210"), QStringLiteral("バックアップファイルを作成できませんでした。"),
         QString()},
        {"no unit", "Day", QStringLiteral("261210"), QStringLiteral("株価の単位"), QString()},
        {"an empty answer", "day", QString(), QString(), QStringLiteral("druvolo.mdb")},
    };
    for (const auto& c : cases) {
        QDir(mdb).removeRecursively();
        setDateRecord(QString::fromUtf8(c.unit));
        unloadAll();
        Form8& backup = Form8::it();
        backup.Show();
        seam->answerInput(c.answer);
        if (!c.message.isEmpty()) seam->answerMsgBox(ui::vbOK);
        const size_t before = seam->events.size();
        backup.Command1->doClick();
        const QStringList files = QDir(mdb).entryList(QDir::Files);
        EXPECT_EQ(files, c.file.isEmpty() ? QStringList() : QStringList{c.file}) << c.what;
        EXPECT_EQ(backup.Command4->isVisibleTo(&backup), !c.file.isEmpty()) << c.what;
        ASSERT_EQ(seam->events.size() - before, c.message.isEmpty() ? 1u : 2u) << c.what;
        if (!c.message.isEmpty()) EXPECT_TRUE(seam->events.back().prompt.startsWith(c.message)) << c.what;
    }
}

// A main database that the start refused is named, not the period unit it cannot give.
TEST_F(BackupTest, AnUnusableMainDatabaseIsNamed) {
    platform::Database::releaseUnused();
    platform::Database::refuse(platform::mainDatabasePath(), QStringLiteral("not the program's database"));
    Form8::it().Show();
    seam->answerInput(QStringLiteral("261210"));
    seam->answerMsgBox(ui::vbOK);
    Form8::it().Command1->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().last(),
              QStringLiteral("データベースが使えないため、バックアップできませんでした。\r\n") + platform::mainDatabasePath());
    EXPECT_TRUE(QDir(platform::programFile(QStringLiteral("Mdb/"))).entryList(QDir::Files).isEmpty());
}

// A backup cut short leaves its side files; the next backup, of any name, removes them.
TEST_F(BackupTest, RemovesWhatABackupCutShortLeftBehind) {
    const QString mdb = platform::programFile(QStringLiteral("Mdb/"));
    QDir().mkpath(mdb);
    const QStringList stale{QStringLiteral("druvolo250101.mdb.part"), QStringLiteral("druvolo250101.mdb.part-journal"),
                            QStringLiteral("Wdruvolo.mdb.part-wal")};
    for (const QString& f : stale) writeBytes(mdb + f, "half a copy");
    writeBytes(mdb + QStringLiteral("druvolo250101.mdb"), "an earlier backup");
    setDateRecord(QStringLiteral("day"));
    Form8::it().Show();
    seam->answerInput(QStringLiteral("261210"));
    Form8::it().Command1->doClick();
    EXPECT_EQ(QDir(mdb).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("druvolo250101.mdb"), QStringLiteral("druvolo261210.mdb")}));
}

TEST(ShellModule, OpenFileDialogGivesThePathOrNothing) {
    testing_support::SeamScope seam;
    seam->answerOpenFile(QStringLiteral("/home/me/cards.mdb"));
    seam->answerOpenFile(QString());
    const QString filter = QStringLiteral("Access (*.mdb)") + QChar(0) + QStringLiteral("*.mdb") + QChar(0);
    EXPECT_EQ(Module1::ShowOpenFileDialog(nullptr, filter), QStringLiteral("/home/me/cards.mdb"));
    EXPECT_EQ(Module1::ShowOpenFileDialog(nullptr, filter), QString());
    EXPECT_EQ(seam->events.back().title, QStringLiteral("ファイルを開く"));
    EXPECT_EQ(seam->events.back().prompt, filter);
}

class HintTest : public ShellTest {};

TEST_F(HintTest, ShowsTheHintAndClosesWithItsCloseBox) {
    Form23& hint = Form23::it();
    hint.Show();
    const QStringList lines = lf(hint.Text1->Text()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], QStringLiteral("吟味するときは　ボリンジャバンドを追加してください。"));
    EXPECT_FALSE(hint.Image1->pixmap().isNull());
    EXPECT_FALSE(hint.Picture2->pixmap().isNull());
    hint.close();
    QApplication::processEvents();
    EXPECT_FALSE(Form23::isLoaded());
}

// Pictures of the windows for a person to look at (/tmp/form5.png and others); nothing is compared.
TEST_F(HintTest, SavesPicturesOfTheWindows) {
    setDateRecord(QStringLiteral("day"));
    Form5::it().Show();
    QApplication::processEvents();
    Form5::it().grab().save(QStringLiteral("/tmp/form5.png"));
    Form5::it().resize(Form5::it().width() + 450, Form5::it().height());
    QApplication::processEvents();
    Form5::it().grab().save(QStringLiteral("/tmp/form5-wide.png"));
    for (ui::Form* f : std::initializer_list<ui::Form*>{&Form7::it(), &Form8::it(), &Form23::it()}) {
        f->Show();
        QApplication::processEvents();
        f->grab().save(QStringLiteral("/tmp/") + f->Name.toLower() + QStringLiteral(".png"));
    }
    seam->answerInput(QStringLiteral("261210"));
    Form8::it().Command1->doClick();
    QApplication::processEvents();
    Form8::it().grab().save(QStringLiteral("/tmp/form8-done.png"));
}

}  // namespace
