// Which stocks the moving-average group lists.
#include "ratio_table.h"

using namespace catalogue_test;

TEST(MovingAveragePatterns, ListExactlyTheStocksOfTheirShape) {
    const std::vector<Case> cases = {
        {"\"1\": r1 = -10 after a long rise", {-10, -10, -10, -10, -10, -10, -10, -10, -10}, "1"},
        {"r1 = -9.5 lies between the bands", {-9.5, -10, -10, -10, -10, -10, -10, -10, -10}, ""},
        {"a NA change drops the row from every member", {-10, -10, -10, -10, NA, -10, -10, -10, -10}, ""},
        {"\"21\": r1 = -5 after a high six periods ago", {-5, -5, -6, -6, -7, -7, -8, -9, -9}, "21"},
        {"\"22\": low six periods ago", {-5, -5, -3, -3, -4, -6, -5, -5.5, -4}, "22"},
        {"\"22\" rejects r6 = r8", {-5, -5, -3, -3, -4, -6, -5, -6, -4}, ""},
        {"\"23\": dip three and four periods ago", {-5, -5, -6, -7, -5, -6, -5, -4, -5}, "23"},
        {"\"33\": the same dip with r1 = -4", {-4, -5, -6, -7, -5, -6, -5, -4, -5}, "33"},
        {"\"31\": r1 = -2 after a high six periods ago", {-2, -3, -4, -4, -5, -5, -6, -7, -7}, "31"},
        {"\"32\": r8 - r5 = 1", {-2, -3, -3, -3, -5, -6, -5, -4, -5}, "32"},
        {"\"32\" rejects r8 - r5 = 0.5", {-2, -3, -3, -3, -5, -6, -5, -4.5, -5}, ""},
        {"\"41\": r1 = 0, r5 = -4", {0, -3, -3, -3, -4, -3, -4, -5, -4}, "41"},
        {"\"41\" rejects r4 = -2", {0, -3, -3, -2, -4, -3, -4, -5, -4}, ""},
        {"\"42\" accepts r6 = r8, and MA3 = -1 exactly", {-1, -2, -3, -3, -4, -6, -5, -6, -4}, "42"},
        {"r9 = 500 is still in range", {-1, -75, -75, -75, -75, -75, -75, -75, 500}, "42 43"},
        {"r9 = 501 is out of range", {-1, -75, -75, -75, -75, -75, -75, -75, 501}, ""},
        {"\"51\": the latest price exactly at its three-price mean", {2, -2, -3, -5, -10, -10, -10, -10, -10}, "51"},
        {"\"52\": five-price mean exactly at the latest price, r1 = 10", {10, 5, -5, -10, -10, -10, -10, -10, -10},
         "52"},
    };
    expectSelections(trend::movingAveragePatterns(), cases);
}
