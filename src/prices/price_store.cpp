#include "prices/price_store.h"
#include <sqlite3.h>
#include <array>
#include <map>
#include <memory>
#include <QStringList>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"
#include "prices/period_slots.h"

namespace prices {

namespace {

using platform::detail::Statement;
using platform::detail::quotedName;

// BEGIN .. COMMIT on one connection; leaving the scope without the commit rolls back.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) { platform::detail::exec(db_, QStringLiteral("BEGIN IMMEDIATE")); }
    ~Transaction() {
        if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        platform::detail::exec(db_, QStringLiteral("COMMIT"));
        done_ = true;
    }

private:
    sqlite3* db_;
    bool done_ = false;
};

// The period record's slots, the unit with them, in one statement.
void storeSlots(sqlite3* db, const PeriodWrite& write) {
    if (write.dated.empty()) return;
    const FieldNames field = periodFieldNames();
    QStringList sets;
    QVariantList values;
    for (const PeriodWrite::Slot& s : write.dated) {
        if (s.slot < 1 || s.slot > kSlots) throw platform::DataError(QStringLiteral("no period slot %1").arg(s.slot));
        sets << quotedName(field[std::size_t(s.slot)]) + QStringLiteral(" = ?")
             << quotedName(field[std::size_t(workbookField(s.slot))]) + QStringLiteral(" = ?");
        values << s.date << s.workbook;
    }
    sets << quotedName(field[kUnitField]) + QStringLiteral(" = ?");
    values << write.unit;
    Statement update(db, QStringLiteral("UPDATE \"日付\" SET %1 WHERE \"ID\" = (SELECT min(\"ID\") FROM \"日付\")")
                             .arg(sets.join(QStringLiteral(", "))));
    update.run(values);
    if (sqlite3_changes(db) == 0) throw platform::DataError(QStringLiteral("日付のレコードがありません"));
}

// Every price one period older: the tenth drops out, the newest becomes Null.
void shiftPrices(sqlite3* db) {
    const FieldNames field = periodFieldNames();
    QStringList sets;
    for (int k = kSlots; k >= 2; --k)
        sets << quotedName(field[std::size_t(k)]) + QStringLiteral(" = ") + quotedName(field[std::size_t(k - 1)]);
    sets << quotedName(field[1]) + QStringLiteral(" = NULL");
    platform::detail::exec(db, QStringLiteral("UPDATE \"list\" SET ") + sets.join(QStringLiteral(", ")));
}

// UPDATE of the price fields of the slots in the bit set, by code.
QString priceUpdate(unsigned filled) {
    const FieldNames field = periodFieldNames();
    QStringList sets;
    for (int k = 1; k <= kSlots; ++k)
        if (filled & (1u << k)) sets << quotedName(field[std::size_t(k)]) + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE \"list\" SET %1 WHERE \"コード\" = ?").arg(sets.join(QStringLiteral(", ")));
}

// The sheets' prices, each stock's row written once with every slot the sheets give it, in code
// order (the order of the table's code index).
void storePrices(sqlite3* db, const std::vector<std::pair<int, const SheetPrices*>>& prices) {
    struct Row {
        unsigned filled = 0;   // bit k: slot k has a value
        std::array<QVariant, kSlots + 1> values;
    };
    std::map<long long, Row> rows;
    for (const auto& [slot, sheet] : prices) {
        if (slot < 1 || slot > kSlots) throw platform::DataError(QStringLiteral("no period slot %1").arg(slot));
        for (const auto& [code, value] : sheet->prices) {
            if (code == kPlaceholderCode) continue;
            Row& row = rows[code];
            row.filled |= 1u << slot;
            row.values[std::size_t(slot)] = value;
        }
    }
    std::map<unsigned, std::unique_ptr<Statement>> updates;   // one per set of slots written
    for (const auto& [code, row] : rows) {
        QVariantList values;
        for (int k = 1; k <= kSlots; ++k)
            if (row.filled & (1u << k)) values << row.values[std::size_t(k)];
        values << code;
        std::unique_ptr<Statement>& update = updates[row.filled];
        if (!update) update = std::make_unique<Statement>(db, priceUpdate(row.filled));
        update->run(values);
    }
}

}  // namespace

void storePeriods(const QString& dbPath, const PeriodWrite& write) {
    const auto database = platform::Database::open(dbPath);
    sqlite3* db = database->handle();
    Transaction transaction(db);
    storeSlots(db, write);
    if (write.shift) shiftPrices(db);
    storePrices(db, write.prices);
    transaction.commit();
}

}  // namespace prices
