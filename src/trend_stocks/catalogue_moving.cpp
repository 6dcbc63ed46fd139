// 移動平均: rising stocks by their 3-, 5- and 10-period moving averages. The tens digit of a
// caption picks the band of the last change, the units digit the shape of the older prices.
#include "trend_stocks/catalogue_rows.h"

namespace trend {
namespace {

using namespace rows;

// How far each mean of the latest prices (the latest included) lies above the latest price.
const QString MA3 = QStringLiteral("(r1 + r2)/3");
const QString MA5 = QStringLiteral("(r1 + r2 + r3 + r4)/5");
const QString MA10 = QStringLiteral("(r1 + r2 + r3 + r4 + r5 + r6 + r7 + r8 + r9)/10");

const QString AboveAverages = "-1 >= " + MA3 + " and -1 >= " + MA5 + " and -1 >= " + MA10;
const QString LongRise =
    QStringLiteral("r4 <= -5 and r5 <= -10 and r6 <= -10 and r7 <= -10 and r8 <= -10 and r9 <= -10");
const QString MeanClimbFrom6 = QStringLiteral("r3/2 + r4/2 >= r5 and r4/2 + r5/2 >= r6");
const QString MeanClimbFrom4 = QStringLiteral("r1/2 + r2/2 >= r3 and r2/2 + r3/2 >= r4");
const QString HighAt6 = QStringLiteral("r6 >= r7 and r6 > r8 and r6 >= r9");
const QString LowAt6 = QStringLiteral("r6 <= r7 and r6 < r8 and r6 <= r9");

constexpr unsigned kOrange = 0x80C0FF;
constexpr unsigned kGreen = 0xF5FDD0;

}  // namespace

std::vector<TrendPattern> movingAveragePatterns() {
    const QString dipAt3or4 = paren(all({"r3 <= -4 and r4 <= -4", MeanClimbFrom4,
                                         "(r3/2 + r4/2) < (r5/2 + r6/2)", LowAt6}));
    const QString highAt6OrLongRise =
        paren(any({paren(all({"r5 <= -4 and r6 <= -4", MeanClimbFrom6, HighAt6})), paren(LongRise)}));
    const auto allOrange = ratioTints({{1, 9, kOrange}});
    const auto lowAt6Tints = ratioTints({{1, 6, kOrange}, {7, 9, kGreen}});
    const auto dipTints = ratioTints({{1, 4, kOrange}, {5, 9, kGreen}});

    struct Row {
        const char* caption;
        const char* control;
        int left;
        int top;
        unsigned face;
        QString averages;
        const char* lastChange;
        QString shape;
        std::vector<HeaderTint> tints;
    };
    const Row table[] = {
        {"1", "Command65", 8520, 1320, 0x8080FF, AboveAverages, "r1 in [-500, -10]", paren(LongRise), allOrange},
        {"21", "Command94", 8880, 840, 0xC49DD5, AboveAverages, "r1 in [-9, -5]",
         paren(any({paren(all({"r5 <= -5 and r4 <= -5 and r6 <= -5", MeanClimbFrom6, HighAt6})), paren(LongRise)})),
         allOrange},
        {"22", "Command95", 8880, 1080, 0xC49DD5, AboveAverages, "r1 in [-9, -5]",
         paren(all({"r5 <= -4 and r6 <= -4 and (r3/2 + r4/2) >= (r5/2 + r6/2)", LowAt6})), lowAt6Tints},
        {"23", "Command96", 8880, 1320, 0xC49DD5, AboveAverages, "r1 in [-9, -5]", dipAt3or4, dipTints},
        {"31", "Command82", 9240, 840, 0xC49DD5, AboveAverages, "r1 in [-4, -2]",
         paren(all({"r5 <= -4 and r6 <= -4", MeanClimbFrom6, PairRise(6, ">="), HighAt6})), allOrange},
        {"32", "Command81", 9240, 1080, 0xC49DD5, AboveAverages, "r1 in [-4, -2]",
         paren(all({"r5 <= -4 and r6 <= -4 and (r3/2 + r4/2) >= (r5/2 + r6/2) and r8 - r5 >= 1", LowAt6})),
         lowAt6Tints},
        {"33", "Command88", 9240, 1320, 0xC49DD5, AboveAverages, "r1 in [-4, -2]", dipAt3or4, dipTints},
        // r5 is compared non-strictly, r4, r6 and r7 strictly.
        {"41", "Command76", 9600, 840, 0xC49DD5, AboveAverages, "r1 in [-1, 100]",
         paren(all({"r5 <= -2 and r4 < -2 and r6 < -2 and r7 < -2 and r3 > r5 and r3/2 + r4/2 >= r5/2 + r6/2",
                    HighAt6})),
         allOrange},
        // Its low at 6 is non-strict on all three sides.
        {"42", "Command89", 9600, 1080, 0xC49DD5, AboveAverages, "r1 in [-1, 100]",
         QStringLiteral("(r6 <= -4 and r7 <= -4 and r5 <= -3 and r3/2 + r4/2 >= r5/2 + r6/2 and r7 >= r6 and "
                        "r8 >= r6 and r9 >= r6)"),
         lowAt6Tints},
        {"43", "Command92", 9600, 1320, 0xC49DD5, AboveAverages, "r1 in [-1, 100]",
         paren(all({"r3 <= -3 and r4 <= -3", MeanClimbFrom4,
                    "r3/2 + r4/2 <= r5/2 + r6/2 and r4 <= r6 and r4 <= r7 and r4 <= r8 and "
                    "r5/2 + r6/2 <= r7/2 + r8/2 and r4 <= r9"})),
         dipTints},
        // At or below the three-price mean, well above the ten-price one.
        {"51", "Command98", 9960, 1320, 0xC0FFC0, all({"0 <= " + MA3, "-1 >= " + MA5, "-2 >= " + MA10}),
         "r1 in [-500, 10]", highAt6OrLongRise, ratioTints({{1, 1, kGreen}, {2, 9, kOrange}})},
        {"52", "Command100", 10320, 1320, 0xC0FFC0, all({MA5 + " in [0, 1]", MA10 + " in [-50, -1]"}),
         "r1 in [-500, 10]", highAt6OrLongRise, ratioTints({{1, 2, kGreen}, {3, 9, kOrange}})},
    };
    std::vector<TrendPattern> out;
    for (const Row& row : table) {
        out.push_back(pattern(row.control, QString::fromLatin1(row.caption), QStringLiteral("移動平均"),
                              {row.left, row.top, 375, 255, row.face},
                              all({"(r9 in [-500, 500])", row.averages, QString::fromLatin1(row.lastChange), row.shape}),
                              ratioCol(9), 1, row.tints));
        out.back().errorTrap = false;
    }
    return out;
}

}  // namespace trend
