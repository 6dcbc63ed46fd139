#include <gtest/gtest.h>

#include <QDate>
#include <QTemporaryDir>

#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/workbook.h"
#include "support/real_workbooks.h"

using platform::DataError;
using testing_support::realWorkbook;

namespace {

// What three spreadsheet programs write that the format does not quite say keeps reading: a
// boolean in 9 bytes; a long formula text whose option byte stands a byte early, one byte of
// it lost at the end (read up to its last whole character); a long formula text inside the
// FORMULA record, going on without the option byte; a workbook stream filled with zeros.
TEST(XlsWriters, EachWritersWayKeepsReading) {
    const QString notes = QString(QStringLiteral("株価")).repeated(2100), cardNote = QString(QStringLiteral("覚え")).repeated(2100),
                  abc = QString(QStringLiteral("abc")).repeated(3000);
    const struct {
        const char* book;
        const char* sheet;
        std::size_t row, col;   // in the sheet, row 0 its first
        QVariant expected;
    } table[] = {
        {"libreoffice.xls", "s261210", 2, 2, 1007.5},
        {"libreoffice.xls", "s261210", 21, 2, QStringLiteral("TRUE")},   // BOOLERR of 9 bytes
        {"libreoffice.xls", "s261210", 21, 3, notes},
        {"libreoffice.xls", "s261210", 22, 2, QDate(2024, 9, 30)},
        {"libreoffice.xls", "cards", 2, 7, cardNote},
        {"gnumeric.xls", "s261210", 2, 2, 1007.5},
        {"gnumeric.xls", "s261210", 21, 2, QStringLiteral("TRUE")},
        {"gnumeric.xls", "s261210", 21, 3, notes.chopped(1)},
        {"gnumeric.xls", "s261210", 23, 2, qlonglong(123456789)},
        {"gnumeric.xls", "cards", 2, 7, cardNote.chopped(1)},
        {"writeexcel.xls", "s261210", 6, 3, abc},   // inside the FORMULA record
        {"writeexcel.xls", "s261210", 7, 3, qlonglong(3)},
        {"writeexcel-small.xls", "s261210", 1, 2, qlonglong(3905)},   // zeros after the sheet
    };
    for (const auto& c : table) {
        SCOPED_TRACE(std::string(c.book) + " " + c.sheet + " " + std::to_string(c.row) + "," + std::to_string(c.col));
        const platform::Worksheet ws = platform::readWorksheet(realWorkbook(c.book), QString::fromUtf8(c.sheet), false);
        ASSERT_LT(c.row, ws.rows.size());
        ASSERT_LT(c.col, ws.rows[c.row].size());
        const QVariant& got = ws.rows[c.row][c.col];
        EXPECT_EQ(got.typeId(), c.expected.typeId()) << got.typeName();
        EXPECT_EQ(got, c.expected) << got.toString().left(40).toStdString();
    }
}

// A column width as Spreadsheet::WriteExcel writes it (an 11-byte COLINFO) keeps the sheet readable.
TEST(XlsWriters, AColumnWidthOfSpreadsheetWriteExcelKeepsReading) {
    QTemporaryDir dir;
    const platform::Worksheet ws = platform::readWorksheet(testing_support::writeColumnWidthWorkbook(dir.path()), QStringLiteral("s261210"), false);
    ASSERT_GE(ws.rows.size(), 8u);
    EXPECT_EQ(ws.rows[7][3], QVariant(qlonglong(3)));
}

// Cells that do not come in row and column order are read as they are, each in its place.
TEST(XlsWriters, CellsOutOfOrderReadInTheirPlaces) {
    QTemporaryDir dir;
    const platform::Worksheet ws = platform::readWorksheet(testing_support::writeReorderedWorkbook(dir.path()), QStringLiteral("s261210"), false);
    ASSERT_GE(ws.rows.size(), 3u);
    EXPECT_EQ(ws.rows[1], (std::vector<QVariant>{qlonglong(1301), QStringLiteral("銘柄1301"), qlonglong(1000)}));
    EXPECT_EQ(ws.rows[2][0], qlonglong(1302));
}

// Damage to a workbook a spreadsheet program wrote refuses it, as a sheet and as a table, in
// words naming the file and what is wrong.
TEST(XlsWriters, DamageToARealWorkbookRefusesIt) {
    QTemporaryDir dir;
    const auto damaged = testing_support::writeDamagedWorkbooks(dir.path());
    ASSERT_EQ(damaged.size(), 22u);
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.damage);
        for (const bool asTable : {false, true}) {
            try {
                if (asTable) platform::Database::open(d.file, QStringLiteral("Excel 8.0;"));
                else platform::readWorksheet(d.file, QStringLiteral("s261210"));
                ADD_FAILURE() << "read";
            } catch (const DataError& e) {
                EXPECT_TRUE(e.text.startsWith(QStringLiteral("ブック %1 を読めません。").arg(d.file))) << e.text.toStdString();
                EXPECT_TRUE(e.text.contains(d.says)) << e.text.toStdString();
            }
        }
    }
}

}  // namespace
