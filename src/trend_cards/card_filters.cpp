#include "trend_cards/card_filters.h"
#include <cmath>
#include "platform/data/dialect.h"
#include "platform/data/sql_text.h"

namespace cardtrend {

namespace {

QString hashDate(const QDate& d) { return QLatin1Char('#') + sqlDate(d) + QLatin1Char('#'); }

// "#first#  And #second#": the two ends of a date window in the order given.
QString dateRange(const QDate& first, const QDate& second) {
    return hashDate(first) + QStringLiteral("  And ") + hashDate(second);
}

std::optional<QString> wholeNumber(const QString& text) {
    const std::optional<long long> n = platform::sqlWholeNumber(text);
    if (!n) return std::nullopt;
    return QString::number(*n);
}

// Leading blanks removed, as the source list's entries are compared when there are several.
QString leftTrimmed(const QString& s) {
    int i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    return s.mid(i);
}

}  // namespace

QString sqlDate(const QDate& d) { return d.toString(QStringLiteral("MM/dd/yyyy")); }

std::optional<short> priceLevelOf(const std::optional<QString>& answer) {
    // The level is the number the answer begins with (not the one rule for typed numbers: see
    // leadingNumber), rounded halves to even.
    const double rounded = std::nearbyint(platform::leadingNumber(answer.value_or(QString())));
    if (!(rounded >= -32768 && rounded <= 32767)) return std::nullopt;
    return short(rounded);
}

std::optional<QDate> windowStart(const std::optional<QString>& answer, const QDate& today) {
    const std::optional<double> n = platform::sqlNumber(answer.value_or(QString()));
    const double m = n ? *n - 1 : 0;
    const double back = std::floor(-m);
    if (!(std::fabs(back) < 3.0e6)) return std::nullopt;
    const QDate from = today.addDays(qint64(back));
    if (!from.isValid() || from.year() < 100 || from.year() > 9999) return std::nullopt;
    return from;
}

std::optional<PriceBand> priceBand(int level) {
    static const PriceBand bands[] = {{10, 500}, {500, 1000}, {1000, 5000}, {5000, 10000}, {10000, 100000},
                                      {100000, 80000000}};
    if (level < 1 || level > 6) return std::nullopt;
    return bands[level - 1];
}

QString periodSql(const QString& base, bool andForm, int level, PriceBand bounds, const QDate& today,
                  const QDate& from) {
    QString s = base;
    if (level != 0) {
        s += andForm ? QStringLiteral("and [kabuka1] between ") : QStringLiteral("where [kabuka1] between ");
        s += QString::number(bounds.low) + QStringLiteral(" And ") + QString::number(bounds.high) + QStringLiteral(" and ");
    } else {
        s += andForm ? QStringLiteral("and") : QStringLiteral("where");
    }
    return s + QStringLiteral(" [日付] between ") + dateRange(today, from);
}

std::optional<QString> listExtractionSql(const QString& base, bool andForm, const ListExtraction& e,
                                         const QStringList& entries, const QDate& today) {
    const qsizetype n = entries.size();
    const QStringList taken = entries.mid(0, e.kind == ListKind::Sources ? kMaxSources : kMaxCodes);
    const QString window = dateRange(today.addDays(-e.days), today);

    if (e.kind == ListKind::Sources) {
        QString s = base + (andForm ? QStringLiteral(" and [日付] between ") : QStringLiteral(" where [日付] between ")) + window;
        if (n >= 2) {
            s += QStringLiteral(" and (") + QStringLiteral("[情報源]=") + platform::sqlQuoted(leftTrimmed(taken[0]));
            for (qsizetype i = 1; i < taken.size(); ++i)
                s += QStringLiteral(" Or [情報源]= ") + platform::sqlQuoted(leftTrimmed(taken[i]));
            return s + QStringLiteral(")");
        }
        if (n == 1) return s + QStringLiteral(" and ") + QStringLiteral("[情報源]= ") + platform::sqlQuoted(taken[0]);
        return s + QStringLiteral(" and ") + QStringLiteral(" [情報源] like") + QStringLiteral("'日経平均'");
    }

    QStringList codes;
    for (const QString& entry : taken) {
        const std::optional<QString> code = wholeNumber(entry);
        if (!code) return std::nullopt;
        codes << *code;
    }
    auto chain = [&](const QString& joiner) {
        QString c = QStringLiteral("[コード]=") + codes[0];
        for (qsizetype i = 1; i < codes.size(); ++i) c += joiner + codes[i];
        return c;
    };
    const QString one = andForm ? QStringLiteral("and ") : QStringLiteral("where ");

    if (e.kind == ListKind::SpecialCodes) {
        QString s = base;
        if (n >= 2)
            return s + (andForm ? QStringLiteral(" and ( ") : QStringLiteral(" where (")) + chain(QStringLiteral(" Or  [コード]=")) +
                   QStringLiteral(") and [日付] between ") + window;
        if (n == 1) return s + one + QStringLiteral("([コード]=") + codes[0] + QStringLiteral(") and [日付] between ") + window;
        return s + one + QStringLiteral("[コード]=1000");
    }

    QString s = base + (andForm ? QStringLiteral(" and [日付] between ") : QStringLiteral(" where [日付] between ")) + window;
    if (n >= 2) return s + QString::fromUtf8(e.opener) + chain(QString::fromUtf8(e.joiner)) + QStringLiteral(")");
    if (n == 1) return s + QStringLiteral("and ") + QStringLiteral("[コード]=") + codes[0];
    return s + QStringLiteral("and ") + QStringLiteral("[コード]=") + QStringLiteral("1000");
}

std::optional<QString> cellValueSql(const QString& base, bool andForm, int col, const QString& v,
                                    const QDate& today, const QDate& from) {
    const QString window = QStringLiteral(" and [日付] between ") + dateRange(today, from);
    auto form = [&](const char* where, const char* and_) { return QString::fromUtf8(andForm ? and_ : where); };
    QString condition;
    switch (col) {
    case 2:
        condition = form(" where [情報源] like ", " and [情報源] like ") + QStringLiteral("'*") + platform::sqlEscaped(v) +
                    QStringLiteral("*'");
        break;
    case 3: {
        double serial = 0;
        if (!platform::dateTextToSerial(v.trimmed(), &serial)) return std::nullopt;
        const QDate day = QDate(1899, 12, 30).addDays(qint64(std::floor(serial)));
        condition = form(" where [日付] =", " and [日付] =") + hashDate(day);
        break;
    }
    case 5: {
        const std::optional<QString> code = wholeNumber(v);
        if (!code) return std::nullopt;
        condition = form(" where [コード] =", " and [コード] =") + *code;
        break;
    }
    case 6:
        condition = form(" where [市場] like ", " and [市場] like ") + platform::sqlQuoted(v);
        break;
    case 7:
        condition = form("  where [単位] like ", "  and [単位] like ") + platform::sqlQuoted(v);
        break;
    default:
        // Any other column: the period alone, in the form the base takes.
        if (!andForm) return base + QStringLiteral(" where [日付] between ") + dateRange(today, from);
        break;
    }
    return base + condition + window;
}

std::optional<QString> oneStockSql(const QString& code, const QDate& today, const QDate& from) {
    const std::optional<QString> c = wholeNumber(code);
    if (!c) return std::nullopt;
    return QStringLiteral("select * from [a000]") + QStringLiteral(" where [コード] =") + *c +
           QStringLiteral(" and [日付] between ") + dateRange(today, from);
}

QString nameSearchSql(const QString& base, bool andForm, const QString& answer) {
    return base + (andForm ? QStringLiteral("and ") : QStringLiteral(" where ")) + QStringLiteral("[銘柄] like '*") +
           platform::sqlEscaped(answer) + QStringLiteral("*'");
}

std::optional<QString> codeSearchSql(const QString& base, bool andForm, const QString& answer) {
    const std::optional<QString> code = wholeNumber(answer);
    if (!code) return std::nullopt;
    return base + (andForm ? QStringLiteral("and ") : QStringLiteral(" where ")) + QStringLiteral("[コード]=") + *code;
}

}  // namespace cardtrend
