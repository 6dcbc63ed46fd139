// A click on a catalogue button of the card screen lists exactly the cards its record selects, in
// the universe on show: in a list universe only the list's cards.
#include <gtest/gtest.h>
#include "card_fixture.h"
#include "trend_stocks/trend_pattern.h"

namespace {

class CardCatalogueScreenTest : public card_testing::CardScreenTest {
protected:
    void SetUp() override {
        CardScreenTest::SetUp();
        addStocks({
            {3001, "三段下げ", "東証１部", "D100", {5, 6, 7, 7, 7.5, 0, 0, 0, 0}},          // ｂ3
            {3002, "平均越え", "東証１部", "D100", {1, 2, 2, -5, -10, -10, -10, -10, -10}},  // 52
            {3003, "リスト外", "東証１部", "D100", {5, 6, 7, 7, 7.5, 0, 0, 0, 0}},          // ｂ3, not listed
            {3004, "横這い", "東証１部", "D100", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        });
        addCards({{3001, "推奨"}, {3002, "推奨"}, {3003, "推奨"}, {3004, "推奨"}});
    }
};

}  // namespace

TEST_F(CardCatalogueScreenTest, AButtonListsItsCardsOfTheUniverseOnShow) {
    const QString watchList = "select * from [a000-all] where ([コード]=3001 Or  [コード]=3002 Or  [コード]=3004)";
    struct Case {
        int menuMode;
        QString menuSql;
        const char* control;
        QStringList codes;
    };
    const Case cases[] = {
        {10, {}, "Command18", {"3001", "3003"}},        // ｂ3 over all cards
        {12, watchList, "Command18", {"3001"}},         // ｂ3 over the watch list
        {12, watchList, "Command108", {"3002"}},        // 52 over the watch list
        {1, {}, "Command108", {"3002"}},                // 52 over the first section
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " in universe " + std::to_string(c.menuMode));
        Form16& f = open(c.menuMode, c.menuSql);
        ASSERT_NE(f.patternButton(c.control), nullptr);
        f.patternButton(c.control)->doClick();
        EXPECT_EQ(codes(f), c.codes);
        EXPECT_EQ(f.patternButton(c.control)->BackColor(), trend::PatternMarkColor);
        close(f);
    }
}

TEST_F(CardCatalogueScreenTest, AButtonTintsTheColumnsOfItsShape) {
    Form16& f = open(10);
    f.patternButton("Command18")->doClick();   // ｂ3: three periods down from a level run
    for (int col = 10; col <= 12; ++col) EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, col), 0xFFFFC0u) << col;
    for (int col = 13; col <= 15; ++col) EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, col), 0xECB3E9u) << col;
    f.patternButton("Command103")->doClick();   // 反転から上昇 "5": rise, flat stretch, earlier fall
    for (int col = 10; col <= 14; ++col) EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, col), 0x8080FFu) << col;
    for (int col = 15; col <= 17; ++col) EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, col), 0xECB3E9u) << col;
    EXPECT_EQ(f.MSFlexGrid1->cellBackColorAt(0, 18), 0xFFFFC0u);
    close(f);
}
