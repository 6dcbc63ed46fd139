#pragma once
// Small helpers for writing the listed-stock catalogue's records.
#include "trend_stocks/catalogue_rows.h"
#include "trend_stocks/trend_pattern.h"

#include <QStringList>
#include <initializer_list>

namespace trend::catalogue {

// Header tint colours.
constexpr unsigned Red = 0x8080FF;
constexpr unsigned Cyan = 0xFFFFC0;
constexpr unsigned Violet = 0xECB3E9;
constexpr unsigned PaleRed = 0xC0C0FF;

using rows::paren;
using rows::r;
using rows::ratioCol;

// "rN in [lo, hi]" in the notation.
QString inRange(const QString& e, double lo, double hi);
QString inRange(int n, double lo, double hi);

// Pieces joined by " and " / " or "; empty pieces are left out.
QString allOf(std::initializer_list<QString> parts);
QString anyOf(const QStringList& alternatives);
// Alternatives, each in its own pair of parentheses, joined by " or ".
QString bands(const QStringList& alternatives);

// ratio1..ratioN red, then ratio(N+1)..ratio`upTo` in `after` (none when upTo <= N).
std::vector<HeaderTint> anchorTints(int n, int upTo, unsigned after);

}  // namespace trend::catalogue
