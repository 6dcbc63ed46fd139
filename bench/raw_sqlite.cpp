#include "raw_sqlite.h"

#include <sqlite3.h>
#include <QFile>
#include <stdexcept>

namespace rawsql {

int step(sqlite3* db, const QByteArray& sql, long long* checksum) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    const int cols = sqlite3_column_count(st);
    int rows = 0;
    long long sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < cols; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: sum += sqlite3_column_int64(st, c); break;
            case SQLITE_FLOAT: sum += (long long)sqlite3_column_double(st, c); break;
            case SQLITE_TEXT: sum += sqlite3_column_bytes(st, c) + *sqlite3_column_text(st, c); break;
            case SQLITE_BLOB: sum += sqlite3_column_bytes(st, c); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(st);
    if (checksum) *checksum += sum;
    return rows;
}

Connection::Connection(const QString& path) {
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path.toStdString());
    }
}

Connection::~Connection() { sqlite3_close(db_); }

}  // namespace rawsql
