#include "platform/data/dialect.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>
#include <vector>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform {

namespace {

const QDate kSerialEpoch(1899, 12, 30);

enum class Kind { Word, Name, String, Number, Op };

struct Token {
    Kind kind;
    QString text;   // Word: as written; Name: the bare name; String: the content; Number: digits; Op: operator
};

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_' || (c.unicode() >= 0x80 && !c.isSpace());
}

bool isWordChar(QChar c) {
    return isWordStart(c) || c.isDigit() || c == u'$';
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

[[noreturn]] void fail(const QString& what, const QString& sql) {
    throw DataError(QStringLiteral("Syntax error (%1) in: %2").arg(what, sql));
}

// Reads up to the closing character; a doubled closing character stands for itself.
QString readDelimited(const QString& s, int& i, QChar close, bool doubling) {
    QString out;
    ++i;
    while (i < s.size()) {
        if (s[i] == close) {
            if (doubling && i + 1 < s.size() && s[i + 1] == close) {
                out += close;
                i += 2;
                continue;
            }
            ++i;
            return out;
        }
        out += s[i++];
    }
    fail(QStringLiteral("missing %1").arg(close), s);
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    int i = 0;
    const int n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'[') {
            out.push_back({Kind::Name, readDelimited(s, i, u']', false)});
        } else if (c == u'`') {
            out.push_back({Kind::Name, readDelimited(s, i, u'`', true)});
        } else if (c == u'\'') {
            out.push_back({Kind::String, readDelimited(s, i, u'\'', true)});
        } else if (c == u'"') {
            out.push_back({Kind::String, readDelimited(s, i, u'"', true)});
        } else if (c == u'#') {
            const QString date = readDelimited(s, i, u'#', false);
            double serial = 0;
            if (!dateTextToSerial(date, &serial)) fail(QStringLiteral("date #%1#").arg(date), s);
            out.push_back({Kind::Number, QString::number(serial, 'g', 17)});
        } else if (isAsciiDigit(c) || (c == u'.' && i + 1 < n && isAsciiDigit(s[i + 1]))) {
            // A number ends where its digits end, so "-5and" reads as "-5" "and".
            const int start = i;
            while (i < n && isAsciiDigit(s[i])) ++i;
            if (i < n && s[i] == u'.') {
                ++i;
                while (i < n && isAsciiDigit(s[i])) ++i;
            }
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                int j = i + 1;
                if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
                if (j < n && isAsciiDigit(s[j])) {
                    i = j;
                    while (i < n && isAsciiDigit(s[i])) ++i;
                }
            }
            out.push_back({Kind::Number, s.mid(start, i - start)});
        } else if (isWordStart(c)) {
            const int start = i;
            while (i < n && isWordChar(s[i])) ++i;
            out.push_back({Kind::Word, s.mid(start, i - start)});
        } else {
            static const QString twoChar[] = {QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"),
                                               QStringLiteral("!="), QStringLiteral("=="), QStringLiteral("||")};
            const QString two = s.mid(i, 2);
            bool matched = false;
            for (const QString& op : twoChar) {
                if (two == op) {
                    out.push_back({Kind::Op, op});
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (matched) continue;
            if (QStringLiteral("()=<>+-*/&,.;%").contains(c)) {
                out.push_back({Kind::Op, QString(c)});
                ++i;
            } else {
                fail(QStringLiteral("unexpected '%1'").arg(c), s);
            }
        }
    }
    while (!out.empty() && out.back().kind == Kind::Op && out.back().text == u';') out.pop_back();
    for (const Token& t : out)
        if (t.kind == Kind::Op && t.text == u';') fail(QStringLiteral("characters after the end of the statement"), s);
    return out;
}

bool isWord(const Token& t, const char* word) {
    return t.kind == Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isOp(const Token& t, const char* op) { return t.kind == Kind::Op && t.text == QLatin1String(op); }

bool isPlainAsciiWord(const QString& w) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(w).hasMatch();
}

class Rewriter {
public:
    Rewriter(const std::vector<Token>& t, const QString& sql) : t_(t), sql_(sql) {}

    QString render(int begin, int end) const {
        QStringList parts;
        for (int i = begin; i < end; ++i) {
            const Token& tok = t_[i];
            if (isWord(tok, "between")) {
                const int andAt = matchingAnd(i + 1, end);
                const int upperEnd = additiveEnd(andAt + 1, end);
                const QString a = render(i + 1, andAt);
                const QString b = render(andAt + 1, upperEnd);
                parts << QStringLiteral("BETWEEN min(%1, %2) AND max(%1, %2)").arg(a, b);
                i = upperEnd - 1;
                continue;
            }
            parts << piece(tok);
        }
        return parts.join(u' ');
    }

    int size() const { return int(t_.size()); }

private:
    const std::vector<Token>& t_;
    const QString& sql_;

    QString piece(const Token& tok) const {
        switch (tok.kind) {
        case Kind::Word:
            if (isWord(tok, "mod")) return QStringLiteral("%");
            return isPlainAsciiWord(tok.text) ? tok.text : detail::quotedName(tok.text);
        case Kind::Name:
            return detail::quotedName(tok.text);
        case Kind::String: {
            QString q = tok.text;
            q.replace(u'\'', QStringLiteral("''"));
            return u'\'' + q + u'\'';
        }
        case Kind::Number:
            return tok.text;
        case Kind::Op:
            if (tok.text == u'&') return QStringLiteral("||");
            if (tok.text == u'/') return QStringLiteral("* 1.0 /");   // decimal division, never integer
            return tok.text;
        }
        return tok.text;
    }

    // The "and" closing a between at the same parenthesis depth.
    int matchingAnd(int from, int end) const {
        int depth = 0;
        for (int i = from; i < end; ++i) {
            if (isOp(t_[i], "(")) ++depth;
            else if (isOp(t_[i], ")")) {
                if (--depth < 0) break;
            } else if (depth == 0 && isWord(t_[i], "and")) {
                return i;
            }
        }
        fail(QStringLiteral("between without and"), sql_);
    }

    int closingParen(int open, int end) const {
        int depth = 0;
        for (int i = open; i < end; ++i) {
            if (isOp(t_[i], "(")) ++depth;
            else if (isOp(t_[i], ")") && --depth == 0) return i + 1;
        }
        fail(QStringLiteral("missing )"), sql_);
    }

    // One operand with its unary signs: a number, a text, a name (dotted), a call or a parenthesis.
    int operandEnd(int i, int end) const {
        while (i < end && (isOp(t_[i], "-") || isOp(t_[i], "+"))) ++i;
        if (i >= end) fail(QStringLiteral("missing operand"), sql_);
        const Token& tok = t_[i];
        if (isOp(tok, "(")) return closingParen(i, end);
        if (tok.kind == Kind::Number || tok.kind == Kind::String) return i + 1;
        if (tok.kind == Kind::Word || tok.kind == Kind::Name) {
            ++i;
            while (i + 1 < end && isOp(t_[i], ".") && (t_[i + 1].kind == Kind::Word || t_[i + 1].kind == Kind::Name))
                i += 2;
            if (i < end && isOp(t_[i], "(")) return closingParen(i, end);
            return i;
        }
        fail(QStringLiteral("unexpected '%1'").arg(tok.text), sql_);
    }

    int additiveEnd(int i, int end) const {
        i = operandEnd(i, end);
        while (i < end && t_[i].kind == Kind::Op &&
               (t_[i].text == u'+' || t_[i].text == u'-' || t_[i].text == u'*' || t_[i].text == u'/' ||
                t_[i].text == u'&' || t_[i].text == u'%' || t_[i].text == QLatin1String("||")))
            i = operandEnd(i + 1, end);
        return i;
    }
};

bool isClauseEnd(const Token& t) {
    return isWord(t, "where") || isWord(t, "order") || isWord(t, "group") || isWord(t, "having");
}

}  // namespace

QString translateSql(const QString& jetSql) {
    const std::vector<Token> tokens = tokenize(jetSql);
    Rewriter r(tokens, jetSql);
    return r.render(0, r.size());
}

QString rowSourceName(const QString& jetSql) {
    const std::vector<Token> t = tokenize(jetSql);
    if (t.size() == 1 && (t[0].kind == Kind::Name || (t[0].kind == Kind::Word && !isWord(t[0], "select"))))
        return t[0].text;
    return {};
}

QString writeTarget(const QString& jetSql) {
    const std::vector<Token> t = tokenize(jetSql);
    const int n = int(t.size());
    if (n == 1 && (t[0].kind == Kind::Name || t[0].kind == Kind::Word)) return t[0].text;
    int depth = 0;
    for (int i = 0; i < n; ++i) {
        if (isOp(t[i], "(")) ++depth;
        else if (isOp(t[i], ")")) --depth;
        else if (depth == 0 && isWord(t[i], "from")) {
            if (i + 1 >= n || (t[i + 1].kind != Kind::Name && t[i + 1].kind != Kind::Word)) return {};
            const int after = i + 2;
            if (after == n || isClauseEnd(t[after])) return t[i + 1].text;
            return {};
        }
    }
    return {};
}

bool ordersItsRows(const QString& jetSql) {
    int depth = 0;
    for (const Token& t : tokenize(jetSql)) {
        if (isOp(t, "(")) ++depth;
        else if (isOp(t, ")")) --depth;
        else if (depth == 0)
            for (const char* word : {"order", "group", "distinct", "union", "intersect", "except", "limit", "top"})
                if (isWord(t, word)) return true;
    }
    return false;
}

std::optional<FieldEquals> fieldEquals(const QString& criterion) {
    const std::vector<Token> t = tokenize(criterion);
    if (t.size() < 3 || (t[0].kind != Kind::Word && t[0].kind != Kind::Name) || !isOp(t[1], "=")) return std::nullopt;
    if (t[0].kind == Kind::Word && !isWordStart(t[0].text[0])) return std::nullopt;
    if (t.size() == 3 && t[2].kind == Kind::String) return FieldEquals{t[0].text, QVariant(t[2].text)};
    size_t i = 2;
    bool negative = false;
    if (t.size() == 4 && (isOp(t[2], "-") || isOp(t[2], "+"))) {
        negative = isOp(t[2], "-");
        ++i;
    }
    if (i + 1 != t.size() || t[i].kind != Kind::Number) return std::nullopt;
    const QString number = (negative ? QStringLiteral("-") : QString()) + t[i].text;
    bool ok = false;
    const qlonglong whole = number.toLongLong(&ok);
    if (ok) return FieldEquals{t[0].text, QVariant(whole)};
    const double d = number.toDouble(&ok);
    if (!ok) return std::nullopt;
    return FieldEquals{t[0].text, QVariant(d)};
}

std::optional<FieldLike> fieldLike(const QString& criterion) {
    const std::vector<Token> t = tokenize(criterion);
    if (t.size() != 3 || (t[0].kind != Kind::Word && t[0].kind != Kind::Name) || t[1].kind != Kind::Word ||
        t[1].text.compare(QLatin1String("like"), Qt::CaseInsensitive) != 0 || t[2].kind != Kind::String)
        return std::nullopt;
    if (t[0].kind == Kind::Word && !isWordStart(t[0].text[0])) return std::nullopt;
    return FieldLike{t[0].text, t[2].text};
}

double dateSerial(int year, int month, int day) {
    return double(kSerialEpoch.daysTo(QDate(year, month, day)));
}

QString serialToDateText(double serial) {
    return kSerialEpoch.addDays(qint64(std::floor(serial))).toString(QStringLiteral("yyyy/MM/dd"));
}

bool dateTextToSerial(const QString& text, double* serial) {
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(\\d{1,4})[/\\-](\\d{1,2})[/\\-](\\d{1,4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return false;
    const QString a = m.captured(1), b = m.captured(2), c = m.captured(3);
    int year, month, day;
    if (a.size() == 4) {           // yyyy/m/d
        year = a.toInt(); month = b.toInt(); day = c.toInt();
        if (c.size() > 2) return false;
    } else if (c.size() == 4) {    // mm/dd/yyyy
        month = a.toInt(); day = b.toInt(); year = c.toInt();
    } else if (a.size() <= 2 && c.size() <= 2) {   // yy/mm/dd, 00-29 in this century
        const int yy = a.toInt();
        year = yy < 30 ? 2000 + yy : 1900 + yy;
        month = b.toInt(); day = c.toInt();
    } else {
        return false;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) return false;
    double s = double(kSerialEpoch.daysTo(date));
    if (m.hasCaptured(4)) {
        const int h = m.captured(4).toInt(), mi = m.captured(5).toInt(), se = m.captured(6).toInt();
        if (h > 23 || mi > 59 || se > 59) return false;
        s += (h * 3600 + mi * 60 + se) / 86400.0;
    }
    *serial = s;
    return true;
}

}  // namespace platform
