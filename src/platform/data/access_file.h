#pragma once
#include <QString>

struct sqlite3;

namespace platform::detail {

// True when the file is an Access database (a Jet or ACE file), not one of the program's own.
bool isAccessFile(const QString& path);

// Loads every user table of an Access database into tables of the same names in db (read once,
// through the MDB library). Dates become day serials in columns declared DATE. Throws DataError.
void loadAccessFile(sqlite3* db, const QString& path);

}  // namespace platform::detail
