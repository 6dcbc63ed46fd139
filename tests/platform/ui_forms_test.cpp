#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include "platform/data/errors.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/guard.h"
#include "support/cut_mark.h"
#include "support/scripted_dialogs.h"

namespace {

struct Counts {
    int loads = 0, activates = 0, unloads = 0, changes = 0, resizes = 0, labelClicks = 0;
    std::vector<int> queryModes;
};
Counts counts;

// A window as the program's windows are written: a control table, Form_Load touching its own
// default instance, a close box it refuses.
class ProbeForm : public ui::DefaultForm<ProbeForm> {
public:
    ProbeForm() : DefaultForm(QStringLiteral("ProbeForm")) {
        setCaption(QStringLiteral("試験"));
        Move(0, 0, 4800, 3600);
        setBackColor(0xD08F77);
        Command1 = addButton({"Command1", -1, QStringLiteral("OK"), 120, 0, 495, 375, 0xFFFFFF});
        Command2 = addButton({"Command2", -1, QStringLiteral("上"), 120, -600, 495, 375, 0x80FFFF});
        Command3 = addButton({"Command3", -1, QStringLiteral("右"), 6000, 120, 495, 375});
        Text7 = addText({"Text7", -1, QStringLiteral("Text7"), 720, 120, 615, 270});
        Label1 = addLabel({.name = "Label1", .caption = QStringLiteral("カードの枚数　"), .left = 1200, .top = 840,
                           .width = 1095, .height = 255, .transparent = true});
        // A label that serves as a button, as some list windows have one.
        Label2 = addLabel({.name = "Label2", .caption = QStringLiteral("削除準備"), .left = 120, .top = 2400,
                           .width = 1080, .height = 360, .backColor = 0xC0FFFF});
        Label2->Click = [] { ++counts.labelClicks; };
        HprLnkEx1 = addLink({"HprLnkEx1", -1, QStringLiteral("相場"), 1800, 480, 735, 255, 0xC0FFC0});
        mnuSave = addMenu(QStringLiteral("mnuSave"), QStringLiteral("保存(&S)"), QStringLiteral("ファイル"));
    }
    ui::CommandButton* Command1;
    ui::CommandButton* Command2;
    ui::CommandButton* Command3;
    ui::TextBox* Text7;
    ui::Label* Label1;
    ui::Label* Label2;
    ui::LinkLabel* HprLnkEx1;
    ui::MenuItem* mnuSave;
    bool acceptCloseBox = false;

protected:
    void Form_Load() override {
        ++counts.loads;
        ProbeForm::it().Text7->setText(QStringLiteral("loaded"));   // the load may touch its own window
    }
    void Form_Activate() override { ++counts.activates; }
    void Form_QueryUnload(bool& cancel, int mode) override {
        counts.queryModes.push_back(mode);
        cancel = mode == ui::vbFormControlMenu && !acceptCloseBox;
    }
    void Form_Unload() override { ++counts.unloads; }
    void Form_Resize() override { ++counts.resizes; }
};

class OtherForm : public ui::DefaultForm<OtherForm> {
public:
    OtherForm() : DefaultForm(QStringLiteral("OtherForm")) {}
};

// Windows of given sizes (client area in twips, at the screen's top-left) to be shown together.
template <int Id, int WidthTwips, int HeightTwips>
class SizedForm : public ui::DefaultForm<SizedForm<Id, WidthTwips, HeightTwips>> {
public:
    SizedForm() : ui::DefaultForm<SizedForm>(QStringLiteral("SizedForm%1").arg(Id)) {
        this->Move(0, 0, WidthTwips, HeightTwips);
        this->addMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    }
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { counts = {}; }
    testing_support::WindowsScope windows;
    testing_support::SeamScope seam;
};

TEST_F(FormsTest, FirstTouchLoadsOnceAndAnUnloadMakesTheNextTouchLoadAnew) {
    EXPECT_FALSE(ProbeForm::isLoaded());
    ProbeForm* first = &ProbeForm::it();
    ProbeForm::it();
    EXPECT_EQ(counts.loads, 1);
    EXPECT_EQ(first->Text7->Text(), QStringLiteral("loaded"));
    EXPECT_FALSE(first->isVisible());   // loaded hidden until shown

    first->Unload();
    EXPECT_EQ(counts.queryModes, std::vector<int>{ui::vbFormCode});
    EXPECT_EQ(counts.unloads, 1);
    EXPECT_FALSE(ProbeForm::isLoaded());
    EXPECT_TRUE(ui::Form::loadedForms().empty());

    ProbeForm::it().Text7->setText(QStringLiteral("x"));
    EXPECT_EQ(counts.loads, 2);
    EXPECT_NE(&ProbeForm::it(), first);
}

TEST_F(FormsTest, TheCloseBoxIsRefusedWhileAnUnloadFromCodeProceeds) {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(ProbeForm::isLoaded());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(counts.unloads, 0);

    f.acceptCloseBox = true;
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(ProbeForm::isLoaded());
    EXPECT_EQ(counts.queryModes, (std::vector<int>{ui::vbFormControlMenu, ui::vbFormControlMenu}));
    EXPECT_EQ(counts.unloads, 1);
}

TEST_F(FormsTest, ActivateRunsEachTimeTheWindowBecomesTheActiveOne) {
    ProbeForm& f = ProbeForm::it();
    EXPECT_EQ(counts.activates, 0);
    f.Show();
    f.Show();   // already the active window
    EXPECT_EQ(counts.activates, 1);
    f.Hide();
    f.Show();
    EXPECT_EQ(counts.activates, 2);
    OtherForm::it().Show();
    f.Show();
    EXPECT_EQ(counts.activates, 3);
    EXPECT_EQ(ui::Form::activeForm(), &f);
}

TEST_F(FormsTest, AFailingHandlerIsReportedAndTheProgramGoesOn) {
    ProbeForm& f = ProbeForm::it();
    QStringList steps;
    f.Command1->Click = [&] {
        const bool ran = ui::step([&] { throw platform::DataError(QStringLiteral("skipped")); });
        steps << (ran ? QStringLiteral("ran") : QStringLiteral("skipped"));
        throw platform::DataError(QStringLiteral("テーブル 'x' がありません"));
    };
    seam->answerMsgBox(ui::vbOK);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(steps, QStringList{QStringLiteral("skipped")});
    ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->msgBoxPrompts()[0].contains(QStringLiteral("テーブル 'x' がありません")));
    EXPECT_TRUE(seam->msgBoxPrompts()[0].contains(QStringLiteral("Command1_Click")));
}

TEST_F(FormsTest, ChangeFollowsEveryNewTextAndAHandlerRewritingItsOwnBoxStops) {
    ProbeForm& f = ProbeForm::it();
    f.Text7->Change = [&] {
        ++counts.changes;
        f.Text7->setText(QStringLiteral("5"));   // the count box restores its count
    };
    f.Text7->setText(QStringLiteral("abc"));
    EXPECT_EQ(counts.changes, 2);   // "abc", then "5"; writing "5" again raises nothing
    EXPECT_EQ(f.Text7->Text(), QStringLiteral("5"));
    f.Text7->setText(QStringLiteral("5"));
    EXPECT_EQ(counts.changes, 2);
    QTest::keyClicks(f.Text7->line(), QStringLiteral("9"));
    EXPECT_EQ(counts.changes, 4);
    EXPECT_EQ(f.Text7->Text(), QStringLiteral("5"));
}

TEST_F(FormsTest, ControlsOutsideTheClientAreaTakeFocusAndTheKeyboardClicksThem) {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    int clicks = 0;
    f.Command2->Click = [&] { ++clicks; };
    f.Command3->Click = [&] { ++clicks; };
    f.HprLnkEx1->LinkClick = [&] { f.HprLnkEx1->Address = QStringLiteral("https://quote.example/q?s=7203.t&FNC=%A1%A1"); };
    QSet<QWidget*> chain;
    for (QWidget* w = f.Command1->nextInFocusChain(); w != f.Command1; w = w->nextInFocusChain()) chain.insert(w);
    for (QWidget* w : {static_cast<QWidget*>(f.Command2), static_cast<QWidget*>(f.Command3),
                       static_cast<QWidget*>(f.HprLnkEx1), static_cast<QWidget*>(f.Label2)}) {
        EXPECT_TRUE(chain.contains(w)) << w->objectName().toStdString();
        EXPECT_TRUE(w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) << w->objectName().toStdString();
    }
    EXPECT_EQ(f.Label1->focusPolicy(), Qt::NoFocus);   // a label without a Click handler is passed over
    QTest::keyClick(f.Command2, Qt::Key_Space);
    QTest::keyClick(f.Command3, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(f.Label2, Qt::Key_Space);
    QTest::keyClick(f.Label2, Qt::Key_Return);
    QTest::keyClick(f.Label2, Qt::Key_A);
    EXPECT_EQ(counts.labelClicks, 2);
    QTest::keyClick(f.HprLnkEx1, Qt::Key_Return);
    QTest::mouseClick(f.HprLnkEx1, Qt::LeftButton);
    // Opened as it stands: the encoded parts are not encoded again.
    EXPECT_EQ(seam->urls, QStringList(2, QStringLiteral("https://quote.example/q?s=7203.t&FNC=%A1%A1")));
    f.mnuSave->setEnabled(false);
    EXPECT_EQ(f.menuItem(QStringLiteral("mnuSave")), f.mnuSave);
    EXPECT_FALSE(f.mnuSave->Enabled());
}

TEST_F(FormsTest, GeometryAndColoursAreKeptInTheProgramsUnits) {
    ProbeForm& f = ProbeForm::it();
    EXPECT_EQ(f.ScaleWidth(), 4800);
    EXPECT_EQ(f.ScaleHeight(), 3600);
    EXPECT_EQ(f.BackColor(), 0xD08F77u);
    EXPECT_EQ(f.Command2->Top(), -600);
    EXPECT_EQ(f.Command1->Width(), 495);
    EXPECT_EQ(f.Command1->BackColor(), 0xFFFFFFu);
    f.Command1->setBackColor(0xA0FFFF);
    EXPECT_EQ(f.Command1->BackColor(), 0xA0FFFFu);
    f.Command3->Move(240, 240);
    EXPECT_EQ(f.Command3->Left(), 240);
    EXPECT_EQ(f.Command3->Width(), 495);
    f.Show();
    const int resizes = counts.resizes;
    f.Move(0, 0, 6000, 3600);
    EXPECT_GT(counts.resizes, resizes);
    EXPECT_EQ(f.ScaleWidth(), 6000);
    f.grab().save(QStringLiteral("/tmp/quenara_probe_form.png"));
}

TEST_F(FormsTest, ControlsAreNamedForAssistiveTechnology) {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    for (auto [w, name] : std::vector<std::pair<QWidget*, QString>>{
             {f.Command1, QStringLiteral("OK")},
             {f.Label1, QStringLiteral("カードの枚数")},
             {f.Label2, QStringLiteral("削除準備")},
             {f.HprLnkEx1, QStringLiteral("相場")},
             {f.Text7, QStringLiteral("Text7")}}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), name);
    }
    // The link label reads as a link, and pressing it through assistive technology follows it.
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(f.HprLnkEx1);
    EXPECT_EQ(link->role(), QAccessible::Link);
    f.HprLnkEx1->Address = QStringLiteral("https://example.jp/");
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(seam->urls, QStringList{QStringLiteral("https://example.jp/")});

    // A label with a Click handler reads as a button and can be pressed; a plain label is text.
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(f.Label2);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_TRUE(button->state().focusable);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(counts.labelClicks, 1);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(f.Label1);
    EXPECT_EQ(text->role(), QAccessible::StaticText);
    EXPECT_FALSE(text->actionInterface() &&
                 text->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

TEST(WindowPlace, AWindowKeepsItsPlaceOrTakesTheFirstFreeOneElseItIsCascaded) {
    const QRect screen(0, 0, 1280, 1024);
    const QRect menu(80, 60, 334, 525);   // the menu at its place
    const QRect wide(0, 0, 741, 560);
    struct Case {
        const char* what;
        QRect frame;
        std::vector<QRect> shown;
        QPoint expected;
    };
    const Case cases[] = {
        {"alone, on the screen: stays", QRect(80, 60, 334, 525), {}, {80, 60}},
        {"alone, off the screen's edge: taken onto it", QRect(1200, 900, 334, 525), {}, {0, 0}},
        {"covers nothing: stays", QRect(500, 0, 300, 200), {menu}, {500, 0}},
        {"beside the menu", wide, {menu}, {414, 0}},
        {"row by row: right of the first, then below",
         QRect(0, 0, 600, 400), {QRect(0, 0, 640, 500), QRect(640, 0, 640, 500)}, {0, 500}},
        {"no free place: cascaded from the window shown last",
         wide, {QRect(0, 0, 741, 560), QRect(539, 0, 741, 560), QRect(0, 464, 741, 560)}, {30, 464}},
        {"cascaded from an earlier window: the last one's would cover another's title and menu",
         wide, {QRect(300, 300, 741, 560), QRect(0, 0, 741, 560)}, {330, 330}},
        {"cascade held on the screen",
         wide, {QRect(0, 0, 741, 560), QRect(539, 464, 741, 560)}, {539, 464}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint at = ui::windowPlace(c.frame, c.shown, screen, 30);
        EXPECT_EQ(at, c.expected);
        EXPECT_TRUE(screen.contains(QRect(at, c.frame.size())));
    }
}

// Placed by its frame: the title bar stands below the window above, not over its bottom edge, and a
// window cascaded from another stands a title bar's height off it, not over it.
TEST(FramePlacement, TheFrameTakesThePlaceAndTheClientAreaStandsWithinIt) {
    const QMargins frame(4, 24, 4, 4);   // left, title bar, right, bottom
    struct Case {
        const char* what;
        QRect screen;
        QRect designed;   // the frame's corner as the program put it, the client area's size
        std::vector<QRect> shown;
        QPoint client;    // the client area's top-left corner
    };
    const Case cases[] = {
        {"alone: the frame stays where the program put it", QRect(0, 0, 1280, 1024), QRect(80, 60, 326, 497), {}, {84, 84}},
        {"below the card list: its title bar under the list's frame",
         QRect(0, 0, 1280, 1024), QRect(0, 0, 764, 368), {QRect(0, 0, 672, 540)}, {4, 564}},
        {"beside the menu", QRect(0, 0, 1280, 1024), QRect(0, 0, 600, 400), {QRect(0, 0, 334, 525)}, {338, 24}},
        {"no free place: cascaded a title bar off the card screen",
         QRect(0, 0, 1024, 768), QRect(0, 0, 657, 477), {QRect(0, 0, 749, 566)}, {52, 72}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint at = ui::framePlacement(c.designed, frame, c.shown, c.screen, 48);
        EXPECT_EQ(at, c.client);
        const QRect placedFrame(at - QPoint(4, 24), c.designed.size().grownBy(frame));
        EXPECT_TRUE(c.screen.contains(placedFrame));
        for (const QRect& s : c.shown) EXPECT_NE(placedFrame.topLeft(), s.topLeft());
    }
}

TEST_F(FormsTest, WindowsShownTogetherEachKeepTheirControlsInReach) {
    using Small = SizedForm<1, 4800, 3000>;
    using Medium = SizedForm<2, 5400, 3600>;
    using Big = SizedForm<3, 9000, 6600>;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    Small& a = Small::it();
    Medium& b = Medium::it();
    a.Show();
    b.Show();   // both designed for the top-left corner: side by side or one below the other
    EXPECT_FALSE(a.frameGeometry().intersects(b.frameGeometry()));
    EXPECT_TRUE(screen.contains(b.frameGeometry()));

    // No free place left on the screen: cascaded, the title and menu bars of the window shown last
    // stay in view.
    Big& c = Big::it();
    ASSERT_GT(c.width() + a.width(), screen.width()) << "the screen is larger than this test assumes";
    c.Show();
    EXPECT_TRUE(screen.contains(c.frameGeometry()));
    const int menuBar = b.height() - ui::px(b.ScaleHeight());
    EXPECT_GT(menuBar, 0);
    EXPECT_GE(c.y(), b.y() + menuBar);

    // A window brought back into view (the menu after a screen's OK) comes back where it stood,
    // also after an unload.
    const QPoint aWasAt = a.pos(), cWasAt = c.pos();
    a.Hide();
    c.Unload();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    b.Move(0, 0);
    a.Show();
    EXPECT_EQ(a.pos(), aWasAt);
    Big::it().Show();
    EXPECT_EQ(Big::it().pos(), cWasAt);
    // One already in view stays where the person put it.
    a.move(b.pos());
    a.Show();
    EXPECT_EQ(a.pos(), b.pos());
}

TEST_F(FormsTest, ATextLongerThanItsBoxShowsFromItsStart) {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    const auto shown = [&](const QString& text) {
        f.Text7->setText(text);
        return f.Text7->line()->grab().toImage();
    };
    const QImage first = shown(QStringLiteral("三菱ＵＦＪフィナンシャル・グループ"));
    EXPECT_EQ(f.Text7->SelStart(), 0);
    EXPECT_EQ(first, shown(QStringLiteral("三菱ＵＦＪフィナンシャル・ホールディングス")));
    EXPECT_NE(first, shown(QStringLiteral("西邦ＵＦＪフィナンシャル・グループ")));
}

// A box showing a code, a date or a number too wide for it grows into the free room beside it (on
// the right, else on the left) to show it whole, and is back in its place when the text fits.
TEST_F(FormsTest, ABoxGrowsIntoFreeRoomToShowItsWholeNumber) {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    struct Case {
        const char* what;
        int boxLeft, buttonLeft;   // twips: the box, and the button on its right at its height
        const char* text;
        bool grows, keepsLeft, keepsRight;
    };
    const Case cases[] = {
        {"room on the right", 720, 6000, "500000", true, true, false},
        {"a button beside it on the right", 2400, 3015, "2026/12/10", true, false, true},
        {"a name is shown from its start instead", 720, 6000, "三菱ＵＦＪフィナンシャル・グループ", false, true, true},
        {"a number that fits", 720, 6000, "12", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.Text7->setText(QString());
        f.Command3->Move(c.buttonLeft, 120);
        f.Text7->Move(c.boxLeft, 120, 615, 270);
        const QRect laid = f.Text7->geometry();
        const QString text = QString::fromUtf8(c.text);
        f.Text7->setText(text);
        const QRect shown = f.Text7->geometry();
        EXPECT_EQ(shown.width() > laid.width(), c.grows);
        EXPECT_EQ(shown.left() == laid.left(), c.keepsLeft);
        EXPECT_EQ(shown.right() == laid.right(), c.keepsRight);
        EXPECT_LT(shown.right(), f.Command3->geometry().left());
        if (c.grows)
            EXPECT_NEAR(testing_support::inkWidth(f.Text7->line()->grab().toImage()),
                        QFontMetrics(f.Text7->line()->font()).tightBoundingRect(text).width(), 1);
        f.Text7->setText(QStringLiteral("7"));
        EXPECT_EQ(f.Text7->geometry(), laid);
    }
}

const QString kQuoteAddress = QStringLiteral("https://quote.example/q?s=7203.t");

// The probe window in view, its link set to open kQuoteAddress when clicked.
ProbeForm& probeLinkingToAQuote() {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    f.HprLnkEx1->LinkClick = [&f] { f.HprLnkEx1->Address = kQuoteAddress; };
    return f;
}

TEST_F(FormsTest, ALinkNoBrowserCanOpenIsToldToThePerson) {
    ProbeForm& f = probeLinkingToAQuote();
    const QString& address = kQuoteAddress;
    seam->browserOpens = false;
    seam->answerMsgBox(ui::vbOK);
    QTest::mouseClick(f.HprLnkEx1, Qt::LeftButton);
    EXPECT_EQ(seam->urls, QStringList{address});
    ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->msgBoxPrompts()[0].contains(QStringLiteral("ブラウザ")));
    EXPECT_TRUE(seam->msgBoxPrompts()[0].contains(address));
    seam->browserOpens = true;
    QTest::mouseClick(f.HprLnkEx1, Qt::LeftButton);
    EXPECT_EQ(seam->msgBoxPrompts().size(), 1);   // an opened link says nothing
}

// The desktop's launcher, made slow: it notes each address it is given, then takes seconds.
class SlowLauncher {
public:
    SlowLauncher(int exitCode, double seconds) : path_(qgetenv("PATH")) {
        const QString script = dir_.filePath(QStringLiteral("xdg-open"));
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nsleep %2\necho ended >> '%1'\nexit %3\n")
                    .arg(log(), QString::number(seconds), QString::number(exitCode)).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir_.path().toUtf8() + ':' + path_);
    }
    ~SlowLauncher() { qputenv("PATH", path_); }
    QString log() const { return dir_.filePath(QStringLiteral("launches")); }
    // The addresses given so far, each followed by "ended" once its launcher has ended.
    QStringList launches() const {
        QFile f(log());
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    QByteArray path_;
};

// A click starts the browser and returns at once: the event loop runs on while the launcher takes
// its seconds, and a double-click, a held key and the input queued meanwhile launch nothing more.
TEST_F(FormsTest, ALinkClickLaunchesOnceWithoutWaitingForTheLauncher) {
    ProbeForm& f = probeLinkingToAQuote();
    const QString& address = kQuoteAddress;
    SlowLauncher launcher(0, 2);
    seam->launchBrowsers = true;
    QElapsedTimer clock;
    clock.start();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), f.HprLnkEx1->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), f.HprLnkEx1->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(5, 5), f.HprLnkEx1->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    for (QMouseEvent* e : {&press, &release, &twice, &release}) QApplication::sendEvent(f.HprLnkEx1, e);
    EXPECT_LT(clock.elapsed(), 1000);
    for (int i = 0; i < 5; ++i) {   // a held Space key, queued while the launcher runs
        auto* held = new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::postEvent(f.HprLnkEx1, held);
    }
    int turns = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++turns; });
    tick.start(50);
    for (int i = 0; i < 500 && launcher.launches().size() < 2; ++i) QTest::qWait(10);
    QTest::qWait(100);      // the launcher's end reaches the program
    EXPECT_GE(turns, 20);   // the loop kept turning while it ran (about 40 turns)
    EXPECT_EQ(launcher.launches(), (QStringList{address, QStringLiteral("ended")}));
    EXPECT_EQ(seam->urls, QStringList{address});
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
}

// A launcher that reports that no browser took the address is told, once it ends.
TEST_F(FormsTest, ALauncherThatFailsIsTold) {
    ProbeForm& f = probeLinkingToAQuote();
    const QString& address = kQuoteAddress;
    SlowLauncher launcher(3, 0.5);
    seam->launchBrowsers = true;
    seam->answerMsgBox(ui::vbOK);
    f.HprLnkEx1->doClick();
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());   // not yet: the launcher is still running
    for (int i = 0; i < 500 && seam->msgBoxPrompts().isEmpty(); ++i) QTest::qWait(10);
    ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->msgBoxPrompts()[0].contains(address));
    EXPECT_EQ(launcher.launches(), (QStringList{address, QStringLiteral("ended")}));
}

TEST_F(FormsTest, ACaptionTooLongForItsControlIsDrawnSmallerToFit) {
    ProbeForm& f = ProbeForm::it();
    f.Show();
    const QFont own = f.font();
    // Captions of one line's height, each in a control one character too narrow for it.
    auto* label = new ui::Label(f.Label1->parentWidget(), {.name = "Label9", .caption = QStringLiteral("ランキング"), .left = 0,
                                             .top = 3000, .width = 600, .height = 255, .transparent = true});
    auto* button = new ui::CommandButton(f.Label1->parentWidget(), {.name = "Command9", .caption = QStringLiteral("トレンド"),
                                                      .left = 900, .top = 3000, .width = 450, .height = 255,
                                                      .backColor = 0xE0E0E0});
    auto* link = new ui::LinkLabel(f.Label1->parentWidget(), {.name = "HprLnkEx9", .caption = QStringLiteral("業種別トレンド"),
                                                .left = 1600, .top = 3000, .width = 855, .height = 255});
    label->show();
    button->show();
    link->show();
    const QFontMetrics full(own);
    for (auto [w, caption, drawn] : std::vector<std::tuple<QWidget*, QString, QFont>>{
             {label, label->Caption(), label->captionFont()},
             {button, button->Caption(), button->captionFont()},
             {link, link->Caption(), link->captionFont()}}) {
        SCOPED_TRACE(caption.toStdString());
        ASSERT_GT(full.horizontalAdvance(caption), w->width()) << "the caption fits at full size";
        EXPECT_LT(drawn.pointSizeF(), own.pointSizeF());
        EXPECT_LE(QFontMetrics(drawn).horizontalAdvance(caption), w->width());
        EXPECT_EQ(drawn.family(), w->font().family());
    }
    EXPECT_TRUE(link->captionFont().underline());
    // A caption that fits keeps the window's font, and a control made wide enough gets it back.
    EXPECT_EQ(f.Label2->captionFont(), f.Label2->font());
    label->Move(0, 3000, 2400, 255);
    EXPECT_EQ(label->captionFont(), label->font());
    f.grab().save(QStringLiteral("/tmp/quenara_probe_captions.png"));
}

}  // namespace
