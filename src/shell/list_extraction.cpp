#include "shell/list_extraction.h"
#include "platform/data/errors.h"
#include "platform/data/sql_text.h"
#include "platform/ui/flexgrid.h"

namespace shell {

namespace {

QString leftTrimmed(const QString& s) {
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
    return s.mid(i);
}

}  // namespace

QStringList listEntries(const ui::FlexGrid& grid, ListKind kind, int limit) {
    const int rows = grid.Rows();
    QStringList entries;
    for (int r = 1; r < rows && r <= limit; ++r) {
        const QString cell = grid.TextMatrix(r, 2);
        if (kind == ListKind::Codes) {
            if (auto code = platform::sqlWholeNumber(cell)) entries << QString::number(*code);
        } else if (rows == 2 || !leftTrimmed(cell).isEmpty()) {   // a lone source is compared whole, blanks and all
            entries << cell;
        }
    }
    return entries;
}

QString listRestriction(const QStringList& entries, ListKind kind, bool severalRows) {
    if (entries.isEmpty()) return {};
    if (kind == ListKind::Codes) {
        if (!severalRows) return QStringLiteral("where [コード]=") + entries.first();
        return QStringLiteral(" where ([コード]=") + entries.join(QStringLiteral(" Or  [コード]=")) +
               QLatin1Char(')');
    }
    if (!severalRows) return QStringLiteral(" where [情報源]= ") + platform::sqlQuoted(entries.first());
    QStringList patterns;
    for (const QString& e : entries)
        patterns << platform::sqlQuoted(QLatin1Char('*') + leftTrimmed(e).left(4) + QLatin1Char('*'));
    return QStringLiteral(" where ([情報源] like ") + patterns.join(QStringLiteral(" Or [情報源]like ")) +
           QLatin1Char(')');
}

namespace {
const QString kNoStock = QStringLiteral("1000");   // the code that belongs to no stock
}  // namespace

QString noStockRestriction() { return listRestriction({kNoStock}, ListKind::Codes, false); }

QString ListExtraction(const ui::FlexGrid& grid, ListKind kind, int limit) {
    const int rows = grid.Rows();
    QStringList entries = listEntries(grid, kind, limit);
    if (kind == ListKind::Codes && entries.isEmpty() && rows > 1) entries << kNoStock;
    return listRestriction(entries, kind, rows > 2);
}

}  // namespace shell
