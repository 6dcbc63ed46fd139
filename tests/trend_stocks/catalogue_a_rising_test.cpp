// 上昇中 T5 to T9 over hand-made rows.
#include "ratio_table.h"

using namespace catalogue_test;

TEST(RisingTrendPatterns, SelectExactlyTheirRows) {
    expectSelections(trend::risingTrendPatterns(), {
        // The wider climb: two-period averages climbing, a low at N.
        {"T5 wider: steady climb, low 5 back", {-2, -4, -6, -8, -10, -9, -9, -9, -9}, "T5"},
        {"T5 wider at its bound -9", {-2, -4, -6, -8, -9, -8, -8, -8, -8}, "T5"},
        {"T5 wider at -100", {-2, -4, -6, -8, -100, -9, -9, -9, -9}, "T5"},
        {"T5 wider below -100", {-2, -4, -6, -8, -100.5, -9, -9, -9, -9}, ""},
        {"no low at 5 but a low at 6", {-2, -4, -6, -8, -10, -10, -9, -9, -9}, "T6"},
        {"T7 wider", {-2, -4, -6, -8, -10, -12, -14, -13, -13}, "T7"},
        {"T7 wider at -160", {-2, -4, -6, -8, -10, -12, -160, -13, -13}, "T7"},
        {"T8 wider", {-2, -4, -6, -8, -10, -12, -14, -16, -15}, "T8"},
        {"T9 wider", {-2, -4, -6, -8, -10, -12, -14, -16, -18}, "T9"},
        {"T9 wider at -150", {-2, -4, -6, -8, -10, -12, -14, -16, -150}, "T9"},
        {"T9 wider below -150", {-2, -4, -6, -8, -10, -12, -14, -16, -150.5}, ""},
        // The narrower climb: every step up or held, 5 to 8 points.
        {"T5 narrower at -5", {-1, -2, -3, -4, -5, 0, 0, 0, 0}, "T5"},
        {"T5 narrower above -5", {-1, -2, -3, -4, -4.9, 0, 0, 0, 0}, ""},
        {"between the two ranges", {-1, -3, -5, -7, -8.5, 0, 0, 0, 0}, ""},
        {"T5 lift of exactly 1", {-4, -4.5, -4.8, -4.9, -5, 0, 0, 0, 0}, "T5"},
        {"T6 lift of 2.5", {-4, -4.5, -5, -5.5, -6, -6.5, 0, 0, 0}, ""},
        {"T6 lift of 3", {-3.5, -4.5, -5, -5.5, -6, -6.5, 0, 0, 0}, "T6"},
        {"T9 climbed nine periods, no turn asked", {-1, -2, -3, -4, -5, -5.5, -6, -6.5, -7}, "T9"},
        {"T5 needs no price older than 6 back", {-1, -2, -3, -4, -5, 0, NA, NA, NA}, "T5"},
        {"T5 without the price 6 back", {-1, -2, -3, -4, -5, NA, NA, NA, NA}, ""},
    });
}
