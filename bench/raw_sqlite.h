#pragma once
#include <QByteArray>
#include <sqlite3.h>

namespace bench {

// The translated query stepped raw with the SQLite C API, every column of every row read.
// Returns a sum over what was read, so that nothing can be left out.
inline long long rawPass(sqlite3* h, const QByteArray& sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &st, nullptr);
    const int cols = sqlite3_column_count(st);
    long long touched = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: touched += sqlite3_column_int64(st, c); break;
            case SQLITE_FLOAT: touched += (long long)sqlite3_column_double(st, c); break;
            case SQLITE_TEXT: touched += sqlite3_column_bytes(st, c) + *sqlite3_column_text(st, c); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(st);
    return touched;
}

}  // namespace bench
