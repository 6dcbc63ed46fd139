#include <gtest/gtest.h>
#include "card_fixture.h"

using card_testing::Card;
using trend_testing::Stock;

namespace {

const QString kAll = "select * from [a000-all]";
const QString k1bu = "select * from [a000-1bu]";

class FiltersTest : public card_testing::CardScreenTest {
protected:
    void SetUp() override {
        CardScreenTest::SetUp();
        // Latest prices: 1301 at 500, 1332 at 501, 7203 at 10, 8001 without prices.
        addStocks({{1301, "極洋", "東証１部", "D100", {}}, {1332, "日本水産", "東証１部", "D100", {}},
                   {7203, "トヨタ", "東証１部", "D100", {}}});
        mainDb()->executeRaw("update [list] set kabuka1 = 500 where コード = 1301");
        mainDb()->executeRaw("update [list] set kabuka1 = 501 where コード = 1332");
        mainDb()->executeRaw("update [list] set kabuka1 = 10 where コード = 7203");
        addCards({
            {1301, "日経新聞", 0},            // ID 1
            {1332, "四季報", 1},              // ID 2
            {7203, " 日経新聞", 13},          // ID 3
            {8001, "O'Brien's", 14},          // ID 4
            {1301, "四季報", 150},            // ID 5
            {1332, "日経平均", 151},          // ID 6
            {7203, "四季報", 200, "マザーズ", "?"},   // ID 7
        });
    }
};

}  // namespace

// "X日": the day answer, then the price level; each answer converted, never put into SQL.
TEST_F(FiltersTest, PeriodAndPriceLevel) {
    struct Case {
        int menuMode;
        std::optional<QString> days;
        std::vector<std::optional<QString>> levels;   // answers to the level question, in order
        QString appended;                              // after the base; empty: no query sent
        QStringList ids;
        int level;
    } cases[] = {
        {1, "14", {"0"}, "where [日付] between #" + today() + "#  And #" + today(13) + "#", {"1", "2", "3"}, 0},
        {1, "14", {"1"}, "where [kabuka1] between 10 And 500 and  [日付] between #" + today() + "#  And #" + today(13) + "#",
         {"1", "3"}, 1},
        {1, std::nullopt, {std::nullopt}, "where [日付] between #" + today() + "#  And #" + today() + "#", {"1"}, 0},
        {1, "abc", {"x"}, "where [日付] between #" + today() + "#  And #" + today() + "#", {"1"}, 0},
        {1, "0", {"0"}, "where [日付] between #" + today() + "#  And #" + today(-1) + "#", {"1"}, 0},
        {1, "1.5", {"0"}, "where [日付] between #" + today() + "#  And #" + today(1) + "#", {"1", "2"}, 0},
        // 7 and 6.6 are asked again; 2.5 rounds to 2.
        {1, "2", {"7", "6.6", "2.5"}, "where [kabuka1] between 500 And 1000 and  [日付] between #" + today() + "#  And #" + today(1) + "#",
         {"1", "2"}, 2},
        // Blanks inside the answer are ignored; 3.5 rounds to 4.
        {1, "2", {" 3 .5円"}, "where [kabuka1] between 5000 And 10000 and  [日付] between #" + today() + "#  And #" + today(1) + "#",
         {}, 4},
        {12, "14", {"0"}, "and [日付] between #" + today() + "#  And #" + today(13) + "#", {"1", "3"}, 0},
        {1, "99999999999", {"0"}, "", {}, 0},   // no such day: nothing is sent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days.value_or("(cancel)").toStdString());
        const QString base = c.menuMode == 12 ? kAll + " where ([コード]=1301 Or  [コード]=7203)" : k1bu;
        Form16& f = open(c.menuMode, base);
        seam->answerInput(c.days);
        for (const auto& l : c.levels) seam->answerInput(l);
        f.Command35->doClick();
        EXPECT_TRUE(seam->allAnswersUsed());
        EXPECT_EQ(f.Data1->RecordSource, base + c.appended);
        EXPECT_EQ(f.PriceLevel, c.level);
        QStringList got = ids(f);
        got.sort();
        if (!c.appended.isEmpty()) EXPECT_EQ(got, c.ids);
        // Ordered by code, highest first.
        QStringList byCode = codes(f);
        QStringList sorted = byCode;
        std::sort(sorted.begin(), sorted.end(), std::greater<QString>());
        EXPECT_EQ(byCode, sorted);
        close(f);
    }
    const auto inputs = seam->events;
    EXPECT_EQ(inputs[0].prompt, "今日から何日前までの日数を入力してください。");
    EXPECT_EQ(inputs[0].title, "何日前の情報を取り出しますか");
    EXPECT_EQ(inputs[0].defaultAnswer, "14");
    EXPECT_EQ(inputs[1].title, "株価レベル");
    EXPECT_EQ(inputs[1].defaultAnswer, "0");
    EXPECT_EQ(inputs[1].prompt, "株価水準を選んでください\r\n\r\n0=（制限なし）\r\n\r\n1=（10-500円）  ；2=（500-1000円）\r\n"
                                "3=（1000-5000円）；4=（5000--10000円）\r\n5=(1万円-10万円)　;6=　(10万円以上) ");
}

// A level that fits no 16-bit number keeps the level in force; a negative one keeps the bounds.
TEST_F(FiltersTest, PriceLevelKeptWhileLoaded) {
    Form16& f = open(1, k1bu);
    for (const char* level : {"1", "99999", "-1"}) {
        SCOPED_TRACE(level);
        seam->answerInput("14");
        seam->answerInput(QString::fromLatin1(level));
        f.Command35->doClick();
        EXPECT_EQ(f.Data1->RecordSource, k1bu + "where [kabuka1] between 10 And 500 and  [日付] between #" + today() +
                                             "#  And #" + today(13) + "#");
    }
    EXPECT_EQ(f.PriceLevel, -1);
}
