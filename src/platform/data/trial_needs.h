#pragma once
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace platform {

// What the trial of a database file's side files (see settleSideFiles) needs before it copies
// anything: the file and its folder writable (the side files are played back into the file or
// moved aside beside it), and room for its copies.

// The bytes the trial may write into its private folder: the file twice (the copy recovered with
// the side files and the copy as it stands), the side files copied, and as much again for what
// playing them back may add to the recovered copy.
qint64 trialRoomNeeded(qint64 fileBytes, qint64 sideBytes);

// The person's words for a trial that cannot run for want of room in folder (needed and free in
// bytes; sizes told in whole MB, what is needed rounded up, what is free rounded down), or
// nothing when the free room suffices.
std::optional<QString> shortOfRoom(const QString& folder, qint64 needed, qint64 free);

// The room the person may still fill in the folder's file system, in bytes; -1 when unknown.
qint64 freeRoom(const QString& folder);

// shortOfRoom for the trial of the database file at path and its side files in its private folder
// (named by the folder it lies in, which outlives it), the free room as it is now. Nothing when the
// room cannot be told (the copies then say what fails).
std::optional<QString> trialRoomProblem(const QString& privateFolder, const QString& path, const QStringList& sides);

// Why the side files of the database file at path cannot be settled by this user: the file cannot
// be read and written, or its folder cannot be written (a journal is ended by removing it), told
// with the system's reason; nothing when both can.
std::optional<QString> unwritableProblem(const QString& path);

}  // namespace platform
