// Workbooks as databases: each sheet of an .xls file becomes a table "<sheet>$" of an in-memory
// SQLite database, made with the program's .xls reader the first time a row source names it.
#include <sqlite3.h>

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"
#include "platform/data/workbook.h"
#include "platform/data/xls_file.h"

namespace platform::detail {

namespace {

// The column names and records of one sheet.
Worksheet tableOf(SheetRows cells, bool headerRow) {
    std::size_t cols = 0;
    for (const auto& row : cells) cols = std::max(cols, row.size());
    QStringList names;
    QSet<QString> seen;
    for (std::size_t c = 0; c < cols; ++c) {
        QString name;
        if (headerRow && !cells.empty() && c < cells[0].size()) name = XlsFile::cellText(cells[0][c]).trimmed();
        if (name.isEmpty() || seen.contains(name.toCaseFolded())) name = QStringLiteral("F%1").arg(c + 1);
        seen.insert(name.toCaseFolded());
        names << name;
    }
    if (headerRow && !cells.empty()) cells.erase(cells.begin());
    return Worksheet{names, std::move(cells)};
}

// A cell as the sheet's table stores it: a date as its text, so that the preview shows what an
// import takes and a column is never turned into dates by one of its cells.
void bindCell(sqlite3_stmt* insert, int index, const QVariant& cell) {
    const int type = cell.typeId();
    if (type == QMetaType::QDate || type == QMetaType::QDateTime)
        bindValue(insert, index, XlsFile::cellText(cell));
    else
        bindValue(insert, index, cell);
}

void loadSheet(sqlite3* db, const XlsFile& xls, int sheet, bool headerRow) {
    const QString sheetName = xls.sheetNames().at(sheet);
    const Worksheet read = tableOf(xls.sheetRows(sheet), headerRow);
    const QStringList& names = read.names;

    const QString table = quotedName(sheetName + u'$');
    QStringList columnDefs;
    for (const QString& name : names) columnDefs << quotedName(name);
    if (columnDefs.isEmpty()) columnDefs << QStringLiteral("F1");
    exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columnDefs.join(QStringLiteral(", "))));
    if (names.isEmpty()) return;

    QStringList params;
    for (int c = 0; c < names.size(); ++c) params << QStringLiteral("?%1").arg(c + 1);
    Statement insert(db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, params.join(u',')));
    for (const std::vector<QVariant>& row : read.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) bindCell(insert.get(), int(c) + 1, row[c]);
        insert.step();
        insert.reset();
    }
}

}  // namespace

WorkbookTables::WorkbookTables(const QString& path, bool headerRow)
    : xls_(std::make_unique<XlsFile>(path)), headerRow_(headerRow), loaded_(std::size_t(xls_->sheetNames().size())) {}

WorkbookTables::~WorkbookTables() = default;

void WorkbookTables::loadNamedIn(sqlite3* db, const QString& source) {
    if (!xls_) return;
    const QStringList sheets = xls_->sheetNames();
    for (int s = 0; s < sheets.size(); ++s) {
        if (loaded_[std::size_t(s)] || !source.contains(sheets[s] + u'$', Qt::CaseInsensitive)) continue;
        exec(db, QStringLiteral("BEGIN"));
        try {
            loadSheet(db, *xls_, s, headerRow_);
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        exec(db, QStringLiteral("COMMIT"));
        loaded_[std::size_t(s)] = true;
    }
    // Once every sheet is a table the file's bytes are no longer needed.
    if (std::all_of(loaded_.begin(), loaded_.end(), [](bool b) { return b; })) xls_.reset();
}

}  // namespace platform::detail

namespace platform {

Worksheet readWorksheet(const QString& path, const QString& sheet, bool headerRow, const std::vector<int>& onlyColumns) {
    const detail::XlsFile xls(path);
    const int index = xls.sheetIndex(sheet);
    if (index < 0) throw DataError(QStringLiteral("ブック %1 にシート「%2」がありません。").arg(path, sheet));
    detail::ColumnSet keep;
    for (const int c : onlyColumns)
        if (c >= 0 && c < int(keep.size())) keep.set(std::size_t(c));
    return detail::tableOf(xls.sheetRows(index, onlyColumns.empty() ? nullptr : &keep), headerRow);
}

QString sheetOfTable(const QString& table) { return table.endsWith(u'$') ? table.chopped(1) : table; }

QString worksheetCellText(const QVariant& cell) { return detail::XlsFile::cellText(cell); }

}  // namespace platform
