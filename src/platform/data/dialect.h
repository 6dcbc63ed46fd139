#pragma once
#include <QString>

namespace platform {

// Translates a row source or criterion written in the program's SQL dialect into SQLite SQL:
// bracketed names, Like with * ? # [..] wildcards, #date# literals, now(), between with its bounds
// in either order, numbers glued to keywords, decimal division, double-quoted strings.
// Throws DataError on text that cannot be tokenized.
QString translateSql(const QString& jetSql);

// Days since 1899-12-30 (the stored form of dates) and back.
double dateSerial(int year, int month, int day);
QString serialToDateText(double serial);          // "yyyy/mm/dd"
// Accepts "yyyy/m/d", "yyyy-mm-dd", "mm/dd/yyyy", "yy/mm/dd"; returns false when the text is no date.
bool dateTextToSerial(const QString& text, double* serial);

}  // namespace platform
