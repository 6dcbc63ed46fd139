#include "trend_stocks/trend_pattern.h"
#include "trend_stocks/catalogue_support.h"

#include <stdexcept>

namespace trend {

namespace {

[[noreturn]] void badNotation(const QString& notation, const QString& why) {
    throw std::invalid_argument(QStringLiteral("condition \"%1\": %2").arg(notation, why).toStdString());
}

bool isOperandEnd(const QString& token) {
    if (token.isEmpty()) return false;
    const QChar c = token.back();
    return c.isDigit() || c == u']' || c == u')' || c == u'.';
}

// Splits the notation into tokens: rN, and, or, in, numbers (a leading minus belongs to the
// number where no operand stands before it), operators and brackets.
QStringList tokenize(const QString& s) {
    QStringList tokens;
    int i = 0;
    const int n = int(s.size());
    auto number = [&](int start) {
        int j = start;
        if (j < n && s[j] == u'-') ++j;
        while (j < n && (s[j].isDigit() || s[j] == u'.')) ++j;
        tokens << s.mid(start, j - start);
        i = j;
    };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) { ++i; continue; }
        if (c.isLetter()) {
            int j = i;
            while (j < n && s[j].isLetterOrNumber()) ++j;
            const QString word = s.mid(i, j - i);
            if (word == u"and" || word == u"or" || word == u"in") {
                tokens << word;
            } else if (word.size() == 2 && word[0] == u'r' && word[1] >= u'1' && word[1] <= u'9') {
                tokens << QStringLiteral("[ratio%1]").arg(word[1]);
            } else {
                badNotation(s, QStringLiteral("unknown word \"%1\"").arg(word));
            }
            i = j;
            continue;
        }
        if (c.isDigit()) { number(i); continue; }
        if (c == u'-' && i + 1 < n && s[i + 1].isDigit()
            && (tokens.isEmpty() || !isOperandEnd(tokens.back()))) {
            number(i);
            continue;
        }
        if ((c == u'<' || c == u'>') && i + 1 < n && s[i + 1] == u'=') {
            tokens << s.mid(i, 2);
            i += 2;
            continue;
        }
        if (QStringLiteral("<>=+-/()[],").contains(c)) {
            tokens << QString(c);
            ++i;
            continue;
        }
        badNotation(s, QStringLiteral("unexpected \"%1\"").arg(c));
    }
    return tokens;
}

bool isNumber(const QString& t) {
    bool ok = false;
    t.toDouble(&ok);
    return ok;
}

}  // namespace

QString renderCondition(const QString& notation) {
    const QStringList tokens = tokenize(notation);
    QStringList out;
    int depth = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const QString& t = tokens[i];
        if (t == u"in") {
            // e in [a, b]  ->  e between a and b
            if (i + 5 >= tokens.size() || tokens[i + 1] != u"[" || !isNumber(tokens[i + 2])
                || tokens[i + 3] != u"," || !isNumber(tokens[i + 4]) || tokens[i + 5] != u"]")
                badNotation(notation, QStringLiteral("a range is written \"in [a, b]\""));
            out << QStringLiteral("between") << tokens[i + 2] << QStringLiteral("and") << tokens[i + 4];
            i += 5;
            continue;
        }
        if (t == u"[" || t == u"]" || t == u",")
            badNotation(notation, QStringLiteral("stray \"%1\"").arg(t));
        if (t == u"(") ++depth;
        if (t == u")" && --depth < 0) badNotation(notation, QStringLiteral("unbalanced parentheses"));
        out << t;
    }
    if (depth != 0) badNotation(notation, QStringLiteral("unbalanced parentheses"));
    return out.join(u' ');
}

// ---------------------------------------------------------------------------------------------
// Helpers of the catalogue files.

namespace catalogue {

QString inRange(const QString& e, double lo, double hi) {
    return QStringLiteral("%1 in [%2, %3]").arg(e, QString::number(lo), QString::number(hi));
}

QString inRange(int n, double lo, double hi) { return inRange(r(n), lo, hi); }

QString allOf(std::initializer_list<QString> parts) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.isEmpty()) kept << p;
    return kept.join(QStringLiteral(" and "));
}

QString anyOf(const QStringList& alternatives) { return alternatives.join(QStringLiteral(" or ")); }

QString bands(const QStringList& alternatives) {
    QStringList grouped;
    for (const QString& b : alternatives) grouped << rows::paren(b);
    return anyOf(grouped);
}

std::vector<HeaderTint> anchorTints(int n, int upTo, unsigned after) {
    return rows::ratioTints({{1, n, Red}, {n + 1, upTo, after}});
}

}  // namespace catalogue

// ---------------------------------------------------------------------------------------------
// Building blocks.

using catalogue::r;

namespace {

QString chain(const QStringList& terms, const QString& firstOp, const QString& laterOp) {
    QStringList links;
    for (int i = 0; i + 1 < terms.size(); ++i)
        links << QStringLiteral("%1 %2 %3").arg(terms[i], i == 0 ? firstOp : laterOp, terms[i + 1]);
    return links.join(QStringLiteral(" and "));
}

// Consecutive changes from a paired, each halved; a change left over at b stands alone.
QStringList pairTerms(int a, int b) {
    QStringList terms;
    for (int k = a; k <= b; k += 2)
        terms << (k + 1 <= b ? QStringLiteral("%1/2 + %2/2").arg(r(k), r(k + 1)) : r(k));
    return terms;
}

QStringList offsetTerms(int a, int b) { return QStringList{r(a)} + pairTerms(a + 1, b); }

QString ageOp(bool risingWithAge) { return risingWithAge ? QStringLiteral("<=") : QStringLiteral(">="); }

}  // namespace

QString StepRise(int n) {
    QStringList parts{QStringLiteral("r1 <= 0")};
    for (int k = 2; k <= n; ++k) parts << QStringLiteral("%1 - %2 <= 0").arg(r(k), r(k - 1));
    return parts.join(QStringLiteral(" and "));
}

QString PairRise(int n, const QString& op) { return chain(pairTerms(1, n), op, QStringLiteral(">=")); }

QString ShiftedPairRise(int n, const QString& op) { return chain(offsetTerms(1, n), op, QStringLiteral(">=")); }

QString PairLadder(int a, int b, bool risingWithAge) {
    return chain(pairTerms(a, b), ageOp(risingWithAge), ageOp(risingWithAge));
}

QString OffsetLadder(int a, int b, bool risingWithAge) {
    return chain(offsetTerms(a, b), ageOp(risingWithAge), ageOp(risingWithAge));
}

QString StepClimb(int n, double lo, double hi, double l) {
    return catalogue::allOf({
        catalogue::inRange(n, lo, hi),
        StepRise(n),
        n < 9 ? QStringLiteral("%1 - %2 > 0").arg(r(n + 1), r(n)) : QString(),
        QStringLiteral("r1 + r2 + r2 < 0"),
        QStringLiteral("r1 - %1 >= %2").arg(r(n), QString::number(l)),
    });
}

QString FlatRun(int a, int k1, int k2, double d) {
    QStringList parts;
    for (int k = k1; k <= k2; ++k) parts << catalogue::inRange(QStringLiteral("%1 - %2").arg(r(a), r(k)), -d, d);
    return parts.join(QStringLiteral(" and "));
}

QString StepsWithin2(int n) {
    QStringList parts;
    for (int k = 1; k <= n; ++k) parts << QStringLiteral("%1 >= %2 - 2").arg(r(k), r(k + 1));
    return parts.join(QStringLiteral(" and "));
}

QString TwoPeriodRises(int m) {
    QStringList parts;
    for (int k = 1; k <= m; ++k) parts << QStringLiteral("%1 > %2").arg(r(k), r(k + 2));
    return parts.join(QStringLiteral(" and "));
}

QString RecentRise() { return QStringLiteral("r1 <= 0 and r1/2 + r2/2 < 0"); }

QString Midpoint() { return QStringLiteral("r3 <= r2/2 + r1/2"); }

// ---------------------------------------------------------------------------------------------

const std::vector<TrendPattern>& listedStockCatalogue() {
    static const std::vector<TrendPattern> all = [] {
        std::vector<TrendPattern> v;
        for (auto part : {risingTrendPatterns, consecutiveRisePatterns, rankingPatterns, flatThenRisePatterns,
                          reboundPatterns, dipPatterns, twoStagePatterns, movingAveragePatterns}) {
            auto rows = part();
            v.insert(v.end(), rows.begin(), rows.end());
        }
        return v;
    }();
    return all;
}

}  // namespace trend
