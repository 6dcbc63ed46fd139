#pragma once
#include <QDate>
#include <QString>
#include <cstdint>
#include <vector>

namespace demo {

struct Options {
    std::uint32_t seed = 1;
    // 0: the stocks of a new database plus a few hundred made-up ones; otherwise exactly this many
    // priced stocks (after the placeholder).
    int totalStocks = 0;
    int cards = 2000;
    // The newest price period is the last weekday on or before this day; cards date back from it.
    QDate today = QDate::currentDate();
    // Also write the price workbooks: the ten periods', and one for the weekday after the newest
    // (runs make_workbooks.py with /usr/bin/python3 and xlwt).
    bool workbooks = true;
};

struct Summary {
    QString folder;  // <xdgDataHome>/Vostrel
    int stocks = 0;  // stocks of list with a latest price
    int cards = 0;
    int workbooks = 0;
};

// One row of a price sheet: the workbook (name without folder and ".xls") and the sheet it goes
// into, then its code, name and closing price cells as texts: a number is written as a number, an
// empty text leaves the cell empty.
struct WorkbookRow {
    QString workbook, sheet, code, name, close;
};
// Writes <folder>/<workbook>.xls for every workbook the rows name, its sheets headed kodo, meigara,
// owari. Runs make_workbooks.py with /usr/bin/python3 and xlwt. Throws platform::DataError.
void writePriceWorkbooks(const QString& folder, const std::vector<WorkbookRow>& rows);

// Fills <xdgDataHome>/Vostrel/ with a main and a list database of believable demo data. Databases
// there are replaced only when the folder was made by this generator (it leaves a marker file), so
// a real program folder is never overwritten; a folder a running program holds (its lock) is
// refused, and the generator holds that lock itself while it writes. Every file of an earlier demo
// goes first, the databases' logs included. The same options give the same data.
// Throws platform::DataError.
Summary generate(const QString& xdgDataHome, const Options& options = {});

}  // namespace demo
