// 横這から上昇, the upper row "0" to "5" and row B, over hand-made rows.
#include "ratio_table.h"

using namespace catalogue_test;

TEST(FlatThenRisePatterns, SelectExactlyTheirRows) {
    expectSelections(trend::flatThenRisePatterns(), {
        // B1: a rise in the last period out of a flat stretch of eight periods.
        {"B1 band 1, run off by 1 both ways", {-4, -4.5, -3.4, -4, -5, -3, -4, -4, -5}, "B1"},
        {"B1 band 1, 9 back off by 1.5", {-4, -4.5, -3.4, -4, -5, -3, -4, -4, -5.5}, ""},
        {"B1 between bands at -5.5", {-5.5, -5.5, -5.5, -5.5, -5.5, -5.5, -5.5, -5.5, -5.5}, ""},
        {"B1 band 2 at -6, 9 back off by 3", {-6, -6, -6, -6, -6, -6, -6, -6, -9}, "B1"},
        {"B1 band 2 without the price 9 back", {-6, -6, -6, -6, -6, -6, -6, -6, NA}, ""},
        // B2: a low 2 periods back.
        {"B2 band 2, 9 back off by 3", {-3, -8, -7, -8, -9.5, -7, -6.5, -9.5, -11}, "B2"},
        {"B2 band 2, 9 back off by 3.5", {-3, -8, -7, -8, -9.5, -7, -6.5, -9.5, -11.5}, ""},
        // B3: up or held at every step, or up from the anchor in the wider bands.
        {"B3 at -35 under band 3", {-10, -20, -35, -33, -35, -36, -33, -34, -38}, "B3 3"},
        {"B3 at -35 under band 4", {-10, -20, -35, -33, -35, -36, -33, -34, -40}, "B3 3"},
        // B4 to B7 and "4", "5": the ladder bands.
        {"B4 and \"4\" ladder band, r3 = r4", {-2, -4, -9, -9, -8, -8.5, -9.5, -10, -10}, "B4 4"},
        {"B5 and \"5\" ladder band", {-2, -4, -6, -8, -10, -9, -9.5, -11, -11.5}, "B5 5"},
        {"ladder band of 5 with r4 = r5", {-2, -4, -6, -10, -10, -9, -9.5, -11, -11.5}, ""},
        {"B5 band 1, lift of exactly 2", {-3, -3.5, -4, -4.5, -5, -4.5, -5, -5.5, -6}, "5"},
        {"B5 band 1, lift of 2.1", {-2.9, -3.5, -4, -4.5, -5, -4.5, -5, -5.5, -6}, "B5 5"},
        {"B6 band 1", {-2, -3, -4, -5, -5.5, -6, -5.5, -6.5, -7}, "B6"},
        {"B6 band 1 at -9", {-2, -3, -4, -5, -6, -9, -8.5, -9.5, -10}, "B6"},
        {"B6 between bands at -9.5", {-2, -3, -4, -5, -6, -9.5, -9, -10, -10.5}, ""},
        {"B6 band 2", {-2, -4, -6, -8, -10, -12, -11, -12, -13.5}, "B6"},
        {"B6 band 2 with r5 = r6", {-2, -4, -6, -8, -12, -12, -11, -12, -13.5}, "B6"},
        {"B7 band 2 with r6 = r7", {-2, -4, -6, -8, -10, -12, -12, -11, -13}, "B7"},
        // The upper row.
        {"\"0\": jump of 15, none of the older prices 4 above", {-15, -11.5, -12, -14, -20, -16, -13, -12, -11.1}, "0"},
        {"\"0\": jump of 14.5", {-14.5, -11.5, -12, -14, -20, -16, -13, -12, -11.1}, ""},
        {"\"0\": 9 back exactly 4 above", {-15, -11.5, -12, -14, -20, -16, -13, -12, -11}, ""},
        {"\"0\": no price 9 back", {-15, -11.5, -12, -14, -20, -16, -13, -12, NA}, ""},
        {"\"1\" needs no price older than 4 back", {-5, -4.5, -5.5, -4.2, NA, NA, NA, NA, NA}, "1"},
        {"\"1\" rejects r2 = r1", {-5, -5, -5.5, -4.2, NA, NA, NA, NA, NA}, ""},
        {"\"2\" band 3, nothing older than 5 back", {-10, -20, -18, -22, -17.5, NA, NA, NA, NA}, "2"},
        {"\"2\" between bands at -17.5", {-10, -17.5, -16, -19, -16, NA, NA, NA, NA}, ""},
        {"\"3\" band 1, nothing older than 6 back", {-3, -4, -5, -4.5, -5.5, -4.5, NA, NA, NA}, "3"},
    });
}
