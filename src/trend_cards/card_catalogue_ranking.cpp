// Ranking: risers (upper row) and fallers (lower row) one, five and nine periods back, and 保合.
#include "trend_cards/card_catalogue.h"

namespace cardtrend {

namespace {

constexpr unsigned PaleRed = 0xC0C0FF;
constexpr unsigned Cyan = 0xFFFFC0;

// One band on ratioN; its own column is sorted and tinted.
trend::TrendPattern band(const char* control, int n, const char* range, int sortOrder, unsigned tint) {
    trend::TrendPattern p;
    p.control = QString::fromLatin1(control);
    p.leadWhere = QStringLiteral(" where ([ratio%1] between %2) ").arg(n).arg(QLatin1String(range));
    p.sortCol = ratioCol(n);
    p.sortOrder = sortOrder;
    p.tints = {{ratioCol(n), tint}};
    return p;
}

trend::TrendPattern flatRange() {
    trend::TrendPattern p;
    p.control = QStringLiteral("Command63");
    p.leadWhere = QStringLiteral(" where ([ratio1] between 3 and -3 ");
    for (int n = 2; n <= 7; ++n) p.fragments.push_back(QStringLiteral(" and [ratio%1] between 3 and -3").arg(n));
    p.fragments.push_back(QStringLiteral(" and [ratio7] between 3 and -3)"));
    p.sortCol = 5;
    p.sortOrder = 1;
    return p;
}

}  // namespace

std::vector<trend::TrendPattern> rankingPatterns() {
    return {
        band("Command42", 1, "-6 and -500", 1, PaleRed),
        band("Command30", 5, "-6 and -500", 1, PaleRed),
        band("X", 9, "-6 and -500", 1, PaleRed),
        band("Command47", 1, "6 and 500", 2, Cyan),
        band("Command2", 5, "4 and 500", 2, Cyan),
        band("Command50", 9, "6 and 500", 2, Cyan),
        flatRange(),
    };
}

}  // namespace cardtrend
