#pragma once
#include <QString>
#include <vector>

namespace platform {

// Creates the main database (tables mydata, 日付, list, hojyo, the card-kind table and every saved
// query) at path when no file is there; a new one holds the listed stocks of the bundled list.
void ensureMainDatabase(const QString& path);
// Creates the list database (checklist, trend, checklist2, mylist, 情報源リスト) when missing.
void ensureListDatabase(const QString& path);
// Both, at their places in the program folder.
void ensureProgramDatabases();

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
