// Which stocks the dip group lists: "R1", the second "R1" beneath it (R1'), "R2", "R3" and "Q1" to "Q4".
#include "ratio_table.h"

using namespace catalogue_test;

TEST(DipPatterns, ListExactlyTheStocksOfTheirShape) {
    const std::vector<Case> cases = {
        {"high two periods ago, the latest price back above the previous one", {-1, 5, 4, 3, 2, 1, 0, -1, -2},
         "R1 R1'"},
        {"the same high, the latest price still falling", {1, 5, 4, 3, 2, 1, 0, -1, -2}, "Q2"},
        {"the same high, the latest price equal to the previous one", {0, 5, 4, 3, 2, 1, 0, -1, -2}, ""},
        {"the same high without the price five periods before", {-1, 5, 4, 3, NA, 1, 0, -1, -2}, ""},
        // r2 + r3 = -3 lies between r4 + r5 = -4 and its half: the plain sum fails, the halves pass.
        {"the first R1 adds r2 and r3 where the second halves them", {-1, 1, -4, 0.5, -4.5, -5, -5, -6, -6},
         "R1'"},
        {"R2: the latest price equal to the high three periods ago", {-3, -2, 0, -1, -2, -3, -4, -5, -6}, "R2"},
        {"R3 over a high three periods ago, r1 + 2 just above r3, r3 = r4", {-2.2, -2, -0.5, -0.5, -2, -3, -4, -5, -6},
         "R3"},
        {"R3 over a high two periods ago needs r1 + 2 > r3", {-5, -1, -3, -4, -5, -6, -7, -8, -9}, ""},
        {"R3 over a high two periods ago", {-5, -1, -3.5, -4, -5, -6, -7, -8, -9}, "R3"},
        {"Q1: the high a period ago", {5, 4, 3, 2, 1, 0, -1, -2, -3}, "Q1"},
        {"Q1 rejects r1 = r4", {5, 4, 3, 5, 1, 0, -1, -2, -3}, ""},
        {"Q1 accepts r5 = r7 and r6 = r8", {5, 4, 3, 2, 0.5, 0, 0.5, 0, -3}, "Q1"},
        {"Q3 closes on r9/2: r7/2 + r8/2 = 2.5 against r9 = 3", {1, 2, 8, 7, 6, 5, 4, 1, 3}, "Q3"},
        {"Q4 with the price five periods ago above the high", {1, 2, 3, 6, 7, 4, 3, 2, 1}, "Q4"},
    };
    expectSelections(trend::dipPatterns(), cases, [](const trend::TrendPattern& p) {
        return p.shown == trend::Shown::UnderAnother ? p.caption + "'" : p.caption;
    });
}
