#include "prices/price_sheet.h"
#include <unordered_set>
#include "platform/data/errors.h"
#include "platform/data/workbook.h"
#include "prices/period_slots.h"

namespace prices {

namespace {

int columnNamed(const QStringList& names, const QString& name, const QString& where) {
    for (int c = 0; c < names.size(); ++c)
        if (names[c].compare(name, Qt::CaseInsensitive) == 0) return c;
    throw platform::DataError(QStringLiteral("%1 に %2 の列がありません").arg(where, name));
}

// The weekly value: Null for 0, empty and no number; nothing (keep the price) beyond the range.
std::optional<QVariant> namedValue(const QVariant& cell) {
    const auto yen = wholeYen(cell);
    if (!yen) {
        const auto code = sheetCode(cell);   // a whole number outside the range: no price
        return code ? std::nullopt : std::optional<QVariant>(QVariant());
    }
    return *yen == 0 ? QVariant() : QVariant(*yen);
}

}  // namespace

SheetPrices readSheetPrices(const QString& workbookPath, const QString& sheetTable, Columns columns) {
    const QString sheet = platform::sheetOfTable(sheetTable);
    const QString where = QStringLiteral("%1 のシート %2").arg(workbookPath, sheet);
    // The reader's refusal names the workbook and, for a missing sheet, the sheet.
    const bool byName = columns == Columns::ByName;
    // By position only the code and price columns are read; by name the header row must be read whole.
    const platform::Worksheet ws = platform::readWorksheet(workbookPath, sheet, true, byName ? std::vector<int>{} : std::vector<int>{0, 2});
    const int codeCol = byName ? columnNamed(ws.names, QStringLiteral("kodo"), where) : 0;
    const int priceCol = byName ? columnNamed(ws.names, QStringLiteral("owari"), where) : 2;

    SheetPrices out;
    out.rows = int(ws.rows.size());
    out.where = where;
    out.prices.reserve(ws.rows.size());
    out.codes.reserve(ws.rows.size());
    std::unordered_set<long long> seen;
    seen.reserve(ws.rows.size());
    for (const auto& row : ws.rows) {
        const auto code = sheetCode(codeCol < int(row.size()) ? row[std::size_t(codeCol)] : QVariant());
        if (!code || !seen.insert(*code).second) continue;   // the first row of a code counts
        out.codes.push_back(*code);
        const QVariant cell = priceCol < int(row.size()) ? row[std::size_t(priceCol)] : QVariant();
        if (byName) {
            if (const auto v = namedValue(cell)) out.prices.emplace_back(*code, *v);
        } else if (const auto yen = wholeYen(cell)) {
            out.prices.emplace_back(*code, *yen);
        }
    }
    return out;
}

}  // namespace prices
