// Workbooks as databases: every sheet of an .xls file becomes a table "<sheet>$" of an in-memory
// SQLite database, read once with FreeXL.
#include <freexl.h>
#include <sqlite3.h>

#include <QDate>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <vector>

#include "platform/data/dialect.h"
#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"
#include "platform/data/workbook.h"

namespace platform::detail {

namespace {

class XlsFile {
public:
    explicit XlsFile(const QString& path) {
        const int rc = freexl_open(QFile::encodeName(path).constData(), &handle_);
        if (rc != FREEXL_OK) {
            freexl_close(handle_);
            handle_ = nullptr;
            throw DataError(QStringLiteral("Cannot read the workbook %1 (FreeXL error %2)").arg(path).arg(rc));
        }
    }
    ~XlsFile() {
        if (handle_) freexl_close(handle_);
    }
    XlsFile(const XlsFile&) = delete;
    XlsFile& operator=(const XlsFile&) = delete;
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

// A cell as the engine reads it: numbers as numbers, numeric text included; dates as serials.
QVariant cellValue(const FreeXL_CellValue& cell, bool* isDate) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QVariant(qlonglong(cell.value.int_value));
    case FREEXL_CELL_DOUBLE:
        return storedNumber(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT: {
        const QString text = QString::fromUtf8(cell.value.text_value);
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        if (ok && !text.trimmed().isEmpty()) return storedNumber(d);
        return QVariant(text);
    }
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME: {
        double serial = 0;
        QString text = QString::fromUtf8(cell.value.text_value);
        if (dateTextToSerial(text, &serial)) {
            *isDate = true;
            return QVariant(serial);
        }
        return QVariant(text);
    }
    case FREEXL_CELL_TIME:
        return QVariant(QString::fromUtf8(cell.value.text_value));
    default:
        return QVariant();
    }
}

// The cells of the active sheet: its column names and its records in sheet order, with the columns
// that hold dates.
struct SheetCells {
    Worksheet sheet;
    std::vector<bool> dateColumn;
};

SheetCells readCells(const void* xls, const QString& sheetName, bool headerRow) {
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(xls, &rows, &cols) != FREEXL_OK)
        throw DataError(QStringLiteral("Cannot read the sheet %1").arg(sheetName));

    std::vector<std::vector<QVariant>> cells;
    std::vector<bool> dateColumn(cols, false);
    cells.reserve(rows);
    for (unsigned r = 0; r < rows; ++r) {
        std::vector<QVariant> row(cols);
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(xls, r, c, &cell) != FREEXL_OK) continue;
            bool isDate = false;
            row[c] = cellValue(cell, &isDate);
            if (isDate && (!headerRow || r > 0)) dateColumn[c] = true;
        }
        cells.push_back(std::move(row));
    }
    // Rows left empty at the end of the used range are no records.
    auto emptyRow = [](const std::vector<QVariant>& row) {
        for (const QVariant& v : row)
            if (!v.isNull() && !(v.typeId() == QMetaType::QString && v.toString().isEmpty())) return false;
        return true;
    };
    while (!cells.empty() && emptyRow(cells.back())) cells.pop_back();

    QStringList names;
    QSet<QString> seen;
    for (unsigned short c = 0; c < cols; ++c) {
        QString name;
        if (headerRow && !cells.empty() && !cells[0][c].isNull()) {
            const QVariant& h = cells[0][c];
            name = h.typeId() == QMetaType::Double ? numberText(h.toDouble()) : h.toString().trimmed();
        }
        if (name.isEmpty() || seen.contains(name.toCaseFolded())) name = QStringLiteral("F%1").arg(c + 1);
        seen.insert(name.toCaseFolded());
        names << name;
    }
    if (headerRow && !cells.empty()) cells.erase(cells.begin());
    return {Worksheet{names, std::move(cells)}, std::move(dateColumn)};
}

void loadSheet(sqlite3* db, const void* xls, const QString& sheetName, bool headerRow) {
    const SheetCells read = readCells(xls, sheetName, headerRow);
    const QStringList& names = read.sheet.names;

    const QString table = quotedName(sheetName + u'$');
    QStringList columnDefs;
    for (int c = 0; c < names.size(); ++c)
        columnDefs << quotedName(names[c]) + (read.dateColumn[std::size_t(c)] ? QStringLiteral(" DATE") : QString());
    if (columnDefs.isEmpty()) columnDefs << QStringLiteral("F1");
    exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columnDefs.join(QStringLiteral(", "))));
    if (names.isEmpty()) return;

    QStringList params;
    for (int c = 0; c < names.size(); ++c) params << QStringLiteral("?%1").arg(c + 1);
    Statement insert(db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, params.join(u',')));
    for (const std::vector<QVariant>& row : read.sheet.rows) {
        for (int c = 0; c < names.size(); ++c) bindValue(insert.get(), c + 1, row[std::size_t(c)]);
        insert.step();
        insert.reset();
    }
}

}  // namespace

void loadWorkbook(sqlite3* db, const QString& path, bool headerRow) {
    XlsFile xls(path);
    unsigned int sheets = 0;
    if (freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        throw DataError(QStringLiteral("Cannot read the workbook %1").arg(path));
    exec(db, QStringLiteral("BEGIN"));
    for (unsigned short s = 0; s < sheets; ++s) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls.get(), s, &name) != FREEXL_OK || !name) continue;
        if (freexl_select_active_worksheet(xls.get(), s) != FREEXL_OK) continue;
        loadSheet(db, xls.get(), QString::fromUtf8(name), headerRow);
    }
    exec(db, QStringLiteral("COMMIT"));
}

}  // namespace platform::detail

namespace platform {

Worksheet readWorksheet(const QString& path, const QString& sheet, bool headerRow) {
    using namespace detail;
    XlsFile xls(path);
    unsigned int sheets = 0;
    if (freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        throw DataError(QStringLiteral("Cannot read the workbook %1").arg(path));
    for (unsigned short s = 0; s < sheets; ++s) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls.get(), s, &name) != FREEXL_OK || !name) continue;
        if (QString::fromUtf8(name).compare(sheet, Qt::CaseInsensitive) != 0) continue;
        if (freexl_select_active_worksheet(xls.get(), s) != FREEXL_OK) break;
        return readCells(xls.get(), sheet, headerRow).sheet;
    }
    throw DataError(QStringLiteral("The workbook %1 has no sheet %2").arg(path, sheet));
}

}  // namespace platform
