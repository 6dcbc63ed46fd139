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

// Long texts that go on in a CONTINUE record with no option byte, read whole: formula texts
// Gnumeric computes itself (notes beside a price book's prices), among them one whose characters
// (U+4E01) hold the byte 1 where Gnumeric's other layout has its option byte, and a rich label
// with font runs that LibreOffice wrote and Gnumeric saved again (a card's 情報), split in the
// middle of a character.
TEST(XlsWriters, TextsGoingOnWithoutOptionBytesReadWhole) {
    const struct {
        const char* book;
        const char* sheet;
        std::size_t row, col;
        QString expected;
        qsizetype length;
        const char16_t* first;
        const char16_t* last;
    } table[] = {
        {"gnumeric-computed.xls", "s261210", 1, 3, QStringLiteral("株価").repeated(2100), 4200, u"株価株", u"価株価"},
        {"gnumeric-computed.xls", "s261210", 2, 3, QStringLiteral("abc").repeated(3000), 9000, u"abc", u"abc"},
        {"gnumeric-computed.xls", "s261210", 3, 3, QStringLiteral("丁").repeated(5000), 5000, u"丁丁丁", u"丁丁丁"},
        {"gnumeric-rich.xls", "cards", 1, 7, QStringLiteral("Toyota 株価上昇").repeated(381) + QStringLiteral("Toyota 株価"), 4200, u"Toy", u" 株価"},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(std::string(c.book) + " " + std::to_string(c.row) + "," + std::to_string(c.col));
        const platform::Worksheet ws = platform::readWorksheet(realWorkbook(c.book), QString::fromUtf8(c.sheet), false);
        ASSERT_LT(c.row, ws.rows.size());
        ASSERT_LT(c.col, ws.rows[c.row].size());
        const QString got = ws.rows[c.row][c.col].toString();
        EXPECT_EQ(got.size(), c.length);
        EXPECT_EQ(got.left(3), QString::fromUtf16(c.first));
        EXPECT_EQ(got.right(3), QString::fromUtf16(c.last));
        EXPECT_TRUE(got == c.expected) << got.left(40).toStdString();
    }
    const platform::Worksheet prices = platform::readWorksheet(realWorkbook("gnumeric-computed.xls"), QStringLiteral("s261210"));
    ASSERT_EQ(prices.rows.size(), 3u);
    EXPECT_EQ(prices.rows[1][2], QVariant(1007.5));
    EXPECT_EQ(prices.rows[2][0], QVariant(qlonglong(1303)));
}

// A formula's text whose bytes fit no layout (its length one character more than its records
// hold) refuses the workbook instead of leaving the cell empty.
TEST(XlsWriters, AFormulaTextNoLayoutFitsRefusesTheWorkbook) {
    QByteArray stream = testing_support::workbookStream(realWorkbook("gnumeric-computed.xls"));
    std::vector<qsizetype> strings;   // where each STRING record's body begins
    for (qsizetype p = 0; p + 4 <= stream.size();) {
        const quint16 id = quint16(quint8(stream[p]) | quint8(stream[p + 1]) << 8);
        const qsizetype length = quint8(stream[p + 2]) | quint8(stream[p + 3]) << 8;
        if (id == 0) break;
        if (id == 0x0207) strings.push_back(p + 4);
        p += 4 + length;
    }
    ASSERT_EQ(strings.size(), 3u);
    // "丁" x 5000 becomes 5001 characters: 0x1389.
    ASSERT_EQ(stream.mid(strings[2], 3), QByteArray("\x88\x13\x01", 3));
    stream[strings[2]] = char(0x89);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("longer.xls"));
    testing_support::writeWorkbookStream(file, stream);
    try {
        platform::readWorksheet(file, QStringLiteral("s261210"));
        ADD_FAILURE() << "read";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.text.startsWith(QStringLiteral("ブック %1 を読めません。").arg(file))) << e.text.toStdString();
        EXPECT_TRUE(e.text.contains(QStringLiteral("計算式の文字列のレコードが壊れています"))) << e.text.toStdString();
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
