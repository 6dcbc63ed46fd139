#include <sqlite3.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstring>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include "cards/form2.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "platform/ui/dialogs.h"
#include "services/module1.h"
#include "shell/form5.h"
#include "shell/form7.h"
#include "shell/system_end.h"
#include "shell_fixture.h"

using namespace shell_test;

namespace {

const char kChildVariable[] = "QUENARA_SYSTEM_END_CHILD";

void addCard(const QString& name) {
    platform::Database::open(platform::mainDatabasePath())
        ->executeRaw(QStringLiteral("insert into mydata (情報源, 日付, 銘柄, コード) values ('日経', '2026/12/01', '%1', 7203)").arg(name));
}

QStringList cardNames() {
    QStringList names;
    platform::Recordset rs =
        platform::Database::open(platform::mainDatabasePath())->openRecordset(QStringLiteral("select * from mydata order by ID"));
    for (int r = 0; r < rs.recordCount(); ++r) names << rs.text(r, rs.fieldIndex(QStringLiteral("銘柄")));
    return names;
}

std::string integrity(const QString& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

class EndTest : public ShellTest {};

// ＥＮＤ with a card the editor cannot store: the person is told, and the program stays on that
// card with every window; once the card is put right, ＥＮＤ stores it and ends.
TEST_F(EndTest, EndKeepsTheProgramOnACardItCannotStore) {
    addCard(QStringLiteral("トヨタ"));
    Module1::MainDbPath = platform::mainDatabasePath();
    Form5::it().Show();
    Form2& editor = Form2::it();
    editor.Show();
    editor.Text3->setText(QStringLiteral("書き換え"));
    editor.Text2->setText(QStringLiteral("来週"));
    seam->answerMsgBox(ui::vbOK);
    Form5::it().Command3->doClick();
    ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->msgBoxPrompts().first().contains(QStringLiteral("日付")));
    EXPECT_TRUE(Form5::isLoaded());
    ASSERT_TRUE(Form2::isLoaded());
    EXPECT_TRUE(Form7::isLoaded());
    EXPECT_EQ(Form2::it().Text2->Text(), QStringLiteral("来週"));
    EXPECT_EQ(Form2::it().Text3->Text(), QStringLiteral("書き換え"));
    EXPECT_EQ(cardNames(), QStringList{QStringLiteral("トヨタ")});

    Form2::it().Text2->setText(QStringLiteral("2026/12/5"));
    Form5::it().Command3->doClick();
    EXPECT_TRUE(ui::Form::loadedForms().empty());
    EXPECT_EQ(cardNames(), QStringList{QStringLiteral("書き換え")});
}

// The program as the system ends it. Run only as the child of the test below: it opens the memo
// and the card editor, types into both, says it is ready and waits in the event loop; with a
// question open when asked to.
TEST(SystemEndChild, WaitsForTheSignal) {
    const QByteArray folder = qgetenv(kChildVariable);
    if (folder.isEmpty()) GTEST_SKIP() << "the child of SystemEnd.ATermOrHangUpEndsAsEndDoes";
    qputenv("XDG_DATA_HOME", folder);
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    shell::endOnSystemSignals();
    Form5::it().Show();
    Form7::it().Show();
    Form7::it().Text1->setText(qEnvironmentVariable("QUENARA_CHILD_MEMO"));
    Form2& editor = Form2::it();
    editor.Show();
    editor.Text3->setText(QStringLiteral("書き換え"));
    editor.Text2->setText(qEnvironmentVariable("QUENARA_CHILD_DATE"));
    const bool question = qEnvironmentVariableIsSet("QUENARA_CHILD_QUESTION");
    QTimer::singleShot(0, [question] {
        std::puts("SYSTEM-END-READY");
        std::fflush(stdout);
        if (question) ui::MsgBox(QStringLiteral("答えを待つ質問"), ui::vbYesNo);
    });
    QApplication::exec();
    EXPECT_TRUE(ui::Form::loadedForms().empty());
    std::puts("SYSTEM-END-DONE");
    std::fflush(stdout);
}

class SystemEnd : public ShellTest {};

// SIGTERM and SIGHUP end the program as ＥＮＤ does, asking nothing: the memo is saved, a card
// that can be stored is stored (one that cannot is left as it was), the program returns normally
// and its databases are whole.
TEST_F(SystemEnd, ATermOrHangUpEndsAsEndDoes) {
    struct Case {
        int signal;
        const char* date;
        bool question;        // a message box is open when the signal comes
        const char* stored;   // the card's name afterwards
    };
    const Case cases[] = {
        {SIGTERM, "2026/12/5", false, "書き換え"},
        {SIGHUP, "2026/12/5", true, "書き換え"},
        {SIGTERM, "来週", false, "トヨタ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + " " + c.date);
        platform::Database::open(platform::mainDatabasePath())->executeRaw(QStringLiteral("delete from mydata"));
        addCard(QStringLiteral("トヨタ"));
        QFile::remove(Form7::memoPath());
        platform::Database::releaseUnused();

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable), qEnvironmentVariable("XDG_DATA_HOME"));
        env.insert(QStringLiteral("QUENARA_CHILD_MEMO"), QStringLiteral("終わる前のメモ"));
        env.insert(QStringLiteral("QUENARA_CHILD_DATE"), QString::fromUtf8(c.date));
        if (c.question) env.insert(QStringLiteral("QUENARA_CHILD_QUESTION"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SystemEndChild.*")});
        ASSERT_TRUE(child.waitForStarted(10000));
        QByteArray out;
        QElapsedTimer waited;
        waited.start();
        while (!out.contains("SYSTEM-END-READY") && waited.elapsed() < 60000 && child.state() == QProcess::Running) {
            child.waitForReadyRead(1000);
            out += child.readAll();
        }
        ASSERT_TRUE(out.contains("SYSTEM-END-READY")) << out.toStdString();
        QThread::msleep(200);   // the question, when there is one, is on view
        ::kill(pid_t(child.processId()), c.signal);
        const bool ended = child.waitForFinished(30000);
        if (!ended) child.kill();
        out += child.readAll();
        ASSERT_TRUE(ended) << "the program did not end: " << out.toStdString();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << out.toStdString();
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("SYSTEM-END-DONE")) << out.toStdString();

        EXPECT_EQ(readBytes(Form7::memoPath()), QStringLiteral("終わる前のメモ\r\n").toUtf8());
        EXPECT_EQ(cardNames(), QStringList{QString::fromUtf8(c.stored)});
        EXPECT_EQ(integrity(platform::mainDatabasePath()), "ok");
        platform::Database::releaseUnused();
    }
}

}  // namespace
