#pragma once
#include <QString>
#include <QVariant>
#include <optional>

namespace platform {

// Translates a row source or criterion written in the program's SQL dialect into SQLite SQL:
// bracketed names, Like with * ? # [..] wildcards, #date# literals, now(), between with its bounds
// in either order, numbers glued to keywords, decimal division, double-quoted strings.
// Throws DataError on text that cannot be tokenized.
QString translateSql(const QString& jetSql);

// The table, saved query or sheet a row source names when it is just a name ("[list]", "s240930$");
// empty for a SELECT.
QString rowSourceName(const QString& jetSql);
// The one table or saved query after FROM (or the bare name) that writes of a record set go to;
// empty when the row source reads a join, a subquery or several tables.
QString writeTarget(const QString& jetSql);

// True when the row source settles the order or the set of its rows at its top level (ORDER BY,
// GROUP BY, DISTINCT, UNION, LIMIT, ...), so that no key order may be added to it.
bool ordersItsRows(const QString& jetSql);

// A criterion of the form  name = literal  ("kodo =7203", "コード=7203", "銘柄 = 'x'"): finds
// answer it by comparing cells, as SQLite would, without running SQL. nullopt for anything else.
struct FieldEquals {
    QString field;
    QVariant value;   // a whole number, a double or a text
};
std::optional<FieldEquals> fieldEquals(const QString& criterion);

// A criterion of the form  name Like 'pattern'  ("コード Like'72*'", "ID Like'*5*'"): finds answer
// it by matching cells, as like() would, without running SQL. nullopt for anything else.
struct FieldLike {
    QString field;
    QString pattern;
};
std::optional<FieldLike> fieldLike(const QString& criterion);

// Days since 1899-12-30 (the stored form of dates) and back.
double dateSerial(int year, int month, int day);
QString serialToDateText(double serial);          // "yyyy/mm/dd"
// Accepts "yyyy/m/d", "yyyy-mm-dd", "mm/dd/yyyy", "yy/mm/dd"; returns false when the text is no date.
bool dateTextToSerial(const QString& text, double* serial);

}  // namespace platform
