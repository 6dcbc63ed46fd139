#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Side files of a run that was killed while it wrote (a rollback journal to be played back, a
// write-ahead log) that do not belong to the database file now at path, because another file was
// put in its place (a backup copied over it): SQLite would lay them over that file. They are
// moved aside ("<side file>.orphan"), never deleted. The journal of the file itself is played
// back now, so that the file reads whole even where it is only read. Side files that another
// process is using are left to it. Call it before the program opens the file. Returns the side
// files moved aside.
QStringList settleSideFiles(const QString& path);

}  // namespace platform
