#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"
#include "support/cell_workbooks.h"

using platform::DataControl;
using platform::DataError;

namespace {

// Writes an .xls with xlwt: a price sheet whose codes and closes are stored as whole numbers,
// doubles and texts of digits, a card sheet with a date column, and an untitled column.
void writeWorkbook(const QString& path, int firstClose) {
    const QString script = QStringLiteral(R"py(
import sys, datetime, xlwt
wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('s240930')
for c, title in enumerate(['kodo', '銘柄', 'owari']):
    ws.write(0, c, title)
rows = [(7203, '日立', int(sys.argv[2])), (6758.0, 'Sony', '2500'), ('9984', 'ソフト', 7100.5), ('', '空', '')]
for r, row in enumerate(rows, start=1):
    for c, v in enumerate(row):
        ws.write(r, c, v)
ws.write(1, 4, 'x')
cards = wb.add_sheet('Sheet3')
for c, title in enumerate(['ID', '情報源', '日付', '銘柄', 'コード']):
    cards.write(0, c, title)
date = xlwt.easyxf(num_format_str='yyyy/mm/dd')
cards.write(1, 0, 1); cards.write(1, 1, '四季報'); cards.write(1, 2, datetime.date(2024, 9, 30), date)
cards.write(1, 3, '日立'); cards.write(1, 4, 7203)
wb.save(sys.argv[1])
)py");
    ASSERT_TRUE(testing_support::runPython({QStringLiteral("-c"), script, path, QString::number(firstClose)}));
}

class Workbook : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("k240930.xls"));
        writeWorkbook(path, 1234);
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(Workbook, ASheetReadsByPositionAndByName) {
    for (const char* connect : {"Excel 8.0;", "Excel 8.0;HDR=YES;"}) {
        for (const char* source : {"s240930$", "select * from [s240930$]"}) {
            DataControl data;
            data.Connect = QString::fromUtf8(connect);
            data.DatabaseName = path;
            data.RecordSource = QString::fromUtf8(source);
            data.Refresh();
            const platform::Recordset& rs = data.recordset();
            ASSERT_EQ(rs.recordCount(), 4) << connect << source;
            ASSERT_EQ(rs.fieldCount(), 5);
            EXPECT_EQ(rs.fieldName(0), QStringLiteral("kodo"));
            EXPECT_EQ(rs.fieldName(2), QStringLiteral("owari"));
            EXPECT_EQ(rs.fieldName(4), QStringLiteral("F5"));
            // Numbers are numbers (whole ones as integers); a text stays the text the cell holds.
            EXPECT_EQ(rs.value(0, 0), QVariant(qlonglong(7203)));
            EXPECT_EQ(rs.value(1, 0), QVariant(qlonglong(6758)));
            EXPECT_EQ(rs.value(2, 0), QVariant(QStringLiteral("9984")));
            EXPECT_EQ(rs.value(1, 2), QVariant(QStringLiteral("2500")));
            EXPECT_DOUBLE_EQ(rs.value(2, 2).toDouble(), 7100.5);
            EXPECT_EQ(rs.text(0, 1), QStringLiteral("日立"));
            EXPECT_EQ(rs.text(3, 0), QString());
        }
    }
}

TEST_F(Workbook, FindsAndReadOnly) {
    auto db = platform::Database::open(path, QStringLiteral("Excel 8.0;"));
    platform::Recordset rs = db->openRecordset(QStringLiteral("s240930$"));
    rs.FindFirst(QStringLiteral("kodo =6758"));
    EXPECT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Fields(QStringLiteral("owari")).toLongLong(), 2500);
    rs.FindFirst(QStringLiteral("kodo =1111"));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.Fields(QStringLiteral("kodo")).toLongLong(), 6758);
    EXPECT_THROW(rs.Edit(), DataError);
    EXPECT_THROW(rs.AddNew(), DataError);
    EXPECT_THROW(rs.Delete(), DataError);

    platform::Recordset cards = db->openRecordset(QStringLiteral("Sheet3$"));
    EXPECT_EQ(cards.Fields(QStringLiteral("日付")).toString(), QStringLiteral("2024/09/30"));
    EXPECT_EQ(cards.Fields(QStringLiteral("コード")).toLongLong(), 7203);
}

// The whole file is read when it is opened; a sheet becomes a table when a row source names it.
TEST_F(Workbook, ASheetBecomesATableWhenARowSourceNamesIt) {
    auto db = platform::Database::open(path, QStringLiteral("Excel 8.0;"));
    auto tables = [&] {
        QStringList names;
        platform::detail::Statement st(db->handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (st.step()) names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
        return names;
    };
    EXPECT_TRUE(tables().isEmpty());
    EXPECT_EQ(db->openRecordset(QStringLiteral("select * from [sheet3$]")).recordCount(), 1);
    EXPECT_EQ(tables(), QStringList{QStringLiteral("Sheet3$")});
    EXPECT_EQ(db->openRecordset(QStringLiteral("s240930$")).recordCount(), 4);
    EXPECT_EQ(tables(), (QStringList{QStringLiteral("Sheet3$"), QStringLiteral("s240930$")}));
}

TEST_F(Workbook, MissingSheetOrFileFailsTheRefreshAndKeepsTheRows) {
    DataControl data;
    data.Connect = QStringLiteral("Excel 8.0;HDR=YES;");
    data.DatabaseName = path;
    data.RecordSource = QStringLiteral("s240930$");
    data.Refresh();
    data.RecordSource = QStringLiteral("s240101$");
    EXPECT_THROW(data.Refresh(), DataError);
    data.RecordSource = QStringLiteral("s240930$");
    data.DatabaseName = dir.filePath(QStringLiteral("k240101.xls"));
    EXPECT_THROW(data.Refresh(), DataError);
    EXPECT_EQ(data.recordset().recordCount(), 4);
}

TEST_F(Workbook, ARewrittenWorkbookIsReadAgain) {
    auto before = platform::Database::open(path, QStringLiteral("Excel 8.0;"));
    EXPECT_EQ(before->openRecordset(QStringLiteral("s240930$")).value(0, 2).toLongLong(), 1234);
    QFile::remove(path);
    writeWorkbook(path, 999);
    auto after = platform::Database::open(path, QStringLiteral("Excel 8.0;"));
    EXPECT_EQ(after->openRecordset(QStringLiteral("s240930$")).value(0, 2).toLongLong(), 999);
}

}  // namespace
