#include "platform/data/sql_text.h"

namespace platform {

QString sqlEscaped(const QString& text) {
    QString out = text;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

QString sqlQuoted(const QString& text) { return u'\'' + sqlEscaped(text) + u'\''; }

std::optional<long long> sqlWholeNumber(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
    if (i == t.size()) return std::nullopt;
    for (int j = i; j < t.size(); ++j)
        if (t[j] < u'0' || t[j] > u'9') return std::nullopt;
    bool ok = false;
    const long long v = t.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return v;
}

QString asciiDigits(QString text) {
    for (QChar& c : text)
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) c = QChar(u'0' + (c.unicode() - 0xFF10));
    return text;
}

}  // namespace platform
