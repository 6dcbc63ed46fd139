// 2段階上げ: a first rise up to a peak, a fall to a dip, and a second rise from the dip.
// The caption names the period of the dip.
#include "trend_stocks/catalogue_rows.h"

namespace trend {
namespace {

using namespace rows;

constexpr unsigned kRise = 0x8080FF;

// From the peak P periods before down to the dip D periods before: rD < r(D+1), then
// r(D+1) <= r(D+2) and so on up to r(P-1) <= rP. `strictLast` makes the last step strict.
QString fall(int p, int d, bool strictLast = false) {
    QStringList c{r(d) + " < " + r(d + 1)};
    for (int i = d + 1; i < p; ++i)
        c << r(i) + (strictLast && i + 1 == p ? " < " : " <= ") + r(i + 1);
    return c.join(QStringLiteral(" and "));
}

// From 9 periods before up to the peak: rP >= r(P+1) and so on up to r8 >= r9.
QString riseInto(int p) {
    QStringList c;
    for (int i = p; i < 9; ++i) c << r(i) + " >= " + r(i + 1);
    return c.join(QStringLiteral(" and "));
}

// The peak P periods before, at least m points above the dip D periods before.
QString peak(int p, int d, int m, bool strictLast = false) {
    return paren(all({fall(p, d, strictLast), r(p) + " - " + r(d) + " >= " + QString::number(m), riseInto(p)}));
}

}  // namespace

std::vector<TrendPattern> twoStagePatterns() {
    struct Row {
        const char* control;
        QString condition;
        unsigned span;
        bool errorTrap;
    };
    const Row table[] = {
        // The peak at 4 is split into two groups; the peak at 2 measures its margin from r3.
        {"Command37",
         all({"r1 in [-150, -5]",
              paren(any({all({"(r1 < r2 and r2 <= r3)", paren(all({"r3 <= r4 and r4 - r1 >= 2", riseInto(4)}))}),
                         peak(3, 1, 1), paren(all({"r1 < r2 and r3 - r1 >= 0", riseInto(2)}))}))}),
         0xFFFFC0, true},
        {"Command56",
         all({"(r2 in [-100, -5] and r1 <= 0 and r1 >= r2)",
              paren(any({peak(5, 2, 0, true), peak(4, 2, 0), peak(3, 2, 0)}))}),
         0xF4FAD3, true},
        {"Command21",
         all({"(r3 <= -5 and r1 <= 0 and r1 >= r2 and r2 >= r3 and r1 - r3 > 1)",
              paren(any({peak(6, 3, 0), peak(5, 3, 0), peak(4, 3, 0)}))}),
         0xF7FECF, true},
        // The climb from the dip asks its averages to rise strictly.
        {"Command90",
         all({paren(all({"r4 <= -5", paren(all({"r1 <= 0 and r4 <= r3 and r1 > r2/2 + r3/2 and r2/2 + r3/2 > r4",
                                                 PairRise(4, ">"), Midpoint()}))})),
              paren(any({peak(6, 4, 1), paren(all({"r4 < r5", riseInto(5)}))}))}),
         0xFFFFC0, true},
        // The fall from the peak starts non-strict, the rise into it is strict.
        {"Command41",
         all({paren(all({"r5 in [-100, -5]", ShiftedPairRise(5, ">="), PairRise(5, ">="), Midpoint(),
                         StepsWithin2(3), TwoPeriodRises(2), RecentRise(), "r4 >= r5 and r5 <= r6"})),
              "((r5 <= r6 and r6 <= r7 and r7 <= r8 and r8 - r5 > 2 and r8 > r9) or "
              "(r5 <= r6 and r6 <= r7 and r7 - r5 >= 2 and r7 > r8 and r8 > r9))"}),
         0xFFFFC0, false},
    };
    std::vector<TrendPattern> out;
    int dip = 1;
    for (const Row& row : table) {
        out.push_back(pattern(row.control, QString::number(dip), QStringLiteral("2段階上げ"),
                              {7440 + 240 * (dip - 1), 1080, 255, 225, 0x80FF80}, row.condition, ratioCol(dip), 2,
                              ratioTints({{1, dip, kRise}, {dip + 1, dip + 3, row.span}, {dip + 4, 9, kRise}})));
        out.back().errorTrap = row.errorTrap;
        ++dip;
    }
    return out;
}

}  // namespace trend
