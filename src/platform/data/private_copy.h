#pragma once
#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryDir;
struct sqlite3;

namespace platform::detail {

// SQLite's locks on a database file, taken through a descriptor of this object's own as another
// process's SQLite sees them, and held while the object lives. Only for a file that no connection
// of this process holds: closing the descriptor drops every lock of this process on the file.
class FileLock {
public:
    // Shared: as a reader, so that no one writes the file meanwhile. Sole: no one else may read
    // or write it, nor begin to.
    enum class Kind { Shared, Sole };
    // Tries for up to waitMs; held() tells whether the lock was had.
    FileLock(const QString& path, Kind kind, int waitMs = 0);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }
    int descriptor() const { return fd_; }
    // Whether another process is in the middle of a write (it holds SQLite's reserved lock): its
    // rollback journal is its work in progress then, not a leftover to be played back.
    bool writeInProgress() const;

private:
    int fd_ = -1;
    bool held_ = false;
};

// A folder of this process's own (mode 0700) where copies of a database file and its side files
// are recovered and read without touching the files themselves; removed with the object. It lies
// in the program folder (the same disk as the program's databases), or in the system's temporary
// folder when the program folder cannot be written.
class PrivateCopy {
public:
    PrivateCopy();   // throws DataError
    ~PrivateCopy();
    PrivateCopy(const PrivateCopy&) = delete;
    PrivateCopy& operator=(const PrivateCopy&) = delete;

    // Copies the database file at path, read through the held lock's descriptor, into the folder
    // under `name`; withSideFiles also its rollback journal (unless another process's write is in
    // progress) and its write-ahead log (unless withLog is false), never the log's shared-memory
    // index (SQLite makes that anew from the log). Returns the copy's path. Throws DataError.
    QString copy(const QString& path, const FileLock& lock, const QString& name, bool withSideFiles, bool withLog = true);
    // The folder's path.
    QString folder() const;

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

// The side files beside the database file at path that hold anything: its rollback journal and
// its write-ahead log (an unfinished write), never the log's index (SQLite makes that anew).
QStringList sideFilesOf(const QString& path);

// Removes the private folders that a run ended half-way left in the program folder. Only for the
// process that holds the folder's lock.
void removeLeftoverPrivateCopies();

// Opens the database file at path for reading only, never writing it or making a file beside it:
// where it lies when SQLite reads it whole there on its own (a file in write-ahead-log mode is read
// there only with its log and the log's index beside it, as while another program has it open),
// else from a private copy of the file and its side files that SQLite recovers first (a rollback
// journal played back, the log's committed writes taken in). *copy holds the copy while the
// connection reads it. Returns SQLite's result code as openDatabaseFile does (SQLITE_NOTADB for a
// file of another kind). Throws DataError when not even a copy can be read: in the user's words
// when the file holds an unfinished write (a journal or log beside it).
int openForReading(const QString& path, sqlite3** db, std::unique_ptr<PrivateCopy>* copy);

// SQLite's own recovery of the database file at path, as its first connection that may write
// makes it: a hot rollback journal played back, a write-ahead log read and written back into the
// file, which is left in rollback-journal mode (as the program keeps its databases, and so that it
// reads without a log's index). Returns SQLite's result code of the recovery, with its message in
// *message.
int recoverDatabase(const QString& path, QString* message = nullptr);

}  // namespace platform::detail
