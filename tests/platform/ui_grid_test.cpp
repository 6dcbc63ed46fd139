#include <algorithm>
#include <cstdio>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/ui/colors.h"
#include "platform/ui/controls.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/forms.h"
#include "platform/ui/guard.h"
#include "support/cut_mark.h"
#include "support/scripted_dialogs.h"

namespace {

// Mixed cells in one column: whole numbers, a decimal, a number stored as text, letters in both
// cases, an empty cell. The tag names each row.
const char* kMixedTable =
    "create table mixed (ID integer primary key, tag text, v);"
    "insert into mixed (tag, v) values ('r1', 10), ('r2', 9), ('r3', 'b'), ('r4', 'B'), ('r5', 'a'),"
    " ('r6', null), ('r7', -2.5), ('r8', '100'), ('r9', 'A');";

class GridHost : public ui::DefaultForm<GridHost> {
public:
    GridHost() : DefaultForm(QStringLiteral("GridHost")) {
        Move(0, 0, 7200, 4800);
        Data1 = addData({.name = "Data1", .visible = false});
        MSFlexGrid1 = addGrid({"MSFlexGrid1", -1, {}, 0, 360, 7200, 4400});
        MSFlexGrid1->bind(Data1);
    }
    ui::Data* Data1;
    ui::FlexGrid* MSFlexGrid1;
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.folder() + QStringLiteral("grid.mdb");
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, kMixedTable, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        host = &GridHost::it();
        grid = host->MSFlexGrid1;
        host->Data1->DatabaseName = path;
    }
    void show(const QString& source) {
        host->Data1->RecordSource = source;
        host->Data1->Refresh();
    }
    QStringList column(int col) const {
        QStringList out;
        for (int r = 1; r < grid->Rows(); ++r) out << grid->TextMatrix(r, col);
        return out;
    }
    testing_support::ProgramFolderScope folder;
    testing_support::SeamScope seam;
    testing_support::WindowsScope windows;
    QString path;
    GridHost* host = nullptr;
    ui::FlexGrid* grid = nullptr;
};

TEST_F(GridTest, ARefreshShowsHeaderFixedColumnAndRowsInDeliveryOrder) {
    show(QStringLiteral("select * from mixed order by ID desc"));
    EXPECT_EQ(grid->Rows(), 10);
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ((QStringList{grid->TextMatrix(0, 0), grid->TextMatrix(0, 1), grid->TextMatrix(0, 2),
                           grid->TextMatrix(0, 3)}),
              (QStringList{"", "ID", "tag", "v"}));
    EXPECT_EQ(column(2), (QStringList{"r9", "r8", "r7", "r6", "r5", "r4", "r3", "r2", "r1"}));
    EXPECT_EQ(column(0), QStringList(9, QString()));
    EXPECT_EQ(grid->recordOfRow(1), 0);

    // The current cell keeps its place where it still exists.
    EXPECT_EQ(std::make_pair(grid->Row(), grid->Col()), std::make_pair(1, 1));
    grid->setRow(4);
    grid->setCol(3);
    show(QStringLiteral("select * from mixed"));
    EXPECT_EQ(std::make_pair(grid->Row(), grid->Col()), std::make_pair(4, 3));

    // A narrower row source replaces everything; no sort survives a refresh.
    grid->setCol(2);
    grid->Sort(1);
    show(QStringLiteral("select tag from mixed where tag < 'r4'"));
    EXPECT_EQ(grid->Cols(), 2);
    EXPECT_EQ(column(1), (QStringList{"r1", "r2", "r3"}));
    EXPECT_EQ(std::make_pair(grid->Row(), grid->Col()), std::make_pair(1, 1));

    // A row source that cannot run leaves the grid as it was.
    EXPECT_THROW(show(QStringLiteral("select * from nowhere")), platform::DataError);
    EXPECT_EQ(column(1), (QStringList{"r1", "r2", "r3"}));
}

// A row source that fails before its first row leaves the grid as it was; one that fails after it
// (the old rows are given up once the new ones come) leaves the grid empty, never showing rows
// that are gone.
TEST_F(GridTest, ARowSourceFailingPartWayLeavesTheGridEmpty) {
    const QString overflow = QStringLiteral("abs(-9223372036854775807 - 1)");
    show(QStringLiteral("select * from mixed"));
    EXPECT_THROW(show(QStringLiteral("select ID, %1 as v from mixed").arg(overflow)), platform::DataError);
    EXPECT_EQ(grid->Rows(), 10);
    EXPECT_EQ(grid->TextMatrix(1, 2), QStringLiteral("r1"));
    EXPECT_THROW(show(QStringLiteral("select ID, case when ID > 2 then %1 else 0 end as v from mixed").arg(overflow)),
                 platform::DataError);
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_FALSE(host->Data1->hasRecordset());
    show(QStringLiteral("select * from mixed"));
    EXPECT_EQ(grid->Rows(), 10);
}

struct SortCase {
    int setting;
    QStringList tags;
};

TEST_F(GridTest, EachSortSettingOrdersRowsOneOnwardOnTheCurrentColumn) {
    const std::vector<SortCase> cases = {
        {1, {"r6", "r7", "r2", "r1", "r8", "r9", "r4", "r5", "r3"}},   // numbers as numbers, else text
        {2, {"r3", "r5", "r4", "r9", "r8", "r1", "r2", "r7", "r6"}},
        {3, {"r7", "r3", "r4", "r5", "r6", "r9", "r2", "r1", "r8"}},   // text counts as 0, stable
        {4, {"r8", "r1", "r2", "r3", "r4", "r5", "r6", "r9", "r7"}},
        {5, {"r6", "r7", "r1", "r8", "r2", "r5", "r9", "r3", "r4"}},   // a = A, b = B, stable
        {6, {"r3", "r4", "r5", "r9", "r2", "r8", "r1", "r7", "r6"}},
        {7, {"r6", "r7", "r1", "r8", "r2", "r9", "r4", "r5", "r3"}},   // upper case first
    };
    for (const SortCase& c : cases) {
        show(QStringLiteral("select * from mixed"));
        grid->setCol(3);
        grid->Sort(c.setting);
        EXPECT_EQ(column(2), c.tags) << "setting " << c.setting;
        EXPECT_EQ(grid->TextMatrix(0, 3), QStringLiteral("v"));
    }
    // The record set keeps its own order; the grid knows which record each row shows.
    EXPECT_EQ(host->Data1->recordset().text(0, 1), QStringLiteral("r1"));
    EXPECT_EQ(host->Data1->recordset().text(grid->recordOfRow(1), 1), QStringLiteral("r6"));
}

// A column of stored numbers sorts on the numbers; equal ones keep the order the grid showed them
// in, whatever sort came before.
TEST_F(GridTest, NumberSortsKeepEqualRowsInTheOrderShown) {
    show(QStringLiteral("select 1 as ID, 'a' as tag, 2 as v union all select 2, 'b', 1 union all select 3, 'c', 2 "
                        "union all select 4, 'd', 1 union all select 5, 'e', 3.5"));
    struct Step {
        int col, setting;
        QStringList tags;
    };
    const Step steps[] = {
        {3, 1, {"b", "d", "a", "c", "e"}},
        {3, 2, {"e", "a", "c", "b", "d"}},
        {1, 4, {"e", "d", "c", "b", "a"}},
        {3, 3, {"d", "b", "c", "a", "e"}},
        {3, 4, {"e", "c", "a", "d", "b"}},
    };
    for (const Step& s : steps) {
        grid->setCol(s.col);
        grid->Sort(s.setting);
        EXPECT_EQ(column(2), s.tags) << "column " << s.col << ", setting " << s.setting;
    }
}

// A column of many numbers (negative, fractional, whole, huge and infinite, many equal) sorts as a
// stable comparison sort orders them, both ways.
TEST_F(GridTest, ManyNumbersSortAsAStableComparisonSortWould) {
    const QString source = QStringLiteral("with recursive r(i) as (select 1 union all select i + 1 from r where i < 3000) "
                        "select i as ID, i as tag, case i % 97 when 0 then 1e999 when 1 then -1e999 when 2 then 1e300 "
                        "when 3 then -1e300 when 4 then 0.0 else ((i * 7919) % 201 - 100) / 8.0 end as v from r");
    show(source);
    std::vector<std::pair<double, QString>> rows;
    for (int r = 1; r < grid->Rows(); ++r) rows.push_back({host->Data1->recordset().number(r - 1, 2), grid->TextMatrix(r, 2)});
    for (int setting : {1, 2, 3, 4}) {
        const bool descending = setting % 2 == 0;
        auto expected = rows;
        std::stable_sort(expected.begin(), expected.end(), [descending](const auto& a, const auto& b) {
            return descending ? b.first < a.first : a.first < b.first;
        });
        QStringList tags;
        for (const auto& e : expected) tags << e.second;
        show(source);
        grid->setCol(3);
        grid->Sort(setting);
        EXPECT_EQ(column(2), tags) << "setting " << setting;
    }
}

// The generic sort takes a text for a number by the program's one rule for numbers: blanks around
// it, full-width digits and the minus sign U+2212 count; an exponent does not ("1e1" is a text,
// placed by its text before the numbers' texts).
TEST_F(GridTest, TheGenericSortReadsNumbersInTextsByTheOneRule) {
    show(QStringLiteral("select 1 as ID, 'a' as tag, '\u2212' || '5' as v union all select 2, 'b', '7 ' "
                        "union all select 3, 'c', 8 union all select 4, 'd', '1e1' union all select 5, 'e', '\uFF12' "
                        "union all select 6, 'f', '\uFF11\uFF10'"));
    grid->setCol(3);
    grid->Sort(1);
    EXPECT_EQ(column(2), (QStringList{"d", "a", "e", "b", "c", "f"}));
}

TEST_F(GridTest, TextMatrixWritesChangeOnlyTheGridAndMoveWithTheirRow) {
    show(QStringLiteral("select * from mixed"));
    grid->setTextMatrix(1, 2, QStringLiteral("書換"));
    grid->setTextMatrix(0, 6 - 3, QStringLiteral("1日前"));
    grid->setTextMatrix(2, 0, QStringLiteral("*"));
    EXPECT_EQ(grid->TextMatrix(1, 2), QStringLiteral("書換"));
    EXPECT_EQ(grid->TextMatrix(0, 3), QStringLiteral("1日前"));
    EXPECT_EQ(host->Data1->recordset().text(0, 1), QStringLiteral("r1"));

    grid->setCol(1);
    grid->Sort(4);   // by ID, descending: r1 goes last, and its written cell with it
    EXPECT_EQ(grid->TextMatrix(9, 2), QStringLiteral("書換"));
    EXPECT_EQ(grid->TextMatrix(8, 0), QStringLiteral("*"));

    // Out of range is an error the caller's guard can skip.
    EXPECT_THROW(grid->setTextMatrix(10, 1, QStringLiteral("x")), std::exception);
    EXPECT_THROW(grid->TextMatrix(1, 4), std::exception);

    show(QStringLiteral("select * from mixed"));
    EXPECT_EQ(grid->TextMatrix(1, 2), QStringLiteral("r1"));
    EXPECT_EQ(grid->TextMatrix(0, 3), QStringLiteral("v"));

    // Rows and Cols on their own: what fits is kept, new cells are empty.
    grid->setRows(3);
    grid->setCols(5);
    EXPECT_EQ(column(2), (QStringList{"r1", "r2"}));
    grid->setTextMatrix(2, 4, QStringLiteral("new"));
    EXPECT_EQ(grid->TextMatrix(2, 4), QStringLiteral("new"));
    EXPECT_EQ(grid->TextMatrix(1, 4), QString());
}

TEST_F(GridTest, EnterCellFollowsEveryMoveOfTheCurrentCell) {
    show(QStringLiteral("select * from mixed"));
    host->Show();
    std::vector<std::pair<int, int>> entered;
    grid->EnterCell = [&] { entered.emplace_back(grid->Row(), grid->Col()); };
    grid->setRow(4);
    grid->setCol(2);
    EXPECT_EQ(entered, (std::vector<std::pair<int, int>>{{4, 1}, {4, 2}}));

    entered.clear();
    const QRect cell = grid->visualRect(grid->model()->index(2 - 1, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_EQ(entered.back(), std::make_pair(2, 3));

    // A press on a header cell makes its column current; the current data row stays.
    auto* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    EXPECT_EQ(entered.back(), std::make_pair(2, 2));
    // With no data row current (a pattern tinted the header), the column changes without EnterCell.
    grid->setRow(0);
    entered.clear();
    const int x3 = header->sectionViewportPosition(3) + header->sectionSize(3) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x3, header->height() / 2));
    EXPECT_TRUE(entered.empty());
    EXPECT_EQ(std::make_pair(grid->Row(), grid->Col()), std::make_pair(0, 3));

    int downs = 0;
    grid->MouseDown = [&](int button, int, int, int) { downs += button; };
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cell.center());
    EXPECT_EQ(downs, 2);
    EXPECT_THROW(grid->setRow(10), std::exception);
}

// Presses on the header row reach the window (MouseDown) with the column chosen and the data row
// kept; a double-click there is no double-click on a cell.
TEST_F(GridTest, HeaderPressesChooseAColumnAndKeepTheDataRow) {
    show(QStringLiteral("select * from mixed"));
    host->Show();
    struct Down {
        int button, row, col, yTwips;
    };
    std::vector<Down> downs;
    std::vector<std::pair<int, int>> doubles;
    grid->MouseDown = [&](int button, int, int, int y) { downs.push_back({button, grid->Row(), grid->Col(), y}); };
    grid->DblClick = [&] { doubles.emplace_back(grid->Row(), grid->Col()); };
    auto* header = grid->horizontalHeader();
    const QPoint inHeader(header->sectionViewportPosition(2) + header->sectionSize(2) / 2, header->height() / 2);
    const QPoint inBody = grid->visualRect(grid->model()->index(3 - 1, 3)).center();
    const int headerTwips = ui::twips(header->height());

    QTest::mouseClick(header->viewport(), Qt::RightButton, {}, inHeader);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 2);
    EXPECT_EQ(std::make_pair(downs[0].row, downs[0].col), std::make_pair(1, 2));   // the column is chosen first
    EXPECT_LT(downs[0].yTwips, headerTwips);

    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, inHeader);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, inBody);
    EXPECT_EQ(doubles, (std::vector<std::pair<int, int>>{{3, 3}}));
    EXPECT_GT(downs.back().yTwips, headerTwips);
    EXPECT_EQ(std::make_pair(downs.back().row, downs.back().col), std::make_pair(3, 3));
}

TEST_F(GridTest, CellColoursTintTheCurrentCellHeaderIncluded) {
    show(QStringLiteral("select * from mixed"));
    host->setBackColor(0xD08F77);
    const unsigned plainHeader = grid->cellBackColorAt(0, 2);
    grid->setRow(0);
    grid->setCol(3);
    grid->setCellBackColor(0x80FFFF);
    grid->setRow(2);
    grid->setCol(2);
    grid->setCellBackColor(0xC0C0FF);
    EXPECT_EQ(grid->cellBackColorAt(0, 3), 0x80FFFFu);
    EXPECT_EQ(grid->cellBackColorAt(0, 2), plainHeader);
    EXPECT_EQ(grid->CellBackColor(), 0xC0C0FFu);
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
              QColor(0xFF, 0xFF, 0x80));
    grid->setColWidth(0, 250);
    grid->setColWidth(2, 1280);
    EXPECT_EQ(grid->ColWidth(2), 1280);
    show(QStringLiteral("select * from mixed"));
    EXPECT_EQ(grid->ColWidth(2), 1280);   // widths outlive a refresh
    grid->horizontalHeader()->resizeSection(2, 100);   // the person drags the border
    EXPECT_EQ(grid->ColWidth(2), 1500);
    grid->setRow(0);
    grid->setCol(3);
    grid->setCellBackColor(0x80FFFF);
    host->Show();
    host->grab().save(QStringLiteral("/tmp/quenara_grid.png"));
}

// The width rule as the grid applies it across refreshes: a column widens to its widest number and
// keeps that width while its field stays the same; other fields start from the width as set; a
// column the person dragged keeps that width whatever it shows.
TEST_F(GridTest, AColumnKeepsTheWidestItShowedUntilItsFieldChanges) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "create table wide (ID integer primary key, n); insert into wide values (1, 123456789012), (2, 5);",
                           nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    QHeaderView* header = grid->horizontalHeader();
    show(QStringLiteral("select * from wide"));
    const int widened = header->sectionSize(2);
    EXPECT_GT(widened, 64);   // wider than the default of 960 twips
    show(QStringLiteral("select * from wide where ID = 2"));
    EXPECT_EQ(header->sectionSize(2), widened);
    show(QStringLiteral("select ID, n as m from wide where ID = 2"));
    EXPECT_EQ(header->sectionSize(2), 64);
    EXPECT_EQ(grid->ColWidth(2), 960);
    header->resizeSection(2, 30);   // the person drags the border
    show(QStringLiteral("select * from wide"));
    EXPECT_EQ(header->sectionSize(2), 30);
    grid->setColWidth(2, 600);      // the program sets it again: the numbers show whole
    EXPECT_EQ(header->sectionSize(2), widened);
}

// A cell's picture as the grid paints it.
QImage cellPicture(ui::FlexGrid* grid, int row, int col) {
    const QModelIndex cell = grid->model()->index(row - 1, col);
    grid->scrollTo(cell);
    return grid->viewport()->grab(grid->visualRect(cell)).toImage();
}

// The first pixel column, from the left, that differs from the cell's top-left pixel (its background).
int firstInkColumn(const QImage& cell) {
    const QRgb back = cell.pixel(0, 0);
    for (int x = 0; x < cell.width(); ++x)
        for (int y = 0; y < cell.height(); ++y)
            if (cell.pixel(x, y) != back) return x;
    return -1;
}

// In a column the person made narrow: a number with a fraction is rounded to the decimals that
// fit; any other text shows its start before the cut mark. The tooltip holds the whole text.
TEST_F(GridTest, ATooNarrowCellRoundsAFractionOrShowsItsStartBeforeACutMark) {
    // Each case: a text, one shown the same, one shown otherwise, and whether it is cut.
    struct Case { bool number; const char* text; const char* sameShown; const char* otherShown; bool cut; };
    const Case cases[] = {
        {true, "-1.0879", "-1.09", "-1.08", false},
        {true, "-0.387755102040816", "-0.38775599", "-9.387755102040816", false},
        {true, "2232328123", "2232328999", "9232328123", true},
        {true, "100200", "1002777", "900200", true},
        {false, "2026/09/21", "2026/09/99", "9026/09/21", true},
        {false, "東和精工株式会社", "東和精工ホールディングス", "西邦精工株式会社", true},
    };
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "create table narrow (ID integer primary key, v)", nullptr, nullptr, nullptr), SQLITE_OK);
    for (const Case& c : cases)
        for (const char* t : {c.text, c.sameShown, c.otherShown}) {
            const QString value = QString::fromUtf8(t);
            const QByteArray sql =
                QStringLiteral("insert into narrow (v) values (%1)").arg(c.number ? value : u'\'' + value + u'\'').toUtf8();
            ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sql.constData();
        }
    ASSERT_EQ(sqlite3_exec(db, "insert into narrow (v) values (5)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    show(QStringLiteral("select ID, v from narrow order by ID"));
    grid->horizontalHeader()->resizeSection(2, 38);   // the person narrows the column: "-1.09" just fits
    grid->setCol(1);                                  // the current cell's frame stays out of the pictures
    host->Show();
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const int row = 3 * i + 1;
        SCOPED_TRACE(cases[i].text);
        ASSERT_EQ(grid->TextMatrix(row, 2), QString::fromUtf8(cases[i].text));
        const QImage shown = cellPicture(grid, row, 2);
        EXPECT_EQ(shown, cellPicture(grid, row + 1, 2));
        EXPECT_NE(shown, cellPicture(grid, row + 2, 2));
        EXPECT_EQ(testing_support::hasCutMark(shown), cases[i].cut);
        if (cases[i].cut) EXPECT_LE(firstInkColumn(shown), 6);
        EXPECT_EQ(grid->model()->data(grid->model()->index(row - 1, 2), Qt::ToolTipRole).toString(),
                  QString::fromUtf8(cases[i].text));
    }
    // A number that fits stays on the right of its cell.
    const QImage five = cellPicture(grid, grid->Rows() - 1, 2);
    EXPECT_GT(firstInkColumn(five), five.width() / 2);
    EXPECT_FALSE(testing_support::hasCutMark(five));
    host->grab().save(QStringLiteral("/tmp/quenara_grid_narrow.png"));
}

// A cell shows its text whole, or cut before the mark, whether the paint knew it to fit without
// measuring (digits, short ASCII texts), measured it, or found its width kept from an earlier paint.
TEST_F(GridTest, ACellIsCutExactlyWhenItsTextIsWiderThanTheCellAtEveryPaint) {
    struct Case { const char* text; bool cut; };
    const Case cases[] = {
        {"12", false}, {"7203", false}, {"iiii", false}, {"WWWWWWWW", true},
        {"日本", false}, {"日本日本日本", true}, {"A1 b", false}, {"x/y-z:WWWWWW", true},
    };
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "create table texts (ID integer primary key, v text)", nullptr, nullptr, nullptr), SQLITE_OK);
    for (const Case& c : cases) {
        const QByteArray sql = QStringLiteral("insert into texts (v) values ('%1')").arg(QString::fromUtf8(c.text)).toUtf8();
        ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(db);
    show(QStringLiteral("select ID, v from texts order by ID"));
    grid->horizontalHeader()->resizeSection(2, 42);
    grid->setCol(1);
    host->Show();
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].text);
        const QImage first = cellPicture(grid, i + 1, 2);
        EXPECT_EQ(testing_support::hasCutMark(first), cases[i].cut);
        EXPECT_EQ(cellPicture(grid, i + 1, 2), first);   // painted again, from what the first paint learnt
    }
}

// After an accessibility client has walked every cell of a large grid, the grid goes at once (each
// cell's accessible object holds an index into the grid's rows).
TEST_F(GridTest, AGridWhoseEveryCellWasReadByAScreenReaderGoesAtOnce) {
    constexpr int kRows = 4054, kFields = 16;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QString create = QStringLiteral("create table wide (ID integer primary key");
    for (int f = 1; f < kFields; ++f) create += QStringLiteral(", f%1").arg(f);
    ASSERT_EQ(sqlite3_exec(db, (create + u')').toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "with recursive n(i) as (select 1 union all select i + 1 from n where i < 4054)"
                           " insert into wide select i, i, i * 2, 'a' || i, i, i, i, i, i, i, i, i, i, i, i, i from n",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    QWidget window;
    window.resize(900, 500);
    ui::Data data(&window, {.name = "Data1", .visible = false});
    data.DatabaseName = path;
    data.RecordSource = QStringLiteral("select * from wide");
    auto* wide = new ui::FlexGrid(&window, {"MSFlexGrid1", -1, {}, 0, 0, 13500, 7500});
    wide->bind(&data);
    data.Refresh();
    window.show();
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(wide)->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), kRows);
    ASSERT_EQ(table->columnCount(), kFields + 1);
    int read = 0;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c <= kFields; ++c)
            if (QAccessibleInterface* cell = table->cellAt(r, c)) read += cell->text(QAccessible::Name) == wide->TextMatrix(r + 1, c);
    EXPECT_EQ(read, kRows * (kFields + 1));
    QElapsedTimer gone;
    gone.start();
    delete wide;
    const qint64 ms = gone.elapsed();
    EXPECT_LT(ms, 2000);
    RecordProperty("grid_gone_ms", int(ms));
    std::printf("a grid of %d x %d cells, each read through QAccessible, went in %lld ms\n", kRows, kFields + 1, (long long)ms);
}

TEST_F(GridTest, TheGridReadsAsATableToAssistiveTechnology) {
    show(QStringLiteral("select * from mixed"));
    host->Show();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(a, nullptr);
    QAccessibleTableInterface* table = a->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 9);
    EXPECT_EQ(table->columnCount(), 4);
    QAccessibleInterface* cell = table->cellAt(0, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("r1"));
    EXPECT_EQ(table->columnDescription(2), QStringLiteral("tag"));
}

}  // namespace
