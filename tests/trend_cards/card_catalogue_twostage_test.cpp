// Which cards the group 2段階上げ lists.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

using namespace card_catalogue_test;

TEST(CardTwoStagePatterns, ListExactlyTheCardsOfTheirShape) {
    const std::vector<Case> cases = {
        {"1: the third alternative, margin 0", {-5, -3, -5, -6, -7, -8, -9, -10, -11}, "1"},
        {"1: a low of 4.9", {-4.9, -3, -4.9, -6, -7, -8, -9, -10, -11}, ""},
        {"1 refuses equal closes one and two periods ago; 2 takes them", {-5, -5, -3, -6, -7, -8, -9, -10, -11}, "2"},
        {"1: a high four periods ago only 1.5 above", {-5, -4.5, -4, -3.5, -5, -6, -7, -8, -9}, ""},
        {"1: a high four periods ago 2 above", {-5, -4.5, -4, -3, -5, -6, -7, -8, -9}, "1"},
        {"2: a high three periods ago", {-1, -6, -3, -2, -1, -2, -3, -4, -5}, "2"},
        {"3: a low of exactly -5, a high five periods ago", {-1, -2, -5, -4, -3, -4, -5, -6, -7}, "3"},
        {"4: a high five periods ago", {-1, -2, -3, -6, -5, -6, -7, -8, -9}, "4"},
        {"5: a high eight periods ago", {-1, -2, -3, -4, -6, -5, -4, -3, -5}, "5"},
        {"5: equal closes eight and nine periods ago", {-1, -2, -3, -4, -6, -5, -4, -3, -3}, ""},
        {"5: no price nine periods ago", {-1, -2, -3, -4, -6, -5, -4, -3, NA}, ""},
    };
    expectSelections(cardtrend::twoStagePatterns(), cases);
}
