#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <bitset>
#include <cstdint>
#include <vector>

namespace platform::detail {

// The cells of one sheet of an .xls workbook, as the spreadsheet holds them:
//   numbers             qlonglong (whole) or double;
//   numbers in a date format   QDate, or QDateTime when the value has a time of day (day 60 of
//                       the 1900 count, the 29th of February 1900 the spreadsheet shows though
//                       it never was, as its text "1900/02/29");
//   numbers in a time format   the time of day as text "HH:mm:ss"; in an elapsed-time format
//                       ([h]:mm) the whole duration, hours past 24 ("36:30:00");
//   texts               QString, whole (up to 32,767 characters), never converted;
//   booleans and errors their text as the spreadsheet shows it ("TRUE", "#N/A"): no number;
//   formulas            their last computed value, as any of the above;
//   empty cells, empty texts and blank formatted cells: Null.
// Rows run from the sheet's first row to the last one holding a value; each row holds its cells up
// to its last value (shorter rows mean empty cells at the end).
using SheetRows = std::vector<std::vector<QVariant>>;
// Columns of a sheet (A to IV) by position.
using ColumnSet = std::bitset<256>;

// An .xls workbook (Excel 97-2003, BIFF8, in its OLE2 container), read whole when opened: every
// sheet's records are checked, the cells of a sheet are made when it is asked for. A file that
// cannot be read whole (not a workbook, an older format, cut short, a damaged record or a record
// of a wrong size, a record number not used where it stands, a sheet that does not end where the
// next one begins or whose blocks are not where its index says, a string or cell format index out
// of range, two records for one cell, a formula text and its STRING record apart, a text whose
// bytes fit no writer's layout) is refused: the constructor throws DataError naming the file and
// what is wrong, in Japanese.
class XlsFile {
public:
    explicit XlsFile(const QString& path);
    ~XlsFile();
    XlsFile(const XlsFile&) = delete;
    XlsFile& operator=(const XlsFile&) = delete;

    // The worksheets in workbook order (chart and macro sheets are left out).
    QStringList sheetNames() const;
    // The index of the worksheet named name (ignoring case), or -1.
    int sheetIndex(const QString& name) const;
    // The cells of worksheet i, of the columns in keep only when it is given (the others read as
    // empty). Throws DataError when its records cannot be read.
    SheetRows sheetRows(int i, const ColumnSet* keep = nullptr) const;

    // A cell's text as the preview shows it and a text field stores it: dates "yyyy/MM/dd" (with
    // " HH:mm:ss" when the value has a time of day), numbers without needless decimals.
    static QString cellText(const QVariant& cell);

private:
    struct Impl;
    Impl* d;
};

}  // namespace platform::detail
