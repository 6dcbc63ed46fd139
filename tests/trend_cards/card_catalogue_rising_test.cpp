// Which cards the group 上昇トレンド lists: rows E, T and t.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

using namespace card_catalogue_test;

TEST(CardRisingTrendPatterns, ListExactlyTheCardsOfTheirShape) {
    const std::vector<Case> cases = {
        {"a step rise over nine periods", {-1, -2, -3, -4, -5, -6, -7, -8, -9}, "E9 T9"},
        {"a step rise out of a low eight periods ago", {-1, -2, -3, -4, -5, -6, -7, -8, -7}, "E8 T8"},
        {"a step rise out of a low seven periods ago", {-1, -2, -3, -4, -5, -6, -7, -6, -5}, "E7 T7"},
        {"a step rise out of a low four periods ago", {-1, -2, -3, -4, -3, -2, -1, 0, 1}, "E4"},
        {"E3 on the bound of its band", {-1, -2, -4, -3, -2, -1, 0, 1, 2}, "E3"},
        {"E3 just outside its band", {-1, -2, -3.9, -3, -2, -1, 0, 1, 2}, ""},
        {"E9 with ratio9 exactly -5 and a gap of exactly 5", {0, -0.5, -1, -1.5, -2, -2.5, -3, -4, -5}, "E9 T9"},
        {"a gap of 4.9: short of E9, enough for the second band of T9", {-0.1, -0.5, -1, -1.5, -2, -2.5, -3, -4, -5},
         "T9"},
        {"T5's band written -5and -8", {-1, -2, -3, -4, -6, -5, -4, -3, -2}, "E5 T5"},
        {"T5's band with a fraction", {-1, -2, -3, -4, -5.5, -4, -3, -2, -1}, "E5 T5"},
        {"ratio7 of -8.5 lies in neither band of T7", {-1, -2, -3, -4, -5, -6, -8.5, -7, -6}, "E7"},
        {"the three latest prices equal", {0, 0, -1, -2, -3, -4, -5, -6, -7}, ""},
        {"the step into the low of E8 is flat", {-1, -2, -3, -4, -5, -6, -7, -8, -8}, "E9 T9"},
        {"a T shape with one step down of 1", {-2, -1, -4, -5, -7, -10, -8, -7, -6}, "T6"},
        {"the same with a step down of 2.5", {-2, 0.5, -4, -5, -7, -10, -8, -7, -6}, ""},
        {"no price nine periods ago", {-1, -2, -3, -4, -5, -6, -7, -8, NA}, ""},
        {"t5: five falls, one of the older steps flat", {1, 2, 3, 3, 4, 0, 0, 0, 0}, "t5"},
        {"t5: two flat steps", {1, 2, 2, 3, 3, 0, 0, 0, 0}, ""},
        {"t5: the latest price unchanged", {0, 1, 2, 3, 4, 0, 0, 0, 0}, ""},
        {"a fall from a peak six periods ago", {1, 2, 3, 4, 5, 6, 5, 0, 0}, "t5 t6"},
        {"ratio6 of 8.5 lies in neither band of t6", {1, 2, 3, 4, 5, 8.5, 5, 0, 0}, "t5"},
        {"a steep fall from a peak six periods ago", {1, 2, 3, 4, 5, 10, 5, 0, 0}, "t5 t6"},
        {"a fall from a peak seven periods ago", {1, 2, 3, 4, 5, 6, 7, 5, 0}, "t5 ｔ7"},
        {"a fall over nine periods", {1, 2, 3, 4, 5, 6, 7, 7.5, 8}, "t5 t8 t9"},
    };
    expectSelections(cardtrend::risingTrendPatterns(), cases);
}
