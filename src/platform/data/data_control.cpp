#include "platform/data/data_control.h"

#include "platform/data/database.h"
#include "platform/data/errors.h"

namespace platform {

DataControl::DataControl() = default;
DataControl::~DataControl() = default;

void DataControl::Refresh() {
    // Both steps may throw. The control keeps its rows while the row source cannot run; once it
    // has delivered its first row the old rows go before the new ones are taken in, so that two
    // large sets of rows are never held together, and the new rows fill the memory the old ones
    // held. A failure after that leaves the control empty.
    std::shared_ptr<Database> db = Database::open(DatabaseName, Connect, ReadOnly ? Database::Access::ReadOnly : Database::Access::ReadWrite);
    if (rs_.isOpen() && db == db_ && RecordSource == readSource_ && rs_.unchangedSinceRead()) {
        rs_.rewind();
    } else {
        bool released = false;
        try {
            Recordset rs = db->openRecordset(RecordSource, [&] {
                readSource_.clear();
                released = true;
            }, rs_);
            rs_ = std::move(rs);
        } catch (...) {
            if (released) {
                db_.reset();
                notify();
            }
            throw;
        }
        db_ = std::move(db);
        readSource_ = RecordSource;
    }
    notify();
}

Recordset& DataControl::recordset() {
    if (!rs_.isOpen()) throw DataError(QStringLiteral("Object invalid or no longer set."));
    return rs_;
}

bool DataControl::hasRecordset() const { return rs_.isOpen(); }

void DataControl::setRecordset(Recordset&& rs) {
    rs_ = std::move(rs);
    readSource_.clear();
    db_ = rs_.database();
    notify();
}

void DataControl::close() {
    rs_.Close();
    db_.reset();
    readSource_.clear();
    notify();
}

void DataControl::addRefreshListener(std::function<void()> f) { listeners_.push_back(std::move(f)); }

void DataControl::notify() {
    for (const auto& f : listeners_) f();
}

}  // namespace platform
