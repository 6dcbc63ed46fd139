#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// A side file is set aside by a hard link to its new name ("<side file>.<n>.orphan") and the
// removal of its old name. A run ended between the two leaves the same file under both names: the
// side file is then no unfinished write but one already set aside. Removes the old name of each
// side file of the database file at path that is the same file (device and inode) as one of its
// numbered names beside it, and returns those names. Leaves everything as it is while another
// process is at work on the database file. Call it before the program opens the file.
QStringList finishInterruptedSetAsides(const QString& path);

}  // namespace platform
