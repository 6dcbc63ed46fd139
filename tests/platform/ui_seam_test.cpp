#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include "platform/ui/controls.h"
#include "platform/ui/dialogs.h"
#include "support/scripted_dialogs.h"

namespace {

TEST(ScriptedSeam, AnswersComeFromTheQueueAndEverythingIsRecorded) {
    testing_support::SeamScope seam;
    seam->answerMsgBox(ui::vbNo);
    seam->answerInput(QStringLiteral("7203"));
    seam->answerInput(std::nullopt);
    seam->answerOpenFile(QStringLiteral("/tmp/a.mdb"));

    EXPECT_EQ(ui::MsgBox(QStringLiteral("削除しますか"), ui::vbYesNo + ui::vbQuestion, QStringLiteral("確認")), ui::vbNo);
    EXPECT_EQ(ui::InputBox(QStringLiteral("コード"), QStringLiteral("検索"), QStringLiteral("1001")), QStringLiteral("7203"));
    EXPECT_EQ(ui::InputBox(QStringLiteral("日数")), std::nullopt);
    EXPECT_EQ(ui::dialogs().openFile(QStringLiteral("ファイルを開く"), QStringLiteral("Access|*.mdb")),
              QStringLiteral("/tmp/a.mdb"));
    ui::dialogs().openUrl(QStringLiteral("https://chart.example/x?FNC=%A1%A1"));
    ui::dialogs().playSound(QStringLiteral("/media/ding.wav"));
    ui::dialogs().beep();
    ui::dialogs().setClipboardText(QStringLiteral("貼る"));

    EXPECT_TRUE(seam->allAnswersUsed());
    EXPECT_EQ(seam->msgBoxPrompts(), QStringList{QStringLiteral("削除しますか")});
    EXPECT_EQ(seam->inputPrompts(), (QStringList{QStringLiteral("コード"), QStringLiteral("日数")}));
    EXPECT_EQ(seam->events[0].title, QStringLiteral("確認"));
    EXPECT_EQ(seam->events[0].style, ui::vbYesNo + ui::vbQuestion);
    EXPECT_EQ(seam->events[1].defaultAnswer, QStringLiteral("1001"));
    EXPECT_EQ(seam->urls, QStringList{QStringLiteral("https://chart.example/x?FNC=%A1%A1")});
    EXPECT_EQ(seam->sounds, QStringList{QStringLiteral("/media/ding.wav")});
    EXPECT_EQ(seam->beeps, 1);
    EXPECT_EQ(ui::dialogs().clipboardText(), QStringLiteral("貼る"));
}

TEST(ScriptedSeam, ADialogNobodyExpectedFailsTheTestAndGetsTheCancellingAnswer) {
    testing_support::SeamScope seam;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = ui::MsgBox(QStringLiteral("登録しました")), "unexpected message box: 登録しました");
    EXPECT_EQ(answer, ui::vbOK);
    EXPECT_NONFATAL_FAILURE(answer = ui::MsgBox(QStringLiteral("削除?"), ui::vbYesNo), "削除?");
    EXPECT_EQ(answer, ui::vbNo);
    EXPECT_NONFATAL_FAILURE(answer = ui::MsgBox(QStringLiteral("続行?"), ui::vbOKCancel), "続行?");
    EXPECT_EQ(answer, ui::vbCancel);
    std::optional<QString> text = QStringLiteral("x");
    EXPECT_NONFATAL_FAILURE(text = ui::InputBox(QStringLiteral("何日前")), "unexpected input box: 何日前");
    EXPECT_EQ(text, std::nullopt);
    QString path = QStringLiteral("x");
    EXPECT_NONFATAL_FAILURE(path = ui::dialogs().openFile(QStringLiteral("ファイルを開く"), {}), "open-file");
    EXPECT_TRUE(path.isEmpty());
}

TEST(ScriptedSeam, TheScopeRestoresTheSeamItReplaced) {
    testing_support::SeamScope outer;
    {
        testing_support::SeamScope inner;
        ui::dialogs().beep();
        EXPECT_EQ(inner->beeps, 1);
    }
    ui::dialogs().beep();
    EXPECT_EQ(outer->beeps, 1);
}

TEST(FileFilter, CallersPairsBecomeQtFilters) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("Access (*.mdb)|*.mdb"), QStringLiteral("Access (*.mdb) (*.mdb)")},
        {QStringLiteral("データベース|*.mdb|すべて|*.*|"), QStringLiteral("データベース (*.mdb);;すべて (*.*)")},
        {QStringLiteral("Excel|*.xls;*.xlsx"), QStringLiteral("Excel (*.xls *.xlsx)")},
        {QString::fromUtf16(u"Access\0*.mdb\0", 13), QStringLiteral("Access (*.mdb)")},
        {QStringLiteral("Access (*.mdb)"), QStringLiteral("Access (*.mdb)")},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(ui::qtFileFilter(in), out) << in.toStdString();
}

TEST(DesktopSeam, ASoundThatCannotPlayIsSilence) {
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("ding.wav"));
    QFile f(wav);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("RIFF", 4) + QByteArray(40, '\0'));   // a header and no sound
    f.close();
    QElapsedTimer t;
    t.start();
    ui::dialogs().playSound(wav);
    ui::dialogs().playSound(dir.filePath(QStringLiteral("missing.wav")));
    EXPECT_LT(t.elapsed(), 20000);
}

TEST(RichText, SelectionUndoAndTheClipboardCommands) {
    testing_support::SeamScope seam;
    QWidget host;
    ui::RichTextBox box(&host, {"RichTextBox1", -1, QStringLiteral("トヨタ自動車 7203 東証１部"), 0, 0, 4000, 2000});
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.setSelStart(7);
    box.setSelLength(4);
    EXPECT_EQ(box.SelText(), QStringLiteral("7203"));
    box.Cut();
    EXPECT_EQ(seam->clipboard, QStringLiteral("7203"));
    EXPECT_EQ(box.Text(), QStringLiteral("トヨタ自動車  東証１部"));
    box.Paste();
    EXPECT_EQ(box.Text(), QStringLiteral("トヨタ自動車 7203 東証１部"));
    box.setSelStart(0);
    box.setSelLength(6);
    box.Copy();
    EXPECT_EQ(seam->clipboard, QStringLiteral("トヨタ自動車"));
    box.setSelText(QStringLiteral("日産"));
    EXPECT_EQ(box.Text(), QStringLiteral("日産 7203 東証１部"));
    box.Undo();
    EXPECT_EQ(box.Text(), QStringLiteral("トヨタ自動車 7203 東証１部"));
    EXPECT_EQ(changes, 4);
}

}  // namespace
