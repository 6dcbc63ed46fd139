#include <QApplication>
#include "card_fixture.h"
#include "cards/form1.h"
#include "cards/form11.h"
#include "cards/form2.h"
#include "lists/chart_link.h"
#include "lists/list_forms.h"

using card_testing::Card;
using card_testing::CardTest;

namespace {

// Cards numbered 1 to 15 in this order.
class CardEditorTest : public CardTest {
protected:
    void SetUp() override {
        CardTest::SetUp();
        std::vector<Card> cards = {
            {"日経", "2026-12-01", "トヨタ自動車", 7203, "東証１部", "D100", "増益"},
            {"四季報", "2026-11-20", "日産自動車", 7201, "東証１部", "D100", "減益"},
            {"株式新聞", "2026-10-05", "東邦自動車", 1720, "東証２部", "C50", "受注"},
        };
        for (int i = 4; i <= 15; ++i) cards.push_back({"日経", "2026-09-01", QStringLiteral("銘柄%1").arg(i), 3000 + i, "マザーズ", "A1", ""});
        addCards(cards);
    }
    static Form2& editor() { return Form2::it(); }
    static QString id() { return editor().Text9->Text(); }
};

TEST_F(CardEditorTest, LoadShowsTheFirstCardInBoundBoxes) {
    Form2& f = editor();
    EXPECT_EQ(id(), "1");
    EXPECT_EQ(f.Text1->Text(), "日経");
    EXPECT_EQ(f.Text2->Text(), "2026/12/01");
    EXPECT_EQ(f.Text3->Text(), "トヨタ自動車");
    EXPECT_EQ(f.Text4->Text(), "7203");
    EXPECT_EQ(f.Text5->Text(), "東証１部");
    EXPECT_EQ(f.Text6->Text(), "D100");
    EXPECT_EQ(f.Text8->Text(), "増益");
    f.moveNext();
    EXPECT_EQ(id(), "2");
    f.moveLast();
    f.moveNext();
    EXPECT_EQ(id(), "15");
    f.moveFirst();
    f.movePrevious();
    EXPECT_EQ(id(), "1");
}

TEST_F(CardEditorTest, FindsForwardsAndBackwards) {
    Form2& f = editor();
    struct Step {
        void (Form2::*click)();
        std::optional<QString> answer;   // nullopt: no question is asked
        QString id;                      // the current card afterwards
    };
    const Step steps[] = {
        {&Form2::Command1_Click, "自動車", "1"},          // contains
        {&Form2::Command5_Click, std::nullopt, "2"},     // NEXT
        {&Form2::Command5_Click, std::nullopt, "3"},
        {&Form2::Command5_Click, std::nullopt, "3"},     // no further match: stays
        {&Form2::Command9_Click, std::nullopt, "2"},     // BACK
        {&Form2::mnu銘柄_Click, "日産", "2"},            // begins with
        {&Form2::mnu銘柄_Click, "自動車", "2"},          // no name begins so: stays
        {&Form2::Command3_Click, "７２", "1"},           // code begins with 72 (full-width as typed): not 1720
        {&Form2::Command6_Click, std::nullopt, "2"},
        {&Form2::Command6_Click, std::nullopt, "2"},
        {&Form2::Command10_Click, std::nullopt, "1"},
        {&Form2::Command13_Click, "5", "5"},             // card number contains 5: 5 before 15
        {&Form2::Command13_Click, "", "1"},              // an empty answer: the first card
        {&Form2::Command1_Click, "", "1"},               // an empty answer ends the find
    };
    for (const Step& s : steps) {
        if (s.answer) seam->answerInput(*s.answer);
        (f.*s.click)();
        EXPECT_EQ(id(), s.id) << "after answer " << s.answer.value_or("-").toStdString();
    }
    EXPECT_EQ(f.NameFindCriterion, "銘柄 Like'自動車*'");
    EXPECT_EQ(f.CodeFindCriterion, "コード Like'72*'");
}

TEST_F(CardEditorTest, HostileFindAnswersSearchNothingAndKeepTheCard) {
    Form2& f = editor();
    f.moveNext();
    seam->answerInput(QStringLiteral("O'Neil"));
    f.Command1_Click();
    EXPECT_EQ(id(), "2");
    EXPECT_EQ(f.NameFindCriterion, "銘柄 Like'*O''Neil*'");
    for (void (Form2::*click)() : {&Form2::Command3_Click, &Form2::Command13_Click}) {
        for (const char* answer : {"72' or '1'='1", "abc", "7.5"}) {
            seam->answerInput(QString::fromUtf8(answer));
            (f.*click)();
            EXPECT_EQ(id(), "2") << answer;
        }
    }
    EXPECT_EQ(f.CodeFindCriterion, "コード Like'7.5*'");   // kept, though it met nothing
    f.Command6_Click();
    EXPECT_EQ(id(), "2");
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
}

// A find that meets nothing still replaces the kept criterion: NEXT then finds nothing either.
TEST_F(CardEditorTest, AFailedFindReplacesTheKeptCriterion) {
    Form2& f = editor();
    struct Case {
        void (Form2::*find)();
        void (Form2::*next)();
        const char* first;
        const char* failing;
        QString Form2::*kept;
        const char* criterion;
    };
    const Case cases[] = {
        {&Form2::Command3_Click, &Form2::Command6_Click, "72", "72x", &Form2::CodeFindCriterion, "コード Like'72x*'"},
        {&Form2::Command3_Click, &Form2::Command6_Click, "72", "99", &Form2::CodeFindCriterion, "コード Like'99*'"},
        {&Form2::Command1_Click, &Form2::Command5_Click, "自動車", "無い", &Form2::NameFindCriterion, "銘柄 Like'*無い*'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        f.moveFirst();
        seam->answerInput(QString::fromUtf8(c.first));
        (f.*c.find)();
        EXPECT_EQ(id(), "1");
        seam->answerInput(QString::fromUtf8(c.failing));
        (f.*c.find)();
        EXPECT_EQ(id(), "1");
        EXPECT_EQ(f.*c.kept, QString::fromUtf8(c.criterion));
        (f.*c.next)();
        EXPECT_EQ(id(), "1");   // the old criterion would have gone on to card 2
    }
}

// The code box takes a code as every code answer does: full-width digits and "7203.0" are 7203.
TEST_F(CardEditorTest, TheCodeBoxReadsACodeAsTheFindsDo) {
    Form2& f = editor();
    const std::pair<const char*, const char*> typedCodes[] = {
        {"７２０４", "7204"}, {"7205.0", "7205"}, {" 7206 ", "7206"}, {"７２０７．００", "7207"}};
    for (const auto& [typed, stored] : typedCodes) {
        SCOPED_TRACE(typed);
        f.moveFirst();
        f.Text4->setText(QString::fromUtf8(typed));
        f.moveNext();
        EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
        EXPECT_EQ(id(), "2");
        EXPECT_EQ(cardColumn("コード").first(), QString::fromUtf8(stored));
    }
    f.moveFirst();
    seam->answerInput(QStringLiteral("７２０７．０"));   // the find reads the same answer the same way
    f.moveLast();
    f.Command3_Click();
    EXPECT_EQ(id(), "1");
}

TEST_F(CardEditorTest, AnEditedCardIsStoredWhenTheEditorLeavesIt) {
    Form2& f = editor();
    f.Text3->setText("トヨタ");
    f.Text2->setText("2026/12/3");
    EXPECT_EQ(cardColumn("銘柄").first(), "トヨタ自動車");   // not yet stored
    f.moveNext();
    EXPECT_EQ(cardColumn("銘柄").first(), "トヨタ");
    EXPECT_EQ(cardColumn("日付").first(), "2026/12/03");
    EXPECT_EQ(cardColumn("コード").first(), "7203");
}

TEST_F(CardEditorTest, AValueAFieldCannotTakeIsToldAndNothingIsStored) {
    struct Case {
        ui::TextBox* Form2::*box;
        QString value;
        QString field;
    };
    const Case cases[] = {
        {&Form2::Text2, "来週", "日付"},
        {&Form2::Text2, "2026/13/45", "日付"},
        {&Form2::Text4, "72O3", "コード"},
    };
    for (const Case& c : cases) {
        Form2& f = editor();
        f.moveFirst();
        const QStringList before = cardColumn("銘柄");
        const QString name = "書き換え" + c.value;
        f.Text3->setText(name);
        (f.*c.box)->setText(c.value);
        seam->answerMsgBox(ui::vbOK);
        f.moveNext();
        ASSERT_EQ(seam->msgBoxPrompts().size(), 1);
        EXPECT_TRUE(seam->msgBoxPrompts().first().contains(c.field)) << seam->msgBoxPrompts().first().toStdString();
        seam->events.clear();
        EXPECT_EQ(id(), "1");                                      // the card was not left
        EXPECT_EQ(cardColumn("銘柄"), before);                     // nothing of it was written
        // Corrected, the card is stored with the next move.
        (f.*c.box)->setText(c.field == "日付" ? "2026/12/1" : "7203");
        f.moveNext();
        EXPECT_EQ(id(), "2");
        EXPECT_EQ(cardColumn("銘柄").first(), name);
    }
}

TEST_F(CardEditorTest, DeleteAsksAndMovesToTheNextCard) {
    Form2& f = editor();
    seam->answerMsgBox(ui::vbNo);
    f.mnuレコード削除_Click();
    EXPECT_EQ(cardColumn("ID").size(), 15);
    seam->answerMsgBox(ui::vbYes);
    f.mnuレコード削除_Click();
    EXPECT_EQ(cardColumn("ID").first(), "2");
    EXPECT_EQ(id(), "2");
    f.moveLast();
    seam->answerMsgBox(ui::vbYes);
    f.mnuレコード削除_Click();
    EXPECT_EQ(cardColumn("ID").size(), 13);
    EXPECT_EQ(id(), "");   // no card current
    seam->answerMsgBox(ui::vbYes);
    f.mnuレコード削除_Click();   // nothing to delete
    EXPECT_EQ(cardColumn("ID").size(), 13);
}

TEST_F(CardEditorTest, RegistersTheShownStockIntoTheWatchList) {
    Form2& f = editor();
    f.Text6->setText("E500");   // an unsaved edit counts
    f.Command7_Click();
    f.Command7_Click();
    EXPECT_EQ(listColumn("checklist", "コード"), (QStringList{"7203", "7203"}));
    EXPECT_EQ(listColumn("checklist", "単位"), (QStringList{"E500", "E500"}));
    EXPECT_TRUE(Form13::it().isVisible());
}

TEST_F(CardEditorTest, ShowCardByNumberForOtherScreens) {
    Form2& f = editor();
    EXPECT_TRUE(f.showCard(12));
    EXPECT_EQ(id(), "12");
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.showCard(99));
    EXPECT_EQ(id(), "12");
}

TEST_F(CardEditorTest, OkClosesTheCardWindowsUnlessTheCardCannotBeStored) {
    Form1::it();
    Form11::it();
    Form2& f = editor();
    f.Text4->setText("abc");
    seam->answerMsgBox(ui::vbOK);
    f.Command2_Click();
    EXPECT_TRUE(Form2::isLoaded());
    EXPECT_TRUE(Form1::isLoaded());
    f.Text4->setText("7204");
    f.Command2_Click();
    EXPECT_FALSE(Form2::isLoaded());
    EXPECT_FALSE(Form1::isLoaded());
    EXPECT_FALSE(Form11::isLoaded());
    EXPECT_EQ(cardColumn("コード").first(), "7204");
}

TEST_F(CardEditorTest, UnitHelpText) {
    seam->answerMsgBox(ui::vbOK);
    editor().Command15_Click();
    EXPECT_EQ(seam->msgBoxPrompts().first(),
              "売買単位の説明\r\n\r\nF1000　：1000株単位\r\nE500　 ： 500株単位\r\nD100 　： 100株単位\r\n"
              "C50  　：  50株単位\r\nB10    ：   10株単位\r\nA1   　：   1株単位\r\n");
}

}  // namespace

namespace {

TEST_F(CardEditorTest, LinksBuildTheirAddressesFromTheCodeAndMarketBoxes) {
    Form2& f = editor();
    struct Case {
        int link;
        QString market, tail;
    };
    const Case cases[] = {
        {1, "名証１部", "/q?s=7203.n" + chart::QuoteParams3M()},
        {1, "名古１部", "/q?s=7203" + chart::QuoteParams3M()},
        {2, "名古２部", "/MnStock?sv=MN&pg=mn_schart.html&qt=7203.n" + chart::ChartParams120B3()},
        {2, "?", "/MnStock?sv=MN&pg=mn_schart.html&qt=7203"},
        {4, "東証１部", "/j/asa/Nikkei.htm"},
        {7, "?", "/j/asa/Jasdaq.htm"},
    };
    f.Text4->setText("7203");
    for (const Case& c : cases) {
        f.Text5->setText(c.market);
        f.HprLnkEx(c.link)->doClick();
        EXPECT_TRUE(f.HprLnkEx(c.link)->Address.endsWith(c.tail)) << f.HprLnkEx(c.link)->Address.toStdString();
    }
    f.HprLnkEx(3)->doClick();
    EXPECT_TRUE(f.HprLnkEx(3)->Address.contains("qt=KSISU1000.i&u=1&tm=0120") &&
                f.HprLnkEx(3)->Address.contains("mc=1&pr=000&bb=2"));
    EXPECT_EQ(seam->urls.size(), 7);
}

}  // namespace
