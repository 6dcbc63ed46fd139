#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace platform {

// One sheet of an .xls workbook as the spreadsheet holds it, a cell by what it is:
//   numbers             qlonglong (whole) or double;
//   dates               QDate, or QDateTime with a time of day (a number in a date format);
//   texts               QString exactly as typed ("0123" stays "0123"), times as "HH:mm:ss";
//   booleans and errors their text ("TRUE", "FALSE", "#N/A", "#DIV/0!"): not a number;
//   formulas            their last computed value;
//   empty cells         Null.
// Rows run to the last one that holds a value; a row may be shorter than names (the cells after
// its last value are empty).
struct Worksheet {
    QStringList names;                          // column names: the header row's, else F1, F2, ...
    std::vector<std::vector<QVariant>> rows;    // the records in sheet order, one value per column
};

// A sheet's name from its table name: "s240930$" is sheet "s240930"; a name without the "$"
// stands as it is.
QString sheetOfTable(const QString& table);

// Reads the sheet named sheet (without the "$" of its table name; compared ignoring case), the
// first row as the column names when headerRow. Throws DataError, worded for the user and naming
// the file, when the file cannot be read whole as a workbook or has no such sheet.
// When onlyColumns names columns by position (0 for A), the others are not read and hold Null:
// a reader that needs a few columns of a large sheet pays for those alone.
Worksheet readWorksheet(const QString& path, const QString& sheet, bool headerRow = true,
                        const std::vector<int>& onlyColumns = {});

// A cell's text as a grid shows it and a text field stores it: dates "yyyy/MM/dd" (with
// " HH:mm:ss" for a time of day), numbers without needless decimals, Null as "".
QString worksheetCellText(const QVariant& cell);

}  // namespace platform
