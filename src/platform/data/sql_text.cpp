#include "platform/data/sql_text.h"
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <string>

namespace platform {

QString sqlEscaped(const QString& text) {
    QString out = text;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

QString sqlQuoted(const QString& text) { return u'\'' + sqlEscaped(text) + u'\''; }

namespace {

// A character of a number as its ASCII form: full-width digits, signs and point as a Japanese
// input method types them, the minus sign U+2212; 0 for any other.
char numberChar(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return char(u);
    if (u >= 0xFF10 && u <= 0xFF19) return char('0' + (u - 0xFF10));
    switch (u) {
    case u'+':
    case 0xFF0B: return '+';
    case u'-':
    case 0xFF0D:
    case 0x2212: return '-';
    case u'.':
    case 0xFF0E: return '.';
    default: return 0;
    }
}

// sign, whole digits, fraction digits of a number written out in decimal, blanks around it
// ignored, in ASCII.
struct DecimalParts {
    bool negative = false;
    std::string whole, fraction;
};
std::optional<DecimalParts> decimalParts(QStringView text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].isSpace()) ++b;
    while (e > b && text[e - 1].isSpace()) --e;
    DecimalParts parts;
    bool point = false;
    for (qsizetype i = b; i < e; ++i) {
        const char c = numberChar(text[i]);
        if ((c == '+' || c == '-') && i == b) {
            parts.negative = c == '-';
        } else if (c >= '0' && c <= '9') {
            (point ? parts.fraction : parts.whole) += c;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (parts.whole.empty() && parts.fraction.empty()) return std::nullopt;
    return parts;
}

}  // namespace

std::optional<double> sqlNumber(QStringView text) {
    const auto parts = decimalParts(text);
    if (!parts) return std::nullopt;
    const std::string digits = (parts->negative ? "-" : "") + (parts->whole.empty() ? std::string("0") : parts->whole) + '.' +
                               parts->fraction + '0';
    double v = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long long> sqlWholeNumber(QStringView text) {
    const auto parts = decimalParts(text);
    if (!parts || parts->whole.empty()) return std::nullopt;
    for (char c : parts->fraction)
        if (c != '0') return std::nullopt;
    const std::string digits = (parts->negative ? "-" : "") + parts->whole;
    long long v = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return v;
}

double leadingNumber(const QString& text) {
    QString compact;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == QChar(0x3000)) continue;
        const char ascii = numberChar(c);
        compact += ascii ? QChar(ascii) : c;
    }
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
