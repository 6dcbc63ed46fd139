#include <gtest/gtest.h>
#include "trend_stocks/trend_pattern.h"

using namespace trend;

// The renderer writes every token apart, rN as the bracketed field and a range as between.
TEST(RenderCondition, Tokens) {
    struct Case {
        const char* notation;
        const char* sql;
    } cases[] = {
        {"r2 - r1 in [-1, 1]", "[ratio2] - [ratio1] between -1 and 1"},
        {"(r1 in [-500, -8])", "( [ratio1] between -500 and -8 )"},
        {"r1/2 + r2/2 > r3", "[ratio1] / 2 + [ratio2] / 2 > [ratio3]"},
        {"r1 + r2 + r2 < 0 or r9 >= -2.5", "[ratio1] + [ratio2] + [ratio2] < 0 or [ratio9] >= -2.5"},
    };
    for (const Case& c : cases) EXPECT_EQ(renderCondition(QString::fromUtf8(c.notation)), QString::fromUtf8(c.sql));
}

// The building blocks against the conditions written out for them, compared as rendered SQL.
TEST(BuildingBlocks, AsWrittenOut) {
    struct Case {
        QString block;
        const char* notation;
    } cases[] = {
        {PairRise(3, ">"), "r1/2 + r2/2 > r3"},
        {PairRise(4, ">="), "r1/2 + r2/2 >= r3/2 + r4/2"},
        {PairRise(5, ">"), "r1/2 + r2/2 > r3/2 + r4/2 and r3/2 + r4/2 >= r5"},
        {PairRise(9, ">"), "r1/2 + r2/2 > r3/2 + r4/2 and r3/2 + r4/2 >= r5/2 + r6/2 and r5/2 + r6/2 >= r7/2 + r8/2 and r7/2 + r8/2 >= r9"},
        {ShiftedPairRise(3, ">"), "r1 > r2/2 + r3/2"},
        {ShiftedPairRise(4, ">="), "r1 >= r2/2 + r3/2 and r2/2 + r3/2 >= r4"},
        {ShiftedPairRise(5, ">"), "r1 > r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2"},
        {ShiftedPairRise(9, ">"), "r1 > r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2 and r4/2 + r5/2 >= r6/2 + r7/2 and r6/2 + r7/2 >= r8/2 + r9/2"},
        {PairLadder(1, 9, true), "r1/2 + r2/2 <= r3/2 + r4/2 and r3/2 + r4/2 <= r5/2 + r6/2 and r5/2 + r6/2 <= r7/2 + r8/2 and r7/2 + r8/2 <= r9"},
        {OffsetLadder(2, 9, true), "r2 <= r3/2 + r4/2 and r3/2 + r4/2 <= r5/2 + r6/2 and r5/2 + r6/2 <= r7/2 + r8/2 and r7/2 + r8/2 <= r9"},
        {StepRise(3), "r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0"},
        {StepClimb(4, -100, -9, 1), "r4 in [-100, -9] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 > 0 and r1 + r2 + r2 < 0 and r1 - r4 >= 1"},
        {StepClimb(9, -150, -9, 2), "r9 in [-150, -9] and r1 <= 0 and r2 - r1 <= 0 and r3 - r2 <= 0 and r4 - r3 <= 0 and r5 - r4 <= 0 and r6 - r5 <= 0 and r7 - r6 <= 0 and r8 - r7 <= 0 and r9 - r8 <= 0 and r1 + r2 + r2 < 0 and r1 - r9 >= 2"},
        {FlatRun(2, 3, 5, 2), "r2 - r3 in [-2, 2] and r2 - r4 in [-2, 2] and r2 - r5 in [-2, 2]"},
        {StepsWithin2(3), "r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2"},
        {TwoPeriodRises(3), "r1 > r3 and r2 > r4 and r3 > r5"},
        {RecentRise(), "r1 <= 0 and r1/2 + r2/2 < 0"},
        {Midpoint(), "r3 <= r2/2 + r1/2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(renderCondition(c.block), renderCondition(QString::fromUtf8(c.notation))) << c.notation;
}
