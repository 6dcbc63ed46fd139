#include <QApplication>
#include "card_fixture.h"
#include "cards/form1.h"
#include "cards/form11.h"
#include "cards/form2.h"
#include "cards/form28.h"
#include "shell/form5.h"

using card_testing::CardTest;

namespace {

class MenuLaunchTest : public CardTest {
protected:
    static void click(const char* button) {
        Form5::it().Show();
        Form5::it().Command(QString::fromLatin1(button))->doClick();
        QApplication::processEvents();
    }
};

TEST_F(MenuLaunchTest, CollectOpensTheThreeCardWindowsOnlyForDailyPrices) {
    for (const char* unit : {"week", "month", "Day"}) {
        mainDb()->executeRaw(QStringLiteral("update [日付] set kabuka11 = '%1'").arg(QString::fromLatin1(unit)));
        click("Command1");
        EXPECT_FALSE(Form2::isLoaded() || Form1::isLoaded() || Form11::isLoaded()) << unit;
        unloadAll();
    }
    mainDb()->executeRaw("update [日付] set kabuka11 = 'day'");
    click("Command1");
    ASSERT_TRUE(Form2::isLoaded() && Form1::isLoaded() && Form11::isLoaded());
    EXPECT_TRUE(Form2::it().isVisible() && Form1::it().isVisible() && Form11::it().isVisible());
    EXPECT_FALSE(Form5::it().isVisible());
    // The editor's OK brings the menu back and closes all three.
    Form2::it().Command2_Click();
    QApplication::processEvents();
    EXPECT_FALSE(Form2::isLoaded() || Form1::isLoaded() || Form11::isLoaded());
    EXPECT_TRUE(Form5::it().isVisible());
}

TEST_F(MenuLaunchTest, PriceDataShowsTheCardListOverThePriceTable) {
    addCards({{"日経", "2026-12-01", "トヨタ自動車", 7203, "", "", "x"}});
    click("Command12");
    ASSERT_TRUE(Form28::isLoaded());
    EXPECT_TRUE(Form28::it().isVisible());
    EXPECT_EQ(Form28::it().MSFlexGrid1->TextMatrix(1, 3), "1001");
    Form28::it().Command5_Click();
    QApplication::processEvents();
    EXPECT_TRUE(Form5::it().isVisible());
    click("Command62");
    ASSERT_TRUE(Form28::isLoaded());
    EXPECT_TRUE(Form28::it().showsCards());
    EXPECT_EQ(Form28::it().Text7->Text(), "1");
}

}  // namespace
