#include "prices/price_store.h"
#include <sqlite3.h>
#include <algorithm>
#include <array>
#include <unordered_map>
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

// The assignments that move a row's slots one period older: the field of slot k (fieldOf(k),
// quoted) takes the one of slot k - 1, for k = 10 down to 2. In one UPDATE every right-hand side
// reads the row as it was.
template <class FieldOf>
QStringList oneOlder(FieldOf fieldOf) {
    QStringList sets;
    for (int k = kSlots; k >= 2; --k) sets << fieldOf(k) + QStringLiteral(" = ") + fieldOf(k - 1);
    return sets;
}

// The period record's slots, the unit with them, in one statement. With the shift, slots 1 to 9
// move one older as the record holds them.
void storeSlots(sqlite3* db, const PeriodWrite& write) {
    if (write.dated.empty() && !write.shift) return;
    const FieldNames field = periodFieldNames();
    auto name = [&](int entry) { return quotedName(field[std::size_t(entry)]); };
    QStringList sets;
    QVariantList values;
    if (write.shift) sets << oneOlder(name) << oneOlder([&](int k) { return name(workbookField(k)); });
    for (const PeriodWrite::Slot& s : write.dated) {
        if (s.slot < 1 || s.slot > kSlots) throw platform::DataError(QStringLiteral("no period slot %1").arg(s.slot));
        sets << name(s.slot) + QStringLiteral(" = ?") << name(workbookField(s.slot)) + QStringLiteral(" = ?");
        values << s.date << s.workbook;
    }
    sets << name(kUnitField) + QStringLiteral(" = ?");
    values << write.unit;
    Statement update(db, QStringLiteral("UPDATE \"日付\" SET %1 WHERE \"ID\" = (SELECT min(\"ID\") FROM \"日付\")")
                             .arg(sets.join(QStringLiteral(", "))));
    update.run(values);
    if (sqlite3_changes(db) == 0) throw platform::DataError(QStringLiteral("日付のレコードがありません"));
}

// Every price one period older: the tenth drops out, the newest becomes Null.
void shiftPrices(sqlite3* db) {
    const FieldNames field = periodFieldNames();
    QStringList sets = oneOlder([&](int k) { return quotedName(field[std::size_t(k)]); });
    sets << quotedName(field[1]) + QStringLiteral(" = NULL");
    platform::detail::exec(db, QStringLiteral("UPDATE \"list\" SET ") + sets.join(QStringLiteral(", ")));
}

// Refuses a sheet none of whose codes names a stock of the price table, the placeholder aside.
// Codes are looked up one by one on the price table's code index until one is found, which for a
// price sheet is at its first stock.
void requireMatchingCodes(sqlite3* db, const std::vector<std::pair<int, const SheetPrices*>>& prices) {
    Statement listed(db, QStringLiteral("SELECT 1 FROM \"list\" WHERE \"コード\" = ?1 LIMIT 1"));
    for (const auto& [slot, sheet] : prices) {
        bool matched = false;
        for (long long code : sheet->codes) {
            if (code == kPlaceholderCode) continue;
            sqlite3_bind_int64(listed.get(), 1, code);
            matched = listed.step();
            listed.reset();
            if (matched) break;
        }
        if (!matched)
            throw platform::DataError(QStringLiteral("%1 のコードは、どれも価格表の銘柄のコードと合いません。"
                                                     "コードの列が数字で入っているか（日付などの書式になっていないか）を確かめてください。")
                                          .arg(sheet->where));
    }
}

// The sheets' prices, each stock's row written once with every slot the sheets give it: the
// values go into a temporary table keyed by code, and one UPDATE of the price table joined to it
// writes them (a third faster at 40,000 stocks than one UPDATE per stock by code).
void storePrices(sqlite3* db, const std::vector<std::pair<int, const SheetPrices*>>& prices) {
    struct Row {
        long long code;
        unsigned filled = 0;   // bit k: slot k has a value
        unsigned null = 0;     // bit k: that value is Null
        std::array<long long, kSlots + 1> values{};
    };
    std::vector<Row> rows;
    std::unordered_map<long long, std::size_t> rowOf;
    unsigned written = 0;   // the slots any row takes
    for (const auto& [slot, sheet] : prices) {
        if (slot < 1 || slot > kSlots) throw platform::DataError(QStringLiteral("no period slot %1").arg(slot));
        rowOf.reserve(sheet->prices.size());
        for (const auto& [code, value] : sheet->prices) {
            if (code == kPlaceholderCode) continue;
            const auto [at, added] = rowOf.try_emplace(code, rows.size());
            if (added) rows.push_back(Row{code});
            Row& row = rows[at->second];
            const unsigned bit = 1u << slot;
            row.filled |= bit;
            if (value.isNull()) row.null |= bit;
            else row.values[std::size_t(slot)] = value.toLongLong();
            written |= bit;
        }
    }
    if (rows.empty()) return;
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.code < b.code; });

    const QString table = QStringLiteral("temp.\"sheet prices\"");
    QStringList columns{QStringLiteral("\"code\" INTEGER PRIMARY KEY"), QStringLiteral("\"filled\" INTEGER")};
    QStringList params{QStringLiteral("?1"), QStringLiteral("?2")};
    for (int k = 1; k <= kSlots; ++k) {
        columns << QStringLiteral("\"p%1\"").arg(k);
        params << QStringLiteral("?%1").arg(k + 2);
    }
    platform::detail::exec(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    platform::detail::exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(QStringLiteral(", "))));
    {
        Statement insert(db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, params.join(u',')));
        for (const Row& row : rows) {
            sqlite3_stmt* st = insert.get();
            sqlite3_bind_int64(st, 1, row.code);
            sqlite3_bind_int64(st, 2, row.filled);
            for (int k = 1; k <= kSlots; ++k) {
                const unsigned bit = 1u << k;
                if ((row.filled & bit) && !(row.null & bit)) sqlite3_bind_int64(st, k + 2, row.values[std::size_t(k)]);
                else sqlite3_bind_null(st, k + 2);
            }
            insert.step();
            insert.reset();
        }
    }
    const FieldNames field = periodFieldNames();
    QStringList sets;
    for (int k = 1; k <= kSlots; ++k) {
        if (!(written & (1u << k))) continue;
        const QString price = quotedName(field[std::size_t(k)]);
        sets << QStringLiteral("%1 = CASE WHEN s.\"filled\" & %2 THEN s.\"p%3\" ELSE \"list\".%1 END")
                    .arg(price)
                    .arg(1u << k)
                    .arg(k);
    }
    platform::detail::exec(db, QStringLiteral("UPDATE \"list\" SET %1 FROM %2 AS s WHERE s.\"code\" = \"list\".\"コード\"")
                                   .arg(sets.join(QStringLiteral(", ")), table));
    platform::detail::exec(db, QStringLiteral("DROP TABLE %1").arg(table));
}

}  // namespace

void storePeriods(const QString& dbPath, const PeriodWrite& write) {
    const auto database = platform::Database::open(dbPath);
    sqlite3* db = database->handle();
    Transaction transaction(db);
    requireMatchingCodes(db, write.prices);
    storeSlots(db, write);
    if (write.shift) shiftPrices(db);
    storePrices(db, write.prices);
    transaction.commit();
}

}  // namespace prices
