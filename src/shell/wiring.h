#pragma once

namespace shell {

// Enters every window that stands into the window registry, names the menu as the window a
// screen's OK brings back, and lets the screens read the period record from the menu.
// Called once at start (and by the test programs).
void wireWindows();

}  // namespace shell
