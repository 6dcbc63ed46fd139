// 押し目待ち: an uptrend that peaked a few periods ago and the dip after the peak.
// Row "R1" "R2" "R3" (with a second "R1" lying under the first) and row "Q1" to "Q4".
#include "trend_stocks/catalogue_rows.h"

namespace trend {
namespace {

using namespace rows;

constexpr unsigned kRise = 0x8080FF;
constexpr unsigned kDip = 0xFFFFC0;
constexpr unsigned kTurn = 0xECB3E9;

// rK > r(K+2) and so on up to r6 > r8, then r7 >= r9.
QString twoPeriodRisesInto(int k) {
    QStringList c;
    for (int i = k; i <= 6; ++i) c << r(i) + " > " + r(i + 2);
    c << QStringLiteral("r7 >= r9");
    return c.join(QStringLiteral(" and "));
}

// rK >= r(K+3) and so on up to r6 >= r9.
QString threePeriodRisesInto(int k) {
    QStringList c;
    for (int i = k; i <= 6; ++i) c << r(i) + " >= " + r(i + 3);
    return c.join(QStringLiteral(" and "));
}

// Falling with age from a to 9: the first term is the plain sum ra + r(a+1), the further terms
// pair the changes from r(a+2), each halved; a lone r9 closes the ladder, or r9/2 when
// `halfLast` is set.
QString sumLadder(int a, bool halfLast = false) {
    QStringList terms{r(a) + " + " + r(a + 1)};
    int i = a + 2;
    for (; i + 1 <= 9; i += 2) terms << r(i) + "/2 + " + r(i + 1) + "/2";
    if (i == 9) terms << (halfLast ? QStringLiteral("r9/2") : QStringLiteral("r9"));
    QStringList c;
    for (int t = 0; t + 1 < terms.size(); ++t) c << terms[t] + " >= " + terms[t + 1];
    return c.join(QStringLiteral(" and "));
}

// The climb into the high K periods before.
QString uptrendInto(int k) {
    return all({twoPeriodRisesInto(k), threePeriodRisesInto(k), OffsetLadder(k, 9, false)});
}

QString highAt(int k, const QString& opening, const QString& closingLadder) {
    return paren(all({opening, uptrendInto(k), closingLadder}));
}

struct Row {
    const char* caption;
    const char* control;
    int left;
    int top;
    unsigned face;
    QString condition;
    std::vector<HeaderTint> tints;
    int sortCol = ratioCol(5);
    int sortOrder = 2;
    Shown shown = Shown::InView;
};

}  // namespace

std::vector<TrendPattern> dipPatterns() {
    const Row table[] = {
        {"R1", "Command23", 7320, 240, 0xECB3E9,
         highAt(2, "r1 < 0 and r2 > 0 and r1 < r2 and r2 > r3", sumLadder(2)),
         ratioTints({{1, 1, kTurn}, {2, 9, kRise}})},
        // Same place and size as the first "R1", beneath it: only the keyboard reaches it.
        {"R1", "Command3", 7320, 240, 0x80FF,
         highAt(2, "r2 > 0 and r1 < 0 and r2 > r3", PairLadder(2, 9, false)),
         ratioTints({{1, 1, kRise}, {2, 2, kDip}, {3, 9, kRise}}), ratioCol(5), 2, Shown::UnderAnother},
        {"R2", "Command87", 7680, 240, 0xECB3E9,
         highAt(3, "r1 < 0 and r3 >= 0 and r2 < r3 and r3 >= r4", PairLadder(3, 9, false)),
         ratioTints({{1, 2, kTurn}, {3, 9, kRise}}), ratioCol(9), 1},
        {"R3", "Command46", 8160, 240, 0xFF80FF,
         paren(all({"r1 < 0",
                    paren(any({"(r2 < 0 and r1 < r2 and r2 > r3)",
                               "(r1 < 0 and r3 < 0 and r2 < r3 and r3 >= r4)"})),
                    paren(all({"r1 + 2 > r3", uptrendInto(3), PairLadder(3, 9, false)}))})),
         ratioTints({{1, 1, kRise}, {2, 2, kTurn}, {3, 9, kRise}})},
        {"Q1", "Command38", 7320, 480, 0x80C0FF,
         paren(all({"r1 > 0 and r1 > r2 and r1 > r3 and r2 > r4 and r3 > r5 and r4 > r6 and r5 >= r7 "
                    "and r6 >= r8 and r7 >= r9 and r1 > r4",
                    threePeriodRisesInto(2), PairLadder(2, 9, false), OffsetLadder(2, 9, false)})),
         ratioTints({{1, 1, kDip}, {2, 9, kRise}})},
        {"Q2", "Command45", 7680, 480, 0x80C0FF, highAt(2, "r1 > 0 and r1 < r2 and r2 > r3", sumLadder(2)),
         ratioTints({{1, 2, kDip}, {3, 9, kRise}})},
        {"Q3", "Command31", 8040, 480, 0x80C0FF,
         highAt(3, "r1 > 0 and r1 < r2 and r2 <= r3 and r3 > r4", sumLadder(3, true)),
         ratioTints({{1, 3, kDip}, {4, 9, kRise}})},
        // The only one that never compares its high with the price a period older.
        {"Q4", "Command30", 8400, 480, 0x80C0FF,
         highAt(4, "r1 > 0 and r1 <= r2 and r2 < r3 and r3 <= r4", sumLadder(4)),
         ratioTints({{1, 4, kDip}, {5, 9, kRise}})},
    };
    std::vector<TrendPattern> out;
    for (const Row& row : table) {
        out.push_back(pattern(row.control, QString::fromLatin1(row.caption), QStringLiteral("押し目待ち"),
                              {row.left, row.top, 375, 225, row.face}, row.condition, row.sortCol, row.sortOrder,
                              row.tints));
        out.back().shown = row.shown;
    }
    return out;
}

}  // namespace trend
