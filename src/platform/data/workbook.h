#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace platform {

// One sheet of an .xls workbook as the engine reads it: numbers (numeric texts included) as
// numbers, texts as texts, empty cells as Null.
struct Worksheet {
    QStringList names;                          // column names: the header row's, else F1, F2, ...
    std::vector<std::vector<QVariant>> rows;    // the records in sheet order, one value per column
};

// Reads the sheet named sheet (without the "$" of its table name; compared ignoring case), the
// first row as the column names when headerRow. Throws DataError when the file cannot be read as a
// workbook or has no such sheet.
Worksheet readWorksheet(const QString& path, const QString& sheet, bool headerRow = true);

}  // namespace platform
