// Which cards the group 横這から上昇 lists: rows B and ｂ and the numbered row.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

using namespace card_catalogue_test;

TEST(CardFlatThenRisePatterns, ListExactlyTheCardsOfTheirShape) {
    const std::vector<Case> cases = {
        {"B1: nine level prices left upward, ratio9 on the tolerance", {-4, -4, -4, -4, -4, -4, -4, -4, -3}, "B1"},
        {"B1: -5.5 lies between two bands", {-5.5, -5.5, -5.5, -5.5, -5.5, -5.5, -5.5, -5.5, -5.5}, ""},
        {"B1: the second band lets ratio9 lie 3 away", {-8, -8, -8, -8, -8, -8, -8, -8, -5}, "B1"},
        {"B1: the second band, ratio9 3.1 away", {-8, -8, -8, -8, -8, -8, -8, -8, -4.9}, ""},
        {"B1: no price nine periods ago", {-4, -4, -4, -4, -4, -4, -4, -4, NA}, ""},
        {"B2: a low two periods ago", {-3, -5, -4.5, -5, -5, -5, -5, -5, -5}, "B2 2"},
        {"B2: the prices one and two periods ago equal", {-5, -5, -4.5, -5, -5, -5, -5, -5, -5}, "B1"},
        {"B3: ratio3 of -35 lies in two bands", {-30, -33, -35, -34, -35, -35, -35, -35, -35}, "B3 3"},
        {"B5 and 5: a step rise from a low five periods ago", {-1, -2, -3, -4, -5, -4.5, -5, -5.5, -5}, "B5 5"},
        {"5 alone: the run does not reach nine periods back", {-1, -2, -3, -4, -5, -4.5, -5, -5.5, 0}, "5"},
        {"B6: a step rise from a low six periods ago", {-1, -2, -3, -4, -5, -6, -5.5, -6, -6.5}, "B6"},
        {"B6: ratio9 1.5 away from ratio6", {-1, -2, -3, -4, -5, -6, -5.5, -6, -7.5}, ""},
        {"B7: a smooth rise from a deep low seven periods ago", {-2, -3, -5, -6, -8, -9, -12, -11, -12}, "B7"},
        {"ｂ1: five exactly level prices left downward", {3, 3, 3, 3, 3, 0, 0, 0, 0}, "ｂ1"},
        {"ｂ1: a small fall with a difference in the run", {3, 3.5, 3, 3, 3, 0, 0, 0, 0}, ""},
        {"ｂ1: 4.5 lies between two bands", {4.5, 4.5, 4.5, 4.5, 4.5, 0, 0, 0, 0}, ""},
        {"ｂ1, not ｂ2: the prices one and two periods ago equal", {4, 4, 4, 4, 4, 0, 0, 0, 0}, "ｂ1"},
        {"ｂ2: two periods down from a level run", {4, 5, 5, 5, 5, 0, 0, 0, 0}, "ｂ2"},
        {"ｂ3: three periods down from a level run", {5, 6, 7, 7, 7.5, 0, 0, 0, 0}, "ｂ3"},
        {"ｂ4 and 4: a smooth rise from a low four periods ago", {-3, -3.5, -4, -5, -4.5, -5.5, -4.5, 0, 0}, "ｂ4 4"},
        {"b5: a fall from a top five periods ago", {1, 2, 3, 4, 5, 4.5, 5.5, 4.2, 0}, "b5"},
        {"b6: a smooth fall from a high top six periods ago", {1, 2, 3, 4, 5, 10, 9, 10.5, 11}, "b6"},
        {"b7: ratio7 of 12 with ratio6 of 8 lies in neither band", {1, 2, 3, 4, 5, 8, 12, 11, 0}, ""},
        {"1: a rise off four flat prices", {-5, -4.5, -5, -5, 0, 0, 0, 0, 0}, "1"},
        {"1: a rise of 3.9", {-3.9, -3.5, -3.9, -3.9, 0, 0, 0, 0, 0}, ""},
        {"1: -10.5 lies between two bands", {-10.5, -10, -10.5, -10.5, 0, 0, 0, 0, 0}, ""},
        {"3: the second band, with the tests after its group", {-8, -10, -12, -11, -12, -13, 0, 0, 0}, "3"},
        {"3: the second band fails ratio3 below ratio4", {-8, -10, -12, -12, -12, -13, 0, 0, 0}, ""},
    };
    expectSelections(cardtrend::flatThenRisePatterns(), cases);
}
