#pragma once
#include <QString>
#include <functional>

namespace testing_support {

// Runs statements on the database file at path through a plain SQLite connection of its own, as
// another program would; a failure fails the test.
void runRaw(const QString& path, const char* sql);

// Runs work in a child process that is killed (SIGKILL) the moment work returns, with the
// connections work left open still open, as a writer killed at that moment; or, without
// killAtEnd, where killAtDatabaseWrite (called in work) kills it. True when the child ended by
// that kill. The calling process should hold no connection of the files work writes.
bool killedChild(const std::function<void()>& work, bool killAtEnd = true);

// For a child process only: from now on every SQLite connection opened in this process writes
// through a file layer that kills the process (SIGKILL) at its n-th write to a database file, as
// a kill at that moment would; with afterPage1, only the writes after the first page's old image
// went into the rollback journal count. Connections opened before keep their way of writing.
void killAtDatabaseWrite(int n, bool afterPage1 = false);
// The same, killed at the first sync of a database file after the first page's old image went
// into the journal: a commit whose every page reached the file, the journal not yet ended.
void killAtDatabaseSync();

// A rollback journal as SQLite reads it back: its segments (one header each, written whenever the
// journal is synced in the middle of a transaction), which of them holds the first page's old image
// (0: none), whether the header leaves the record count to the journal's size (-1: a writer that
// does not sync), and how many records follow the valid ones (stale records of earlier
// transactions, left by journal_mode=PERSIST), told by their checksums as SQLite tells them, and
// whether one of those holds a first page.
struct JournalShape {
    int segments = 0;
    int page1Segment = 0;
    bool countFromSize = false;
    int staleRecords = 0;
    bool stalePage1 = false;
};
JournalShape journalShape(const QString& journal);

}  // namespace testing_support
