#pragma once
#include <QString>
#include <vector>
#include "prices/price_sheet.h"

namespace prices {

// What one click writes into the main database. Everything is written in one transaction, or
// nothing: the dates of the period record and the prices of the price table always agree.
struct PeriodWrite {
    struct Slot {
        int slot;           // 1 to 10
        QString date;       // "yy/mm/dd"
        QString workbook;   // workbook name without folder and extension
    };
    QString unit;                 // stored into the unit field with every slot
    std::vector<Slot> dated;      // the period record's slots to store
    // Every period one older first, as stored: the period record's slots 1 to 9 (date and
    // workbook name) move into slots 2 to 10, and every price likewise; the newest price becomes
    // Null, the newest date and workbook name stay.
    bool shift = false;
    // Prices per slot: the rows of the price table whose code a sheet names take its value; the
    // placeholder row and the codes the sheet lacks keep theirs. A sheet none of whose codes is a
    // stock of the price table (the placeholder aside) is no price sheet of these stocks (its code
    // column read as dates, say): the write is refused.
    std::vector<std::pair<int, const SheetPrices*>> prices;
};

// Writes it into the database at dbPath. Throws platform::DataError, and then nothing is written;
// for a sheet that matches no stock its message names the workbook and the sheet.
void storePeriods(const QString& dbPath, const PeriodWrite& write);

}  // namespace prices
