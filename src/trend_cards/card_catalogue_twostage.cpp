// 2段階上げ: a rise to a high, a fall back to a low N periods ago and a second rise since.
// Each record keeps its SQL text exactly as written, blanks, repeats and bound order included.
#include "trend_cards/card_catalogue.h"
#include "trend_cards/card_catalogue_entries.h"

namespace cardtrend {

using namespace entries;

std::vector<trend::TrendPattern> twoStagePatterns() {
    return groupPatterns("2段階上げ", {
        {"Command64", "1", {9840, 840, Numbered, 0x8080FF},
         " where ([ratio1] between -5 and -150",
         {
          " and (([ratio1] < [ratio2]", " and [ratio2] <= [ratio3])", " and ([ratio3] <= [ratio4]",
          " and [ratio4] - [ratio1] >= 2", " and [ratio4] >= [ratio5]", " and [ratio5] >= [ratio6]",
          " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9])",
          " or ([ratio1] < [ratio2]", " and [ratio2] <= [ratio3]", " and [ratio3] - [ratio1] >= 1",
          " and [ratio3] >= [ratio4]", " and [ratio4] >= [ratio5]", " and [ratio5] >= [ratio6]",
          " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9] )",
          " or ([ratio1] < [ratio2]", " and [ratio3] - [ratio1] >= 0", " and [ratio2] >= [ratio3]",
          " and [ratio3] >= [ratio4]", " and [ratio4] >= [ratio5]", " and [ratio5] >= [ratio6]",
          " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9])))",
         },
         5, 1, {{10, 10, Rise}, {11, 13, Dip}, {14, 18, Rise}}},
        {"Command34", "2", {10080, 840, Numbered, 0x8080FF},
         " where ([ratio2] between -5 and -100",
         {
          " and [ratio1] <= 0", " and [ratio1] >= [ratio2] )", " and (([ratio2] < [ratio3]",
          " and [ratio3] <= [ratio4]", " and [ratio4] < [ratio5]", " and [ratio5] - [ratio2] >= 2",
          " and [ratio5] >= [ratio6]", " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]",
          " and [ratio8] >= [ratio9])", " or ([ratio2] < [ratio3]", " and [ratio3] <= [ratio4]",
          " and [ratio4] - [ratio2] >= 1", " and [ratio4] >= [ratio5]", " and [ratio5] >= [ratio6]",
          " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9] )",
          " or ([ratio2] < [ratio3]", " and [ratio3] - [ratio2] >=0", " and [ratio3] >= [ratio4]",
          " and [ratio4] >= [ratio5]", " and [ratio5] >= [ratio6]", " and [ratio6] >= [ratio7]",
          " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9]))",
         },
         5, 1, {{10, 11, Rise}, {12, 14, Dip}, {15, 18, Rise}}},
        {"Command97", "3", {10320, 840, Numbered, 0x8080FF},
         " where ([ratio3] <= -5 ",
         {
          " and [ratio1] <= 0", " and [ratio1] >= [ratio2] ", " and [ratio2] >= [ratio3] ",
          " and [ratio1] - [ratio3] > 1)", " and (([ratio3] < [ratio4] ", " and [ratio4] <= [ratio5] ",
          " and [ratio5] <= [ratio6] ", " and [ratio6] - [ratio3] >= 0", " and [ratio6] >= [ratio7]",
          " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9])", " or ([ratio3] < [ratio4]",
          " and [ratio4] <= [ratio5]", " and [ratio5] - [ratio3] >= 0", " and [ratio5] >= [ratio6]",
          " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9])",
          " or ([ratio3] < [ratio4]", " and [ratio4] - [ratio3] >=0", " and [ratio4] >= [ratio5]",
          " and [ratio5] >= [ratio6]", " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]",
          " and [ratio8] >= [ratio9]))",
         },
         5, 1, {{10, 12, Rise}, {13, 15, Dip}, {16, 18, Rise}}},
        {"Command93", "4", {10560, 840, Numbered, 0x8080FF},
         " where ([ratio4]  <= -5",
         {
          " and ([ratio1] <= 0", " and [ratio4] <= [ratio3]", " and [ratio1] > [ratio2]/2 + [ratio3]/2 ",
          " and [ratio2]/2 + [ratio3]/2 > [ratio4]", " and [ratio1]/2 + [ratio2]/2 > [ratio3]/2 + [ratio4]/2 ",
          " and [ratio3] <= [ratio2]/2 + [ratio1]/2))", " and (([ratio4] < [ratio5]", " and [ratio5] <= [ratio6]",
          " and [ratio6] - [ratio4] >= 0 ", " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]",
          " and [ratio8] >= [ratio9])", " or ([ratio4] < [ratio5]", " and [ratio5] >= [ratio6]",
          " and [ratio6] >= [ratio7]", " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9] )",
          " or ([ratio4] < [ratio5]", " and [ratio5] >= [ratio6]", " and [ratio6] >= [ratio7]",
          " and [ratio7] >= [ratio8]", " and [ratio8] >= [ratio9] ))",
         },
         5, 1, {{10, 13, Rise}, {14, 16, Dip}, {17, 18, Rise}}},
        {"Command96", "5", {10800, 840, Numbered, 0x8080FF},
         " where ([ratio5] between  -5 and -100",
         {
          " and [ratio1] >= [ratio2]/2 + [ratio3]/2 ", " and [ratio2]/2 + [ratio3]/2 >=[ratio4]/2 + [ratio5]/2 ",
          " and [ratio1]/2 + [ratio2]/2 >= [ratio3]/2 + [ratio4]/2 ", " and [ratio3]/2 + [ratio4]/2 >= [ratio5] ",
          " and [ratio3] <= [ratio2]/2 + [ratio1]/2", " and [ratio1] >= [ratio2]-2 ",
          " and [ratio2] >= [ratio3]-2 ", " and [ratio3] >= [ratio4]-2 ", " and [ratio1] > [ratio3] ",
          " and [ratio2] > [ratio4] ", " and [ratio1] <= 0", " and [ratio1]/2 + [ratio2]/2 <0 ",
          " and [ratio4] >= [ratio5] ", " and [ratio5] <= [ratio6])", " and (([ratio5] <= [ratio6]",
          " and [ratio6] <= [ratio7]", " and [ratio7] <= [ratio8]", " and [ratio7] <= [ratio8]",
          " and [ratio8] - [ratio5] > 0", " and [ratio8] > [ratio9] )", " or ([ratio5] <= [ratio6]",
          " and [ratio6] <= [ratio7]", " and [ratio7] - [ratio5] >= 0", " and [ratio7] > [ratio8] ",
          " and [ratio8] > [ratio9] ))",
         },
         5, 1, {{10, 14, Rise}, {15, 17, Dip}, {18, 18, Rise}}},
    });
}

}  // namespace cardtrend
