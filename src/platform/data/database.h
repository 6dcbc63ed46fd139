#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct sqlite3;

namespace platform::detail {
class PrivateCopy;
class WorkbookTables;
}

namespace platform {

class Recordset;

// One open database: an SQLite file of the program ("Access 2000;"), an Access database of another
// program loaded read-only into memory ("Access 2000;" on a Jet file, one table per table of the
// file), or a workbook read-only in memory ("Excel 8.0;" / "Excel 8.0;HDR=YES;", one table per
// sheet named "sheet$": the whole file is read and checked when it is opened, a sheet's table is
// made when a row source first names it).
// Connections are shared: opening the same path and connect twice gives the same object.
class Database : public std::enable_shared_from_this<Database> {
public:
    // ReadOnly: a file that is only read (an import source) is never written, not even its journal
    // mode or layout. A database of the program opened ReadWrite gets the program's journal mode
    // and the present layout.
    enum class Access { ReadWrite, ReadOnly };
    // Throws DataError when the file is missing or cannot be opened.
    static std::shared_ptr<Database> open(const QString& path, const QString& connect = QStringLiteral("Access 2000;"),
                                          Access access = Access::ReadWrite);
    // Drops the shared connections that nobody holds any more. Call it before copying or replacing
    // a database file.
    static void releaseUnused();
    // From now on the file at path is not opened: open() throws DataError with the reason. For a
    // file that is not this program's database, which the program must never write to.
    static void refuse(const QString& path, const QString& reason);
    static bool isRefused(const QString& path);
    // What keeps a file from serving at path (nothing when it can). The file at path now passed it;
    // another file put at path later is opened only after passing it too, and is refused otherwise.
    using Check = std::function<std::optional<QString>(const QString& path)>;
    static void checkReplacements(const QString& path, Check check);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool isWorkbook() const { return workbook_; }
    // A read-only copy in memory (a workbook or an Access file): no record set writes to it.
    bool isSnapshot() const { return workbook_ || access_; }
    bool isReadOnly() const { return readOnly_; }
    sqlite3* handle() const { return db_; }

    // A table, saved query, sheet ("s240930$") or SELECT text in the program's dialect. Throws DataError.
    Recordset openRecordset(const QString& source);
    // The same; beforeRows runs once the row source has run and delivered its first row (or its
    // end), before the rows are taken in: the caller may give up rows it holds at that point. At
    // that point spent (a record set the caller gives up) is closed, and the new rows go into the
    // memory its rows held, as far as it reaches.
    Recordset openRecordset(const QString& source, const std::function<void()>& beforeRows, Recordset& spent);

    // What tells whether anything in the file may have changed: this connection's writes, other
    // connections' commits and schema changes each move it. Equal stamps: nothing changed between.
    struct ChangeStamp {
        long long ownChanges = -1;
        long long dataVersion = -1;
        long long schemaVersion = -1;
        bool operator==(const ChangeStamp&) const = default;
    };
    ChangeStamp changeStamp() const;

    // Runs SQLite SQL as it stands (schema set-up and tests only; the windows never write with SQL).
    void executeRaw(const QString& sqliteSql);

private:
    Database() = default;
    QString path_;
    bool workbook_ = false;
    bool access_ = false;
    bool readOnly_ = false;
    sqlite3* db_ = nullptr;
    // A file read from a private copy (see detail::openForReading), kept while it is read.
    std::unique_ptr<detail::PrivateCopy> copy_;
    std::shared_ptr<detail::WorkbookTables> sheets_;   // a workbook's sheets not yet made tables
    friend class DatabaseRegistry;
};

}  // namespace platform
