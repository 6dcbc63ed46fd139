#include <sqlite3.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <cerrno>
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

// This test program run as a child for one of its child tests, with variables added to its
// environment, and its output as far as read.
struct ChildRun {
    QProcess process;
    QByteArray out;

    // Starts it and reads its output until it says it is ready; false when it did not.
    bool startUntilReady(const char* test, const QProcessEnvironment& added) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : added.keys()) env.insert(name, added.value(name));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + QString::fromLatin1(test)});
        if (!process.waitForStarted(10000)) return false;
        QElapsedTimer waited;
        waited.start();
        while (!out.contains("SYSTEM-END-READY") && waited.elapsed() < 60000 && process.state() == QProcess::Running) {
            process.waitForReadyRead(1000);
            out += process.readAll();
        }
        return out.contains("SYSTEM-END-READY");
    }

    // Sends the signal, if any, and waits for the end; false when it did not end (it is then killed).
    bool end(int signal) {
        if (signal) ::kill(pid_t(process.processId()), signal);
        const bool ended = process.waitForFinished(30000);
        if (!ended) process.kill();
        out += process.readAll();
        return ended;
    }

    // It returned normally, with success, after its event loop ended.
    void expectNormalReturn() const {
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << out.toStdString();
        EXPECT_EQ(process.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("SYSTEM-END-DONE")) << out.toStdString();
    }
};

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

// In a child run (the variable names the parent's program folder): the program as at start on
// that folder, ended by the system's signals. False when this is no child run.
bool startAsChild(const char* variable) {
    const QByteArray folder = qgetenv(variable);
    if (folder.isEmpty()) return false;
    qputenv("XDG_DATA_HOME", folder);
    Module1::reset();
    Module1::MainDbPath = platform::mainDatabasePath();
    shell::endOnSystemSignals();
    return true;
}

// The program as the system ends it. Run only as the child of the test below: it opens the memo
// and the card editor, types into both, says it is ready and waits in the event loop; with a
// question open when asked to.
TEST(SystemEndChild, WaitsForTheSignal) {
    if (!startAsChild(kChildVariable)) GTEST_SKIP() << "the child of SystemEnd.ATermOrHangUpEndsAsEndDoes";
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

const char kLauncherChildVariable[] = "QUENARA_LAUNCHER_CHILD";

// What the program shows through the seam, written out at once: a message shown while the
// program is being taken down would be lost with the test's own records.
class PrintedDialogs : public testing_support::ScriptedDialogs {
public:
    int msgBox(const QString& prompt, int, const QString&) override {
        std::printf("MESSAGE-BOX %s\n", prompt.toUtf8().constData());
        std::fflush(stdout);
        return ui::vbOK;
    }
};

// The program with a chart link just followed, its launcher still running (a launcher that waits
// on the browser it started). Run only as the child of SystemEnd.ALauncherStillRunningIsLetGoAtTheEnd:
// it follows the link, says it is ready and ends by ＥＮＤ, or waits for the signal.
TEST(SystemEndChild, FollowsALinkThenEnds) {
    if (!startAsChild(kLauncherChildVariable)) GTEST_SKIP() << "the child of SystemEnd.ALauncherStillRunningIsLetGoAtTheEnd";
    auto* seam = new PrintedDialogs;
    seam->launchBrowsers = true;
    ui::setDialogs(std::unique_ptr<ui::Dialogs>(seam));   // stays until the process ends
    Form5::it().Show();
    ui::dialogs().openUrl(QStringLiteral("https://finance.example.jp/q?s=7203"));
    const QString started = qEnvironmentVariable("QUENARA_LAUNCHER_PID");
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(started) && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(QFile::exists(started));
    const bool byEnd = qEnvironmentVariableIsSet("QUENARA_CHILD_END");
    QTimer::singleShot(0, [byEnd] {
        std::puts("SYSTEM-END-READY");
        std::fflush(stdout);
        if (byEnd) Form5::it().Command3->doClick();
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

        QProcessEnvironment env;
        env.insert(QString::fromLatin1(kChildVariable), qEnvironmentVariable("XDG_DATA_HOME"));
        env.insert(QStringLiteral("QUENARA_CHILD_MEMO"), QStringLiteral("終わる前のメモ"));
        env.insert(QStringLiteral("QUENARA_CHILD_DATE"), QString::fromUtf8(c.date));
        if (c.question) env.insert(QStringLiteral("QUENARA_CHILD_QUESTION"), QStringLiteral("1"));
        ChildRun child;
        ASSERT_TRUE(child.startUntilReady("SystemEndChild.WaitsForTheSignal", env)) << child.out.toStdString();
        QThread::msleep(200);   // the question, when there is one, is on view
        ASSERT_TRUE(child.end(c.signal)) << "the program did not end: " << child.out.toStdString();
        child.expectNormalReturn();

        EXPECT_EQ(readBytes(Form7::memoPath()), QStringLiteral("終わる前のメモ\r\n").toUtf8());
        EXPECT_EQ(cardNames(), QStringList{QString::fromUtf8(c.stored)});
        EXPECT_EQ(integrity(platform::mainDatabasePath()), "ok");
        platform::Database::releaseUnused();
    }
}

// A chart link's launcher that waits on the browser it started is still running when the program
// ends (ＥＮＤ, or the system's SIGTERM within seconds of the click): it is let go, neither killed
// nor waited for, nothing is said of it, and the program returns normally.
TEST_F(SystemEnd, ALauncherStillRunningIsLetGoAtTheEnd) {
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QString launcher = bin.filePath(QStringLiteral("xdg-open"));
    writeBytes(launcher, "#!/bin/sh\necho $$ > \"$QUENARA_LAUNCHER_PID\"\nexec sleep 60\n");
    ASSERT_TRUE(QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const bool byEnd : {true, false}) {
        SCOPED_TRACE(byEnd ? "ＥＮＤ" : "SIGTERM");
        const QString pidFile = bin.filePath(QStringLiteral("launcher.pid"));
        QFile::remove(pidFile);
        platform::Database::releaseUnused();

        QProcessEnvironment env;
        env.insert(QString::fromLatin1(kLauncherChildVariable), qEnvironmentVariable("XDG_DATA_HOME"));
        env.insert(QStringLiteral("PATH"), bin.path() + u':' + qEnvironmentVariable("PATH"));
        env.insert(QStringLiteral("QUENARA_LAUNCHER_PID"), pidFile);
        if (byEnd) env.insert(QStringLiteral("QUENARA_CHILD_END"), QStringLiteral("1"));
        ChildRun child;
        ASSERT_TRUE(child.startUntilReady("SystemEndChild.FollowsALinkThenEnds", env)) << child.out.toStdString();
        ASSERT_TRUE(child.end(byEnd ? 0 : SIGTERM)) << "the program did not end: " << child.out.toStdString();
        child.expectNormalReturn();
        EXPECT_FALSE(child.out.contains("MESSAGE-BOX")) << child.out.toStdString();

        // The launcher was let go, not killed: it still waits on its browser. It is ended here.
        const pid_t launched = pid_t(QString::fromLatin1(readBytes(pidFile)).trimmed().toLongLong());
        ASSERT_GT(launched, 0);
        EXPECT_EQ(::kill(launched, 0), 0) << "the launcher was ended with the program";
        ::kill(launched, SIGKILL);
    }
}

}  // namespace
