#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>
#include "card_fixture.h"
#include "shell/form5.h"
#include "trend_cards/card_catalogue.h"
#include "trend_stocks/apply_pattern.h"

using card_testing::Card;
using trend_testing::Stock;

namespace {

const QString kAll = "select * from [a000-all]";

class Form16Test : public card_testing::CardScreenTest {
protected:
    void SetUp() override {
        CardScreenTest::SetUp();
        addStocks({
            {1301, "極洋", "東証１部", "D100", {-9, -1, 0, 0, 0, 0, 0, 0, 0}},
            {1332, "日本水産", "名古１部", "F1000", {-6, 0, 0, 0, -6, 0, 0, 0, 0}},
            {7203, "トヨタ", "東証２部", "D100", {-5.9, 2, 0, 0, 4, 0, 0, 0, 30}},
            {8001, "O'Neil", "マザーズ", "A1", {2, 1, 2, 3, 1, -2, 3, 0, 50}},
        });
        addCards({
            {1301, "日経新聞", 0, "東証１部", "D100", "極洋"},          // ID 1
            {1332, "四季報", 3, "名古１部", "F1000", "日本水産"},        // ID 2
            {7203, "日経新聞 推奨", 20, "東証２部", "D100", "トヨタ"},   // ID 3
            {8001, "O'Brien's", 200, "マザーズ", "A1", "O'Neil"},       // ID 4
            {1301, "四季報", 151, "東証１部", "D100", "極洋"},           // ID 5
        });
    }
};

}  // namespace

TEST_F(Form16Test, UniverseTable) {
    const QString twoCodes = kAll + " where ([コード]=1301 Or  [コード]=7203)";
    struct Case {
        int menuMode;
        const char* base;   // empty: the menu-built SELECT
        const char* caption;
        unsigned color;
        QStringList ids;
    } cases[] = {
        {1, "select * from [a000-1bu]", "１部市場銘柄", 0x00C0C0, {"1", "5", "2"}},
        {2, "select * from [a000-2bu]", "２部市場銘柄", 0x008080, {"3"}},
        {3, "select * from [a000-tentou]", "新興市場銘柄", 0x8BA0F8, {"4"}},
        {4, "select * from [a000-1000U]", "売買1000株銘柄", 0x00FF00, {"2"}},
        {5, "select * from [a000-100U]", "売買100株銘柄", 0x80FF80, {"1", "5", "3"}},
        {6, "select * from [a000-001U]", "売買１株銘柄", 0xDCA561, {"4"}},
        {7, "select * from [a000-okiniiri]", "推奨銘柄", 0x80FF80, {"3"}},
        {8, "select * from [a000-20t1]", "東証１部＊２０万以下", 0xC0C000, {"1", "5"}},
        {10, "select * from [a000-all]", "全銘柄", 0xD08F77, {"1", "5", "2", "3", "4"}},
        {11, "", "特別注目銘柄", 0x822299, {"1", "5", "3"}},
        {12, "", "注目銘柄", 0x7C86E0, {"1", "5", "3"}},
        {13, "", "お気に入り推奨銘柄", 0xC000C0, {"1", "5", "3"}},
        {14, "", "保有銘柄", 0xF3B3A7, {"1", "5", "3"}},
        {15, "select * from [a000-takane]", "新高値銘柄", 0xF3B3A7, {}},
        {16, "", "EXTRA", 0xF5D6F8, {"1", "5", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menuMode);
        Form16& f = open(c.menuMode, twoCodes);
        const QString base = *c.base ? QString::fromUtf8(c.base) : twoCodes;
        EXPECT_EQ(Module1::CardTrendBaseSql, base);
        EXPECT_EQ(f.Data1->RecordSource, base);
        EXPECT_EQ(f.Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(f.BackColor(), c.color);
        EXPECT_EQ(ids(f), c.ids);   // sorted by code ascending
        EXPECT_EQ(f.Text7->Text(), QString::number(c.ids.size()));
        EXPECT_EQ(f.MSFlexGrid1->Col(), 5);
        close(f);
        EXPECT_FALSE(Form16::isLoaded());
        EXPECT_TRUE(Form5::it().isVisible());
    }
}

TEST_F(Form16Test, LayoutCountCloseBoxAndTitlesByUnit) {
    Form16& f = open(10);
    const int widths[] = {200, 450, 1100, 1000, 850, 450, 600, 600, 1000, 800, 400, 400, 400, 400, 400, 400, 390, 390, 390};
    // Whole pixels. A column of codes, dates or numbers may be wider, to show them whole; the
    // columns of text (source, name, market, note) give the room, so that all stay in view.
    int total = 0;
    for (int c = 0; c <= 18; ++c) {
        const bool text = c == 2 || c == 4 || c == 6 || c == 8;
        if (!text) EXPECT_GE(f.MSFlexGrid1->ColWidth(c), widths[c] - 14) << c;
        total += f.MSFlexGrid1->horizontalHeader()->sectionSize(c);
    }
    EXPECT_LE(total, f.MSFlexGrid1->viewport()->width());
    f.Text7->setText("12");
    EXPECT_EQ(f.Text7->Text(), "5");
    f.close();
    EXPECT_TRUE(Form16::isLoaded());
    EXPECT_EQ(f.patterns().size(), cardtrend::cardTrendCatalogue().size());
    ASSERT_NE(f.patternButton("Command42"), nullptr);
    EXPECT_EQ(f.patternButton("Command42")->Caption(), "1");
    EXPECT_EQ(f.patternButton("Command63")->BackColor(), 0xCAA9CFu);
    EXPECT_EQ(f.groupLabel("Label10")->Caption(), "Ranking");
    EXPECT_EQ(f.groupLabel("Label27")->Caption(), "移動平均による上昇銘柄");
    close(f);

    struct Case {
        const char* unit;
        const char* col10;
        const char* col18;
        const char* helpTitle;   // nullptr: no help on the nine changes
    } cases[] = {
        {"day", "1日前", "9日前", "n日前の数値の見方"},
        {"week", "1週前", "9週前", "n日前の数値の見方"},
        {"month", "1月前", "9月前", "n月前の数値の見方"},
        {"Week", "26/12/05", "ratio9", nullptr},   // compared exactly: the sixth date and the field names stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        setUnit(QString::fromUtf8(c.unit));
        if (Form5::isLoaded()) Form5::it().Unload();
        Form16& g = open(1);
        EXPECT_EQ(g.MSFlexGrid1->TextMatrix(0, 9), "26/12/10");
        EXPECT_EQ(g.MSFlexGrid1->TextMatrix(0, 10), QString::fromUtf8(c.col10));
        EXPECT_EQ(g.MSFlexGrid1->TextMatrix(0, 18), QString::fromUtf8(c.col18));
        EXPECT_EQ(g.Text8->Text(), QString::fromUtf8(c.unit));
        const size_t shown = seam->events.size();
        if (c.helpTitle) seam->answerMsgBox(ui::vbCancel);
        g.Label11->doClick();
        if (c.helpTitle) {
            ASSERT_EQ(seam->events.size(), shown + 1);
            EXPECT_EQ(seam->events.back().title, QString::fromUtf8(c.helpTitle));
            EXPECT_EQ(seam->events.back().style, ui::vbOKCancel);
            EXPECT_EQ(seam->events.back().prompt.split("\r\n").size(), 11);
        } else {
            EXPECT_EQ(seam->events.size(), shown);
        }
        close(g);
    }
    const QString weekly = seam->msgBoxPrompts()[1];
    EXPECT_TRUE(weekly.startsWith("ｎ週前の欄の値を　Ｘ　とすると\r\n" + QString(49, '-') + "\r\nＸ=（ｎ週前の株価／直近の株価-1）*100　（％）"));
    EXPECT_TRUE(weekly.endsWith("\r\n\r\nこの数値に１００を足してください\r\nそれが　直近の株価を１００％として表したときの\r\n株価の％表示です"));
}

// The first condition follows the base's own WHERE: " and" on a list universe, " where" on a
// plain one, and " where" too on the favourite sources universe over an empty list.
TEST_F(Form16Test, PatternsJoinTheirTextToTheBaseByItsOwnWhere) {
    struct Case {
        int menuMode;
        QString base;
        QString appended;
        QStringList ids;
    } cases[] = {
        {1, "select * from [a000-1bu]", " where ([ratio1] between -6 and -500) ", {"1", "5", "2"}},
        {12, kAll + " where ([コード]=1301 Or  [コード]=7203)", " and ([ratio1] between -6 and -500) ", {"1", "5"}},
        {13, kAll, " where ([ratio1] between -6 and -500) ", {"1", "5", "2"}},
        {13, kAll + "where [情報源]= '四季報'", " and ([ratio1] between -6 and -500) ", {"5", "2"}},
        {11, kAll + "where [コード]=7203", " and ([ratio1] between -6 and -500) ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base.toStdString());
        Form16& f = open(c.menuMode, c.base);
        f.patternButton("Command42")->doClick();
        EXPECT_EQ(f.Data1->RecordSource, c.base + c.appended);
        EXPECT_EQ(ids(f), c.ids);
        EXPECT_EQ(f.Text7->Text(), QString::number(c.ids.size()));
        EXPECT_EQ(f.patternButton("Command42")->BackColor(), trend::PatternMarkColor);
        close(f);
    }
    // The ranking sorts its column (risers: lowest first) and tints its header; 保合 keeps code order.
    Form16& f = open(10);
    f.patternButton("Command42")->doClick();
    EXPECT_EQ(column(f, 10), QStringList({"-9", "-9", "-6"}));
    EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, 10), 0xC0C0FFu);
    f.patternButton("Command2")->doClick();   // fallers over five periods from 4
    EXPECT_EQ(codes(f), QStringList({"7203"}));
    EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, 14), 0xFFFFC0u);
    f.patternButton("Command63")->doClick();   // within 3 % over seven periods; ratio9 is not tested
    EXPECT_EQ(f.Data1->RecordSource,
              kAll + " where ([ratio1] between 3 and -3  and [ratio2] between 3 and -3 and [ratio3] between 3 and -3"
                     " and [ratio4] between 3 and -3 and [ratio5] between 3 and -3 and [ratio6] between 3 and -3"
                     " and [ratio7] between 3 and -3 and [ratio7] between 3 and -3)");
    EXPECT_EQ(codes(f), QStringList({"8001"}));
    EXPECT_EQ(f.patternButton("Command42")->BackColor(), trend::PatternMarkColor);
    EXPECT_EQ(f.patternButton("Command47")->BackColor(), f.Command5->BackColor());   // design face: untouched
}

// From the menu's card buttons: the screen opens on their universe and the menu goes; a list
// universe over a one-entry list or over no favourite source still takes its patterns.
TEST_F(Form16Test, OpenedFromTheMenu) {
    Form5& menu = Form5::it();
    menu.Show();
    menu.Command("Command4")->doClick();
    ASSERT_TRUE(Form16::isLoaded());
    EXPECT_TRUE(Form16::it().isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(Form16::it().Caption(), "１部市場銘柄");
    close(Form16::it());

    setList<Form31>("checklist2", {"1332"});
    menu.Command("Command32")->doClick();
    Form16& special = Form16::it();
    EXPECT_EQ(special.Caption(), "特別注目銘柄");
    EXPECT_EQ(ids(special), QStringList({"2"}));
    special.patternButton("Command42")->doClick();
    EXPECT_EQ(special.Data1->RecordSource, Module1::CardTrendBaseSql + " and ([ratio1] between -6 and -500) ");
    EXPECT_EQ(ids(special), QStringList({"2"}));
    close(special);

    setList<Form14>("情報源リスト", {}, "情報源");
    seam->answerMsgBox(ui::vbOK);
    menu.Command("Command47")->doClick();
    Form16& sources = Form16::it();
    EXPECT_EQ(Module1::CardTrendBaseSql, kAll);
    EXPECT_EQ(sources.Caption(), "お気に入り推奨銘柄");
    sources.patternButton("Command42")->doClick();
    EXPECT_EQ(ids(sources), QStringList({"1", "5", "2"}));
    // The menu's value may change while the screen stays loaded; the screen keeps its own base.
    Module1::MenuMode = 12;
    seam->answerInput("1301");
    sources.Command7->doClick();
    EXPECT_EQ(sources.Data1->RecordSource, kAll + " where [コード]=1301");
    EXPECT_EQ(ids(sources), QStringList({"1", "5"}));
}

// The detail boxes, and with them the stock links, follow the current row right after the load and
// after every sort and refresh; with the header row current (a tinted pattern) they are empty.
TEST_F(Form16Test, DetailBoxesAndLinksFollowTheCurrentRowAfterTheLoadSortsAndRefreshes) {
    Form16& f = open(10);
    const auto follows = [&] {
        const int r = f.MSFlexGrid1->Row();
        EXPECT_EQ(f.Text4->Text(), f.MSFlexGrid1->TextMatrix(r, 5));
        EXPECT_EQ(f.Text1->Text(), f.MSFlexGrid1->TextMatrix(r, 8));
        EXPECT_EQ(f.Text6->Text(), f.MSFlexGrid1->TextMatrix(r, 2));
        f.HprLnkEx15->doClick();   // the second chart site: the code ends the address
        ASSERT_FALSE(seam->urls.isEmpty());
        EXPECT_EQ(seam->urls.back().section(QStringLiteral("Scode="), 1), f.MSFlexGrid1->TextMatrix(r, 5));
    };
    EXPECT_EQ(f.Text4->Text(), "1301");
    follows();
    f.MSFlexGrid1->setCol(cardtrend::ratioCol(5));   // ratio5 ascending: 1332 comes first
    f.Command13_Click();
    EXPECT_EQ(f.Text4->Text(), "1332");
    follows();
    f.Command10_Click();   // the restore: a refresh and a sort
    follows();
    f.MSFlexGrid1->setRow(0);
    EXPECT_EQ(f.Text4->Text(), QString());
    EXPECT_EQ(f.Text1->Text(), QString());
}
