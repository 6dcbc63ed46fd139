// 移動平均による上昇銘柄: the latest price against its 3-, 5- and 10-period moving averages, the last
// period's change and the path of the earlier prices. Every record opens with the same band on ratio9.
// Each record keeps its SQL text exactly as written, blanks, repeats and bound order included.
#include "trend_cards/card_catalogue.h"
#include "trend_cards/card_catalogue_entries.h"

namespace cardtrend {

using namespace entries;

namespace {
constexpr const char* kOpening = " where ([ratio9]  between  -500 and +500)";
}  // namespace

std::vector<trend::TrendPattern> movingAveragePatterns() {
    return groupPatterns("移動平均による上昇銘柄", {
        {"Command104", "1", {8880, 4920, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -10 and -500 ", " and ([ratio4] <= -5", " and [ratio5] <= -10",
          " and [ratio6] <= -10", " and [ratio7] <= -10 ", " and [ratio8] <= -10", " and [ratio9] <= -10)",
         },
         10, 2, {{10, 18, AverageRise}}},
        {"Command105", "21", {9360, 4920, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -9 and -5 ", " and (([ratio5] <= -5", " and [ratio4] <= -5", " and [ratio6] <= -5",
          " and [ratio3]/2  + [ratio4]/2 >= [ratio5] ", " and [ratio4]/2  + [ratio5]/2 >= [ratio6] ",
          " and [ratio6] >= [ratio7] ", " and [ratio6] > [ratio8] ", " and [ratio6] >= [ratio9])",
          " or ([ratio4] <= -5", " and [ratio5] <= -10", " and [ratio6] <= -10", " and [ratio7] <= -10 ",
          " and [ratio8] <= -10", " and [ratio9] <= -10))",
         },
         10, 2, {{10, 18, AverageRise}}},
        {"Command106", "22", {9360, 5160, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -9 and -5 ", " and (([ratio5] <= -4", " and [ratio6] <= -4",
          " and ([ratio3]/2  + [ratio4]/2) >= ([ratio5]/2 + [ratio6]/2)", " and [ratio6] <= [ratio7] ",
          " and [ratio6] < [ratio8] ", " and [ratio6] <= [ratio9]))",
         },
         10, 2, {{10, 15, AverageRise}, {16, 18, Fall}}},
        {"Command101", "23", {9360, 5400, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -9 and -5 ", " and (([ratio3] <= -4", " and [ratio4] <= -4",
          " and [ratio1]/2  + [ratio2]/2 >= [ratio3] ", " and [ratio2]/2  + [ratio3]/2 >= [ratio4] ",
          " and ([ratio3]/2  + [ratio4]/2) < ([ratio5]/2 + [ratio6]/2)", " and [ratio6] <= [ratio7] ",
          " and [ratio6] < [ratio8] ", " and [ratio6] <= [ratio9]))",
         },
         5, 1, {{10, 13, AverageRise}, {14, 18, Fall}}},
        {"Command110", "31", {9720, 4920, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -4 and -2", " and (([ratio5] <= -4", " and [ratio6] <= -4",
          " and [ratio3]/2  + [ratio4]/2 >= [ratio5] ", " and [ratio4]/2  + [ratio5]/2 >= [ratio6] ",
          " and [ratio1]/2  + [ratio2]/2 >= [ratio3]/2  + [ratio4]/2  ",
          " and [ratio3]/2  + [ratio4]/2 >= [ratio5]/2  + [ratio6]/2  ", " and [ratio6] >= [ratio7] ",
          " and [ratio6] > [ratio8] ", " and [ratio6] >= [ratio9]))",
         },
         5, 1, {{10, 18, AverageRise}}},
        {"Command109", "32", {9720, 5160, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -4 and -2", " and (([ratio5] <= -4", " and [ratio6] <= -4",
          " and ([ratio3]/2  + [ratio4]/2) >= ([ratio5]/2 + [ratio6]/2)", " and [ratio8]-[ratio5] >= 1 ",
          " and [ratio6] <= [ratio7] ", " and [ratio6] < [ratio8] ", " and [ratio6] <= [ratio9]))",
         },
         5, 1, {{10, 15, AverageRise}, {16, 18, Fall}}},
        {"Command100", "33", {9720, 5400, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -4 and -2", " and (([ratio3] <= -4", " and [ratio4] <= -4",
          " and [ratio1]/2  + [ratio2]/2 >= [ratio3] ", " and [ratio2]/2  + [ratio3]/2 >= [ratio4] ",
          " and ([ratio3]/2  + [ratio4]/2) < ([ratio5]/2 + [ratio6]/2)", " and [ratio6] <= [ratio7] ",
          " and [ratio6] < [ratio8] ", " and [ratio6] <= [ratio9]))",
         },
         5, 1, {{10, 13, AverageRise}, {14, 18, Fall}}},
        {"Command111", "41", {10080, 4920, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -1 and 100 ", " and ([ratio5] <= -2", " and [ratio4] < -2", " and [ratio6] < -2",
          " and [ratio7] < -2", " and [ratio3] > [ratio5] ",
          " and [ratio3]/2 + [ratio4]/2 >= [ratio5]/2 + [ratio6]/2", " and [ratio6] >= [ratio7] ",
          " and [ratio6] > [ratio8] ", " and [ratio6] >= [ratio9]) ",
         },
         5, 1, {{10, 18, AverageRise}}},
        {"Command112", "42", {10080, 5160, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -1 and 100 ", " and ([ratio6] <= -4", " and [ratio7] <= -4", " and [ratio5] <= -3",
          " and [ratio3]/2 + [ratio4]/2 >= [ratio5]/2 + [ratio6]/2 ", " and [ratio7] >= [ratio6]",
          " and [ratio8] >= [ratio6]", " and [ratio9] >= [ratio6])",
         },
         5, 1, {{10, 15, AverageRise}, {16, 18, Fall}}},
        {"Command102", "43", {10080, 5400, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (-1 >= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -1 and 100 ", " and ([ratio3] <= -3", " and [ratio4] <= -3",
          " and [ratio1]/2  + [ratio2]/2 >= [ratio3] ", " and [ratio2]/2  + [ratio3]/2 >= [ratio4] ",
          " and [ratio3]/2 + [ratio4]/2 <= [ratio5]/2 + [ratio6]/2", " and [ratio4] <= [ratio6] ",
          " and [ratio4] <= [ratio7] ", " and [ratio4] <= [ratio8] ",
          " and [ratio5]/2 + [ratio6]/2 <= [ratio7]/2 + [ratio8]/2", " and [ratio4] <= [ratio9])",
         },
         5, 1, {{10, 13, AverageRise}, {14, 18, Fall}}},
        {"Command107", "51", {10560, 4920, Lettered, 0xC49DD5},
         kOpening,
         {
          " and (0 <= ([ratio1] + [ratio2])/3)", " and (-1 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5)",
          " and (-2 >= ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10)",
          " and [ratio1] between -500 and 10 ", " and (([ratio5] <= -4", " and [ratio6] <= -4",
          " and [ratio3]/2  + [ratio4]/2 >= [ratio5] ", " and [ratio4]/2  + [ratio5]/2 >= [ratio6] ",
          " and [ratio6] >= [ratio7] ", " and [ratio6] > [ratio8] ", " and [ratio6] >= [ratio9])",
          " or ([ratio4] <= -5", " and [ratio5] <= -10", " and [ratio6] <= -10", " and [ratio7] <= -10 ",
          " and [ratio8] <= -10", " and [ratio9] <= -10))",
         },
         5, 1, {{10, 10, Fall}, {11, 18, AverageRise}}},
        {"Command108", "52", {10560, 5160, Lettered, 0xC49DD5},
         kOpening,
         {
          " and ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5  between 0 and 1",
          " and ([ratio1] + [ratio2]+ [ratio3]+ [ratio4]+ [ratio5]+ [ratio6]+ [ratio7]+ [ratio8]+ [ratio9])/10  between -50 and -1",
          " and [ratio1] between -500 and 10 ", " and (([ratio5] <= -4", " and [ratio6] <= -4",
          " and [ratio3]/2  + [ratio4]/2 >= [ratio5] ", " and [ratio4]/2  + [ratio5]/2 >= [ratio6] ",
          " and [ratio6] >= [ratio7] ", " and [ratio6] > [ratio8] ", " and [ratio6] >= [ratio9])",
          " or ([ratio4] <= -5", " and [ratio5] <= -10", " and [ratio6] <= -10", " and [ratio7] <= -10 ",
          " and [ratio8] <= -10", " and [ratio9] <= -10))",
         },
         5, 1, {{10, 11, Fall}, {12, 18, AverageRise}}},
    });
}

}  // namespace cardtrend
