#pragma once
#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

namespace prices {

// How a price sheet's columns are found: the code in the first column and the closing price in the
// third, or the columns named kodo and owari.
enum class Columns { ByPosition, ByName };

// What one sheet gives a slot: for each code the sheet names, the value to store, taken from the
// first row of that code in sheet order. By position a row whose price cell gives no whole-yen
// price is left out (the stock keeps its price); by name an owari of 0, empty or no number stores
// Null (an invalid QVariant).
struct SheetPrices {
    std::vector<std::pair<long long, QVariant>> prices;
    std::vector<long long> codes;   // every code the sheet names, once each, priced or not
    int rows = 0;                   // records read
    QString where;                  // where it was read: "<workbook path> のシート <sheet name>"
};

// Reads the sheet of a price workbook. sheetTable is the sheet's table name ("s240930$").
// Throws platform::DataError naming the workbook and the sheet when either cannot be read, or when
// a named column is missing.
SheetPrices readSheetPrices(const QString& workbookPath, const QString& sheetTable, Columns columns);

}  // namespace prices
