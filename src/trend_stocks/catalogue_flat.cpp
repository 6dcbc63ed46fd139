// 横這から上昇: a rise over the last N periods out of a sideways stretch. Row B looks at the whole
// stretch up to nine periods back, the upper row "0" to "5" only at the three periods before the rise.
#include "trend_stocks/catalogue_support.h"

namespace trend {

using namespace catalogue;

namespace {

const QString FlatGroup = QStringLiteral("横這から上昇");

struct Tolerance {
    int from;
    double d;
};

// The flat run of `a` over the periods up to 9 (or `last`), the tolerance changing at each piece.
QString flatRun(int a, std::initializer_list<Tolerance> pieces, int last = 9) {
    QStringList parts;
    for (auto it = pieces.begin(); it != pieces.end(); ++it) {
        const int to = it + 1 != pieces.end() ? (it + 1)->from - 1 : last;
        parts << FlatRun(a, it->from, to, it->d);
    }
    return parts.join(QStringLiteral(" and "));
}

// Both two-period-average chains of N, non-strict.
QString ladderChains(int n) {
    return paren(paren(ShiftedPairRise(n, QStringLiteral(">="))) + " and " + paren(PairRise(n, QStringLiteral(">="))));
}

QString lowAt(int n) { return QStringLiteral("r%1 >= r%2 and r%2 < r%3").arg(n - 1).arg(n).arg(n + 1); }

// The ladder band of N; its flat run is added by the caller.
QString ladderBand(int n, double lo, double hi, int steps, int rises, const QString& low) {
    return allOf({inRange(n, lo, hi), ladderChains(n), Midpoint(), steps ? StepsWithin2(steps) : QString(),
                  rises ? TwoPeriodRises(rises) : QString(), RecentRise(), low});
}

// The ladder band of 4 without steps within 2 and two-period rises, its last conjuncts reordered.
QString ladderBandOf4(double lo, double hi) {
    return allOf({inRange(4, lo, hi), ladderChains(4), Midpoint(),
                  QStringLiteral("r1/2 + r2/2 < 0 and r3 >= r4 and r1 <= 0 and r4 < r5")});
}

// After two rising steps to a low 2 periods before.
QString lowAt2(double lo, double hi) {
    return allOf({inRange(2, lo, hi), QStringLiteral("r1 <= 0 and r2 - r1 < 0 and r2 < r3")});
}

TrendPattern record(const char* control, const QString& caption, int n, int left, int top, int width,
                    unsigned face, int tintedUpTo, const QString& condition) {
    TrendPattern p;
    p.control = QString::fromLatin1(control);
    p.caption = caption;
    p.group = FlatGroup;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = 225;
    p.faceColor = face;
    p.condition = condition;
    p.sortCol = ratioCol(n);
    p.sortOrder = 2;
    p.tints = anchorTints(n, tintedUpTo, Violet);
    return p;
}

TrendPattern bRow(const char* control, int n, unsigned face, const QString& condition) {
    return record(control, QStringLiteral("B%1").arg(n), n, 4560 + 360 * (n - 1), 360, 375, face, 9, condition);
}

TrendPattern upperRow(const char* control, const char* caption, int n, int left, unsigned face,
                      int tintedUpTo, const QString& condition) {
    return record(control, QString::fromLatin1(caption), n, left, 120, 255, face, tintedUpTo, condition);
}

std::vector<TrendPattern> rowB() {
    // B1 stands without an enclosing pair: its top level is the choice of bands.
    QStringList b1;
    const struct { double lo, hi, near, mid, far; } b1Bands[] = {
        {-5, -4, 1, 1, 1}, {-10, -6, 2, 2, 3}, {-25, -11, 3, 4, 4}, {-35, -26, 4, 5, 5}, {-150, -36, 5, 6, 6}};
    for (const auto& b : b1Bands)
        b1 << allOf({inRange(1, b.lo, b.hi), flatRun(1, {{2, b.near}, {6, b.mid}, {9, b.far}})});

    QStringList b2;
    const struct { double lo, hi, near, mid, far; } b2Bands[] = {
        {-6, -4, 1, 1, 1}, {-10, -7, 2, 2, 3}, {-15, -11, 2, 2, 3},
        {-20, -16, 3, 3, 4}, {-35, -21, 4, 4, 4}, {-200, -36, 5, 6, 6}};
    for (const auto& b : b2Bands)
        b2 << allOf({lowAt2(b.lo, b.hi), flatRun(2, {{3, b.near}, {6, b.mid}, {9, b.far}})});

    QStringList b3{allOf({QString(StepClimb(3, -8, -4, 1)).replace(QStringLiteral("r4 - r3 > 0"), QStringLiteral("r4 > r3")),
                          FlatRun(3, 4, 9, 1)})};
    const struct { double lo, hi, near, far; } b3Bands[] = {{-19, -9, 2, 3}, {-35, -20, 3, 4}, {-190, -35, 5, 5}};
    for (const auto& b : b3Bands)
        b3 << allOf({inRange(3, b.lo, b.hi), QStringLiteral("(r1 >= r2 and r2 >= r3) and r1 <= 0 and r4 > r3"),
                     flatRun(3, {{4, b.near}, {9, b.far}})});

    QStringList b4{allOf({StepClimb(4, -8, -5, 1), flatRun(4, {{5, 1}, {9, 2}})})};
    const struct { double lo, hi, near, far; } b4Bands[] = {{-15, -9, 2, 3}, {-30, -16, 3, 3}, {-250, -31, 5, 6}};
    for (const auto& b : b4Bands) b4 << allOf({ladderBandOf4(b.lo, b.hi), flatRun(4, {{5, b.near}, {9, b.far}})});

    const QString b5 = bands({
        allOf({QString(StepClimb(5, -9, -5, 2)).replace(QStringLiteral("r1 - r5 >= 2"), QStringLiteral("r1 - r5 > 2")),
               FlatRun(5, 6, 9, 1)}),
        allOf({ladderBand(5, -100, -10, 3, 2, QStringLiteral("r4 > r5 and r5 < r6")), FlatRun(5, 6, 9, 2)}),
    });
    // Band 2 of B6 closes before its flat run, which still belongs to it alone.
    const QString b6 = paren(StepClimb(6, -9, -5, 3) + " and " + FlatRun(6, 7, 9, 1)) + " or "
                       + paren(ladderBand(6, -100, -10, 4, 3, lowAt(6))) + " and " + FlatRun(6, 7, 9, 2);
    const QString b7 = bands({
        allOf({StepClimb(7, -9, -5, 3), FlatRun(7, 8, 9, 1)}),
        allOf({ladderBand(7, -160, -10, 4, 4, lowAt(7)), FlatRun(7, 8, 9, 2)}),
    });

    std::vector<TrendPattern> v{
        bRow("Command28", 1, 0xFF00, bands(b1)),
        bRow("Command54", 2, 0xFF00, paren(bands(b2))),
        bRow("Command8", 3, 0x66FF0B, paren(bands(b3))),
        bRow("Command17", 4, 0xFF00, paren(bands(b4))),
        bRow("Command68", 5, 0x66FF0B, paren(b5)),
        bRow("Command11", 6, 0xFF00, paren(b6)),
        bRow("Command22", 7, 0xFF00, paren(b7)),
    };
    v[4].flat = true;
    return v;
}

std::vector<TrendPattern> upperRowPatterns() {
    QStringList jump{inRange(1, -200, -15)};
    for (int k = 2; k <= 9; ++k) jump << QStringLiteral("r%1 < r1 + 4").arg(k);

    const QString one = bands({
        allOf({inRange(1, -10, -4), QStringLiteral("r2 > r1"), FlatRun(1, 2, 4, 1)}),
        allOf({inRange(1, -150, -11), QStringLiteral("r2 > r1"), FlatRun(1, 2, 4, 2)}),
    });
    const QString two = bands({
        allOf({lowAt2(-10, -4), FlatRun(2, 3, 5, 1)}),
        allOf({lowAt2(-17, -11), FlatRun(2, 3, 5, 2)}),
        allOf({lowAt2(-170, -18), FlatRun(2, 3, 5, 3)}),
    });
    const QString three = bands({
        allOf({StepClimb(3, -8, -5, 1), FlatRun(3, 4, 6, 1)}),
        allOf({inRange(3, -15, -9), QStringLiteral("r1 >= r2 and r2 >= r3 and r1 <= 0 and r3 < r4"), FlatRun(3, 4, 6, 2)}),
        allOf({inRange(3, -100, -16), QStringLiteral("r1 >= r2 and r2 >= r3 and r1 <= 0 and r3 < r4"), FlatRun(3, 4, 6, 3)}),
    });
    // Band 2 of "4" closes before its flat run, which still belongs to it alone.
    const QString four = paren(StepClimb(4, -8, -5, 1) + " and " + FlatRun(4, 5, 7, 1)) + " or "
                         + paren(ladderBandOf4(-150, -9)) + " and " + FlatRun(4, 5, 7, 2);
    const QString five = bands({
        allOf({StepClimb(5, -9, -5, 1), FlatRun(5, 6, 8, 1)}),
        allOf({ladderBand(5, -100, -10, 0, 0, QStringLiteral("r4 > r5 and r5 < r6")), FlatRun(5, 6, 8, 2)}),
    });

    std::vector<TrendPattern> v{
        upperRow("Command2", "0", 1, 5640, 0x66FF0B, 9, paren(jump.join(QStringLiteral(" and ")))),
        upperRow("Command80", "1", 1, 6000, 0x80FF80, 4, paren(one)),
        upperRow("Command70", "2", 2, 6240, 0xFF00, 5, paren(two)),
        upperRow("Command53", "3", 3, 6480, 0xFF00, 6, paren(three)),
        upperRow("Command43", "4", 4, 6720, 0x66FF0B, 7, paren(four)),
        upperRow("Command49", "5", 5, 6960, 0xFF00, 8, paren(five)),
    };
    for (int i : {0, 1, 2, 4}) v[i].flat = true;
    return v;
}

}  // namespace

std::vector<TrendPattern> flatThenRisePatterns() {
    std::vector<TrendPattern> v = upperRowPatterns();
    for (TrendPattern& p : rowB()) v.push_back(p);
    return v;
}

}  // namespace trend
