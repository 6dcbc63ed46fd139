#pragma once
#include <QString>
#include <memory>

struct sqlite3;

namespace platform {

class Recordset;

// One open database: an SQLite file of the program ("Access 2000;"), an Access database of another
// program loaded read-only into memory ("Access 2000;" on a Jet file, one table per table of the
// file), or a workbook loaded read-only into memory ("Excel 8.0;" / "Excel 8.0;HDR=YES;", one table
// per sheet named "sheet$").
// Connections are shared: opening the same path and connect twice gives the same object.
class Database : public std::enable_shared_from_this<Database> {
public:
    // Throws DataError when the file is missing or cannot be opened.
    static std::shared_ptr<Database> open(const QString& path, const QString& connect = QStringLiteral("Access 2000;"));
    // Drops the shared connections that nobody holds any more and writes the log of every open
    // database back into its file. Call it before copying or replacing a database file.
    static void releaseUnused();

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool isWorkbook() const { return workbook_; }
    // A read-only copy in memory (a workbook or an Access file): no record set writes to it.
    bool isSnapshot() const { return workbook_ || access_; }
    sqlite3* handle() const { return db_; }

    // A table, saved query, sheet ("s240930$") or SELECT text in the program's dialect. Throws DataError.
    Recordset openRecordset(const QString& source);

    // Runs SQLite SQL as it stands (schema set-up and tests only; the windows never write with SQL).
    void executeRaw(const QString& sqliteSql);

private:
    Database() = default;
    QString path_;
    bool workbook_ = false;
    bool access_ = false;
    sqlite3* db_ = nullptr;
    friend class DatabaseRegistry;
};

}  // namespace platform
