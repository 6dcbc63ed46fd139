#include <QFileInfo>
#include <QDir>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenuBar>
#include <QtEndian>
#include <QTest>
#include "card_fixture.h"
#include "cards/card_draft.h"
#include "cards/form1.h"
#include "cards/form11.h"
#include "cards/form2.h"
#include "lists/dictionary.h"

using card_testing::CardTest;

namespace {

TEST(CardDraftRules, CodeOfASelection) {
    struct Case {
        QString selection, code;
        bool outOfRange;
    };
    const Case cases[] = {
        {"7203", "7203", false},
        {"７２０３", "7203", false},          // full-width digits
        {"(7203)", "7203", false},            // one leading sign is skipped
        {"（７２０３）トヨタ", "7203", false},
        {"((7203", "(720", false},            // a second one is not: no number, no warning
        {"72031", "7203", false},
        {"720", "720", true},
        {"1000", "1000", true},
        {"1001", "1001", false},
        {"9998", "9998", false},
        {"9999", "9999", true},
        {"", "", false},
        {"A", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cards::draftCode(c.selection), c.code) << c.selection.toStdString();
        EXPECT_EQ(cards::codeOutOfRange(cards::draftCode(c.selection)), c.outOfRange) << c.selection.toStdString();
    }
}

TEST(CardDraftRules, DateOfASelection) {
    const QString year = QString::number(QDate::currentDate().year());
    const std::pair<QString, QString> cases[] = {
        {" 2026/12/03 ", "2026/12/3"},
        {"２０２６年１２月３日", "2026/12/3"},
        {"2026-01-09", "2026/1/9"},
        {"26/12/03", "2026/12/3"},
        {"　12月3日", year + "/12/3"},
        {"2026/02/30", "2026/02/30"},   // no date: trimmed, unchanged
        {"来週", "来週"},
        {"45000", "45000"},
    };
    for (const auto& [selection, date] : cases) EXPECT_EQ(cards::draftDate(selection), date) << selection.toStdString();
}

// The chime is a short sound file of the program's own; the desktop's player returns when it has
// played it, at once where no sound device exists.
TEST(TransferSound, AShortChimeThatThePlayerPlaysToItsEnd) {
    const QString path = cards::transferSoundPath();
    QFile wav(path);
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray head = wav.read(44);
    ASSERT_TRUE(head.startsWith("RIFF") && head.mid(8, 4) == "WAVE");
    const auto le32 = [&](int at) { return qFromLittleEndian<quint32>(head.constData() + at); };
    const double seconds = double(le32(40)) / double(le32(28));   // data bytes / bytes per second
    EXPECT_GT(seconds, 0.05);
    EXPECT_LT(seconds, 1.0);
    QElapsedTimer timer;
    timer.start();
    ui::dialogs().playSound(path);
    EXPECT_LT(timer.elapsed(), 5000);
}

// The chime lies in a folder of this run that only its user can enter, not at a name in the
// shared temporary folder where another user could have put a file of their own.
TEST(TransferSound, TheChimeIsAFileNobodyElseCanReplace) {
    const QString path = cards::transferSoundPath();
    const QFileInfo file(path), folder(QFileInfo(path).absolutePath());
    EXPECT_EQ(cards::transferSoundPath(), path);
    EXPECT_NE(folder.absoluteFilePath(), QDir(QDir::tempPath()).absolutePath());
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(folder.ownerId(), file.ownerId());
    EXPECT_EQ(folder.permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther),
              QFileDevice::Permissions());
    EXPECT_EQ(file.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther), QFileDevice::Permissions());
}

class CollectionTest : public CardTest {
protected:
    Form1& pad() { return Form1::it(); }
    Form11& fields() { return Form11::it(); }

    // Puts text into the work pad and selects the first occurrence of `part`.
    void select(const QString& text, const QString& part) {
        pad().RichTextBox1->setText(text);
        pad().RichTextBox1->setSelStart(int(text.indexOf(part)));
        pad().RichTextBox1->setSelLength(int(part.size()));
    }
    void collect(const QString& article) {
        select(article, "株式新聞");
        pad().mnu情報源_Click();
        select(article, "２０２６年１２月３日");
        pad().mnu日付_Click();
        select(article, "（７２０３）");
        pad().mnuコード_Click();
        select(article, "増額修正");
        pad().mnu情報_Click();
    }
    static QString article() { return QStringLiteral("株式新聞 ２０２６年１２月３日 トヨタ自動車（７２０３）は増額修正"); }
};

TEST_F(CollectionTest, CodeLookUpCompletesMarketUnitAndNameFromTheWholePriceTable) {
    struct Case {
        QString selection;
        QStringList boxes;   // Text3 銘柄, Text4 コード, Text5 市場, Text6 単位
        QStringList messages;
        int beeps;
    };
    const QString notFound = "辞書に登録されていません\r\n銘柄を入力してください。";
    const QString warning = "コードの入力がうまくできていません\r\nもう一度やり直してください";
    const Case cases[] = {
        {"７２０３", {"トヨタ自動車", "7203", "東証１部", "D100"}, {}, 1},
        {"(6758)", {"ソニーグループ", "6758", "東証１部", "C50"}, {}, 0},
        {"1001", {"?", "1001", "?", "?"}, {notFound}, 0},
        {"9999", {"?", "9999", "?", "?"}, {warning, notFound}, 0},
        {"((7203", {"?", "(720", "?", "?"}, {notFound}, 0},
        {"", {"?", "", "?", "?"}, {notFound}, 0},
    };
    // The dictionary lists only what its last name look-up found.
    seam->answerInput(QStringLiteral("ソニー"));
    pad().mnu銘柄からコード_Click();
    ASSERT_EQ(Form4::it().MSFlexGrid1->Rows(), 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selection.toStdString());
        seam->events.clear();
        seam->beeps = 0;
        for (int i = 0; i < c.messages.size(); ++i) seam->answerMsgBox(ui::vbOK);
        select("記事 " + c.selection + " 終", c.selection);
        pad().mnuコード_Click();
        Form11& f = fields();
        EXPECT_EQ((QStringList{f.Text3->Text(), f.Text4->Text(), f.Text5->Text(), f.Text6->Text()}), c.boxes);
        EXPECT_EQ(seam->msgBoxPrompts(), c.messages);
        EXPECT_EQ(seam->beeps, c.beeps);
    }
}

TEST_F(CollectionTest, ExtractionsFillTheDraftAndTheClipboard) {
    select("  日経産業新聞　", "  日経産業新聞　");
    pad().mnu情報源_Click();
    EXPECT_EQ(fields().Text1->Text(), "日経産業新聞");
    EXPECT_EQ(seam->clipboard, "日経産業新聞");
    select("記事 ２０２６年１月９日", "２０２６年１月９日");
    pad().mnu日付_Click();
    EXPECT_EQ(fields().Text2->Text(), "2026/1/9");
    EXPECT_EQ(seam->clipboard, "２０２６年１月９日");
    select("x トヨタ自動車 y", " トヨタ自動車 ");
    pad().mnu銘柄_Click();
    EXPECT_EQ(fields().Text3->Text(), "トヨタ自動車");
    select("a\n b ", "a\n b ");
    pad().mnu情報_Click();
    EXPECT_EQ(pad().DraftInfoText, "a\n b ");
}

TEST_F(CollectionTest, TransferAppendsTheDraftWhichTheEditorStoresWhenItLeavesIt) {
    collect(article());
    seam->events.clear();
    pad().mnu書込_Click();
    // The chime went through the seam, as a sound file of the program's own.
    ASSERT_EQ(seam->sounds.size(), 1);
    QFile wav(seam->sounds.first());
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    EXPECT_TRUE(wav.read(12).startsWith("RIFF"));
    EXPECT_FALSE(Form4::isLoaded());

    Form2& editor = Form2::it();
    EXPECT_TRUE(editor.addingCard());
    EXPECT_EQ(editor.Text1->Text(), "株式新聞");
    EXPECT_EQ(editor.Text2->Text(), "2026/12/3");
    EXPECT_EQ(editor.Text3->Text(), "トヨタ自動車");
    EXPECT_EQ(editor.Text4->Text(), "7203");
    EXPECT_EQ(editor.Text8->Text(), "増額修正");
    EXPECT_TRUE(cardColumn("ID").isEmpty());   // not stored before the editor leaves it

    // A second transfer stores the first card and appends the same one again.
    pad().mnu書込_Click();
    EXPECT_EQ(cardColumn("銘柄"), QStringList{"トヨタ自動車"});
    editor.moveFirst();
    EXPECT_EQ(cardColumn("銘柄"), (QStringList{"トヨタ自動車", "トヨタ自動車"}));
    EXPECT_EQ(cardColumn("日付").first(), "2026/12/03");
    EXPECT_EQ(cardColumn("市場").first(), "東証１部");
    EXPECT_EQ(cardColumn("単位").first(), "D100");
    EXPECT_EQ(cardColumn("情報").first(), "増額修正");
    EXPECT_EQ(editor.Text9->Text(), "1");
}

TEST_F(CollectionTest, AnIncompleteOrUnstorableDraftAppendsNothing) {
    collect(article());
    struct Case {
        ui::TextBox* Form11::*box;
        QString value;
        QString message;
    };
    const Case cases[] = {
        {&Form11::Text1, "", "入力情報が完全ではないようです。入力をみなおしてください。"},
        {&Form11::Text4, "", "入力情報が完全ではないようです。入力をみなおしてください。"},
        {&Form11::Text2, "来週", "日付"},
        {&Form11::Text4, "72O3", "コード"},
        {&Form11::Text5, "", ""},   // market and unit may be empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        collect(article());
        (fields().*c.box)->setText(c.value);
        seam->events.clear();
        seam->sounds.clear();
        if (!c.message.isEmpty()) seam->answerMsgBox(ui::vbOK);
        pad().mnu書込_Click();
        EXPECT_EQ(seam->sounds.size(), 1);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(Form2::it().addingCard());
        } else {
            ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
            EXPECT_TRUE(seam->msgBoxPrompts().first().contains(c.message));
            EXPECT_FALSE(Form2::isLoaded() && Form2::it().addingCard());
            EXPECT_EQ((fields().*c.box)->Text(), c.value);   // the draft stays
        }
    }
}

TEST_F(CollectionTest, ATransferWithoutTheCardTableIsToldAndAppendsNothing) {
    collect(article());
    Form2::it().Unload();
    Module1::MainDbPath = folder.folder() + "missing.mdb";
    seam->events.clear();
    seam->answerMsgBox(ui::vbOK);
    pad().mnu書込_Click();
    ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->msgBoxPrompts().first().startsWith("カードを追加できませんでした"));
    EXPECT_EQ(seam->sounds.size(), 1);
    EXPECT_FALSE(Form2::it().addingCard());
    EXPECT_EQ(fields().Text4->Text(), "7203");
}

TEST_F(CollectionTest, FunctionKeysExtractAndTheMarketItemCannotBeChosen) {
    Form1& f = pad();
    f.Show();
    QApplication::setActiveWindow(&f);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    struct Case {
        Qt::Key key;
        ui::TextBox* Form11::*box;
        QString part, value;
    };
    const QString text = "日経 2026/12/03 トヨタ自動車 7203";
    const Case cases[] = {
        {Qt::Key_F4, &Form11::Text1, "日経", "日経"},
        {Qt::Key_F5, &Form11::Text2, "2026/12/03", "2026/12/3"},
        {Qt::Key_F6, &Form11::Text3, "トヨタ自動車", "トヨタ自動車"},
        {Qt::Key_F7, &Form11::Text4, "7203", "7203"},
    };
    for (const Case& c : cases) {
        select(text, c.part);
        QTest::keyClick(f.RichTextBox1, c.key);
        EXPECT_EQ((fields().*c.box)->Text(), c.value);
    }
    select(text, "トヨタ");
    QTest::keyClick(f.RichTextBox1, Qt::Key_F1);
    EXPECT_EQ(f.DraftInfoText, "トヨタ");
    fields().Text5->setText("x");
    QTest::keyClick(f.RichTextBox1, Qt::Key_F8);
    EXPECT_EQ(fields().Text5->Text(), "x");
    EXPECT_FALSE(f.menuItem("mnu市場")->isEnabled());
    for (const char* item : {"mnuOpen", "mnuLineInput", "mnuSaveAs", "mnuPrint", "mnuExit"})
        EXPECT_FALSE(f.menuItem(item)->isEnabled()) << item;
    // F10 opens the menu bar, from which the items without a key are reached.
    QTest::keyClick(f.RichTextBox1, Qt::Key_F10);
    auto* bar = f.findChild<QMenuBar*>();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->activeAction());
    QTest::keyClick(bar, Qt::Key_Escape);
}

TEST_F(CollectionTest, EditingCommandsUseTheClipboardAsTheMenuSays) {
    Form1& f = pad();
    seam->clipboard = "前の内容";
    select("abc def", "def");
    f.mnuCutall_Click();
    EXPECT_EQ(f.RichTextBox1->Text(), "");
    EXPECT_EQ(seam->clipboard, "前の内容");
    select("abc def", "def");
    f.mnuCut_Click();
    EXPECT_EQ(f.RichTextBox1->Text(), "abc ");
    f.mnuPaste_Click();
    EXPECT_EQ(f.RichTextBox1->Text(), "abc def");
}

TEST_F(CollectionTest, LoadShowsTheEditorAndThePad) {
    pad();
    EXPECT_TRUE(Form2::isLoaded() && Form2::it().isVisible());
    EXPECT_TRUE(pad().isVisible());
}

}  // namespace
