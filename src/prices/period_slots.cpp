#include "prices/period_slots.h"
#include "platform/data/sql_text.h"
#include <QDate>
#include <cmath>
#include <limits>

namespace prices {

FieldNames periodFieldNames() {
    FieldNames names;
    for (int i = 1; i <= 21; ++i) names[std::size_t(i)] = QStringLiteral("kabuka%1").arg(i);
    return names;
}

QString recognisedUnit(const QString& word) {
    for (const char* unit : {"day", "week", "month"})
        if (word == QLatin1String(unit)) return word;
    return {};
}

namespace {

// One or two digits, padded to two; nothing otherwise.
std::optional<QString> twoDigits(const QString& part) {
    if (part.isEmpty() || part.size() > 2) return std::nullopt;
    for (QChar c : part)
        if (c < u'0' || c > u'9') return std::nullopt;
    return part.size() == 1 ? QStringLiteral("0") + part : part;
}

// A cell as a number: a number cell, or a text that is a number by the program's one rule for
// numbers ("７２０３" is 7203, "1e3" is none); nothing for anything else.
std::optional<double> numberOf(const QVariant& cell) {
    switch (cell.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return cell.toDouble();
    case QMetaType::QString: return platform::sqlNumber(cell.toString());
    default:
        return std::nullopt;
    }
}

}  // namespace

QDate BoxDate::date() const {
    const int yy = year.toInt();
    return QDate(yy < 70 ? 2000 + yy : 1900 + yy, month.toInt(), day.toInt());
}

std::optional<BoxDate> realDate(const QString& year, const QString& month, const QString& day) {
    const auto y = twoDigits(year), m = twoDigits(month), d = twoDigits(day);
    if (!y || !m || !d) return std::nullopt;
    const BoxDate date{*y, *m, *d};
    if (!date.date().isValid()) return std::nullopt;
    return date;
}

std::optional<long long> sheetCode(const QVariant& cell) {
    const auto n = numberOf(cell);
    if (!n || !std::isfinite(*n) || std::floor(*n) != *n || std::fabs(*n) > 1e15) return std::nullopt;
    return static_cast<long long>(*n);
}

std::optional<int> wholeYen(const QVariant& cell) {
    const auto n = numberOf(cell);
    if (!n || !std::isfinite(*n)) return std::nullopt;
    const double r = std::nearbyint(*n);   // the default rounding mode: half to even
    if (r < double(std::numeric_limits<int>::min()) || r > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(r);
}

}  // namespace prices
