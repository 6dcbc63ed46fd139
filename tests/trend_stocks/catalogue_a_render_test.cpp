// The condition notation, its SQL text and the shared building blocks.
#include "trend_stocks/trend_pattern.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

using namespace trend;

namespace {

const TrendPattern& record(const QString& group, const QString& caption) {
    for (const TrendPattern& p : listedStockCatalogue())
        if (p.group == group && p.caption == caption) return p;
    throw std::logic_error("no such pattern");
}

}  // namespace

TEST(ConditionText, RendersTheNotation) {
    const struct { const char* notation; const char* sql; } cases[] = {
        {"r1 - r2 in [-1, 1]", "[ratio1] - [ratio2] between -1 and 1"},
        {"r9 in [-150, -9]", "[ratio9] between -150 and -9"},
        {"r1 in [8, 500]", "[ratio1] between 8 and 500"},
        {"r2/2 + r3/2 >= r4", "[ratio2] / 2 + [ratio3] / 2 >= [ratio4]"},
        {"r1 + r2 + r2 < 0", "[ratio1] + [ratio2] + [ratio2] < 0"},
        {"r1 - r5 >= 1", "[ratio1] - [ratio5] >= 1"},
        {"r2 < r1 + 4", "[ratio2] < [ratio1] + 4"},
        {"r1 >= r2 - 2", "[ratio1] >= [ratio2] - 2"},
        {"r3 in [-8.5, -0.25]", "[ratio3] between -8.5 and -0.25"},
        {"((r1 < 0) or (r9 <= -3 and r8 = 0))", "( ( [ratio1] < 0 ) or ( [ratio9] <= -3 and [ratio8] = 0 ) )"},
    };
    for (const auto& c : cases) EXPECT_EQ(renderCondition(c.notation).toStdString(), c.sql) << c.notation;
}

TEST(ConditionText, RefusesWhatIsNotNotation) {
    for (const char* bad : {"r10 > 0", "r0 > 0", "ratio1 > 0", "r1 in [1 2]", "r1 in [-1, r2]", "(r1 > 0",
                            "r1 > 0)", "r1 > 0 ; drop table x", "r1 > 'a'", "r1 * 2 > 0"})
        EXPECT_THROW(renderCondition(bad), std::invalid_argument) << bad;
}

TEST(BuildingBlocks, PairChainsAsWrittenOut) {
    const struct { int n; const char* pair; const char* shifted; } cases[] = {
        {3, "r1/2 + r2/2 OP r3", "r1 OP r2/2 + r3/2"},
        {4, "r1/2 + r2/2 OP r3/2 + r4/2", "r1 OP r2/2 + r3/2 and r2/2 + r3/2 >= r4"},
        {5, "r1/2 + r2/2 OP r3/2 + r4/2 and r3/2 + r4/2 >= r5",
         "r1 OP r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2"},
        {9, "r1/2 + r2/2 OP r3/2 + r4/2 and r3/2 + r4/2 >= r5/2 + r6/2 and r5/2 + r6/2 >= r7/2 + r8/2 and "
            "r7/2 + r8/2 >= r9",
         "r1 OP r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2 and r4/2 + r5/2 >= r6/2 + r7/2 and "
         "r6/2 + r7/2 >= r8/2 + r9/2"},
    };
    for (const auto& c : cases)
        for (const char* op : {">", ">="}) {
            EXPECT_EQ(PairRise(c.n, op), QString(c.pair).replace("OP", op)) << c.n << op;
            EXPECT_EQ(ShiftedPairRise(c.n, op), QString(c.shifted).replace("OP", op)) << c.n << op;
        }
}

TEST(BuildingBlocks, LaddersAndSmallBlocks) {
    EXPECT_EQ(PairLadder(1, 9, true),
              "r1/2 + r2/2 <= r3/2 + r4/2 and r3/2 + r4/2 <= r5/2 + r6/2 and r5/2 + r6/2 <= r7/2 + r8/2 and "
              "r7/2 + r8/2 <= r9");
    EXPECT_EQ(OffsetLadder(2, 9, true),
              "r2 <= r3/2 + r4/2 and r3/2 + r4/2 <= r5/2 + r6/2 and r5/2 + r6/2 <= r7/2 + r8/2 and r7/2 + r8/2 <= r9");
    EXPECT_EQ(PairLadder(1, 6, false), PairRise(6, ">="));
    EXPECT_EQ(OffsetLadder(1, 7, false), ShiftedPairRise(7, ">="));
    EXPECT_EQ(StepRise(3), "r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0");
    EXPECT_EQ(FlatRun(2, 3, 5, 1), "r2 - r3 in [-1, 1] and r2 - r4 in [-1, 1] and r2 - r5 in [-1, 1]");
    EXPECT_EQ(StepsWithin2(3), "r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2");
    EXPECT_EQ(TwoPeriodRises(3), "r1 > r3 and r2 > r4 and r3 > r5");
    EXPECT_EQ(RecentRise(), "r1 <= 0 and r1/2 + r2/2 < 0");
    EXPECT_EQ(Midpoint(), "r3 <= r2/2 + r1/2");
    // No turn conjunct past the ninth change.
    EXPECT_EQ(StepClimb(9, -8, -5, 3),
              "r9 in [-8, -5] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 <= 0 and "
              "r6 - r5 <= 0 and r7 - r6 <= 0 and r8 - r7 <= 0 and r9 - r8 <= 0 and r1 + r2 + r2 < 0 and r1 - r9 >= 3");
}

// The conditions that are written out in full, character for character.
TEST(BuildingBlocks, WrittenOutConditions) {
    const struct { const char* group; const char* caption; const char* condition; } cases[] = {
        {"上昇中", "T5",
         "((r5 in [-100, -9] and ((r1 > r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2) and (r1/2 + r2/2 > r3/2 + r4/2 "
         "and r3/2 + r4/2 >= r5)) and r3 <= r2/2 + r1/2 and r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2 and "
         "r1 > r3 and r2 >= r4 and r1 <= 0 and r1/2 + r2/2 < 0 and r4 >= r5 and r5 < r6) or (r5 in [-8, -5] and "
         "r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 <= 0 and r6 - r5 > 0 and "
         "r1 + r2 + r2 < 0 and r1 - r5 >= 1))"},
        {"連騰", "E3",
         "((r3 in [-150, -4] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 > 0 and r1 + r2 + r2 < 0 "
         "and r1 - r3 >= 1))"},
        {"連騰", "E9",
         "((r9 in [-150, -5] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 <= 0 and "
         "r6 - r5 <= 0 and r7 - r6 <= 0 and r8 - r7 <= 0 and r9 - r8 <= 0 and r1 + r2 + r2 < 0 and r1 - r9 >= 5))"},
        {"横這から上昇", "B6",
         "((r6 in [-9, -5] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 <= 0 and "
         "r6 - r5 <= 0 and r7 - r6 > 0 and r1 + r2 + r2 < 0 and r1 - r6 >= 3 and r6 - r7 in [-1, 1] and "
         "r6 - r8 in [-1, 1] and r6 - r9 in [-1, 1]) or (r6 in [-100, -10] and ((r1 >= r2/2 + r3/2 and "
         "r2/2 + r3/2 >= r4/2 + r5/2 and r4/2 + r5/2 >= r6) and (r1/2 + r2/2 >= r3/2 + r4/2 and "
         "r3/2 + r4/2 >= r5/2 + r6/2)) and r3 <= r2/2 + r1/2 and r1 >= r2 - 2 and r2 >= r3 - 2 and "
         "r3 >= r4 - 2 and r4 >= r5 - 2 and r1 > r3 and r2 > r4 and r3 > r5 and r1 <= 0 and r1/2 + r2/2 < 0 and "
         "r5 >= r6 and r6 < r7) and r6 - r7 in [-2, 2] and r6 - r8 in [-2, 2] and r6 - r9 in [-2, 2])"},
        {"横這から上昇", "4",
         "((r4 in [-8, -5] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 > 0 and "
         "r1 + r2 + r2 < 0 and r1 - r4 >= 1 and r4 - r5 in [-1, 1] and r4 - r6 in [-1, 1] and r4 - r7 in [-1, 1]) "
         "or (r4 in [-150, -9] and ((r1 >= r2/2 + r3/2 and r2/2 + r3/2 >= r4) and (r1/2 + r2/2 >= r3/2 + r4/2)) "
         "and r3 <= r2/2 + r1/2 and r1/2 + r2/2 < 0 and r3 >= r4 and r1 <= 0 and r4 < r5) and "
         "r4 - r5 in [-2, 2] and r4 - r6 in [-2, 2] and r4 - r7 in [-2, 2])"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(record(c.group, c.caption).condition.toStdString(), c.condition) << c.caption;
}

// Sort column and header tints of the rows tinted from the anchor: the anchor's column sorted,
// ratio1 to the anchor light red, then the second colour up to the last tinted change, which may
// stop short of the changes that the condition tests ("D1" tests ratio4, the upper row ratio9).
TEST(BuildingBlocks, AnchorColumnsSortedAndTinted) {
    const struct { const char* group; const char* captions; const char* anchors; const char* lastTinted; unsigned second; } rows[] = {
        {"上昇中", "T5 T6 T7 T8 T9", "5 6 7 8 9", "6 7 8 9 9", 0xFFFFC0},
        {"連騰", "E3 E4 E5 E6 E7 E8 E9", "3 4 5 6 7 8 9", "4 5 6 7 8 9 9", 0xFFFFC0},
        {"\u3000保合から上昇", "D1 D2 D3 D4", "1 2 3 4", "3 4 4 5", 0xC0C0FF},
        {"横這から上昇", "0 1 2 3 4 5", "1 1 2 3 4 5", "9 4 5 6 7 8", 0xECB3E9},
        {"横這から上昇", "B1 B2 B3 B4 B5 B6 B7", "1 2 3 4 5 6 7", "9 9 9 9 9 9 9", 0xECB3E9},
    };
    for (const auto& row : rows) {
        const QStringList captions = QString(row.captions).split(u' ');
        const QStringList anchors = QString(row.anchors).split(u' ');
        const QStringList last = QString(row.lastTinted).split(u' ');
        for (int i = 0; i < captions.size(); ++i) {
            const TrendPattern& p = record(QString::fromUtf8(row.group), captions[i]);
            const int n = anchors[i].toInt();
            std::vector<std::pair<int, unsigned>> want, got;
            for (int k = 1; k <= last[i].toInt(); ++k) want.push_back({k + 7, k <= n ? 0x8080FFu : row.second});
            for (const HeaderTint& t : p.tints) got.push_back({t.col, t.color});
            EXPECT_EQ(p.sortCol, n + 7) << captions[i].toStdString();
            EXPECT_EQ(got, want) << captions[i].toStdString();
        }
    }
    // Ranking bands: their one column, light red for the risers, light cyan for the fallers.
    for (const TrendPattern& p : rankingPatterns()) {
        if (p.group != u"ランキング" || p.caption == u"保合") continue;
        const int col = p.caption.toInt() + 7;
        const unsigned color = p.left == 10080 ? 0x8080FFu : 0xFFFFC0u;
        EXPECT_EQ(p.sortCol, col) << p.control.toStdString();
        ASSERT_EQ(p.tints.size(), 1u) << p.control.toStdString();
        EXPECT_EQ(std::make_pair(p.tints[0].col, p.tints[0].color), std::make_pair(col, color)) << p.control.toStdString();
    }
}
