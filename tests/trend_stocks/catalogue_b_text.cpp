// The conditions of the second half of the catalogue that the screen's description writes out in
// full, word for word.
#include <gtest/gtest.h>

#include <algorithm>

#include "trend_stocks/trend_pattern.h"

namespace {

std::vector<trend::TrendPattern> secondHalf() {
    std::vector<trend::TrendPattern> all;
    for (auto group : {trend::reboundPatterns, trend::dipPatterns, trend::twoStagePatterns,
                       trend::movingAveragePatterns})
        for (trend::TrendPattern& p : group()) all.push_back(std::move(p));
    return all;
}

}  // namespace

TEST(CatalogueSecondHalf, ConditionsAsWrittenOut) {
    const struct {
        const char* control;
        const char* condition;
    } cases[] = {
        {"Command29",
         "r2 in [-150, -4] and r1 <= 0 and r1 >= r2 and r2 < r3 and r2 < r4 and r3 < r5 and r4 < r6 and "
         "r5 <= r7 and r6 <= r8 and r7 <= r9 and r2/2 + r3/2 <= r4/2 + r5/2 and "
         "r4/2 + r5/2 <= r6/2 + r7/2 and r6/2 + r7/2 <= r8/2 + r9/2 and r2 <= r3/2 + r4/2 and "
         "r3/2 + r4/2 <= r5/2 + r6/2 and r5/2 + r6/2 <= r7/2 + r8/2 and r7/2 + r8/2 <= r9 and r9 - r2 > 3"},
        {"Command91",
         "r7 in [-160, -5] and ((r1 > r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2 and "
         "r4/2 + r5/2 >= r6/2 + r7/2) or (r1/2 + r2/2 > r3/2 + r4/2 and r3/2 + r4/2 >= r5/2 + r6/2 and "
         "r5/2 + r6/2 >= r7)) and r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2 and r4 >= r5 - 2 and "
         "r5 >= r6 - 2 and r6 >= r7 - 2 and r1 > r3 and r2 > r4 and r3 > r5 and r4 > r6 and r1 <= 0 and "
         "r1/2 + r2/2 < 0 and r6 >= r7 and r7 <= r8 and r8 < r9"},
        {"Command23",
         "(r1 < 0 and r2 > 0 and r1 < r2 and r2 > r3 and r2 > r4 and r3 > r5 and r4 > r6 and r5 > r7 and "
         "r6 > r8 and r7 >= r9 and r2 >= r5 and r3 >= r6 and r4 >= r7 and r5 >= r8 and r6 >= r9 and "
         "r2 >= r3/2 + r4/2 and r3/2 + r4/2 >= r5/2 + r6/2 and r5/2 + r6/2 >= r7/2 + r8/2 and "
         "r7/2 + r8/2 >= r9 and r2 + r3 >= r4/2 + r5/2 and r4/2 + r5/2 >= r6/2 + r7/2 and "
         "r6/2 + r7/2 >= r8/2 + r9/2)"},
        {"Command30",
         "(r1 > 0 and r1 <= r2 and r2 < r3 and r3 <= r4 and r4 > r6 and r5 > r7 and r6 > r8 and "
         "r7 >= r9 and r4 >= r7 and r5 >= r8 and r6 >= r9 and r4 >= r5/2 + r6/2 and "
         "r5/2 + r6/2 >= r7/2 + r8/2 and r7/2 + r8/2 >= r9 and r4 + r5 >= r6/2 + r7/2 and "
         "r6/2 + r7/2 >= r8/2 + r9/2)"},
        {"Command46",
         "(r1 < 0 and ((r2 < 0 and r1 < r2 and r2 > r3) or (r1 < 0 and r3 < 0 and r2 < r3 and "
         "r3 >= r4)) and (r1 + 2 > r3 and r3 > r5 and r4 > r6 and r5 > r7 and r6 > r8 and r7 >= r9 and "
         "r3 >= r6 and r4 >= r7 and r5 >= r8 and r6 >= r9 and r3 >= r4/2 + r5/2 and "
         "r4/2 + r5/2 >= r6/2 + r7/2 and r6/2 + r7/2 >= r8/2 + r9/2 and r3/2 + r4/2 >= r5/2 + r6/2 and "
         "r5/2 + r6/2 >= r7/2 + r8/2 and r7/2 + r8/2 >= r9))"},
        {"Command38",
         "(r1 > 0 and r1 > r2 and r1 > r3 and r2 > r4 and r3 > r5 and r4 > r6 and r5 >= r7 and r6 >= r8 and "
         "r7 >= r9 and r1 > r4 and r2 >= r5 and r3 >= r6 and r4 >= r7 and r5 >= r8 and r6 >= r9 and "
         "r2/2 + r3/2 >= r4/2 + r5/2 and r4/2 + r5/2 >= r6/2 + r7/2 and r6/2 + r7/2 >= r8/2 + r9/2 and "
         "r2 >= r3/2 + r4/2 and r3/2 + r4/2 >= r5/2 + r6/2 and r5/2 + r6/2 >= r7/2 + r8/2 and "
         "r7/2 + r8/2 >= r9)"},
        {"Command37",
         "r1 in [-150, -5] and ((r1 < r2 and r2 <= r3) and (r3 <= r4 and r4 - r1 >= 2 and r4 >= r5 and "
         "r5 >= r6 and r6 >= r7 and r7 >= r8 and r8 >= r9) or (r1 < r2 and r2 <= r3 and r3 - r1 >= 1 and "
         "r3 >= r4 and r4 >= r5 and r5 >= r6 and r6 >= r7 and r7 >= r8 and r8 >= r9) or (r1 < r2 and "
         "r3 - r1 >= 0 and r2 >= r3 and r3 >= r4 and r4 >= r5 and r5 >= r6 and r6 >= r7 and r7 >= r8 and "
         "r8 >= r9))"},
        {"Command90",
         "(r4 <= -5 and (r1 <= 0 and r4 <= r3 and r1 > r2/2 + r3/2 and r2/2 + r3/2 > r4 and "
         "r1/2 + r2/2 > r3/2 + r4/2 and r3 <= r2/2 + r1/2)) and ((r4 < r5 and r5 <= r6 and r6 - r4 >= 1 and "
         "r6 >= r7 and r7 >= r8 and r8 >= r9) or (r4 < r5 and r5 >= r6 and r6 >= r7 and r7 >= r8 and "
         "r8 >= r9))"},
        {"Command41",
         "(r5 in [-100, -5] and r1 >= r2/2 + r3/2 and r2/2 + r3/2 >= r4/2 + r5/2 and "
         "r1/2 + r2/2 >= r3/2 + r4/2 and r3/2 + r4/2 >= r5 and r3 <= r2/2 + r1/2 and r1 >= r2 - 2 and "
         "r2 >= r3 - 2 and r3 >= r4 - 2 and r1 > r3 and r2 > r4 and r1 <= 0 and r1/2 + r2/2 < 0 and "
         "r4 >= r5 and r5 <= r6) and ((r5 <= r6 and r6 <= r7 and r7 <= r8 and r8 - r5 > 2 and "
         "r8 > r9) or (r5 <= r6 and r6 <= r7 and r7 - r5 >= 2 and r7 > r8 and r8 > r9))"},
    };
    const auto all = secondHalf();
    for (const auto& c : cases) {
        const auto p = std::find_if(all.begin(), all.end(), [&](auto& p) { return p.control == c.control; });
        ASSERT_NE(p, all.end()) << c.control;
        EXPECT_EQ(p->condition.toStdString(), c.condition) << c.control;
    }
}
