// The grids of the screens at their windows' own sizes, holding the widest codes, dates, prices
// and changes: each such cell is in view whole and shows the text a person reads there, painted
// as Qt paints that text, and the count box shows its whole number.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <functional>
#include "cards/form15.h"
#include "cards/form28.h"
#include "lists/list_forms.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/dialect.h"
#include "services/module1.h"
#include "shell_fixture.h"
#include "support/cut_mark.h"
#include "trend_cards/form16.h"
#include "trend_stocks/form6.h"

namespace {

// Qt's own painting of an item view cell, with the text of one cell replaced: the picture a cell
// showing that text has, made without the grid's own painting.
class TextDelegate : public QStyledItemDelegate {
public:
    TextDelegate(QModelIndex cell, QString text) : cell_(cell), text_(std::move(text)) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index == cell_) option->text = text_;
    }

private:
    QModelIndex cell_;
    QString text_;
};

// A cell of a screen's grid: the row whose code column holds code, and what column col shows there.
struct Shown {
    const char* code;
    int col;
    const char* text;
};

struct Screen {
    const char* what;
    int menuMode;
    std::function<ui::Form&()> form;   // made (and loaded) once the menu mode is set
    int codeCol;
    bool sideways;   // more columns than the window shows: a cell is scrolled into view first
    std::vector<Shown> cells;
};

class ScreenGridsTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Module1::MainDbPath = platform::mainDatabasePath();
        setDateRecord(QStringLiteral("day"));
        auto db = platform::Database::open(platform::mainDatabasePath());
        // A very high price (seven digits) with changes of whole numbers and of one or two decimals.
        db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, "
                                      "kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('丸善電子', 1013, '東証１部', "
                                      "'F1000', 2500000, 2266500, 2187500, 250000, 2500000, 2250000, 2766500, 2187500, "
                                      "2266500, 9999999)"));
        // A stock split ten for one: changes of three whole digits, and one of four.
        db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, "
                                      "kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('新光製菓', 1003, '東証１部', "
                                      "'D100', 300, 3000, 4000, 3000, 3000, 3000, 3000, 3000, 3000, 3000)"));
        const double day = platform::dateSerial(2026, 12, 10);
        for (int code : {1013, 1003})
            db->executeRaw(QStringLiteral("insert into [mydata] (ID, 情報源, 日付, 銘柄, コード, 市場, 単位, 情報) values "
                                          "(%1, '株式新聞', %2, '銘柄', %3, '東証１部', 'F1000', '押し目買いの好機。')")
                               .arg(code == 1013 ? 98765 : 8888)
                               .arg(day)
                               .arg(code));
        // A card still lacking its market.
        db->executeRaw(QStringLiteral("insert into [mydata] (ID, 情報源, 日付, 銘柄, コード, 市場, 単位, 情報) values "
                                      "(99999, '株式新聞', %1, '新光製菓', 1003, '', 'D100', '押し目買いの好機。')")
                           .arg(day));
        auto lists = platform::Database::open(platform::listDatabasePath());
        lists->executeRaw(QStringLiteral("delete from [mylist]"));
        lists->executeRaw(QStringLiteral("insert into [mylist] (コード, 銘柄, 市場, 単位, date) values "
                                         "(1013, '丸善電子', '東証１部', 'F1000', '26/12/10'), "
                                         "(1003, '新光製菓', '東証１部', 'D100', '26/12/09')"));
    }

    // The row of grid showing a code in column codeCol.
    static int rowOf(ui::FlexGrid* grid, int codeCol, const QString& code) {
        for (int r = 1; r < grid->Rows(); ++r)
            if (grid->TextMatrix(r, codeCol) == code) return r;
        return -1;
    }

    // Cell (row, col) lies in view whole, where the window opens or scrolled into view, and its
    // picture is Qt's picture of the expected text in it.
    static void expectShown(ui::FlexGrid* grid, int row, int col, const QString& expected, bool scroll) {
        SCOPED_TRACE(QStringLiteral("row %1, column %2: \"%3\" shown as \"%4\"")
                         .arg(row).arg(col).arg(grid->TextMatrix(row, col), expected).toStdString());
        QHeaderView* header = grid->horizontalHeader();
        grid->horizontalScrollBar()->setValue(0);
        if (scroll) grid->scrollTo(grid->model()->index(row - 1, col));
        const int left = header->sectionViewportPosition(col), right = left + header->sectionSize(col);
        EXPECT_GE(left, 0);
        EXPECT_LE(right, grid->viewport()->width()) << "the column ends out of view";
        const QModelIndex cell = grid->model()->index(row - 1, col);
        const QRect rect = grid->visualRect(cell);
        const QImage shown = grid->viewport()->grab(rect).toImage();
        QAbstractItemDelegate* own = grid->itemDelegate();
        TextDelegate reference(cell, expected);
        grid->setItemDelegate(&reference);
        const QImage wanted = grid->viewport()->grab(rect).toImage();
        grid->setItemDelegate(own);
        EXPECT_EQ(shown, wanted) << "the cell does not show the expected text";
    }

    static void expectScreen(const Screen& s) {
        SCOPED_TRACE(s.what);
        Module1::MenuMode = s.menuMode;
        ui::Form& f = s.form();
        f.Show();   // at the window's own size
        QApplication::processEvents();
        auto* grid = f.findChild<ui::FlexGrid*>(QStringLiteral("MSFlexGrid1"));
        ASSERT_NE(grid, nullptr);
        grid->setRow(0);   // no data row framed or selected in the pictures
        grid->setCol(0);
        QApplication::processEvents();
        f.grab().save(QStringLiteral("/tmp/quenara_%1_screen.png").arg(f.Name.toLower()));
        for (const Shown& c : s.cells) {
            const int r = rowOf(grid, s.codeCol, QString::fromLatin1(c.code));
            ASSERT_GT(r, 0) << c.code;
            expectShown(grid, r, c.col, QString::fromUtf8(c.text), s.sideways);
        }
        f.Unload();
        QApplication::processEvents();
    }
};

TEST_F(ScreenGridsTest, GridsShowTheWidestValuesWholeAtTheirWindowsSizes) {
    // A change with a fraction shows its whole part and as many decimals as its column has room for.
    const Screen screens[] = {
        {"全市場", 1001, [] () -> ui::Form& { return Form6::it(); }, 3, false,
         {{"1013", 3, "1013"}, {"1013", 5, "F1000"}, {"1013", 6, "2500000"}, {"1013", 7, "9999999"},
          {"1013", 8, "-9.3"}, {"1013", 9, "-12.5"}, {"1013", 10, "-90"}, {"1013", 11, "0"}, {"1013", 12, "-10"},
          {"1013", 13, "10.7"}, {"1013", 14, "-13"}, {"1013", 15, "-9.3"}, {"1013", 16, "300"},
          {"1003", 8, "900"}, {"1003", 9, "1233"}, {"1003", 16, "900"}}},
        {"全銘柄", 10, [] () -> ui::Form& { return Form16::it(); }, 5, false,
         {{"1013", 1, "98765"}, {"1013", 3, "2026/12/10"}, {"1013", 5, "1013"}, {"1013", 7, "F1000"},
          {"1013", 9, "2500000"}, {"1013", 10, "-9.3"}, {"1013", 11, "-12.5"}, {"1013", 12, "-90"},
          {"1013", 15, "11"}, {"1013", 16, "-13"}, {"1013", 17, "-9.3"}, {"1013", 18, "300"},
          {"1003", 10, "900"}, {"1003", 11, "1233"}, {"1003", 18, "900"}}},
        {"保有銘柄", 0, [] () -> ui::Form& { return Form12::it(); }, 2, false,
         {{"1013", 2, "1013"}, {"1013", 5, "F1000"}, {"1013", 6, "26/12/10"}, {"1003", 6, "26/12/09"}}},
        {"市場　単位の入力: the price table", 550, [] () -> ui::Form& { return Form15::it(); }, 3, true,
         {{"1003", 1, "3771"}, {"1013", 3, "1013"}, {"1013", 5, "F1000"}, {"1003", 5, "D100"},
          {"1013", 6, "2500000"}, {"1013", 15, "9999999"}}},
        {"市場　単位の入力: the cards lacking a market", 550, [] () -> ui::Form& { return Form28::it(); }, 5, false,
         {{"1003", 1, "99999"}, {"1003", 3, "2026/12/10"}, {"1003", 5, "1003"}, {"1003", 7, "D100"}}},
        {"the card list", 250, [] () -> ui::Form& { return Form28::it(); }, 5, false,
         {{"1013", 1, "98765"}, {"1013", 3, "2026/12/10"}, {"1013", 5, "1013"}, {"1013", 7, "F1000"}}},
        {"the price list", 100, [] () -> ui::Form& { return Form28::it(); }, 3, true,
         {{"1013", 3, "1013"}, {"1013", 6, "2500000"}, {"1013", 15, "9999999"}}},
    };
    for (const Screen& s : screens) expectScreen(s);
}

// The card trend screen's count box at 500,000 cards shows the whole number, beside its caption.
TEST_F(ScreenGridsTest, TheCountBoxShowsItsWholeNumber) {
    {
        auto db = platform::Database::open(platform::mainDatabasePath());
        db->executeRaw(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 499997) "
                                      "insert into [mydata] (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
                                      "select '株式新聞', %1, '銘柄', 1003, '東証１部', 'D100', '' from n")
                           .arg(platform::dateSerial(2026, 12, 10)));
    }
    Module1::MenuMode = 10;
    Form16& cards = Form16::it();
    const QRect laid(176, 72, 41, 18);   // where the window puts it, in pixels
    cards.Show();
    QApplication::processEvents();
    ASSERT_EQ(cards.Text7->Text(), QStringLiteral("500000"));
    QLineEdit* line = cards.Text7->line();
    cards.grab().save(QStringLiteral("/tmp/quenara_count_box.png"));
    // The ink of the digits spans the whole text: a box too narrow cuts the last digit off.
    const int digits = QFontMetrics(line->font()).tightBoundingRect(QStringLiteral("500000")).width();
    EXPECT_NEAR(testing_support::inkWidth(line->grab().toImage()), digits, 1);
    // The box grew into the free room on its left, clear of "　枚" on its right.
    EXPECT_GT(cards.Text7->width(), laid.width());
    EXPECT_EQ(cards.Text7->geometry().right(), laid.right());
    EXPECT_GT(cards.Text7->geometry().left(), cards.Command62->geometry().right());
    // With fewer cards it is back where the window put it.
    cards.Data1->RecordSource = QStringLiteral("select * from [a000-all] where [ID] < 99999");
    cards.Data1->Refresh();
    cards.Text7->setText(QString());
    EXPECT_EQ(cards.Text7->Text(), QStringLiteral("2"));
    EXPECT_EQ(cards.Text7->geometry(), laid);
}

}  // namespace
