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

// One running program per program folder: the lock is a file of the folder, held while the
// object lives. The operating system lets it go when the process ends, however it ends, so a
// crashed run leaves no lock behind.
class FolderLock {
public:
    enum class State { Held, HeldByOther, Failed };
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    State state() const { return state_; }
    // Why the lock could not be taken (State::Failed): the system's reason.
    const QString& reason() const { return reason_; }

    static QString lockFileName();   // "quenara.lock"

private:
    int fd_ = -1;
    State state_ = State::Failed;
    QString reason_;
};

}  // namespace platform
