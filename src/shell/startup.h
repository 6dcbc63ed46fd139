#pragma once
#include <memory>

namespace platform { class FolderLock; }

namespace shell {

// Readies the program folder before the menu loads: takes the folder's lock (one running program
// per folder), creates the databases that are missing, and checks that each database holds what
// the program needs. A database that does not is named to the person and never opened, so that
// nothing writes to it; the program goes on, its screens over that database staying empty.
// Returns the lock to hold for the whole run, or nothing when the program must end: another run
// holds the folder, or the folder or a database cannot be made (the person has been told why).
std::unique_ptr<platform::FolderLock> startUp();

}  // namespace shell
