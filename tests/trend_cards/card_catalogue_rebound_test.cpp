// Which cards the group 反転から上昇 lists: the numbered row and rows S and ｓ.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

using namespace card_catalogue_test;

TEST(CardReboundPatterns, ListExactlyTheCardsOfTheirShape) {
    const std::vector<Case> cases = {
        {"1: ratio1 of -3, a flat stretch of three", {-3, -2.5, -3, -2, -1, 0, 1, 2, 3}, "1"},
        {"1: ratio1 of -10.5 matches no alternative", {-10.5, -10, -10.5, -10, -9, -8, -7, -6, -5}, ""},
        {"2: the middle shape of the third band", {-10, -20, -18, -17.5, -23.5, -18, -17, -16, -15}, "2"},
        {"3: ratio3 of -10 lies in neither band; S3 takes it", {-1, -2, -10, -9, -8, -7, -6, -5, -4}, "S3"},
        {"4 and S4: a low four periods ago", {-1, -2, -3, -5, -4, -3, -2, -1, 0}, "4 S4"},
        {"S4 needs a low at least 5 below", {-1, -2, -3, -4.9, -4, -3, -2, -1, 0}, ""},
        {"5 and S5: averages rising on both sides of a low", {-1, -2, -3, -4, -6, -5, -4, -3, -2}, "5 S5"},
        {"the same without a price nine periods ago", {-1, -2, -3, -4, -6, -5, -4, -3, NA}, ""},
        {"S1: a low exactly 5 below, one period ago", {-5, -4, -3, -2, -1, 0, 1, 2, 3}, "1 S1"},
        {"S1 refuses a low 4.9 below", {-4.9, -4, -3, -2, -1, 0, 1, 2, 3}, "1"},
        {"S2: a low exactly 3 below, two periods ago", {-1, -3, -2, -1, 0, 1, 2, 3, 4}, "S2"},
        {"S3: a low three periods ago", {-1, -2, -3, -2, -1, 0, 1, 2, 3}, "S3"},
        {"ｓ1: a peak one period ago", {3, 1, 0.5, 0, -1, -2, -2, -2, -2}, "ｓ1"},
        {"ｓ3: a peak three periods ago, equal to the price before it", {1, 2, 3, 3, 2, 1, 0, 0, 0}, "ｓ3"},
        {"ｓ3: the price four periods ago differs from the peak", {1, 2, 3, 3.5, 2, 1, 0, 0, 0}, ""},
        {"s7: ratio7 above 8, through the second alternative", {1, 2, 3, 4, 5, 10, 12, 8, 9}, "s7"},
    };
    expectSelections(cardtrend::reboundPatterns(), cases);
}
