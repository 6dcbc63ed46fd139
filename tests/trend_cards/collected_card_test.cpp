#include <gtest/gtest.h>
#include "card_fixture.h"
#include "cards/form1.h"
#include "cards/form2.h"

using trend_testing::Stock;

// A card collected from an article reaches the card trend screen: the collection editor's transfer
// appends it in the card editor, the editor stores it when it leaves it, and the screen lists it
// with its stock's latest price.
using CollectedCardTest = card_testing::CardScreenTest;

TEST_F(CollectedCardTest, ACollectedCardShowsOnTheCardScreen) {
    addStocks({{7203, "トヨタ自動車", "東証１部", "D100", {-5, 0, 0, 0, 0, 0, 0, 0, 0}}});
    const QString article = QStringLiteral("株式新聞 ２０２６年１２月３日 トヨタ自動車（７２０３）は増額修正");
    Form1& pad = Form1::it();
    const auto take = [&](const char* part, void (Form1::*menu)()) {
        pad.RichTextBox1->setText(article);
        pad.RichTextBox1->setSelStart(int(article.indexOf(QString::fromUtf8(part))));
        pad.RichTextBox1->setSelLength(int(QString::fromUtf8(part).size()));
        (pad.*menu)();
    };
    take("株式新聞", &Form1::mnu情報源_Click);
    take("２０２６年１２月３日", &Form1::mnu日付_Click);
    take("（７２０３）", &Form1::mnuコード_Click);
    take("増額修正", &Form1::mnu情報_Click);
    pad.mnu書込_Click();
    ASSERT_TRUE(Form2::it().leaveCard());

    Form16& f = open(10);
    ASSERT_EQ(f.MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 2), "株式新聞");
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 4), "トヨタ自動車");
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 5), "7203");
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 6), "東証１部");
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 8), "増額修正");
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 9), "100");
    close(f);
}
