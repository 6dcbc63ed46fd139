// 連騰: the price rose or held at every step over the last N periods.
#include "trend_stocks/catalogue_support.h"

namespace trend {

using namespace catalogue;

namespace {

struct Consecutive {
    const char* control;
    int n;
    double highest;   // upper bound of the anchor's range
    double lift;
};

const Consecutive buttons[] = {
    {"Command85", 3, -4, 1}, {"Command19", 4, -4, 1}, {"Command12", 5, -5, 1}, {"Command25", 6, -5, 3},
    {"Command9", 7, -5, 3},  {"Command47", 8, -5, 3}, {"Command48", 9, -5, 5},
};

}  // namespace

std::vector<TrendPattern> consecutiveRisePatterns() {
    std::vector<TrendPattern> v;
    for (const Consecutive& row : buttons) {
        const int n = row.n;
        TrendPattern p;
        p.control = QString::fromLatin1(row.control);
        p.caption = QStringLiteral("E%1").arg(n);
        p.group = QStringLiteral("連騰");
        p.left = 4920 + 360 * (n - 3);
        p.top = 1320;
        p.width = 375;
        p.height = 255;
        p.faceColor = 0x8080FF;
        p.condition = paren(paren(StepClimb(n, -150, row.highest, row.lift)));
        p.sortCol = ratioCol(n);
        p.sortOrder = 2;
        p.tints = anchorTints(n, n < 9 ? n + 1 : n, Cyan);
        p.errorTrap = n != 9;
        v.push_back(p);
    }
    return v;
}

}  // namespace trend
