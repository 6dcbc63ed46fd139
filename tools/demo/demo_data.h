#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
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
    // Over a folder that holds the program's databases: remove the files of the earlier demo
    // there (as its list names them) and make a new one. Without it such a folder is left as it is.
    bool fresh = false;
};

struct Summary {
    QString folder;  // <xdgDataHome>/Vostrel
    bool made = false;       // false: the folder holds the program's data and nothing was changed
    QStringList removed;     // fresh: the files of the earlier demo that went
    QStringList kept;        // fresh: its files changed since, left as they are
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

// Makes a demo program folder <xdgDataHome>/Vostrel/: a main and a list database of believable
// demo data and the price workbooks, and the list of the files it made (demo-folder.txt). A folder
// that already holds the program's databases is left as it is (Summary::made false), unless
// Options::fresh asks for a new demo: then only the files that list names go (a workbook only while
// unchanged); the memo, the backups in Mdb/ and every other file stay. A run that would write over
// a file it did not make, or a folder a running program holds (its lock), is refused before
// anything changes; the generator holds that lock itself while it writes. The same options give
// the same data. Throws platform::DataError.
Summary generate(const QString& xdgDataHome, const Options& options = {});

}  // namespace demo
