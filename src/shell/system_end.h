#pragma once

// The end the system asks for: SIGTERM (a shutdown, a kill) and SIGHUP (a logout, a closed
// terminal) end the program as the menu's ＥＮＤ does, without questions. The signal only writes a
// byte into a pipe; the event loop reads it and ends the program there, where windows and
// databases may be touched.
namespace shell {

// Installs the handlers once; later calls do nothing.
void endOnSystemSignals();

}  // namespace shell
