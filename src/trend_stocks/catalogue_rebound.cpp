// 反転上昇: rebounds after a fall. Row "S1" to "S7" and the upper row "1" to "5".
#include "trend_stocks/catalogue_rows.h"

namespace trend {
namespace {

using namespace rows;

const QString kGroup = QStringLiteral("反転上昇");
constexpr int kLabelLeft = 4560;

constexpr unsigned kRise = 0x8080FF;
constexpr unsigned kBefore = 0xFFFFC0;
constexpr unsigned kFlat = 0xC0E0FF;

// The price rose or held from K periods before to the latest: r1 <= 0 and r1 >= r2 and ... and
// r(K-1) >= rK.
QString climbTo(int k) {
    QStringList c{QStringLiteral("r1 <= 0")};
    for (int i = 1; i < k; ++i) c << r(i) + " >= " + r(i + 1);
    return c.join(QStringLiteral(" and "));
}

// The prices before the low stood higher: rK < r(K+1), then ri against r(i+2) for i from K to 7,
// strict up to i = 4 and non-strict from 5 on. `lenientAt4` writes r4 <= r6 in place of r4 < r6.
QString lagFall(int k, bool lenientAt4 = false) {
    QStringList c{r(k) + " < " + r(k + 1)};
    for (int i = k; i <= 7; ++i) {
        const bool strict = i <= 4 && !(lenientAt4 && i == 4);
        c << r(i) + (strict ? " < " : " <= ") + r(i + 2);
    }
    return c.join(QStringLiteral(" and "));
}

// Each price from S periods before back to 9 periods before at least as high as the one a
// period newer: rS - r(S+1) <= 0 and ... and r8 - r9 <= 0.
QString fallBackFrom(int s) {
    QStringList c;
    for (int i = s; i < 9; ++i) c << r(i) + " - " + r(i + 1) + " <= 0";
    return c.join(QStringLiteral(" and "));
}

// The prices K+1 to K+F periods before lay flat around the price K periods before, and before
// them the prices fell. The tolerance is `near` against K+1 and `far` against the older ones.
QString flatThenFall(int k, int f, double nearTol, double farTol) {
    QString run = FlatRun(k, k + 1, k + 1, nearTol);
    if (f > 1) run = all({run, FlatRun(k, k + 2, k + f, farTol)});
    return all({run, fallBackFrom(k + f)});
}
QString flatThenFall(int k, int f, double tol) { return flatThenFall(k, f, tol, tol); }

// The fall-then-climb shape of "S1" to "S4".
QString fallThenClimb(int k, const QString& anchorRange, bool lenientAt4 = false) {
    QStringList c{anchorRange};
    if (k > 1) c << climbTo(k);
    c << lagFall(k, lenientAt4) << PairLadder(k, 9, true) << OffsetLadder(k, 9, true)
      << r(9) + " - " + r(k) + " > 3";
    return c.join(QStringLiteral(" and "));
}

// The row "S1" to "S7".
std::vector<TrendPattern> lowerRow() {
    struct Row {
        const char* caption;
        const char* control;
        int anchor;
        QString condition;
        int lastRiseTint;
    };
    const Row table[] = {
        {"S1", "Command27", 1, fallThenClimb(1, "r1 in [-150, -5]"), 1},
        {"S2", "Command29", 2, fallThenClimb(2, "r2 in [-150, -4]"), 2},
        {"S3", "Command7", 3, fallThenClimb(3, "r3 in [-150, -5]"), 3},
        {"S4", "Command39", 4, fallThenClimb(4, "r4 in [-150, -5]", true), 4},
        {"S5", "Command55", 5,
         all({"r5 in [-100, -5]", ShiftedPairRise(5, ">="), PairRise(5, ">="), Midpoint(),
              StepsWithin2(3), TwoPeriodRises(2), RecentRise(),
              "r4 >= r5 and r5 <= r6 and r5 < r6 and r5 <= r7 and r6 < r8 and r7 <= r9",
              "r9 - r5 > 2"}),
         5},
        {"S6", "Command20", 6,
         all({"r6 in [-150, -5]", ShiftedPairRise(6, ">="), PairRise(6, ">="), Midpoint(),
              StepsWithin2(5), TwoPeriodRises(4), RecentRise(),
              "r5 >= r6 and r6 <= r7 and r7 < r8 and r8 <= r9"}),
         6},
        // Either climb ladder will do; the tint runs one column past the anchor.
        {"S7", "Command91", 7,
         all({"r7 in [-160, -5]",
              paren(any({paren(ShiftedPairRise(7, ">")), paren(PairRise(7, ">"))})),
              StepsWithin2(6), TwoPeriodRises(4), RecentRise(),
              "r6 >= r7 and r7 <= r8 and r8 < r9"}),
         8},
    };
    std::vector<TrendPattern> out;
    int left = kLabelLeft;
    for (const Row& row : table) {
        out.push_back(pattern(row.control, QString::fromLatin1(row.caption), kGroup, {left, 960, 375, 225, 0xFFFF00},
                              row.condition, ratioCol(row.anchor), 2,
                              ratioTints({{1, row.lastRiseTint, kRise}, {row.lastRiseTint + 1, 9, kBefore}})));
        left += 360;
    }
    return out;
}

// Button "2" of the upper row: one band of r2.
QString flatAt2Band(const QString& range, double tolAt3, double tolBeyond) {
    return all({range, "r1 <= 0 and r2 - r1 < 0 and r2 < r3",
                paren(any({paren(flatThenFall(2, 3, tolAt3, tolBeyond)),
                           paren(flatThenFall(2, 2, tolAt3, tolBeyond)),
                           paren(flatThenFall(2, 1, tolAt3))}))});
}

// Button "4" of the upper row: one band of r4.
QString flatAt4Band(const QString& range, double tol) {
    return all({range, climbTo(4), "r4 < r5",
                paren(any({paren(flatThenFall(4, 3, tol)), paren(flatThenFall(4, 2, tol)),
                           paren(flatThenFall(4, 1, tol))}))});
}

// The upper row "1" to "5", from "1" above "S4".
std::vector<TrendPattern> upperRow() {
    struct Row {
        const char* control;
        QString condition;
        unsigned face;
    };
    const Row table[] = {
        {"Command62",
         paren(any({
             all({"r1 in [-10, -4] and r2 > r1", flatThenFall(1, 3, 1)}),
             all({"r2 > r1 and r1 in [-10, -2]", flatThenFall(1, 2, 1)}),
             all({"r2 > r1 and r1 in [-10, -2]", flatThenFall(1, 1, 1)}),
             all({"r1 in [-150, -11] and r2 > r1", flatThenFall(1, 3, 2), "r9 - r4 >= 2"}),
             all({"r2 > r1 and r1 in [-150, -11]", flatThenFall(1, 2, 2), "r9 - r3 >= 2"}),
             all({"r2 > r1 and r1 in [-150, -11]", flatThenFall(1, 1, 2), "r9 - r2 >= 2"}),
         })),
         0xFFFF80},
        {"Command61",
         paren(any({flatAt2Band("r2 in [-10, -4]", 1, 1), flatAt2Band("r2 in [-17, -11]", 2, 2),
                    flatAt2Band("r2 in [-170, -18]", 2, 3)})),
         0xFFFF80},
        // Two alternatives side by side, without an enclosing group.
        {"Command59",
         any({all({"r3 in [-8, -5]", StepRise(3), "r4 - r3 > 0 and r1 + r2 + r2 < 0 and r1 - r3 >= 1",
                   flatThenFall(3, 3, 1)}),
              all({"r3 in [-100, -15] and r1 >= r2 and r2 >= r3 and r1 <= 0 and r3 < r4",
                   paren(flatThenFall(3, 3, 2))})}),
         0xFFFF80},
        {"Command73", any({flatAt4Band("r4 in [-8, -5]", 1), flatAt4Band("r4 in [-100, -15]", 2)}),
         0xFFFF80},
        {"Command36",
         all({"r5 in [-100, -5]", ShiftedPairRise(5, ">="), PairRise(5, ">="), Midpoint(), "r5 < r6",
              StepsWithin2(3), TwoPeriodRises(2), RecentRise(), "r4 >= r5 and r5 <= r6",
              OffsetLadder(5, 9, true), PairLadder(5, 9, true), "r5 < r7 and r6 < r8 and r7 < r9",
              "r9 - r5 > 2"}),
         0x80FF80},
    };
    std::vector<TrendPattern> out;
    int left = kLabelLeft + 3 * 360;
    int anchor = 1;
    for (const Row& row : table) {
        out.push_back(pattern(row.control, QString::number(anchor), kGroup, {left, 720, 255, 255, row.face},
                              row.condition, ratioCol(anchor), 2,
                              ratioTints({{1, anchor, kRise}, {anchor + 1, anchor + 3, kFlat}, {anchor + 4, 9, kBefore}})));
        left += 240;
        ++anchor;
    }
    return out;
}

}  // namespace

std::vector<TrendPattern> reboundPatterns() {
    std::vector<TrendPattern> out = upperRow();
    for (TrendPattern& p : lowerRow()) out.push_back(std::move(p));
    return out;
}

}  // namespace trend
