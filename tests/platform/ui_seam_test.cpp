#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QTest>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <array>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include "platform/ui/colors.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
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
        {QStringLiteral("Access (*.mdb)|*.mdb"), QStringLiteral("Access (*.mdb)")},
        {QStringLiteral("databaseファイル(*.mdb)|*.mdb"), QStringLiteral("databaseファイル(*.mdb)")},
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

// Runs act on the modal dialog once it is up (act closes it). A dialog that does not come up as
// the modal one fails the test and is closed, so that the test does not wait for ever.
void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++tries < 500) return;
        timer->stop();
        timer->deleteLater();
        if (modal) return act(modal);
        ADD_FAILURE() << "no dialog came up";
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
    });
    timer->start();
}

// The desktop's own seam for one test.
struct DesktopSeamScope {
    DesktopSeamScope() : previous(ui::setDialogs(nullptr)) {}
    ~DesktopSeamScope() { ui::setDialogs(std::move(previous)); }
    std::unique_ptr<ui::Dialogs> previous;
};

class OwnerForm : public ui::DefaultForm<OwnerForm> {
public:
    OwnerForm() : DefaultForm(QStringLiteral("OwnerForm")) {
        Move(6000, 4500, 4500, 3000);
        Command1 = addButton({.name = "Command1", .caption = QStringLiteral("OK"), .width = 495, .height = 375});
    }
    ui::CommandButton* Command1;
};

class ActiveForm : public ui::DefaultForm<ActiveForm> {
public:
    ActiveForm() : DefaultForm(QStringLiteral("ActiveForm")) { Move(0, 0, 4500, 3000); }
};

TEST(DesktopSeam, MessageBoxesAndInputBoxesStandOverTheWindowWhoseHandlerAsks) {
    testing_support::WindowsScope windows;
    DesktopSeamScope desktop;
    OwnerForm& owner = OwnerForm::it();
    owner.Show();
    ActiveForm& other = ActiveForm::it();
    other.Show();   // the window shown and activated last
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    for (ui::Form* f : {static_cast<ui::Form*>(&owner), static_cast<ui::Form*>(&other)})
        ASSERT_GT((f->frameGeometry().center() - screenCentre).manhattanLength(), 100) << "a window at the screen's centre";
    const std::function<void()> asks[] = {
        [] { EXPECT_EQ(ui::MsgBox(QStringLiteral("登録が　終了しました。")), ui::vbOK); },
        [] { EXPECT_EQ(ui::InputBox(QStringLiteral("日数"), {}, QStringLiteral("7")), QStringLiteral("7")); },
    };
    for (const auto& ask : asks) {
        for (bool fromHandler : {true, false}) {
            SCOPED_TRACE(fromHandler ? "asked by a handler of the first window" : "asked outside any handler");
            QPoint boxCentre;
            QWidget* boxOwner = nullptr;
            whenModal([&](QWidget* box) {
                boxCentre = box->frameGeometry().center();
                boxOwner = box->parentWidget();
                if (auto* m = qobject_cast<QMessageBox*>(box)) m->button(QMessageBox::Ok)->click();
                else qobject_cast<QDialog*>(box)->accept();
            });
            owner.Command1->Click = ask;
            if (fromHandler) owner.Command1->doClick();
            else ask();
            ui::Form* expected = fromHandler ? static_cast<ui::Form*>(&owner) : &other;
            EXPECT_EQ(boxOwner, expected);
            EXPECT_LT((boxCentre - expected->frameGeometry().center()).manhattanLength(), 40);
        }
    }
    // A question the program places stands at that place within the window that asks.
    QPoint boxCorner;
    whenModal([&](QWidget* box) {
        boxCorner = box->frameGeometry().topLeft();
        qobject_cast<QDialog*>(box)->accept();
    });
    owner.Command1->Click = [] { ui::InputBox(QStringLiteral("日数"), QLatin1String(""), QStringLiteral("7"), QPoint(100, 100)); };
    owner.Command1->doClick();
    EXPECT_EQ(boxCorner, owner.frameGeometry().topLeft() + QPoint(ui::px(100), ui::px(100)));
}

TEST(DesktopSeam, TheOpenFileDialogStartsInTheProgramFolderAndSpeaksJapanese) {
    testing_support::ProgramFolderScope folder;
    DesktopSeamScope desktop;
    ASSERT_TRUE(ui::loadJapaneseQtTexts());
    EXPECT_TRUE(ui::loadJapaneseQtTexts());   // once is enough
    QFile cards(folder.folder() + QStringLiteral("cards.mdb"));
    ASSERT_TRUE(cards.open(QIODevice::WriteOnly));
    cards.close();
    QString shownFolder, shownDate;
    QStringList texts;
    whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shownFolder = dialog->directory().absolutePath();
        for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            if (auto* l = dialog->findChild<QLabel*>(QString::fromLatin1(label))) texts << l->text();
        // The file list's date column, once the list is filled (from a thread of its own).
        if (auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"))) {
            for (int i = 0; i < 500 && list->model()->rowCount(list->rootIndex()) == 0; ++i) QTest::qWait(10);
            shownDate = list->model()->index(0, 3, list->rootIndex()).data().toString();
        }
        dialog->reject();
    });
    EXPECT_EQ(ui::dialogs().openFile(QStringLiteral("ファイルを開く"), QStringLiteral("Access (*.mdb)|*.mdb")), QString());
    EXPECT_EQ(shownFolder, QDir(folder.folder()).absolutePath());
    QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    texts << buttons.button(QDialogButtonBox::Open)->text() << buttons.button(QDialogButtonBox::Cancel)->text();
    ASSERT_EQ(texts.size(), 5);
    const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
    for (const QString& t : texts) EXPECT_TRUE(t.contains(japanese)) << t.toStdString();
    const QString today = QLocale(QLocale::Japanese, QLocale::Japan).toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(shownDate.startsWith(today)) << shownDate.toStdString() << " is not written as " << today.toStdString();
}

// サイズ, タイプ and 更新日 keep their widest text; the name column takes the room left, never less
// than its least width.
TEST(FileListColumns, TheLastThreeShowTheirWidestTextAndTheNameTakesTheRest) {
    struct Case {
        int room;
        std::array<int, 4> widest;
        int leastName;
        std::array<int, 4> widths;
    };
    const Case cases[] = {
        {470, {300, 70, 80, 120}, 100, {200, 70, 80, 120}},   // the name gets the room left, even narrower than its text
        {470, {120, 70, 80, 120}, 100, {200, 70, 80, 120}},   // or wider
        {300, {300, 70, 80, 120}, 100, {100, 70, 80, 120}},   // at least its least width: the list scrolls
        {0, {0, 0, 0, 0}, 60, {60, 0, 0, 0}},                 // nothing measured yet
    };
    for (const Case& c : cases) EXPECT_EQ(ui::fileListColumnWidths(c.room, c.widest, c.leastName), c.widths) << c.room;
}

// At the dialog's own size each size, type and date of the list shows whole (as wide as the item
// view lays it out, nothing elided), every column within the list, and a folder's type in Japanese.
TEST(DesktopSeam, TheOpenFileListShowsSizesTypesAndDatesWhole) {
    testing_support::ProgramFolderScope folder;
    DesktopSeamScope desktop;
    ASSERT_TRUE(ui::loadJapaneseQtTexts());
    ASSERT_TRUE(QDir(folder.folder()).mkdir(QStringLiteral("Mdb")));
    QFile workbook(folder.folder() + QStringLiteral("kabu261211.xls"));
    ASSERT_TRUE(workbook.open(QIODevice::WriteOnly));
    ASSERT_TRUE(workbook.write(QByteArray(311 * 1024 + 500, 'x')));
    workbook.close();
    struct Shown {
        QString text;
        int needed, width;
    };
    std::vector<std::vector<Shown>> columns(4);
    QString folderType;
    int listWidth = 0, columnsEnd = 0;
    whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->resize(636, 412);
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(list, nullptr);
        const QModelIndex root = list->rootIndex();
        // The list fills from a thread of its own, the sizes and dates a little later.
        for (int i = 0; i < 500; ++i) {
            QTest::qWait(10);
            if (list->model()->rowCount(root) >= 2 && !list->model()->index(0, 3, root).data().toString().isEmpty() &&
                !list->model()->index(1, 3, root).data().toString().isEmpty())
                break;
        }
        QTest::qWait(50);
        ASSERT_GE(list->model()->rowCount(root), 2);
        QHeaderView* header = list->header();
        for (int c = 1; c < 4; ++c) {
            columns[size_t(c)].push_back({header->model()->headerData(c, Qt::Horizontal).toString(),
                                          header->sectionSizeHint(c), header->sectionSize(c)});
            for (int r = 0; r < list->model()->rowCount(root); ++r) {
                const QModelIndex i = list->model()->index(r, c, root);
                columns[size_t(c)].push_back({i.data().toString(), list->sizeHintForIndex(i).width(), header->sectionSize(c)});
                if (c == 2 && list->model()->index(r, 0, root).data().toString() == QStringLiteral("Mdb"))
                    folderType = i.data().toString();
            }
        }
        listWidth = list->viewport()->width();
        columnsEnd = header->sectionViewportPosition(3) + header->sectionSize(3);
        dialog->grab().save(QStringLiteral("/tmp/quenara_open_file.png"));
        dialog->reject();
    });
    EXPECT_EQ(ui::dialogs().openFile(QStringLiteral("ファイルを開く"), QStringLiteral("すべて|*.*")), QString());
    for (int c = 1; c < 4; ++c)
        for (const Shown& s : columns[size_t(c)]) {
            EXPECT_LE(s.needed, s.width) << "column " << c << ": " << s.text.toStdString();
        }
    EXPECT_EQ(folderType, QStringLiteral("フォルダー"));
    EXPECT_LE(columnsEnd, listWidth);
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
