#pragma once
#include <QString>
#include <functional>

namespace services {

// The period record as the screens read it: the DateRecord the menu shows (field 2 the newest
// period's date .. field 11 the oldest, field 12 the period unit word "day", "week" or "month").
// The wiring installs the reader (the menu's grid, row 1); it throws when no record can be read.
using PeriodRecordReader = std::function<QString(int field)>;
void setPeriodRecordReader(PeriodRecordReader reader);

QString periodRecordCell(int field);
inline QString periodUnit() { return periodRecordCell(12); }

// After a writer stored the period record: the menu reads it again, so that its grid (and every
// reader above) shows the record as stored. The wiring installs it; without it nothing happens.
void setPeriodRecordRefresher(std::function<void()> refresher);
void refreshPeriodRecord();

}  // namespace services
