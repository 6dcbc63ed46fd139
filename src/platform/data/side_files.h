#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {

// What is known of the side files beside a database file (and of the file) before it is used.
struct SideFacts {
    // A rollback journal SQLite plays back: its header begins with the journal's mark. A header
    // left blank (a write killed before the journal's first sync, or ended in a mode that keeps
    // the journal) is played back as nothing.
    bool journalHot = false;
    // A write-ahead log beside a file in write-ahead-log mode: it may be the file's own.
    bool log = false;
    // A write-ahead log beside a file in rollback mode (header bytes 18 and 19 both 1): never the
    // file's own, as the switch to rollback mode takes the whole log into the file first.
    bool strayLog = false;
    // Found by the trial, when there is a journal or log to play back:
    bool recoveredSound = false;   // SQLite's recovery of a copy passes every check
    bool asItStandsSound = false;  // a copy of the file as it stands passes them
    bool sameRows = false;         // both hold the same rows, table by table
};

enum class SideVerdict {
    AsItStands,   // nothing would be played back: the file is used as it stands, its side files left
    Recover,      // the side files are played back into the file, as SQLite's own recovery does
    Keep,         // the file is kept as it stands; the side files are set aside
    Ask,          // both ways give a whole file and they differ: the person chooses, Keep by default
    Damaged,      // neither way gives a whole file: nothing is touched
};

// The verdict on a database file's side files, from the facts alone. A stray log is set aside
// whatever the verdict, except Damaged.
SideVerdict sideVerdict(const SideFacts& facts);

// What became of the side files a killed run left beside a database file.
struct SideFilesOutcome {
    // The side files moved aside, each by its new name ("<side file>.<n>.orphan"); never deleted.
    QStringList setAside;
    // The file as it stood before SQLite recovered it, kept under a new name ("<file>.<n>.orphan")
    // when the person chose the recovery over it; empty otherwise.
    QString keptAsItStood;
    // Why the file must not be used now: its unfinished write could not be settled (neither the
    // file recovered from it nor the file as it stands is sound); nothing was touched.
    std::optional<QString> damage;
};

// What keeps a database file from serving (the program's check of its tables), or nothing.
using FileProblem = std::function<std::optional<QString>(const QString& path)>;
// Called once when a trial begins (it copies the whole file, a second or more for a large one), so
// that the caller can show that the program is at work.
using TrialBegins = std::function<void()>;
// What a whole database file holds in the person's words (a line), for the question.
using DescribeFile = std::function<QString(const QString& path)>;
// Asked when both the file SQLite recovered with the side files and the file as it stands are
// whole and hold different rows (no check tells then whether the killed write reached the file
// whole or a file was put in its place after the kill): true to use the recovery, false to keep
// the file as it stands. Given the side files and what each file holds.
using ChooseRecovery =
    std::function<bool(const QStringList& sides, const QString& recovered, const QString& asItStands)>;

// Settles the side files of a run that was killed while it wrote (a rollback journal to be played
// back, a write-ahead log) by trial, not by a guess at whose they are. Facts that need no copy
// come first: a journal with a blank header is left as it is, a log beside a file in rollback mode
// is set aside. Otherwise SQLite recovers a copy of the file and its side files in a private
// folder, and that copy and a copy of the file as it stands are checked (SQLite's integrity check,
// a main database's stored changes against its prices, and `problem`: a file that is not the
// program's database is never sound, so that it is never written) and their rows compared; then
// sideVerdict decides. chooseRecovery answers Ask (the file is kept as it stands when none is
// given), and the file as it stood is kept under a new name when the recovery is chosen. Side
// files beside a missing or empty file (which the program then makes anew) are set aside. Side
// files of a process at work on the file are left to it. A side file whose setting aside was cut
// short (see finishInterruptedSetAsides) is set aside. A file or folder this user cannot write, and
// a disk without room for the trial's copies, are told as the reason the file cannot be used now;
// nothing is touched. trialBegins is called before the copies are made. Call it before the program
// opens the file; no connection of this process may hold it.
SideFilesOutcome settleSideFiles(const QString& path, const FileProblem& problem = {}, const DescribeFile& describe = {},
                                 const ChooseRecovery& chooseRecovery = {}, const TrialBegins& trialBegins = {});

// Whether two database files hold the same definitions (tables, indexes, views, triggers) and the
// same rows (compared value by value, each table in the order of its key), whatever their pages
// look like. Only for files no other process writes (private copies).
bool sameRows(const QString& a, const QString& b);

}  // namespace platform
