#pragma once
// Small helpers for writing the pattern records of the listed-stock catalogue: joining conjuncts
// and alternatives in the condition notation, and header tints over the change columns.
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <vector>
#include "trend_stocks/trend_pattern.h"

namespace trend::rows {

// Conjuncts joined by " and ", in the order given.
inline QString all(std::initializer_list<QString> parts) {
    return QStringList(parts).join(QStringLiteral(" and "));
}

// Alternatives joined by " or ", in the order given.
inline QString any(std::initializer_list<QString> parts) {
    return QStringList(parts).join(QStringLiteral(" or "));
}

inline QString paren(const QString& s) { return QLatin1Char('(') + s + QLatin1Char(')'); }

// rN of the notation.
inline QString r(int n) { return QStringLiteral("r%1").arg(n); }

// The grid column of ratioN.
constexpr int ratioCol(int n) { return n + 7; }

// One colour over the header cells of ratioFrom to ratioTo.
struct TintSpan {
    int from;
    int to;
    unsigned color;
};

// Header tints over change columns, set in the order of the spans and, inside a span, from the
// newer change to the older one.
inline std::vector<HeaderTint> ratioTints(std::initializer_list<TintSpan> spans) {
    std::vector<HeaderTint> tints;
    for (const TintSpan& s : spans)
        for (int n = s.from; n <= s.to; ++n) tints.push_back({ratioCol(n), s.color});
    return tints;
}

// Where a button stands and how it looks at design time (twips, &HBBGGRR).
struct Place {
    int left;
    int top;
    int width;
    int height;
    unsigned face;
};

// One pattern button of a group.
inline TrendPattern pattern(const char* control, const QString& caption, const QString& group, Place at,
                            QString condition, int sortCol, int sortOrder, std::vector<HeaderTint> tints) {
    TrendPattern p;
    p.control = QString::fromLatin1(control);
    p.caption = caption;
    p.group = group;
    p.left = at.left;
    p.top = at.top;
    p.width = at.width;
    p.height = at.height;
    p.faceColor = at.face;
    p.condition = std::move(condition);
    p.sortCol = sortCol;
    p.sortOrder = sortOrder;
    p.tints = std::move(tints);
    return p;
}

}  // namespace trend::rows
