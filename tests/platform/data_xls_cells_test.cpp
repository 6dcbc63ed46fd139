#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>
#include <map>

#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/workbook.h"
#include "support/cell_workbooks.h"

using platform::DataError;

namespace {

const QString kNote = QString(QStringLiteral("株価の覚え書き")).repeated(1715) + QStringLiteral("終");
QString longest() { return QString(QStringLiteral("あいうえおかきくけこ")).repeated(3277).left(32766) + QStringLiteral("尾"); }

class XlsCells : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing_support::writeCellWorkbooks(dir.path())); }
    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // The cells of sheet "cells" by case name (column A), each row's cells after the name.
    std::map<QString, std::vector<QVariant>> cases(const QString& path) const {
        const platform::Worksheet ws = platform::readWorksheet(path, QStringLiteral("CELLS"), true);
        std::map<QString, std::vector<QVariant>> out;
        for (const auto& row : ws.rows) {
            EXPECT_FALSE(row.empty());
            if (row.empty()) continue;
            out[row[0].toString()] = std::vector<QVariant>(row.begin() + 1, row.end());
        }
        EXPECT_EQ(out.size(), ws.rows.size()) << "a case name twice";
        return out;
    }
    QTemporaryDir dir;
};

QVariant date(int y, int m, int d) { return QDate(y, m, d); }

// Every kind of cell a saved spreadsheet holds, read through the sheet interface: what it is
// (number, text, date) and its value as the spreadsheet shows it.
TEST_F(XlsCells, EveryCellReadsAsTheSpreadsheetHoldsIt) {
    struct Case {
        const char* name;
        QVariant expected;   // its type counts: qlonglong, double, QString, QDate, QDateTime; invalid: empty
    };
    const Case table[] = {
        {"whole number", qlonglong(7203)},
        {"fraction", 1234.5},
        {"hundredths", 12.34},
        {"big number", qlonglong(3000000000LL)},
        {"negative", qlonglong(-15)},
        {"text 0123", QStringLiteral("0123")},
        {"text 007", QStringLiteral("007")},
        {"text 1e3", QStringLiteral("1e3")},
        {"text nan", QStringLiteral("nan")},
        {"text spaces", QStringLiteral(" 日立 ")},
        {"empty text", {}},
        {"label record", QStringLiteral("ラベル")},
        {"date", date(2024, 9, 30)},
        {"date builtin 14", date(2024, 9, 30)},
        {"date japanese", date(2024, 9, 30)},
        {"date era", date(2024, 9, 30)},
        {"date and time", QDateTime(QDate(2024, 9, 30), QTime(15, 30), Qt::UTC)},
        {"time", QStringLiteral("12:00:00")},
        {"decimals format", qlonglong(7203)},
        {"scientific format", qlonglong(1500)},
        {"quoted d format", qlonglong(45565)},
        {"red format", qlonglong(45565)},
        {"true", QStringLiteral("TRUE")},
        {"false", QStringLiteral("FALSE")},
        {"error n/a", QStringLiteral("#N/A")},
        {"error div0", QStringLiteral("#DIV/0!")},
        {"error value", QStringLiteral("#VALUE!")},
        {"error ref", QStringLiteral("#REF!")},
        {"formula number", qlonglong(4321)},
        {"formula half", 1235.5},
        {"formula text", QStringLiteral("計算した文字")},
        {"formula text continued", QStringLiteral("abc続きの文字")},
        {"formula true", QStringLiteral("TRUE")},
        {"formula error", QStringLiteral("#DIV/0!")},
        {"formula empty text", {}},
        {"formula uncomputed", {}},
        {"note 12000", kNote},
        {"longest text", longest()},
        {"blank", {}},
    };
    for (const char* book : {"cells.xls", "cells1904.xls"}) {
        SCOPED_TRACE(book);
        const auto cells = cases(file(book));
        for (const Case& c : table) {
            SCOPED_TRACE(c.name);
            const auto it = cells.find(QString::fromUtf8(c.name));
            ASSERT_NE(it, cells.end());
            const QVariant got = it->second.empty() ? QVariant() : it->second[0];
            if (!c.expected.isValid()) {
                EXPECT_TRUE(got.isNull()) << got.toString().toStdString();
                continue;
            }
            EXPECT_EQ(got.typeId(), c.expected.typeId()) << got.typeName();
            EXPECT_EQ(got, c.expected) << got.toString().left(80).toStdString();
        }
        // A date computed by a formula counts its days as the workbook does.
        const QDate formulaDate = QString::fromUtf8(book) == QLatin1String("cells.xls") ? QDate(2024, 9, 30)
                                                                                          : QDate(1904, 1, 1).addDays(45565);
        EXPECT_EQ(cells.at(QStringLiteral("formula date")).at(0), QVariant(formulaDate));
        // Numbers side by side, each in its column.
        EXPECT_EQ(cells.at(QStringLiteral("row of numbers")),
                  (std::vector<QVariant>{qlonglong(1), qlonglong(2), qlonglong(3)}));
    }
    EXPECT_EQ(cases(file("cells.xls")).at(QStringLiteral("early date")).at(0), QVariant(QDate(1900, 1, 15)));
    // Day 60 counts the 29th of February 1900, which the spreadsheet shows though it never was.
    EXPECT_EQ(cases(file("cells.xls")).at(QStringLiteral("leap day 1900")).at(0), QVariant(QStringLiteral("1900/02/29")));
    EXPECT_EQ(cases(file("cells1904.xls")).at(QStringLiteral("leap day 1900")).at(0), QVariant(QDate(1904, 3, 1)));
}

// A number reads as a date or a time only when its format shows one: the general format of a
// Japanese spreadsheet (with a unit, a locale or DBNum), currencies and exponents are numbers;
// era codes are dates; elapsed times keep their days.
TEST(XlsFormats, AFormatMakesADateOrATimeOnlyByItsCodes) {
    const double day = 45565.25, elapsed = 1.5208333333333333;   // 2024-09-30 06:00; 36:30:00
    const QVariant number(day), date(QDateTime(QDate(2024, 9, 30), QTime(6, 0), Qt::UTC)), time(QStringLiteral("06:00:00")),
        hours(QStringLiteral("36:30:00"));
    const struct {
        const char* format;
        double value;
        QVariant expected;
    } table[] = {
        {"G/標準", day, number},
        {"G/標準\"円\"", day, number},
        {"G/標準\"株\"", day, number},
        {"[$-411]G/標準", day, number},
        {"[DBNum1]G/標準", day, number},
        {"[DBNum3][$-411]G/標準\"円\"", day, number},
        {"General", day, number},
        {"#,##0.00 EUR", day, number},
        {"0.00E+00", day, number},
        {"##0.0E+0", day, number},
        {"#,##0\"円\";[Red]-#,##0\"円\"", day, number},
        {"0 \"days\"", day, number},
        {"\\d0", day, number},
        {"_d0", day, number},
        {"@", day, number},
        {"yyyy/mm/dd", day, date},
        {"yyyy\"年\"m\"月\"d\"日\"", day, date},
        {"[$-411]ggge\"年\"m\"月\"d\"日\"", day, date},
        {"[$-411]ge.m.d", day, date},
        {"gge", day, date},
        {"m/d", day, date},
        {"mmm-yy", day, date},
        {"aaa", day, date},
        {"yyyy/mm/dd hh:mm", day, date},
        {"h:mm", day, time},
        {"h:mm AM/PM", day, time},
        {"mm:ss", day, time},
        {"h\"時\"mm\"分\"", day, time},
        {"[Red]hh:mm", day, time},
        {"[h]:mm:ss", elapsed, hours},
        {"[h]:mm", elapsed, hours},
        {"[mm]:ss", elapsed, hours},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formats.xls"));
    std::vector<std::pair<QString, double>> cells;
    for (const auto& c : table) cells.emplace_back(QString::fromUtf8(c.format), c.value);
    ASSERT_TRUE(testing_support::writeFormatWorkbook(path, cells));
    const platform::Worksheet ws = platform::readWorksheet(path, QStringLiteral("formats"), false);
    ASSERT_EQ(ws.rows.size(), std::size(table));
    for (std::size_t r = 0; r < ws.rows.size(); ++r) {
        SCOPED_TRACE(table[r].format);
        ASSERT_EQ(ws.rows[r].size(), 2u);
        EXPECT_EQ(ws.rows[r][0].toString(), QString::fromUtf8(table[r].format));
        EXPECT_EQ(ws.rows[r][1].typeId(), table[r].expected.typeId()) << ws.rows[r][1].typeName();
        EXPECT_EQ(ws.rows[r][1], table[r].expected) << ws.rows[r][1].toString().toStdString();
    }
}

// The header row names the columns; formatted blank cells below the last value make no rows and
// no columns, whatever cell the sheet's range reaches.
TEST_F(XlsCells, OnlyCellsHoldingAValueMakeRowsAndColumns) {
    const platform::Worksheet cells = platform::readWorksheet(file("cells.xls"), QStringLiteral("cells"), true);
    EXPECT_EQ(cells.names, (QStringList{"case", "cell", "F3", "F4"}));
    EXPECT_EQ(cells.rows.back().at(0).toString(), QStringLiteral("row of numbers"));

    // Read for a few columns, the sheet holds those alone: the others are empty.
    const platform::Worksheet first = platform::readWorksheet(file("cells.xls"), QStringLiteral("cells"), true, {0});
    EXPECT_EQ(first.names, (QStringList{"case"}));
    ASSERT_EQ(first.rows.size(), cells.rows.size());
    for (std::size_t r = 0; r < cells.rows.size(); ++r)
        EXPECT_EQ(first.rows[r], (std::vector<QVariant>{cells.rows[r].at(0)}));

    const platform::Worksheet sparse = platform::readWorksheet(file("cells.xls"), QStringLiteral("sparse"), false);
    EXPECT_EQ(sparse.names, (QStringList{"F1", "F2"}));
    ASSERT_EQ(sparse.rows.size(), 2u);
    EXPECT_EQ(sparse.rows[0], (std::vector<QVariant>{QStringLiteral("a")}));
    EXPECT_EQ(sparse.rows[1], (std::vector<QVariant>{QVariant(), qlonglong(5)}));

    // The sheet as a table holds the same rows, a date as its text beside numbers of its column.
    auto db = platform::Database::open(file("cells.xls"), QStringLiteral("Excel 8.0;"));
    EXPECT_EQ(db->openRecordset(QStringLiteral("sparse$")).recordCount(), 1);
    platform::Recordset rs = db->openRecordset(QStringLiteral("select * from [cells$]"));
    ASSERT_EQ(rs.recordCount(), int(cells.rows.size()));
    for (int r = 0; r < rs.recordCount(); ++r) {
        const QString name = rs.text(r, 0);
        const QVariant cell = cells.rows[std::size_t(r)].size() > 1 ? cells.rows[std::size_t(r)][1] : QVariant();
        EXPECT_EQ(rs.text(r, 1), platform::worksheetCellText(cell)) << name.toStdString();
        if (name == QLatin1String("date")) EXPECT_EQ(rs.text(r, 1), QStringLiteral("2024/09/30"));
        if (name == QLatin1String("date and time")) EXPECT_EQ(rs.text(r, 1), QStringLiteral("2024/09/30 15:30:00"));
        if (name == QLatin1String("whole number")) EXPECT_EQ(rs.value(r, 1), QVariant(qlonglong(7203)));
        if (name == QLatin1String("text 0123")) EXPECT_EQ(rs.value(r, 1), QVariant(QStringLiteral("0123")));
    }
}

// A workbook that cannot be read whole is refused, in words naming the file and what is wrong;
// so is a file that is no workbook of this format.
TEST_F(XlsCells, AWorkbookThatCannotBeReadWholeIsRefused) {
    const QString whole = file("long.xls");
    ASSERT_EQ(platform::readWorksheet(whole, QStringLiteral("s261210")).rows.size(), 240u);
    testing_support::damagedCopy(whole, file("cut.xls"), QFileInfo(whole).size() / 2);
    testing_support::damagedCopy(whole, file("short.xls"), 700);
    {
        QFile text(file("text.xls"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("kodo,owari\n7203,1234\n");
    }
    struct Case {
        const char* file;
        const char* says;   // a part of the message
    };
    const Case cases[] = {
        {"zeroed.xls", "読めません"},       {"sst.xls", "共有文字列の番号 999999"},
        {"past_end.xls", "途中で切れて"},   {"cut.xls", "読めません"},
        {"short.xls", "読めません"},        {"text.xls", "Excel 97-2003 形式（.xls）のブックではありません"},
        {"missing.xls", "見つかりません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        // As a table, as a sheet, and as a sheet read for two columns: every record is checked either way.
        for (const char* as : {"sheet", "table", "columns"}) {
            const bool asTable = QLatin1String(as) == QLatin1String("table");
            if (asTable && QString::fromUtf8(c.file) == QLatin1String("missing.xls")) continue;
            try {
                if (asTable)
                    platform::Database::open(file(c.file), QStringLiteral("Excel 8.0;"));
                else
                    platform::readWorksheet(file(c.file), QStringLiteral("s261210"), true,
                                            QLatin1String(as) == QLatin1String("columns") ? std::vector<int>{0, 2} : std::vector<int>{});
                ADD_FAILURE() << "read";
            } catch (const DataError& e) {
                EXPECT_TRUE(e.text.contains(file(c.file))) << e.text.toStdString();
                EXPECT_TRUE(e.text.contains(QString::fromUtf8(c.says))) << e.text.toStdString();
            }
        }
    }
    try {
        platform::readWorksheet(whole, QStringLiteral("Sheet3"));
        ADD_FAILURE() << "read";
    } catch (const DataError& e) {
        EXPECT_EQ(e.text, QStringLiteral("ブック %1 にシート「Sheet3」がありません。").arg(whole));
    }
}

}  // namespace
