// Which cards the group 移動平均による上昇銘柄 lists.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

using namespace card_catalogue_test;

TEST(CardMovingAveragePatterns, ListExactlyTheCardsOfTheirShape) {
    const std::vector<Case> cases = {
        {"1: ratio1 of exactly -10 and ratio4 of exactly -5", {-10, -10, -8, -5, -10, -10, -10, -10, -10}, "1"},
        {"1: ratio1 of -9.9", {-9.9, -10, -8, -5, -10, -10, -10, -10, -10}, ""},
        {"1: no price nine periods ago", {-10, -10, -8, -5, -10, -10, -10, -10, NA}, ""},
        {"21: a steady rise from six periods back", {-6, -5, -4, -5, -6, -7, -8, -9, -10}, "21"},
        {"22: the means of P3, P4 and of P5, P6 equal", {-5, -5, -6, -7, -8, -5, -4, -3, -3}, "22"},
        {"23: the mean of P3, P4 below that of P5, P6", {-5, -5, -6, -7, -6, -5, -4, -3, -3}, "23"},
        {"31: a steady rise over the nine periods", {-3, -3, -4, -5, -5, -6, -7, -8, -7}, "31"},
        {"32: ratio8 exceeds ratio5 by exactly 1", {-3, -3, -4, -4, -5, -6, -5, -4, -4}, "32"},
        {"32: by 0.9", {-3, -3, -4, -4, -5, -6, -5, -4.1, -4}, ""},
        {"33: a low three to four periods back", {-3, -3, -4, -5, -4, -4, -3, -2, -2}, "33"},
        {"41: ratio5 of exactly -2 passes", {-1, -2, -1, -3, -2, -3, -3, -4, -4}, "41"},
        {"41: ratio4 of exactly -2 fails", {-1, -2, -1, -2, -2, -3, -3, -4, -4}, ""},
        {"42: P8 equal to P6 passes", {-1, -2, -2, -3, -3, -5, -4, -5, -4}, "42"},
        {"43: a low four periods back", {-1, -2, -3, -4, -3, -3, -2, -2, -1}, "43"},
        {"51: the 3-period average above P0 over the steep base", {1, 1, -3, -5, -10, -10, -10, -10, -10}, "51"},
        {"52: a 5-period quotient of exactly 0", {1, 2, 2, -5, -10, -10, -10, -10, -10}, "52"},
        {"52: a 5-period quotient of exactly 1", {1, 2, 7, -5, -10, -10, -10, -10, -10}, "52"},
        {"52: a 5-period quotient of 1.02", {1, 2, 7.1, -5, -10, -10, -10, -10, -10}, ""},
    };
    expectSelections(cardtrend::movingAveragePatterns(), cases);
}
