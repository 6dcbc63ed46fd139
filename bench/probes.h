#pragma once
#include <QString>

// Measurements made in a process of their own, started by the benchmark as
// "quenara_bench <flag> <data home> [<argument>]": they see the program as a new process does.
namespace bench {

// "--opening-probe <data home>": starts at the menu over the program folder of that data home,
// opens the listed-stock screen, and prints "menu <kB> peak <kB>": the resident memory at the
// menu and its peak while opening.
inline constexpr const char* kOpeningProbeFlag = "--opening-probe";
int openingProbe(const QString& dataHome);

// "--price-click-probe <data home> screen|floor": the first "一括入力実行" of a new process on the
// price screen over that data home, or the first run of its raw floor, and prints "ms <time>".
inline constexpr const char* kPriceClickProbeFlag = "--price-click-probe";
int priceClickProbe(const QString& dataHome, const QString& side);

}  // namespace bench
