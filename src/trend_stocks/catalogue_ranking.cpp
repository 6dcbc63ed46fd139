// ランキング: the six bands of risers and fallers and 保合; the D row 保合から上昇 above the client area.
#include "trend_stocks/catalogue_support.h"

namespace trend {

using namespace catalogue;

namespace {

const QString RankingGroup = QStringLiteral("ランキング");
const QString DGroup = QStringLiteral("\u3000保合から上昇");

TrendPattern band(const char* control, int n, bool risers, int top) {
    TrendPattern p;
    p.control = QString::fromLatin1(control);
    p.caption = QString::number(n);
    p.group = RankingGroup;
    p.left = risers ? 10080 : 10320;
    p.top = top;
    p.width = 255;
    p.height = 255;
    p.faceColor = risers ? 0x80C0FF : 0xE0E0E0;
    p.condition = paren(risers ? inRange(n, -500, -8) : inRange(n, 8, 500));
    p.sortCol = ratioCol(n);
    p.sortOrder = 3;
    p.tints = {{ratioCol(n), risers ? Red : Cyan}};
    return p;
}

TrendPattern flatRange() {
    TrendPattern p;
    p.control = QStringLiteral("Command14");
    p.caption = QStringLiteral("保合");
    p.group = RankingGroup;
    p.left = 10560;
    p.top = 360;
    p.width = 255;
    p.height = 735;
    p.faceColor = 0xCAA9CF;
    QStringList ranges;
    for (int k = 1; k <= 9; ++k) ranges << inRange(k, -3, 3);
    p.condition = paren(ranges.join(QStringLiteral(" and ")));
    p.sortCol = 5;   // 単位
    p.sortOrder = 2;
    p.sortBeforeTitle = true;
    return p;
}

TrendPattern dRow(const char* control, int k, int left, int tabIndex, int paleUpTo, const QStringList& alternatives) {
    TrendPattern p;
    p.control = QString::fromLatin1(control);
    p.caption = QStringLiteral("D%1").arg(k);
    p.group = DGroup;
    p.left = left;
    p.top = -1560;
    p.width = 375;
    p.height = 255;
    p.faceColor = 0x93DDEA;
    p.shown = Shown::AboveClientArea;
    p.tabIndex = tabIndex;
    p.condition = paren(catalogue::bands(alternatives));
    p.sortCol = ratioCol(k);
    p.sortOrder = 3;
    p.tints = anchorTints(k, paleUpTo, PaleRed);
    return p;
}

}  // namespace

std::vector<TrendPattern> rankingPatterns() {
    return {
        band("Command50", 1, true, 360),
        band("Command18", 5, true, 600),
        band("Command24", 9, true, 840),
        band("Command64", 1, false, 360),
        band("Command74", 5, false, 600),
        band("Command75", 9, false, 840),
        flatRange(),
        // A jump in the latest period after four flat periods.
        dRow("Command57", 1, 5760, 42, 3, {
            "r1 < 0 and r1 in [-7, -5] and r2 - r1 in [-1, 1] and r3 - r1 in [-1, 1] and r4 - r1 in [-1, 1]",
            "r1 < 0 and r1 in [-12, -8] and r2 - r1 in [-2, 2] and r3 - r1 in [-2, 2] and r4 - r1 in [-2, 2]",
            "r1 < 0 and r1 in [-150, -13] and r2 - r1 in [-3, 3] and r3 - r1 in [-3, 3] and r4 - r1 in [-3, 3]",
        }),
        // Two rising steps after the prices 3 and 4 periods before stayed near the one 2 periods before.
        dRow("Command6", 2, 6120, 36, 4, {
            "r1 < 0 and r2 in [-7, -6] and r2 - r1 < 0 and r3 - r2 in [-1, 1] and r4 - r2 in [-1, 1]",
            "r1 < 0 and r2 in [-12, -8] and r2 - r1 < 0 and r3 - r2 in [-1, 1] and r4 - r2 in [-1, 1]",
            "r1 < 0 and r2 in [-500, -13] and r2 - r1 < 0 and r3 - r2 in [-2, 2] and r4 - r2 in [-2, 2]",
        }),
        // Three rising steps after the price 4 periods before stayed near the one 3 periods before.
        dRow("Command60", 3, 6480, 43, 4, {
            "r1 < 0 and r3 in [-8, -6] and r2 - r1 < 0 and r3 - r2 < 0 and r4 - r3 in [-1, 1]",
            "r1 < 0 and r3 in [-12, -9] and r2 - r1 < 0 and r3 - r2 < 0 and r4 - r3 in [-1, 1]",
            "r1 < 0 and r3 in [-500, -12] and r2 - r1 < 0 and r3 - r2 < 0 and r4 - r3 in [-2, 2]",
        }),
        // Four rising steps after the price 5 periods before stayed near the one 4 periods before.
        dRow("Command71", 4, 6840, 45, 5, {
            "r1 < 0 and r4 in [-8, -6] and r2 - r1 < 0 and r3 - r2 < 0 and r4 - r3 < 0 and r5 - r4 in [-1, 1]",
            "r1 < 0 and r4 in [-12, -9] and r2 - r1 < 0 and r3 - r2 < 0 and r4 - r3 < 0 and r5 - r4 in [-2, 2]",
            "r1 < 0 and r4 in [-500, -12] and r2 - r1 < 0 and r3 - r2 < 0 and r4 - r3 < 0 and r5 - r4 in [-3, 3]",
        }),
    };
}

}  // namespace trend
