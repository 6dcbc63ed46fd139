// 押し目狙い？: row R (a rebound within a pullback from a high) and row Q (a pullback from a high
// after a climb).
// Each record keeps its SQL text exactly as written, blanks, repeats and bound order included.
#include "trend_cards/card_catalogue.h"
#include "trend_cards/card_catalogue_entries.h"

namespace cardtrend {

using namespace entries;

std::vector<trend::TrendPattern> dipPatterns() {
    return groupPatterns("押し目狙い？", {
        {"Command15", "R1", {9600, 240, Lettered, 0xFFC0FF},
         " where ([ratio1] < 0",
         {
          " and [ratio2] > 0", " and [ratio1] < [ratio2] ", " and [ratio2] > [ratio3] ",
          " and [ratio2] > [ratio4] ", " and [ratio3] > [ratio5] ", " and [ratio4] > [ratio6] ",
          " and [ratio5] > [ratio7] ", " and [ratio6] > [ratio8] ", " and [ratio7] >= [ratio9] ",
          " and [ratio2] >= [ratio5] ", " and [ratio3] >= [ratio6] ", " and [ratio4] >= [ratio7] ",
          " and [ratio5] >= [ratio8] ", " and [ratio6] >= [ratio9] ", " and [ratio2] >= [ratio3]/2 + [ratio4]/2 ",
          " and [ratio3]/2 + [ratio4]/2 >= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2", " and [ratio7]/2 + [ratio8]/2 >= [ratio9]",
          " and [ratio2] +[ratio3]>= [ratio4]/2 + [ratio5]/2 ",
          " and [ratio4]/2 + [ratio5]/2 >= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2)",
         },
         5, 1, {{10, 10, Flat}, {11, 18, Rise}}},
        {"Command94", "R2", {9960, 240, Lettered, 0xFFC0FF},
         " where ([ratio1] < 0",
         {
          " and [ratio3] >=0 ", " and [ratio2] < [ratio3] ", " and [ratio3] >= [ratio4] ",
          " and [ratio3] > [ratio5] ", " and [ratio4] > [ratio6] ", " and [ratio5] > [ratio7] ",
          " and [ratio6] > [ratio8] ", " and [ratio7] >= [ratio9] ", " and [ratio3] >= [ratio6] ",
          " and [ratio4] >= [ratio7] ", " and [ratio5] >= [ratio8] ", " and [ratio6] >= [ratio9] ",
          " and [ratio3] >= [ratio4]/2 + [ratio5]/2 ", " and [ratio4]/2 + [ratio5]/2 >= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2",
          " and [ratio3]/2 +[ratio4]/2>= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2 ", " and [ratio7]/2 + [ratio8]/2 >= [ratio9] )",
         },
         5, 1, {{10, 11, Flat}, {12, 18, Rise}}},
        {"Command95", "R3", {10440, 240, Lettered, 0xFFC0FF},
         " where ([ratio1] < 0",
         {
          " and (([ratio2] < 0 ", " and [ratio1] < [ratio2] ", " and [ratio2] > [ratio3]) ", " or ([ratio1] < 0",
          " and [ratio3] < 0 ", " and [ratio2] < [ratio3] ", " and [ratio3] >= [ratio4])) ",
          " and ([ratio1] +2 > [ratio3] ", " and [ratio3] > [ratio5] ", " and [ratio4] > [ratio6] ",
          " and [ratio5] > [ratio7] ", " and [ratio6] > [ratio8] ", " and [ratio7] >= [ratio9] ",
          " and [ratio3] >= [ratio6] ", " and [ratio4] >= [ratio7] ", " and [ratio5] >= [ratio8] ",
          " and [ratio6] >= [ratio9] ", " and [ratio3] >= [ratio4]/2 + [ratio5]/2 ",
          " and [ratio4]/2 + [ratio5]/2 >= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2",
          " and [ratio3]/2 +[ratio4]/2>= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2 ", " and [ratio7]/2 + [ratio8]/2 >= [ratio9] ))",
         },
         5, 1, {{10, 10, Rise}, {11, 11, Flat}, {12, 18, Rise}}},
        {"Command45", "Q1", {9600, 480, Lettered, 0x80FF80},
         " where ([ratio1] > 0",
         {
          " and [ratio1] > [ratio2] ", " and [ratio1] > [ratio3] ", " and [ratio2] > [ratio4] ",
          " and [ratio3] > [ratio5] ", " and [ratio4] > [ratio6] ", " and [ratio5] >= [ratio7] ",
          " and [ratio6] >= [ratio8] ", " and [ratio7] >= [ratio9] ", " and [ratio1] > [ratio4] ",
          " and [ratio2] >= [ratio5] ", " and [ratio3] >= [ratio6] ", " and [ratio4] >= [ratio7] ",
          " and [ratio5] >= [ratio8] ", " and [ratio6] >= [ratio9] ",
          " and [ratio2]/2 + [ratio3]/2 >= [ratio4]/2 + [ratio5]/2 ",
          " and [ratio4]/2 + [ratio5]/2 >= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2", " and [ratio2] >= [ratio3]/2 + [ratio4]/2 ",
          " and [ratio3]/2 + [ratio4]/2 >= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2", " and [ratio7]/2 + [ratio8]/2 >= [ratio9])",
         },
         5, 1, {{10, 10, Fall}, {11, 18, EarlierRise}}},
        {"Command85", "Q2", {9960, 480, Lettered, 0x80FF80},
         " where ([ratio1] > 0",
         {
          " and [ratio1] < [ratio2] ", " and [ratio2] > [ratio3] ", " and [ratio2] > [ratio4] ",
          " and [ratio3] > [ratio5] ", " and [ratio4] > [ratio6] ", " and [ratio5] > [ratio7] ",
          " and [ratio6] > [ratio8] ", " and [ratio7] >= [ratio9] ", " and [ratio2] >= [ratio5] ",
          " and [ratio3] >= [ratio6] ", " and [ratio4] >= [ratio7] ", " and [ratio5] >= [ratio8] ",
          " and [ratio6] >= [ratio9] ", " and [ratio2] >= [ratio3]/2 + [ratio4]/2 ",
          " and [ratio3]/2 + [ratio4]/2 >= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2", " and [ratio7]/2 + [ratio8]/2 >= [ratio9]",
          " and [ratio2] +[ratio3]>= [ratio4]/2 + [ratio5]/2 ",
          " and [ratio4]/2 + [ratio5]/2 >= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2)",
         },
         5, 1, {{10, 11, Fall}, {12, 18, EarlierRise}}},
        {"Command86", "Q3", {10320, 480, Lettered, 0x80FF80},
         " where ([ratio1] > 0",
         {
          " and [ratio1] < [ratio2] ", " and [ratio2] <= [ratio3] ", " and [ratio3] > [ratio4] ",
          " and [ratio3] > [ratio5] ", " and [ratio4] > [ratio6] ", " and [ratio5] > [ratio7] ",
          " and [ratio6] > [ratio8] ", " and [ratio7] >= [ratio9] ", " and [ratio3] >= [ratio6] ",
          " and [ratio4] >= [ratio7] ", " and [ratio5] >= [ratio8] ", " and [ratio6] >= [ratio9] ",
          " and [ratio3] >= [ratio4]/2 + [ratio5]/2 ", " and [ratio4]/2 + [ratio5]/2 >= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2",
          " and [ratio3] +[ratio4]>= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2 ",
          " and [ratio7]/2 + [ratio8]/2 >= [ratio9]/2 )",
         },
         5, 1, {{10, 12, Fall}, {13, 18, EarlierRise}}},
        {"Command46", "Q4", {10680, 480, Lettered, 0x80FF80},
         " where ([ratio1] > 0",
         {
          " and [ratio1] <= [ratio2] ", " and [ratio2] < [ratio3] ", " and [ratio3] <= [ratio4] ",
          " and [ratio4] > [ratio6] ", " and [ratio5] > [ratio7] ", " and [ratio6] > [ratio8] ",
          " and [ratio7] >= [ratio9] ", " and [ratio4] >= [ratio7] ", " and [ratio5] >= [ratio8] ",
          " and [ratio6] >= [ratio9] ", " and [ratio4] >= [ratio5]/2 + [ratio6]/2 ",
          " and [ratio5]/2 + [ratio6]/2 >= [ratio7]/2 + [ratio8]/2 ", " and [ratio7]/2 + [ratio8]/2 >=  [ratio9]",
          " and [ratio4] +[ratio5]>= [ratio6]/2 + [ratio7]/2 ",
          " and [ratio6]/2 + [ratio7]/2 >= [ratio8]/2 + [ratio9]/2) ",
         },
         5, 1, {{10, 13, Fall}, {14, 18, EarlierRise}}},
    });
}

}  // namespace cardtrend
