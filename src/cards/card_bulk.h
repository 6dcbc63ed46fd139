#pragma once
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace platform {
class Database;
class Recordset;
}

// The card store's bulk work: importing cards, completing market and unit, purging. Each runs
// as set-based SQL in one transaction on the card table: all of it is stored, or nothing.
namespace cards {

// What a bulk operation did: how many cards it wrote, or why it wrote none.
struct BulkOutcome {
    bool ok = false;
    long long cards = 0;
    QString error;
};

// Told now and then how far a long run has come.
using Progress = std::function<void(long long done, long long total)>;

// Where imported rows come from: another database of the program (market and unit are copied)
// or a workbook sheet (market and unit stay empty for the completion to fill).
enum class ImportSource { Database, Workbook };

// A source cell as the card field of its column takes it; a cell the field does not take is Null.
// Column 2 情報源, 3 日付, 4 銘柄, 5 コード, 6 市場, 7 単位, 8 情報 (1-based, as the source lays them).
QVariant cardFieldValue(int column, const QVariant& cell);

// Appends one new card per record of rows, in the order of records (each a 0-based record of
// rows), to the card table of db. Source columns follow the card layout: 1 ID (not copied),
// 2 情報源, 3 日付, 4 銘柄, 5 コード, 6 市場, 7 単位, 8 情報; further columns are not imported.
// A workbook's cells are taken as the texts the preview shows them.
BulkOutcome importCards(platform::Database& db, const platform::Recordset& rows, const std::vector<int>& records,
                        ImportSource source, const Progress& progress = {});

// Fills in market and unit of every card that lacks a market (the saved query mydata-nosijo) from
// the first stock of the price table with the card's code; "?" in both for a code the price table
// does not hold, an empty code and the placeholder code 1001. cards = the cards completed.
BulkOutcome completeMarkets(platform::Database& db);

// Deletes the cards with these IDs (IDs that no card has are passed over). cards = deleted.
BulkOutcome deleteCards(platform::Database& db, const std::vector<long long>& ids);

// A database of this program: its card table, period record and price table are there.
// Returns the empty text when they are, else what is wrong with the file.
QString programDatabaseProblem(const QString& path);

}  // namespace cards
