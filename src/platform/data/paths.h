#pragma once
#include <QString>

namespace platform {

// The program folder: $XDG_DATA_HOME/Vostrel/ (default ~/.local/share/Vostrel/).
// Every fixed file of the program lives there; the folder is created on first use.
QString programFolder();
// A file of the program folder ("druvolo.mdb", "Mdb/", "memo.txt", ...).
QString programFile(const QString& name);

QString mainDatabasePath();   // druvolo.mdb
QString listDatabasePath();   // kabulist.mdb

}  // namespace platform
