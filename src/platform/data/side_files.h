#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {

// What became of the side files a killed run left beside a database file.
struct SideFilesOutcome {
    // The side files moved aside, each by its new name ("<side file>.<n>.orphan"); never deleted.
    QStringList setAside;
    // The file as it stood before SQLite recovered it, kept under a new name ("<file>.<n>.orphan")
    // when it was whole too; empty otherwise.
    QString keptAsItStood;
    // Why the file must not be used now: its unfinished write could not be settled (neither the
    // file recovered from it nor the file as it stands is sound); nothing was touched.
    std::optional<QString> damage;
};

// Asked when both the file SQLite recovered with the side files and the file as it stands are
// whole and differ (no check tells then whether the killed write reached the file whole or a file
// was put in its place after the kill): true to use the recovery, false to keep the file as it
// stands. Given the side files.
using ChooseRecovery = std::function<bool(const QStringList& sides)>;
// What keeps a database file from serving (the program's check of its tables), or nothing.
using FileProblem = std::function<std::optional<QString>(const QString& path)>;
// Called once when a trial begins (it copies the whole file, a second or more for a large one), so
// that the caller can show that the program is at work.
using TrialBegins = std::function<void()>;

// Settles the side files of a run that was killed while it wrote (a rollback journal to be played
// back, a write-ahead log) by trial, not by a guess at whose they are: SQLite recovers a copy of
// the file and its side files in a private folder, and that copy and a copy of the file as it
// stands are checked (SQLite's integrity check, a main database's stored changes against its
// prices, and `problem`: a file that is not the program's database is never sound, so that it is
// never written). The recovered copy alone sound: SQLite recovers the file itself the same way. The file
// as it stands alone sound (a backup copied over it after the kill, say): it is kept and the side
// files are set aside. Both sound and different: chooseRecovery decides (the recovery when none
// is given), and the file as it stood is kept under a new name when the recovery is used. Neither
// sound: nothing is touched and the damage is told. Side files beside a missing or empty file
// (which the program then makes anew) are set aside. Side files of a process at work on the file
// are left to it. A side file whose setting aside was cut short (see finishInterruptedSetAsides)
// is set aside. A file or folder this user cannot write, and a disk without room for the trial's
// copies, are told as the reason the file cannot be used now; nothing is touched. Call it before
// the program opens the file.
SideFilesOutcome settleSideFiles(const QString& path, const FileProblem& problem = {},
                                 const ChooseRecovery& chooseRecovery = {}, const TrialBegins& trialBegins = {});

}  // namespace platform
