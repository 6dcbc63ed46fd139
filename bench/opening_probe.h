#pragma once
#include <QString>

namespace bench {

// Run as "quenara_bench --opening-probe <data home>": starts at the menu over the program folder
// of that data home, opens the listed-stock screen, and prints "menu <kB> peak <kB>": the resident
// memory at the menu and its peak while opening. The benchmark runs it in a process of its own.
inline constexpr const char* kOpeningProbeFlag = "--opening-probe";
int openingProbe(const QString& dataHome);

}  // namespace bench
