#pragma once
#include <QString>
#include <optional>
#include <vector>

struct sqlite3;

namespace platform {

// A missing file or a file of zero bytes counts as missing; the new database is built in a side
// file of its own and moved into place complete. Throws DataError with the reason when it cannot.
//
// Creates the main database (tables mydata, 日付, list, hojyo, the card-kind table and every saved
// query) at path when no file is there; a new one holds the listed stocks of the bundled list.
void ensureMainDatabase(const QString& path);
// Creates the list database (checklist, trend, checklist2, mylist, 情報源リスト) when missing.
void ensureListDatabase(const QString& path);
// Brings a main database made by an earlier version of the program to the present layout (the
// nine changes kept in a table of their own) in one transaction, its data untouched. True when it
// did; false when there was nothing to do or the file cannot be written (its queries then go on
// computing the changes as before).
bool upgradeMainDatabase(sqlite3* db);
// Another program's INSERT OR REPLACE or UPDATE OR REPLACE on list deletes rows without firing the
// triggers that keep code_change (each code's latest price and changes) in step. Checks that
// code_change names each code's first row of list, and makes it anew from list in one transaction
// when it does not, through a connection of its own to the file at path. True when it did; false
// when it was in step, the file keeps no code_change, or it cannot be written. It reads both keys
// of every stock (about 20 ms at 40,000 stocks): once for each file the program takes up as its
// main database (at start, a file put in its place, a file chosen), not at every connection.
bool keepCodeChangeInStep(const QString& path);
// What keeps the stored changes of a main database (list_change, code_change) from matching the
// changes computed from its prices now; nothing when they match or the file keeps none. Reads
// every stock: for the check of a file recovered from an unfinished write, not for every opening.
std::optional<QString> storedChangesProblem(sqlite3* db);
// Both, at their places in the program folder.
void ensureProgramDatabases();

// What keeps the file from serving as the program's main (list) database: not a database file,
// or tables, saved queries or columns missing that the program needs. Nothing when it holds all
// of them. The file is only read.
std::optional<QString> mainDatabaseProblem(const QString& path);
std::optional<QString> listDatabaseProblem(const QString& path);

// One stock of the bundled list of listed domestic companies, market named as the program names it.
struct ListedStock {
    int code = 0;
    QString name;
    QString market;
};
std::vector<ListedStock> bundledStocks();

// The SQL that builds an empty main database (tables, saved queries, their write-through triggers)
// and an empty list database.
QString mainSchemaSql();
QString listSchemaSql();

}  // namespace platform
