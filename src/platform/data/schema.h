#pragma once
#include <QString>

namespace platform {

// Creates the main database (tables mydata, 日付, list, hojyo, the card-kind table and every saved
// query) at path when no file is there; a new one holds the listed stocks of the bundled list.
void ensureMainDatabase(const QString& path);
// Creates the list database (checklist, trend, checklist2, mylist, 情報源リスト) when missing.
void ensureListDatabase(const QString& path);
// Both, at their places in the program folder.
void ensureProgramDatabases();

}  // namespace platform
