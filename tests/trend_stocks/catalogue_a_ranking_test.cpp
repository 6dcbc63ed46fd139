// Ranking bands, the flat range and the D row over hand-made rows.
#include "ratio_table.h"

using namespace catalogue_test;

// Keys are the controls: "1", "5" and "9" stand in both columns.
// Risers 1 5 9: Command50 Command18 Command24; fallers 1 5 9: Command64 Command74 Command75;
// 保合 Command14; D1 Command57, D2 Command6, D3 Command60, D4 Command71.
TEST(RankingPatterns, SelectExactlyTheirRows) {
    expectSelections(trend::rankingPatterns(), {
        {"risen 8 over one period (closed bound)", {-8, 0, 0, 0, 0, 0, 0, 0, 0}, "Command50"},
        {"risen 7.9 over one period", {-7.9, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
        {"fallen 8 over one period", {8, 0, 0, 0, 0, 0, 0, 0, 0}, "Command64"},
        {"fallen 7.9 over one period", {7.9, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
        {"risen over five and nine periods", {0, 0, 0, 0, -30, 0, 0, 0, -9}, "Command18 Command24"},
        {"riser bound -500 is closed", {0, 0, 0, 0, 0, 0, 0, 0, -500}, "Command24"},
        {"fallen 500 over five, more over nine", {0, 0, 0, 0, 500, 0, 0, 0, 500.1}, "Command74"},
        {"fallen over nine periods", {0, 0, 0, 0, 0, 0, 0, 0, 40}, "Command75"},
        {"risen nine periods, no price five back", {0, 0, 0, 0, NA, 0, 0, 0, -20}, "Command24"},
        {"flat within 3, bounds included", {3, -3, 0, 1, 3, -2, 0, 2, -3}, "Command14"},
        {"flat but one change of 3.1", {3, -3, 0, 1, 3.1, -2, 0, 2, -3}, ""},
        {"flat but no price nine back", {0, 0, 0, 0, 0, 0, 0, 0, NA}, ""},
        {"D1 band 1: jump of 6 after four flat periods", {-6, -6.5, -5, -7, 0, 0, 0, 0, 0}, "Command57"},
        {"D1: jump between -8 and -7", {-7.5, -7.5, -7.5, -7.5, 0, 0, 0, 0, 0}, ""},
        {"D1 band 3 from -13, tolerance 3", {-13, -10, -10, -10, 0, 0, 0, 0, 0}, "Command50 Command57"},
        {"D1: jump between -13 and -12", {-12.5, -12.5, -12.5, -12.5, 0, 0, 0, 0, 0}, "Command50"},
        {"D1 band 2 but a period 2.5 off", {-10, -7.5, -10, -10, 0, 0, 0, 0, 0}, "Command50"},
        {"D2 band 3: 3 and 4 back within 2 of 2 back", {-10, -14, -12, -16, 0, 0, 0, 0, 0}, "Command50 Command6"},
        {"D2 band 3: 3 back 2.1 off", {-10, -14, -11.9, -16, 0, 0, 0, 0, 0}, "Command50"},
        {"D2: rise between -8 and -7", {-3, -7.5, -7.5, -7.5, 0, 0, 0, 0, 0}, ""},
        {"D2 band 1 but held in the last period: D1 takes it", {-6.5, -6.5, -6.5, -6.5, 0, 0, 0, 0, 0}, "Command57"},
        {"D3 at -12, in its second and third band", {-4, -8, -12, -12.5, 0, 0, 0, 0, 0}, "Command60"},
        {"D3: rise between -9 and -8", {-2, -5, -8.5, -8.5, 0, 0, 0, 0, 0}, ""},
        {"D3 band 1 but a held step", {-2, -2, -7, -7, 0, 0, 0, 0, 0}, ""},
        {"D4 band 1", {-2, -4, -5, -7, -7.5, 0, 0, 0, 0}, "Command71"},
        {"D4 band 3, 5 back 3 off", {-3, -6, -9, -20, -17, 0, 0, 0, 0}, "Command71 Command18"},
        {"D4 band 1 without a price 5 back", {-2, -4, -5, -7, NA, 0, 0, 0, 0}, ""},
    }, controlKey);
}
