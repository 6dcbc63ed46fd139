#include <QApplication>
#include "card_fixture.h"
#include "cards/form28.h"
#include "lists/list_forms.h"
#include "platform/ui/flexgrid.h"

using card_testing::CardTest;

namespace {

class CardListTest : public CardTest {
protected:
    void SetUp() override {
        CardTest::SetUp();
        addCards({{"日経新聞", "2026-12-01", "トヨタ自動車", 7203, "東証１部", "D100", "増益"},
                  {"四季報", "2026-11-20", "ソニーグループ", 6758, "", "", "新製品"},
                  {"株式新聞", "2026-10-05", "ジーエヌアイ", 2160, "マザーズ", "E500", "提携"}});
    }

    static Form28& open(int menuMode) {
        Module1::MenuMode = menuMode;
        return Form28::it();
    }
    static QStringList gridColumn(int c) {
        QStringList out;
        const ui::FlexGrid* g = Form28::it().MSFlexGrid1;
        for (int r = 1; r < g->Rows(); ++r) out << g->TextMatrix(r, c);
        return out;
    }
    static void select(int r, int c) {
        Form28::it().MSFlexGrid1->setRow(r);
        Form28::it().MSFlexGrid1->setCol(c);
    }
};

TEST_F(CardListTest, MenuModeChoosesTheRowSourceAtLoad) {
    struct Case {
        int mode;
        QStringList column5;   // コード (cards) or 単位 (prices)
        bool cards;
    };
    const Case cases[] = {
        {100, {"", "D100", "D100", "C50", "E500"}, false},
        {550, {"6758"}, true},
        {250, {"7203", "6758", "2160"}, true},
        {500, {"7203", "6758", "2160"}, true},
        {101, {}, false},
        {0, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Form28& f = open(c.mode);
        EXPECT_EQ(gridColumn(5), c.column5);
        EXPECT_EQ(f.Text7->Text(), QString::number(c.column5.size()));
        EXPECT_EQ(f.showsCards(), c.cards);
        if (c.mode == 100) EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 3), "1001");
        f.Unload();
    }
}

TEST_F(CardListTest, SearchesListThePriceTableAndRestoreListsCardsByCode) {
    Form28& f = open(250);
    seam->answerInput(QStringLiteral("自動車"));
    f.Command3_Click();
    EXPECT_EQ(gridColumn(3), (QStringList{"7203", "7201"}));
    EXPECT_FALSE(f.showsCards());
    EXPECT_EQ(f.Text7->Text(), "2");

    seam->answerInput(QStringLiteral("６７５８"));   // as a Japanese input method types it
    f.Command4_Click();
    EXPECT_EQ(gridColumn(2), QStringList{"ソニーグループ"});

    f.Command10_Click();
    EXPECT_TRUE(f.showsCards());
    EXPECT_EQ(gridColumn(5), (QStringList{"2160", "6758", "7203"}));
    EXPECT_EQ(f.Text7->Text(), "3");

    // Cancel of the name search lists every named row of the price table.
    seam->answerInput(std::nullopt);
    f.Command3_Click();
    EXPECT_EQ(f.Text7->Text(), "5");
}

TEST_F(CardListTest, HostileAnswersSendNothingAndLaterRefreshesStillWork) {
    Form28& f = open(100);
    seam->answerInput(QStringLiteral("トヨタ"));
    f.Command3_Click();
    ASSERT_EQ(gridColumn(3), QStringList{"7203"});
    for (const char* answer : {"", "72 03", "7203 or 1=1", "abc"}) {
        SCOPED_TRACE(answer);
        seam->answerInput(QString::fromUtf8(answer));
        f.Command4_Click();
        EXPECT_EQ(gridColumn(3), QStringList{"7203"});
        EXPECT_EQ(f.Text7->Text(), "1");
    }
    seam->answerInput(QStringLiteral("O'Neil\"s"));
    f.Command3_Click();
    EXPECT_EQ(f.Text7->Text(), "0");
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
    // The price import refreshes this window's data control: it still runs the last search.
    EXPECT_NO_THROW(f.Data1->Refresh());
}

TEST_F(CardListTest, ARejectedRowSourceIsToldAndThePreviousOneStays) {
    Form28& f = open(250);
    seam->answerMsgBox(ui::vbOK);
    EXPECT_FALSE(f.setRowSource("select * from [no such table]"));
    ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_EQ(f.Data1->RecordSource, "select * from [mydata]");
    EXPECT_EQ(gridColumn(5), (QStringList{"7203", "6758", "2160"}));
    EXPECT_NO_THROW(f.Data1->Refresh());
}

// The detail boxes show the current row's fields by name in both views, so that in the price view
// the links open the row's stock, not its trading unit.
TEST_F(CardListTest, DetailBoxesShowTheRowsFieldsInBothViewsAndTheLinksItsStock) {
    struct Case {
        int mode;
        int row;
        QStringList boxes;   // Text1 to Text6
    };
    const Case cases[] = {
        {250, 1, {"増益", "トヨタ自動車", "2026/12/01", "7203", "東証１部", "日経新聞"}},
        {100, 2, {"", "トヨタ自動車", "", "7203", "東証１部", ""}},
        {100, 5, {"", "ジーエヌアイ", "", "2160", "マザーズ", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " row " << c.row);
        Form28& f = open(c.mode);
        select(c.row, 1);
        const QStringList boxes{f.Text1->Text(), f.Text2->Text(), f.Text3->Text(),
                                f.Text4->Text(), f.Text5->Text(), f.Text6->Text()};
        EXPECT_EQ(boxes, c.boxes);
        f.HprLnkEx1->doClick();
        f.HprLnkEx2->doClick();
        const QString code = c.boxes[3];
        EXPECT_TRUE(f.HprLnkEx1->Address.contains("/q?s=" + code)) << f.HprLnkEx1->Address.toStdString();
        EXPECT_TRUE(f.HprLnkEx2->Address.contains("u0=" + code + "&")) << f.HprLnkEx2->Address.toStdString();
        f.Unload();
    }
}

TEST_F(CardListTest, DoubleClickRegistersOnlyACardsNameOrSource) {
    struct Case {
        int mode;
        int row, col;
        QStringList watch;     // codes added to checklist
        QStringList sources;   // sources added to 情報源リスト
        const char* toyotaCode = nullptr;   // SQL value put into the first card's code first
        bool searched = false;              // a name search switched the list to the price table
    };
    const Case cases[] = {
        {250, 1, 4, {"7203"}, {}},
        {250, 3, 2, {}, {"株式新聞"}},
        {250, 1, 5, {}, {}},
        {250, 1, 8, {}, {}},
        {250, 0, 4, {}, {}},   // the header row
        {100, 2, 4, {}, {}},   // the price table: column 4 is the market
        {100, 2, 2, {}, {}},
        {250, 1, 4, {}, {}, "NULL"},
        {250, 1, 4, {}, {}, "'72O3'"},
        {250, 1, 2, {}, {"日経新聞"}, "NULL"},      // a source registers whatever the card's code
        {250, 1, 2, {}, {"日経新聞"}, "'72O3'"},
        {250, 1, 2, {}, {}, nullptr, true},
        {250, 1, 4, {}, {}, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("mode %1 cell (%2, %3) code %4 searched %5")
                         .arg(c.mode).arg(c.row).arg(c.col).arg(QString::fromUtf8(c.toyotaCode ? c.toyotaCode : "-"))
                         .arg(c.searched).toStdString());
        if (c.toyotaCode)
            mainDb()->executeRaw(QStringLiteral("update mydata set コード = %1 where 銘柄 = 'トヨタ自動車'")
                                     .arg(QString::fromUtf8(c.toyotaCode)));
        Form28& f = open(c.mode);
        if (c.searched) {
            seam->answerInput(QStringLiteral("自動車"));
            f.Command3_Click();
            ASSERT_FALSE(f.showsCards());
        }
        select(c.row, c.col);
        f.MSFlexGrid1_DblClick();
        EXPECT_EQ(listColumn("checklist", "コード"), c.watch);
        EXPECT_EQ(listColumn("情報源リスト", "情報源"), c.sources);
        if (!c.watch.isEmpty()) {
            EXPECT_EQ(listColumn("checklist", "銘柄"), QStringList{"トヨタ自動車"});
            EXPECT_EQ(listColumn("checklist", "市場"), QStringList{"東証１部"});
            EXPECT_EQ(listColumn("checklist", "単位"), QStringList{""});
            EXPECT_TRUE(Form13::it().isVisible());
        }
        unloadAll();
        listDb()->executeRaw("delete from checklist");
        listDb()->executeRaw("delete from [情報源リスト]");
        mainDb()->executeRaw("update mydata set コード = 7203 where 銘柄 = 'トヨタ自動車'");
    }
}

TEST_F(CardListTest, SortByTheCurrentColumn) {
    Form28& f = open(250);
    f.MSFlexGrid1->setCol(3);
    f.Command13_Click();
    EXPECT_EQ(gridColumn(5), (QStringList{"7203", "6758", "2160"}));   // dates descending
    f.MSFlexGrid1->setCol(4);
    f.Command13_Click();
    EXPECT_EQ(gridColumn(4), (QStringList{"ジーエヌアイ", "ソニーグループ", "トヨタ自動車"}));
    f.Unload();
    Form28& prices = open(100);
    prices.MSFlexGrid1->setCol(15);
    prices.Command13_Click();
    EXPECT_EQ(gridColumn(3), (QStringList{"1001", "7203", "7201", "6758", "2160"}));
    EXPECT_EQ(prices.Text7->Text(), "5");
}

TEST_F(CardListTest, LinksReadTheCodeAndMarketBoxes) {
    Form28& f = open(250);
    struct Case {
        QString market, code, quote;
    };
    const Case cases[] = {
        {"名古１部", "7203", "/q?s=7203"},
        {"ジャスダック", "2160", "/q?s=2160.q&d=6m"},
        {"?", "7203", "/q?s=7203"},
    };
    for (const Case& c : cases) {
        f.Text4->setText(c.code);
        f.Text5->setText(c.market);
        f.HprLnkEx1->doClick();
        EXPECT_TRUE(f.HprLnkEx1->Address.endsWith(c.quote)) << f.HprLnkEx1->Address.toStdString();
    }
    f.Text4->setText("");
    f.HprLnkEx2->doClick();
    EXPECT_TRUE(f.HprLnkEx2->Address.endsWith("/stocks/results2.html?u0=&u1=&u2=1&u3=0&p=12221223155"));
    f.Text4->setText("7203");
    f.HprLnkEx2->doClick();
    EXPECT_TRUE(f.HprLnkEx2->Address.endsWith("u0=7203&u1=&u2=1&u3=0&p=720312221223155"));
}

TEST_F(CardListTest, OkUnloadsAndShowsTheMenuTheCloseBoxDoesNot) {
    Form28& f = open(250);
    f.Show();
    f.close();
    QApplication::processEvents();
    EXPECT_TRUE(Form28::isLoaded());
    f.Command5_Click();
    EXPECT_FALSE(Form28::isLoaded());
}

}  // namespace
