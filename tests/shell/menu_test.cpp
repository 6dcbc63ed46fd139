#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/ui/dialogs.h"
#include "lists/dictionary.h"
#include "lists/list_forms.h"
#include "shell/form5.h"
#include "shell/form7.h"
#include "shell/form8.h"
#include "trend_stocks/form6.h"
#include "shell/launch_table.h"
#include "services/module1.h"
#include "shell_fixture.h"

using namespace shell_test;

namespace {

void click(const char* control) {
    ui::CommandButton* b = Form5::it().Command(QString::fromUtf8(control));
    ASSERT_NE(b, nullptr) << control;
    b->doClick();
}

void type(ui::TextBox* box, const QString& text) {
    QWidget* w = box->line() ? static_cast<QWidget*>(box->line()) : static_cast<QWidget*>(box->multi());
    w->setFocus();
    if (box->line()) box->line()->end(false);
    QTest::keyClicks(w, text);
}

class MenuTest : public ShellTest {};

TEST_F(MenuTest, StartUpShowsTheUnitAndTheTenDates) {
    setDateRecord(QStringLiteral("week"));
    Form5& menu = Form5::it();
    menu.Show();
    QApplication::processEvents();
    EXPECT_EQ(Module1::MainDbPath, platform::mainDatabasePath());
    EXPECT_EQ(menu.Text1(0)->Text(), QStringLiteral("week"));
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(menu.Text1(k)->Text(), defaultDates()[k - 1]) << k;
    EXPECT_EQ(menu.Caption(), QStringLiteral("Ｍｅｎｕ"));
    EXPECT_EQ(menu.Text2->Text(), QStringLiteral("Text2"));
}

TEST_F(MenuTest, DateBoxesAndPathBoxReactToTyping) {
    setDateRecord(QStringLiteral("day"));
    Form5& menu = Form5::it();
    menu.Show();
    QApplication::processEvents();

    type(menu.Text1(1), QStringLiteral("9"));
    EXPECT_EQ(menu.Text1(1)->Text(), QStringLiteral("26/12/10"));   // the newest date puts itself back
    type(menu.Text1(5), QStringLiteral("x"));
    EXPECT_EQ(menu.Text1(5)->Text(), QStringLiteral("26/12/06x"));  // kept until the next activation

    EXPECT_EQ(menu.Text3->Text(), QStringLiteral("Text3"));
    type(menu.Text3, QStringLiteral("a"));
    EXPECT_EQ(menu.Text3->Text(), Module1::MainDbPath);
}

// The controls past the right edge of the opening size are reached with Tab from the menu's buttons.
TEST_F(MenuTest, ControlsBeyondTheRightEdgeAreReachedWithTab) {
    Form5& menu = Form5::it();
    menu.Show();
    QApplication::processEvents();
    std::vector<QWidget*> chain;
    QWidget* start = menu.Command(QStringLiteral("Command1"));
    for (QWidget* w = start->nextInFocusChain(); w != start && chain.size() < 500; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&menu) && w->isEnabled()) chain.push_back(w);
    auto reached = [&](QWidget* target) {
        return std::any_of(chain.begin(), chain.end(), [&](QWidget* w) { return w == target || target->isAncestorOf(w); });
    };
    for (QWidget* w : std::initializer_list<QWidget*>{menu.Command(QStringLiteral("Command7")),
                                                      menu.Command(QStringLiteral("Command15")), menu.Text3, menu.Text2,
                                                      menu.MSFlexGrid1, menu.Command3}) {
        EXPECT_TRUE(reached(w)) << w->objectName().toStdString();
    }
    EXPECT_GE(menu.Text3->x(), menu.width());   // past the right edge at the opening size
}

TEST_F(MenuTest, CloseBoxIsRefused) {
    Form5& menu = Form5::it();
    menu.Show();
    menu.close();
    QApplication::processEvents();
    EXPECT_TRUE(Form5::isLoaded());
    EXPECT_TRUE(Form5::it().isVisible());
}

TEST_F(MenuTest, WithoutDateRecordTheBoxesKeepTheirText) {
    platform::Database::open(platform::mainDatabasePath())->executeRaw(QStringLiteral("delete from [日付]"));
    Form5& menu = Form5::it();
    menu.Show();
    QApplication::processEvents();
    EXPECT_EQ(menu.Text1(0)->Text(), QStringLiteral("Text1"));
    EXPECT_EQ(menu.Text1(10)->Text(), QStringLiteral("Text1"));
}

// Every launch button: what it stores, what it shows (in order), and where the menu ends up.
TEST_F(MenuTest, LaunchTable) {
    setDateRecord(QStringLiteral("day"));
    fillList(QStringLiteral("checklist"), {"7203", "6758"});
    fillList(QStringLiteral("trend"), {"7203", "6758"});
    fillList(QStringLiteral("checklist2"), {"7203", "6758"});
    fillList(QStringLiteral("mylist"), {"7203", "6758"});
    fillList(QStringLiteral("情報源リスト"), {"日経新聞", "四季報"});
    loadListWindows();
    recordLaunches();

    const int untouched = -7;
    struct Case {
        const char* control;
        int menuMode, trendMode;
        QStringList did;   // text writes and shows, in order
        bool menuVisible;
        QString purgeWord = QStringLiteral("Text2");
    };
    const Case cases[] = {
        {"Command1", untouched, untouched, {"Form2", "Form1", "Form11"}, false},
        {"Command18", 500, untouched, {"Form25.Text2=Excel", "Form25"}, true},
        {"Command10", 100, untouched, {"Form28", "Form18"}, false},
        {"Command60", untouched, untouched, {"Form25.Text1=", "Form25.Text2=kbktable0", "Form25"}, true},
        {"Command2", 10, untouched, {"Form16"}, false},
        {"Command21", 4, untouched, {"Form16"}, false},
        {"Command45", 7, untouched, {"Form16"}, false},
        {"Command4", 1, untouched, {"Form16"}, false},
        {"Command8", 5, untouched, {"Form16"}, false},
        {"Command52", 15, untouched, {"Form16"}, false},
        {"Command7", untouched, untouched, {"Form19"}, false},
        {"Command5", 2, untouched, {"Form16"}, false},
        {"Command9", 6, untouched, {"Form16"}, false},
        {"Command6", 3, untouched, {"Form16"}, false},
        {"Command38", 8, untouched, {"Form16"}, false},
        {"Command48", 14, untouched, {"Form16"}, false},
        {"Command46", 12, untouched, {"Form16"}, false},
        {"Command64", 12, untouched, {"Form16"}, false},
        {"Command32", 11, untouched, {"Form16"}, false},
        {"Command47", 13, untouched, {"Form16"}, false},
        {"Command12", 100, untouched, {"Form28"}, false},
        {"Command53", 1001, untouched, {"Form6"}, false},
        {"Command11", 1002, untouched, {"Form6"}, false},
        {"Command44", 1003, untouched, {"Form6"}, false},
        {"Command55", 1004, untouched, {"Form6"}, false},
        {"Command56", 1005, untouched, {"Form6"}, false},
        {"Command57", 1006, untouched, {"Form6"}, false},
        {"Command58", 1007, untouched, {"Form6"}, false},
        {"Command59", 1008, untouched, {"Form6"}, false},
        {"Command54", 1009, untouched, {"Form6"}, false},
        {"Command27", 1023, 23, {"Form6"}, false},
        {"Command28", 1022, 22, {"Form6"}, false},
        {"Command14", 201, untouched, {"Form12 (menu hidden)", "Form20 (menu hidden)"}, false},
        {"Command49", 202, untouched, {"Form31 (menu hidden)", "Form20 (menu hidden)"}, false},
        {"Command13", untouched, untouched, {"Form8"}, true},
        {"Command17", 250, untouched, {"Form25.Text1=", "Form25.Text2=Access", "Form25"}, true},
        {"Command20", untouched, untouched, {"Form7"}, true},
        {"Command19", untouched, untouched, {"Form19"}, false, "main"},
        {"Command39", untouched, untouched, {"Form19"}, false, "bunkatu"},
        {"Command36", untouched, untouched, {"Form19"}, false, "nifty"},
        {"Command29", untouched, untouched, {"Form19"}, false, "takane"},
        {"Command62", 550, untouched, {"Form28", "Form15"}, false},
    };
    ASSERT_EQ(std::size(cases) + 1, shell::launchTable().size());   // "extra" has its own test
    for (const Case& c : cases) {
        Form5& menu = Form5::it();
        menu.Show();
        menu.Text2->setText(QStringLiteral("Text2"));
        Module1::MenuMode = untouched;
        Module1::TrendMode = untouched;
        opened.clear();
        click(c.control);
        EXPECT_EQ(Module1::MenuMode, c.menuMode) << c.control;
        EXPECT_EQ(Module1::TrendMode, c.trendMode) << c.control;
        EXPECT_EQ(opened, c.did) << c.control << ": " << opened.join(QStringLiteral(", ")).toStdString();
        EXPECT_EQ(Form5::it().isVisible(), c.menuVisible) << c.control;
        EXPECT_EQ(Form5::it().Text2->Text(), c.purgeWord) << c.control;
    }
}

TEST_F(MenuTest, DailyOnlyButtonsFollowTheUnitWord) {
    recordLaunches();
    const QString text = QStringLiteral("現在　株価が %1 を選択されています。\r\n\r\nQuenaraを一旦終了して\r\n"
                                           "株価入力を 日単位 で立ち上げて\r\n実行してください。");
    const struct {
        const char* unit;
        QString warning;   // the import warning; empty: no message
        QStringList opened;
    } cases[] = {
        {"week", text.arg(QStringLiteral("週単位")), {}},
        {"month", text.arg(QStringLiteral("月単位")), {}},
        {"Day", QString(), {}},
        {"day", QString(), {"Form2", "Form1", "Form11", "Form25.Text2=Excel", "Form25"}},
    };
    for (const auto& c : cases) {
        setDateRecord(QString::fromUtf8(c.unit));
        unloadAll();
        Form5::it().Show();
        Module1::MenuMode = 0;
        opened.clear();
        if (!c.warning.isEmpty()) seam->answerMsgBox(ui::vbOK);
        const size_t before = seam->events.size();
        click("Command1");
        Form5::it().Show();   // "収集" hides the menu only when it opens the editor
        click("Command18");
        EXPECT_EQ(opened, c.opened) << c.unit;
        EXPECT_EQ(Module1::MenuMode, c.unit == QStringLiteral("day") ? 500 : 0) << c.unit;
        ASSERT_EQ(seam->events.size() - before, c.warning.isEmpty() ? 0u : 1u) << c.unit;
        if (!c.warning.isEmpty()) {
            EXPECT_EQ(seam->events.back().prompt, c.warning);
            EXPECT_EQ(seam->events.back().style, ui::vbOKCancel | ui::vbExclamation);
            EXPECT_TRUE(seam->events.back().title.isEmpty());
        }
    }
}

TEST_F(MenuTest, PurgeWordStaysForThePeriodSurvey) {
    recordLaunches();
    Form5::it().Show();
    click("Command29");
    Form5::it().Show();
    click("Command7");
    EXPECT_EQ(Form5::it().Text2->Text(), QStringLiteral("takane"));
    EXPECT_EQ(opened, (QStringList{"Form19", "Form19"}));
}

TEST_F(MenuTest, StandingWindowsOpenFromTheMenu) {
    const struct {
        const char* control;
        std::vector<ui::Form*> (*windows)();
        bool menuVisible;
    } cases[] = {
        {"Command53", [] { return std::vector<ui::Form*>{&Form6::it()}; }, false},
        {"Command14", [] { return std::vector<ui::Form*>{&Form12::it(), &Form20::it()}; }, false},
        {"Command49", [] { return std::vector<ui::Form*>{&Form31::it(), &Form20::it()}; }, false},
        {"Command20", [] { return std::vector<ui::Form*>{&Form7::it()}; }, true},
        {"Command13", [] { return std::vector<ui::Form*>{&Form8::it()}; }, true},
    };
    for (const auto& c : cases) {
        unloadAll();
        Form5::it().Show();
        click(c.control);
        for (ui::Form* w : c.windows()) EXPECT_TRUE(w->isVisible()) << c.control << " " << w->Name.toStdString();
        EXPECT_EQ(Form5::it().isVisible(), c.menuVisible) << c.control;
    }
    EXPECT_EQ(Module1::MenuMode, 202);
}

// A button whose window is not built yet stores its values but leaves the menu in view: hidden,
// it would leave the program running without any window.
TEST_F(MenuTest, WindowsNotBuiltYetAreQuietlyPassedOver) {
    services::windowTable().erase(QStringLiteral("Form16"));
    Form5::it().Show();
    click("Command2");
    EXPECT_EQ(Module1::MenuMode, 10);
    EXPECT_TRUE(Form5::it().isVisible());
}

// The list-based universes: the row source each builds, and what an empty list does.
TEST_F(MenuTest, ListUniversesBuildTheirRowSources) {
    recordLaunches();
    const struct {
        const char* control;
        const char* table;
        const QString* target;
        QString expected;
    } cases[] = {
        {"Command28", "trend", &Module1::WatchListSql, "select * from [list1plus] where ([コード]=7203 Or  [コード]=6758)"},
        {"Command27", "checklist", &Module1::WatchListSql, "select * from [list1plus]where [コード]=7203"},
        {"Command32", "checklist2", &Module1::SpecialWatchSql,
         "select * from [a000-all] where ([コード]=7203 Or  [コード]=6758)"},
        {"Command46", "checklist", &Module1::WatchListSql, "select * from [a000-all]where [コード]=7203"},
        {"Command64", "trend", &Module1::WatchListSql, "select * from [a000-all] where ([コード]=7203 Or  [コード]=6758)"},
        {"Command48", "mylist", &Module1::HoldingsSql, "select * from [a000-all] where ([コード]=7203 Or  [コード]=6758)"},
        {"Command47", "情報源リスト", &Module1::FavouriteSourceSql,
         "select * from [a000-all] where ([情報源] like '*日経新聞*' Or [情報源]like '*四季報*')"},
    };
    fillList(QStringLiteral("checklist"), {"7203"});
    fillList(QStringLiteral("trend"), {"7203", "6758"});
    fillList(QStringLiteral("checklist2"), {"7203", "6758"});
    fillList(QStringLiteral("mylist"), {"7203", "6758"});
    fillList(QStringLiteral("情報源リスト"), {"日経新聞朝刊", "四季報"});
    loadListWindows();
    for (const auto& c : cases) {
        Form5::it().Show();
        click(c.control);
        EXPECT_EQ(*c.target, c.expected) << c.control;
    }
}

TEST_F(MenuTest, EmptyListsTellThePersonAndGoTheirOwnWay) {
    recordLaunches();
    for (const char* t : {"checklist", "trend", "checklist2", "mylist", "情報源リスト"}) fillList(QString::fromUtf8(t), {});
    loadListWindows();
    const int before = -7;
    const struct {
        const char* control;
        QString message;
        int menuMode;
        QStringList opened;
        bool menuVisible;
        const QString* target;
        QString bareBase;
    } cases[] = {
        {"Command28", "注目銘柄は選択されていません", 1022, {"Form6"}, false, &Module1::WatchListSql,
         "select * from [list1plus]"},
        {"Command27", "注目銘柄は選択されていません", 1023, {"Form6"}, false, &Module1::WatchListSql,
         "select * from [list1plus]"},
        {"Command32", "特別注目銘柄は　ひとつも選択されていません", before, {}, true, &Module1::SpecialWatchSql,
         "select * from [a000-all]"},
        {"Command48", "保有銘柄が選択されていません", before, {}, true, &Module1::HoldingsSql, "select * from [a000-all]"},
        {"Command46", "注目銘柄は選択されていません", before, {}, true, &Module1::WatchListSql, "select * from [a000-all]"},
        {"Command64", "注目銘柄は選択されていません", before, {}, true, &Module1::WatchListSql, "select * from [a000-all]"},
        {"Command47", "情報源が　ひとつも選択されていません。", 13, {"Form16"}, false, &Module1::FavouriteSourceSql,
         "select * from [a000-all]"},
    };
    for (const auto& c : cases) {
        Form5::it().Show();
        Module1::MenuMode = before;
        opened.clear();
        seam->answerMsgBox(ui::vbCancel);
        click(c.control);
        ASSERT_FALSE(seam->events.empty());
        EXPECT_EQ(seam->events.back().prompt, c.message) << c.control;
        EXPECT_EQ(seam->events.back().style, ui::vbOKCancel | ui::vbCritical) << c.control;
        EXPECT_EQ(Module1::MenuMode, c.menuMode) << c.control;
        EXPECT_EQ(opened, c.opened) << c.control;
        EXPECT_EQ(Form5::it().isVisible(), c.menuVisible) << c.control;
        EXPECT_EQ(*c.target, c.bareBase) << c.control;
    }
}

// One click of a list-based universe button and what it leaves.
struct UniverseCase {
    const char* control;
    int menuMode;
    QStringList opened;
    const QString* target;
    QString expected;
};

class ListUniverseTest : public MenuTest {
protected:
    void clickEach(std::initializer_list<UniverseCase> cases, int menuModeBefore) {
        for (const UniverseCase& c : cases) {
            SCOPED_TRACE(c.control);
            Form5::it().Show();
            Module1::MenuMode = menuModeBefore;
            opened.clear();
            click(c.control);
            EXPECT_EQ(*c.target, c.expected);
            EXPECT_EQ(Module1::MenuMode, c.menuMode);
            EXPECT_EQ(opened, c.opened);
        }
    }
};

// A stock list with rows but no whole-number code names no stock: the screen opens on no rows,
// without calling the list empty. The favourite sources are not concerned.
TEST_F(ListUniverseTest, ListsWithoutAWholeNumberCodeOpenOnNoStock) {
    recordLaunches();
    fillList(QStringLiteral("checklist"), {"abc"});
    fillList(QStringLiteral("trend"), {"72 03", "x"});
    fillList(QStringLiteral("checklist2"), {"?"});
    fillList(QStringLiteral("mylist"), {"1.5", ""});
    loadListWindows();
    clickEach({
        {"Command28", 1022, {"Form6"}, &Module1::WatchListSql, "select * from [list1plus] where ([コード]=1000)"},
        {"Command27", 1023, {"Form6"}, &Module1::WatchListSql, "select * from [list1plus]where [コード]=1000"},
        {"Command32", 11, {"Form16"}, &Module1::SpecialWatchSql, "select * from [a000-all]where [コード]=1000"},
        {"Command46", 12, {"Form16"}, &Module1::WatchListSql, "select * from [a000-all]where [コード]=1000"},
        {"Command64", 12, {"Form16"}, &Module1::WatchListSql, "select * from [a000-all] where ([コード]=1000)"},
        {"Command48", 14, {"Form16"}, &Module1::HoldingsSql, "select * from [a000-all] where ([コード]=1000)"},
    }, 0);
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
}

// An unreadable list database is told once, by the first list window that reads it; no list is
// called empty. The listed-stock screen opens on no stock, the card buttons do nothing.
TEST_F(ListUniverseTest, AnUnreadableListDatabaseIsToldOnceAndNoListCalledEmpty) {
    recordLaunches();
    platform::Database::releaseUnused();
    writeBytes(platform::listDatabasePath(), "not a database");
    const int before = -7;
    seam->answerMsgBox(ui::vbOK);
    clickEach({
        {"Command27", 1023, {"Form6"}, &Module1::WatchListSql, "select * from [list1plus]where [コード]=1000"},
        {"Command28", 1022, {"Form6"}, &Module1::WatchListSql, "select * from [list1plus]where [コード]=1000"},
        {"Command32", before, {}, &Module1::SpecialWatchSql, "select * from [a000-all]"},
        {"Command46", before, {}, &Module1::WatchListSql, "select * from [a000-all]"},
        {"Command48", before, {}, &Module1::HoldingsSql, "select * from [a000-all]"},
    }, before);
    const QStringList told = seam->msgBoxPrompts();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("注目銘柄のリストを読めません。"))) << told[0].toStdString();
}

TEST_F(MenuTest, ExtraAsksForOneOfFourteenUniverses) {
    recordLaunches();
    const QString prompt = QStringLiteral(
        "お好みの条件を選んでください。  \r\n                              \r\n"
        " 1・・・・推奨+短期注目銘柄 \r\n 2・・・・短期注目+新高値銘柄　\r\n 3・・・・動意銘柄\r\n"
        "  -----------------------------        \r\n"
        " 4・・・・業績修正\r\n 5・・・・格付け情報  \r\n 6・・・・一部＊百株銘柄  \r\n"
        "  -----------------------------        \r\n"
        " 7・・・・１０万円 以下 の銘柄\r\n 8・・・・２０～５０万円の銘柄\r\n 9・・・・５０～１００万円の銘柄\r\n"
        " 10・・・・１００万円以上の銘柄\r\n 11・・・・売買単位<10 50 500>株銘柄　\r\n"
        "  -----------------------------        \r\n"
        " 12・・・・推奨+短期+新高値銘柄＆東証１部　\r\n 13・・・・推奨+短期+新高値銘柄＆２部\r\n"
        " 14・・・・推奨+短期+新高値銘柄＆新興市場\r\n");
    const struct {
        std::optional<QString> answer;
        QString extraSql;
    } cases[] = {
        {QStringLiteral("15"), QString()},   // nothing chosen yet
        {QStringLiteral("3"), QStringLiteral("select * from [a000-doui]")},
        {QStringLiteral("0"), QStringLiteral("select * from [a000-doui]")},
        {QStringLiteral("14"), QStringLiteral("select * from [a000-okitansinkou]")},
        {QStringLiteral("abc"), QStringLiteral("select * from [a000-okitansinkou]")},
        {std::nullopt, QStringLiteral("select * from [a000-okitansinkou]")},
        {QStringLiteral(" 1 "), QStringLiteral("select * from [a000-suishoutanki]")},
        {QStringLiteral("7.0"), QStringLiteral("select * from [a000-10sita]")},
        {QStringLiteral("１２"), QStringLiteral("select * from [a000-okitan1bu]")},
        {QStringLiteral("2.5"), QStringLiteral("select * from [a000-okitan1bu]")},
    };
    for (const auto& c : cases) {
        Form5::it().Show();
        Module1::MenuMode = 0;
        opened.clear();
        seam->answerInput(c.answer);
        click("Command43");
        const auto& asked = seam->events.back();
        EXPECT_EQ(asked.prompt, prompt);
        EXPECT_EQ(asked.title, QStringLiteral("***************"));
        EXPECT_TRUE(asked.defaultAnswer.isEmpty());
        EXPECT_EQ(Module1::ExtraSql, c.extraSql) << c.answer.value_or(QStringLiteral("(cancel)")).toStdString();
        EXPECT_EQ(Module1::MenuMode, 16);
        EXPECT_EQ(opened, QStringList{"Form16"});
        EXPECT_FALSE(Form5::it().isVisible());
    }
}

TEST_F(MenuTest, HelpButtonsShowTheirTexts) {
    Form5::it().Show();
    for (const shell::HelpRow& h : shell::helpTable()) {
        seam->answerMsgBox(ui::vbCancel);
        click(h.control.toUtf8().constData());
    }
    ASSERT_EQ(seam->events.size(), shell::helpTable().size());
    auto shown = [&](const char* control) {
        for (size_t i = 0; i < shell::helpTable().size(); ++i)
            if (shell::helpTable()[i].control == QLatin1String(control)) return seam->events[i];
        return testing_support::SeamEvent{};
    };
    EXPECT_TRUE(shown("Command66").prompt.endsWith(QStringLiteral("書き込んでください。\r\n")));
    EXPECT_TRUE(shown("Command51").prompt.contains(QStringLiteral("調べます。\r\n\r\n\r\n銘柄情報に")));
    EXPECT_TRUE(shown("Command22").title.isNull());     // the program's title
    EXPECT_FALSE(shown("Command33").title.isNull());    // an empty title of its own
    EXPECT_TRUE(shown("Command33").title.isEmpty());
    EXPECT_EQ(shown("Command31").title, QStringLiteral("データベースのバックアップ"));
    EXPECT_EQ(shown("Command23").style, ui::vbOKCancel | ui::vbExclamation);
    EXPECT_TRUE(Form5::it().isVisible());
}

}  // namespace
