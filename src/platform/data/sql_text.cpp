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

// A number written out in decimal in ASCII ("-12.50" for "－１２．５０", "5" for "+5"), blanks
// around it ignored; nothing for any other text. point: where its point stands, if it has one.
struct Decimal {
    std::string ascii;
    std::size_t point = std::string::npos;
};
std::optional<Decimal> decimal(QStringView text) {
    text = text.trimmed();
    Decimal d;
    d.ascii.reserve(std::size_t(text.size()));
    bool digit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = numberChar(text[i]);
        if ((c == '+' || c == '-') && i == 0) {
            if (c == '-') d.ascii += c;
        } else if (c >= '0' && c <= '9') {
            d.ascii += c;
            digit = true;
        } else if (c == '.' && d.point == std::string::npos) {
            d.point = d.ascii.size();
            d.ascii += c;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    return d;
}

// The whole of [first, last) read as a T by std::from_chars.
template <class T>
std::optional<T> wholly(const char* first, const char* last) {
    T v{};
    const auto [end, error] = std::from_chars(first, last, v);
    if (error != std::errc() || end != last) return std::nullopt;
    return v;
}

}  // namespace

std::optional<double> sqlNumber(QStringView text) {
    const auto d = decimal(text);
    if (!d) return std::nullopt;
    const std::optional<double> v = wholly<double>(d->ascii.data(), d->ascii.data() + d->ascii.size());
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::optional<long long> sqlWholeNumber(QStringView text) {
    const auto d = decimal(text);
    if (!d) return std::nullopt;
    const std::string& a = d->ascii;
    if (d->point == std::string::npos) return wholly<long long>(a.data(), a.data() + a.size());
    if (a.find_first_not_of('0', d->point + 1) != std::string::npos) return std::nullopt;   // a fraction
    return wholly<long long>(a.data(), a.data() + d->point);
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

}  // namespace platform
