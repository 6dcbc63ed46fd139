#include "services/period_record.h"
#include "platform/data/errors.h"

namespace services {

namespace {
PeriodRecordReader& reader() {
    static PeriodRecordReader r;
    return r;
}
std::function<void()>& refresher() {
    static std::function<void()> r;
    return r;
}
}  // namespace

void setPeriodRecordRefresher(std::function<void()> r) { refresher() = std::move(r); }

void refreshPeriodRecord() {
    if (refresher()) refresher()();
}

void setPeriodRecordReader(PeriodRecordReader r) { reader() = std::move(r); }

QString periodRecordCell(int field) {
    if (!reader()) throw platform::DataError(QStringLiteral("no period record"));
    return reader()(field);
}

}  // namespace services
