// Which cards the group 押し目狙い？ lists: rows R and Q.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

using namespace card_catalogue_test;

TEST(CardDipPatterns, ListExactlyTheCardsOfTheirShape) {
    const std::vector<Case> cases = {
        {"ratio1 exactly 0: neither row", {0, 5, 4, 3, 2, 1, 0, -1, -2}, ""},
        {"R1: a rebound after a high two periods ago", {-1, 5, 4, 3, 2, 1, 0, -1, -2}, "R1"},
        {"Q2: the same high, still falling", {1, 5, 4, 3, 2, 1, 0, -1, -2}, "Q2"},
        {"R1 without the price five periods ago", {-1, 5, 4, 3, NA, 1, 0, -1, -2}, ""},
        // r2 + r3 = -3 lies below r4/2 + r5/2 = -2, their mean -1.5 above it: the plain sum decides.
        {"R1 adds ratio2 and ratio3 without halving", {-1, 1, -4, 0.5, -4.5, -5, -5, -6, -6}, ""},
        {"R2: the latest price equal to the high three periods ago", {-3, -2, 0, -1, -2, -3, -4, -5, -6}, "R2"},
        {"R3 over a high three periods ago", {-2.2, -2, -0.5, -0.5, -2, -3, -4, -5, -6}, "R3"},
        {"R3 over a high two periods ago", {-5, -1, -3.5, -4, -5, -6, -7, -8, -9}, "R3"},
        {"R3 needs ratio1 + 2 above ratio3", {-5, -1, -3, -4, -5, -6, -7, -8, -9}, ""},
        {"Q1: the high one period ago", {5, 4, 3, 2, 1, 0, -1, -2, -3}, "Q1"},
        {"Q1 refuses ratio1 equal to ratio4", {5, 4, 3, 5, 1, 0, -1, -2, -3}, ""},
        // r7/2 + r8/2 = 2.5 lies below r9 = 3 but above its half.
        {"Q3 closes on half of ratio9", {1, 2, 8, 7, 6, 5, 4, 1, 3}, "Q3"},
        {"Q4: the price five periods ago above the high", {1, 2, 3, 6, 7, 4, 3, 2, 1}, "Q4"},
    };
    expectSelections(cardtrend::dipPatterns(), cases);
}
