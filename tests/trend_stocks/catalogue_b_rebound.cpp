// Which stocks the rebound group lists: row "S1" to "S7" and the upper row "1" to "5".
#include "ratio_table.h"

using namespace catalogue_test;

TEST(ReboundPatterns, ListExactlyTheStocksOfTheirShape) {
    const std::vector<Case> cases = {
        // Fall then climb, low at the anchor.
        {"low of -5 a period ago, flat against the period before: S1 and the one-period flat turn of \"1\"",
         {-5, -4, -3, -2, -1, 0, 1, 2, 3}, "S1 1"},
        {"the same low at -4.99 is short of S1's range", {-4.99, -4, -3, -2, -1, 0, 1, 2, 3}, "1"},
        {"the same stock without the price nine periods before", {-5, -4, -3, -2, -1, 0, 1, 2, NA}, ""},
        {"S2 accepts a low of -4 two periods ago", {-1, -4, -3, -2, -1, 0, 1, 2, 3}, "S2 2"},
        {"S3 low of -5", {-1, -2, -5, -4, -3, -3.5, -2, -1, 0}, "S3"},
        {"S3 rejects r4 = r6", {-1, -2, -5, -4, -3, -4, -2, -1, 0}, ""},
        {"S3 rejects a low of -4", {-1, -2, -4, -3, -2, -1, 0, 1, 2}, ""},
        {"S4 accepts r4 = r6", {-1, -2, -3, -6, -5, -6, -4, -3, 0}, "S4 4"},
        // Rounded climb.
        {"rounded climb from a low five periods ago, the older prices climbing on their averages too",
         {-1, -2, -3, -4, -6, -5, -4, -2, 0}, "S5 5"},
        {"\"5\" fails an S5 stock with r7 = r9", {-1, -2, -3, -4, -6, -5, -3.5, -3, -3.5}, "S5"},
        {"rounded climb from a low six periods ago", {-1, -2, -3, -4, -5, -6, -5, -3, -2}, "S6"},
        {"S6 demands both climb ladders: only the pair ladder holds", {-2.2, -1, -3, -4, -5, -6, -5, -3, -2}, ""},
        {"rounded climb from a low seven periods ago", {-1, -2, -3, -4, -5, -6, -7, -6, -4}, "S7"},
        {"S7 takes either ladder: r1 equal to the mean of r2 and r3, only the pair ladder holds",
         {-2, -1, -3, -4, -5, -6, -7, -6, -4}, "S7"},
        // Turns out of a flat stretch.
        {"\"1\" with r1 = -3 through its two-period flat", {-3, -2.5, -2.5, -2, -1, 0, 1, 2, 3}, "1"},
        {"\"1\" with r1 = -10.5, between its bands", {-10.5, -10, -9, -8, -7, -6, -5, -4, -3}, "S1"},
        {"\"2\" with r2 = -10.5, between its bands", {-10, -10.5, -10, -9, -8, -7, -6, -5, -4}, "S2"},
        {"\"2\" band 3 at its tolerances: r2 - r3 = -2, r2 - r4 = r2 - r5 = -3",
         {-1, -20, -18, -17, -17, -16, -15, -14, -13}, "2 S2"},
        {"\"3\" with r3 = -6 out of a flat", {-1, -2, -6, -5.5, -5.5, -5, -4, -3, -2}, "3 S3"},
        {"\"3\" out of a narrow flat with r1 - r3 = 1", {-4, -4.5, -5, -4.5, -4.5, -4, -3, -2, -1}, "3 S3"},
        {"\"3\" rejects r1 - r3 = 0.9 there", {-4.1, -4.5, -5, -4.5, -4.5, -4, -3, -2, -1}, "S3"},
        {"\"2\" band 3 through its three-period flat alone, r2 - r4 = -3",
         {-1, -20, -18, -17, -19, -16, -15, -14, -13}, "2"},
        {"\"1\" through its wide three-period flat alone, r9 - r4 = 2", {-12, -11.5, -10.5, -11, -11, -10, -10, -9.5, -9},
         "1"},
        {"\"1\" rejects r9 - r4 = 1.9 there", {-12, -11.5, -10.5, -11, -11, -10, -10, -9.5, -9.1}, ""},
        {"\"3\" with r3 = -10, between its bands", {-1, -2, -10, -9.5, -9, -9, -8, -7, -6}, "S3"},
        {"\"4\" with r4 = -10, between its bands", {-1, -2, -3, -10, -9.5, -9.5, -9, -8, -7}, ""},
        {"\"4\" with r4 = -6 out of a flat", {-1, -2, -3, -6, -5.5, -5.5, -5, -4, -3}, "4"},
    };
    expectSelections(trend::reboundPatterns(), cases);
}
