#pragma once
#include <memory>
#include <vector>
#include <QString>
#include <QDateTime>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::detail {

// Sets the engine up for this program before its first use: one thread works with the databases,
// so connections take no locks of their own, and no memory statistics are kept. Runs once, before
// main; later calls do nothing.
void configureEngine();

// Opens an existing database file and reads its catalogue once, so that a file that is no database
// fails here. readOnly: opened for reading only where it lies (see openForReading for an import
// source). Returns SQLite's result code of the open or of the first read (SQLITE_NOTADB for a file
// of another kind); *db is the connection whenever SQLite made one, even on failure (close it with
// sqlite3_close_v2).
int openDatabaseFile(const QString& path, bool readOnly, sqlite3** db);
// The file as a URI SQLite opens for reading only (ATTACH takes it on a connection opened with
// SQLITE_OPEN_URI).
QByteArray readOnlyUri(const QString& path);

class PrivateCopy;

// A connection to a database file, opened for reading and writing (made when missing) or for
// reading only (see openForReading), and closed on every path.
class Connection {
public:
    enum class Mode { ReadWrite, ReadOnly };
    explicit Connection(const QString& path, Mode mode = Mode::ReadWrite);   // throws DataError
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* get() const { return db_; }
    // Runs statements that return no rows. Throws DataError.
    void exec(const QString& sql);

private:
    sqlite3* db_ = nullptr;
    std::unique_ptr<PrivateCopy> copy_;
};

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);   // throws DataError with SQLite's message
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    // Steps once; true for a row, false when done. Throws DataError on failure.
    bool step();
    // Clears the bindings too.
    void reset();
    // Binds the values to the parameters in order (an empty QVariant binds NULL), steps to the
    // end, then resets. Throws DataError.
    void run(const QVariantList& values = {});

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Registers the engine's functions on a connection: like(pattern, value) with * ? # [..] [!..]
// wildcards, case-insensitive, and now() as a day serial.
void registerFunctions(sqlite3* db);
// Gives the connection a page cache for a file of fileBytes: an eighth of the file, between
// SQLite's default 2 MB and 32 MB, so that the tables every card looks its stock up in stay cached
// while the cards stream past, and a screen over a file of stocks alone keeps near the default.
// The cache takes memory only as pages are read.
void sizePageCache(sqlite3* db, long long fileBytes);

// A Like pattern compiled once, matching a value's text as like() does.
class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    ~LikePattern();
    LikePattern(const LikePattern&) = delete;
    LikePattern& operator=(const LikePattern&) = delete;
    bool matches(const QString& value) const;
private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// How a value is stored: the SQLite storage classes, and dates (stored as day serials).
enum class Storage { Null, Integer, Real, Text, Blob, Date, Moment };
Storage storageOf(const QVariant& v);

QVariant readColumn(sqlite3_stmt* stmt, int col);
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& v);
QString lastError(sqlite3* db);
// Runs statements that return no rows. Throws DataError.
void exec(sqlite3* db, const QString& sql);

// Numbers as the engine shows them in text: whole values without decimals.
QString numberText(double v);
// A number as stored: whole values as integers.
QVariant storedNumber(double v);
// A name as an SQLite identifier: "name" with its double quotes doubled.
QString quotedName(const QString& name);
// A moment as a day serial (days since 1899-12-30 with the fraction of the day).
double serialOf(const QDateTime& moment);

class XlsFile;
// The sheets of an .xls workbook as tables "<sheet>$" of an in-memory database. The whole file is
// read and checked when it is opened; a sheet becomes its table the first time a row source names
// that table, so that a workbook of many sheets costs only the sheets read.
class WorkbookTables {
public:
    WorkbookTables(const QString& path, bool headerRow);   // throws DataError
    ~WorkbookTables();
    // Makes the tables of db that the source names ("<sheet>$", ignoring case) and that are not made yet.
    void loadNamedIn(sqlite3* db, const QString& source);

private:
    std::unique_ptr<XlsFile> xls_;
    bool headerRow_;
    std::vector<bool> loaded_;
};

}  // namespace platform::detail
