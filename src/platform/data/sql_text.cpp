#include "platform/data/sql_text.h"
#include <QRegularExpression>
#include <cmath>

namespace platform {

QString sqlEscaped(const QString& text) {
    QString out = text;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

QString sqlQuoted(const QString& text) { return u'\'' + sqlEscaped(text) + u'\''; }

namespace {

// Full-width digits, signs and point as ASCII; the ideographic space as a blank.
QString narrowNumberText(const QString& text) {
    QString out = asciiDigits(text);
    for (QChar& c : out) {
        switch (c.unicode()) {
        case 0xFF0B: c = u'+'; break;   // ＋
        case 0xFF0D:                    // －
        case 0x2212: c = u'-'; break;   // −
        case 0xFF0E: c = u'.'; break;   // ．
        case 0x3000: c = u' '; break;   // the ideographic space
        default: break;
        }
    }
    return out;
}

// sign, whole digits, fraction digits of a number written out in decimal.
struct DecimalParts {
    QString sign, whole, fraction;
};
std::optional<DecimalParts> decimalParts(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch m = number.match(narrowNumberText(text).trimmed());
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) return std::nullopt;
    return DecimalParts{m.captured(1), m.captured(2), m.captured(3)};
}

}  // namespace

std::optional<double> sqlNumber(const QString& text) {
    const auto parts = decimalParts(text);
    if (!parts) return std::nullopt;
    bool ok = false;
    const double v = (parts->sign + (parts->whole.isEmpty() ? QStringLiteral("0") : parts->whole) + u'.' +
                      parts->fraction + u'0')
                         .toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long long> sqlWholeNumber(const QString& text) {
    const auto parts = decimalParts(text);
    if (!parts || parts->whole.isEmpty()) return std::nullopt;
    for (QChar c : parts->fraction)
        if (c != u'0') return std::nullopt;
    bool ok = false;
    const long long v = (parts->sign + parts->whole).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return v;
}

double leadingNumber(const QString& text) {
    QString compact = narrowNumberText(text);
    compact.remove(QRegularExpression(QStringLiteral("[ \\t\\r\\n]")));
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?"));
    const QRegularExpressionMatch m = number.match(compact);
    if (!m.hasMatch()) return 0;
    QString digits = m.captured(0);
    digits.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? v : HUGE_VAL;   // too large for a double
}

QString asciiDigits(QString text) {
    for (QChar& c : text)
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) c = QChar(u'0' + (c.unicode() - 0xFF10));
    return text;
}

}  // namespace platform
