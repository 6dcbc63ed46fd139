// 上昇中: rising over the last N periods, a wider climb through two-period averages or a
// narrower step-by-step climb.
#include "trend_stocks/catalogue_support.h"

namespace trend {

using namespace catalogue;

namespace {

struct Rising {
    const char* control;
    int n;
    int top;
    double lowest;          // lower bound of the wider climb's range
    double lift;            // of the narrower climb
    bool pairChainFirst;    // the two-period-average chains in the other order
    const char* after;      // conjuncts after the chains
};

const Rising buttons[] = {
    {"Command63", 9, 240, -150, 3, true,
     "r3 <= r2/2 + r1/2 and r7 >= r8/2 + r9/2 and r1 + r2 < 0 and r1 <= 0 and r1 >= r2 - 2 and "
     "r2 >= r3 - 2 and r3 >= r4 - 2 and r4 >= r5 - 2 and r5 >= r6 - 2 and r1 > r3 and r2 > r4 and "
     "r3 > r5 and r4 > r6 and r5 >= r7 and r8 >= r9"},
    {"Command79", 8, 480, -160, 3, true,
     "r3 <= r2/2 + r1/2 and r1 + r2 < 0 and r7 >= r8 and r1 <= 0 and r1 >= r2 - 2 and r2 >= r3 - 2 and "
     "r3 >= r4 - 2 and r4 >= r5 - 2 and r1 > r3 and r2 > r4 and r3 > r5 and r4 >= r6 and r8 < r9"},
    {"Command69", 7, 720, -160, 3, false,
     "r3 <= r2/2 + r1/2 and r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2 and r4 >= r5 - 2 and "
     "r1 > r3 and r2 > r4 and r3 > r5 and r4 >= r6 and r1 <= 0 and r1/2 + r2/2 < 0 and r6 >= r7 and r7 < r8"},
    {"Command4", 6, 960, -100, 3, false,
     "r3 <= r2/2 + r1/2 and r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2 and r4 >= r5 - 2 and "
     "r1 > r3 and r2 > r4 and r3 >= r5 and r1 <= 0 and r1/2 + r2/2 < 0 and r5 >= r6 and r6 < r7"},
    {"Command32", 5, 1200, -100, 1, false,
     "r3 <= r2/2 + r1/2 and r1 >= r2 - 2 and r2 >= r3 - 2 and r3 >= r4 - 2 and r1 > r3 and r2 >= r4 and "
     "r1 <= 0 and r1/2 + r2/2 < 0 and r4 >= r5 and r5 < r6"},
};

TrendPattern rising(const Rising& row) {
    const int n = row.n;
    const QString shifted = paren(ShiftedPairRise(n, QStringLiteral(">")));
    const QString paired = paren(PairRise(n, QStringLiteral(">")));
    const QString chains = paren(row.pairChainFirst ? paired + " and " + shifted : shifted + " and " + paired);
    const QString wider = allOf({inRange(n, row.lowest, -9), chains, QString::fromUtf8(row.after)});
    QString narrower = StepClimb(n, -8, -5, row.lift);
    if (n == 8) narrower = paren(narrower);

    TrendPattern p;
    p.control = QString::fromLatin1(row.control);
    p.caption = QStringLiteral("T%1").arg(n);
    p.group = QStringLiteral("上昇中");
    p.left = 3840;
    p.top = row.top;
    p.width = 375;
    p.height = 255;
    p.faceColor = 0xFF80FF;
    p.fontPoints = 11.25;
    p.flat = n == 7;
    p.condition = paren(anyOf({paren(wider), paren(narrower)}));
    p.sortCol = ratioCol(n);
    p.sortOrder = 2;
    p.tints = anchorTints(n, n < 9 ? n + 1 : n, Cyan);
    return p;
}

}  // namespace

std::vector<TrendPattern> risingTrendPatterns() {
    std::vector<TrendPattern> v;
    for (const Rising& row : buttons) v.push_back(rising(row));
    return v;
}

}  // namespace trend
