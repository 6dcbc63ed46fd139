#pragma once
#include <QString>

struct sqlite3;

namespace platform::detail {

// True when the file is an Access database (a Jet or ACE file), not one of the program's own.
bool isAccessFile(const QString& path);

// Loads every user table of an Access database into tables of the same names in db (read once,
// through the MDB library, in a child process). Dates become day serials in columns declared DATE.
// Throws DataError, worded for the user and naming the file, when the file cannot be read whole:
// damaged, not an Access file, a value too long, or a read that crashed or exceeded its limits.
void loadAccessFile(sqlite3* db, const QString& path);

// How long one read may take and how much memory beyond the program's own it may use.
struct AccessReadLimits {
    int seconds = 60;
    unsigned long long extraBytes = 2ULL << 30;
};
void setAccessReadLimits(const AccessReadLimits& limits);

}  // namespace platform::detail
