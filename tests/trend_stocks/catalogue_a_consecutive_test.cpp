// 連騰 E3 to E9 over hand-made rows.
#include "ratio_table.h"

using namespace catalogue_test;

TEST(ConsecutiveRisePatterns, SelectExactlyTheirRows) {
    expectSelections(trend::consecutiveRisePatterns(), {
        {"E3 at its bound -4", {-1, -2, -4, 0, 0, 0, 0, 0, 0}, "E3"},
        {"E3 range missed at -3.9", {-1, -2, -3.9, 0, 0, 0, 0, 0, 0}, ""},
        {"E3 at -150", {-1, -2, -150, 0, 0, 0, 0, 0, 0}, "E3"},
        {"E3 below -150", {-1, -2, -150.5, 0, 0, 0, 0, 0, 0}, ""},
        {"E3 needs no price older than 4 back", {-1, -2, -4, 0, NA, NA, NA, NA, NA}, "E3"},
        {"E5 at its bound -5", {-1, -2, -3, -4, -5, 0, 0, 0, 0}, "E5"},
        {"E5 range missed at -4.5", {-1, -2, -3, -4, -4.5, 0, 0, 0, 0}, ""},
        {"a held period keeps the run", {-1, -2, -2, -4, -5, 0, 0, 0, 0}, "E5"},
        {"a fallen period breaks it", {-1, -2, -1.5, -4, -5, 0, 0, 0, 0}, ""},
        {"no turn at 5 (held), the run goes on to 6", {-1, -2, -3, -4, -5, -5, 0, 0, 0}, "E6"},
        {"lift of exactly 1", {-4, -4.5, -4.8, -4.9, -5, 0, 0, 0, 0}, "E5"},
        {"lift of 1 is too little from E6 on", {-4, -4.2, -4.4, -4.6, -4.8, -5, 0, 0, 0}, ""},
        {"E9 over all nine changes", {-1, -2, -3, -4, -5, -6, -7, -8, -9}, "E9"},
        {"E9 lift of 4.5", {-4, -5, -5, -5, -5, -5, -5, -5, -8.5}, ""},
        {"E9 without the price 9 back", {-1, -2, -3, -4, -5, -6, -7, -8, NA}, ""},
    });
}
