// Which stocks the two-stage group lists: a first rise to a peak, a fall to a dip, a second rise.
#include "ratio_table.h"

using namespace catalogue_test;

TEST(TwoStagePatterns, ListExactlyTheStocksOfTheirShape) {
    const std::vector<Case> cases = {
        {"\"1\": dip of -5 a period ago, peak four periods ago", {-5, -3, -2, 0, -1, -2, -3, -4, -5}, "1"},
        {"\"1\" rejects a dip of -4.99", {-4.99, -3, -2, 0, -1, -2, -3, -4, -5}, ""},
        {"\"1\" without the price nine periods before", {-5, -3, -2, 0, -1, -2, -3, -4, NA}, ""},
        {"\"1\" with its peak two periods ago needs r3 >= r1", {-5, -1, -6, -7, -8, -9, -10, -11, -12}, ""},
        {"\"1\" with its peak two periods ago, r3 = r1", {-5, -1, -5, -7, -8, -9, -10, -11, -12}, "1"},
        {"\"2\" with r1 = 0 and r4 = r5: not the peak at 5, the peak at 4", {0, -5, -4, -2, -2, -3, -4, -5, -6},
         "2"},
        {"\"3\" with r1 - r3 = 2", {-3, -4, -5, -3, -2, -1, -2, -3, -4}, "3"},
        {"\"3\" rejects r1 - r3 = 1", {-4, -4, -5, -3, -2, -1, -2, -3, -4}, ""},
        {"\"4\": climb from a dip four periods ago, peak at 6", {-1, -2, -3, -5, -4, -3, -4, -5, -6}, "4"},
        {"\"4\" rejects r1 equal to the mean of r2 and r3", {-2.5, -2, -3, -5, -4, -3, -4, -5, -6}, ""},
        {"\"4\" rejects prices falling from seven periods ago to the dip", {-1, -2, -3, -5, -4, -3, -2, -5, -6}, ""},
        {"\"5\": peak eight periods ago, 3 points over the dip", {-1, -2, -3, -4, -6, -5, -4, -3, -5}, "5"},
        {"\"5\" rejects a margin of exactly 2 at 8 and a level step at 7", {-1, -2, -3, -4, -6, -5, -4, -4, -5}, ""},
        {"\"5\": peak seven periods ago", {-1, -2, -3, -4, -6, -5, -3, -4, -5}, "5"},
    };
    expectSelections(trend::twoStagePatterns(), cases);
}
