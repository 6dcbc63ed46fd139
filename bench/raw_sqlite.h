#pragma once
#include <QByteArray>
#include <QString>

struct sqlite3;

// The raw side of every ratio: SQLite's own C API, no code of the program in between.
namespace rawsql {

// Prepares sql on db and steps it to the end, reading each column of each row once (its type,
// then its value). Returns the number of rows; checksum gathers the values so none is skipped.
int step(sqlite3* db, const QByteArray& sql, long long* checksum);

// A connection of its own to path, opened read-write as SQLite opens it by default; closes itself.
class Connection {
public:
    explicit Connection(const QString& path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* get() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace rawsql
