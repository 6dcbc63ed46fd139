// The grids of the trend screens and the card list at the widths the screens set, holding the
// widest codes, dates, prices and changes: every digit is painted, or the cut mark shows.
#include <QApplication>
#include <QHeaderView>
#include <cmath>
#include "cards/form28.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/dialect.h"
#include "services/module1.h"
#include "shell_fixture.h"
#include "support/cut_mark.h"
#include "trend_cards/form16.h"
#include "trend_stocks/form6.h"

namespace {

class ScreenGridsTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Module1::MainDbPath = platform::mainDatabasePath();
        setDateRecord(QStringLiteral("day"));
        auto db = platform::Database::open(platform::mainDatabasePath());
        // The widest price and its changes, and a stock whose changes run to four whole digits.
        db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, "
                                      "kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('丸善電子', 1013, '東証１部', "
                                      "'F1000', 2223673, 1, 2419088, 2223000, 19930, 2250000, 1111111, 2999999, 9, 1921757)"));
        db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, "
                                      "kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('新光製菓', 1003, '東証１部', "
                                      "'B10', 3, 40, 4, 5, 6, 7, 8, 9, 10, 11)"));
        const double day = platform::dateSerial(2026, 12, 10);
        for (int code : {1013, 1003})
            db->executeRaw(QStringLiteral("insert into [mydata] (ID, 情報源, 日付, 銘柄, コード, 市場, 単位, 情報) values "
                                          "(%1, '株式新聞', %2, '銘柄', %3, '東証１部', 'F1000', '押し目買いの好機。')")
                               .arg(code == 1013 ? 98765 : 8888)
                               .arg(day)
                               .arg(code));
    }

    // The row of grid showing a code in column codeCol.
    static int rowOf(ui::FlexGrid* grid, int codeCol, const QString& code) {
        for (int r = 1; r < grid->Rows(); ++r)
            if (grid->TextMatrix(r, codeCol) == code) return r;
        return -1;
    }

    // Checks cell (row, col) of grid at the width the screen gave it: its picture is the matching end
    // of its picture in a column wide enough for anything (for a number with a fraction, of some
    // rounding of it), or it shows the cut mark. Row 0 checks the heading.
    static void expectWhole(ui::FlexGrid* grid, int row, int col) {
        const QString text = grid->TextMatrix(row, col);
        SCOPED_TRACE(QStringLiteral("row %1, column %2: \"%3\"").arg(row).arg(col).arg(text).toStdString());
        QHeaderView* header = grid->horizontalHeader();
        const QModelIndex cell = grid->model()->index(std::max(row, 1) - 1, col);
        grid->scrollTo(cell);
        const auto picture = [&] {
            if (row > 0) return grid->viewport()->grab(grid->visualRect(cell)).toImage();
            return header->viewport()->grab(QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col),
                                                  header->height())).toImage();
        };
        // A heading's picture without the border on its right.
        const QImage narrow = row > 0 ? picture() : picture().copy(0, 0, header->sectionSize(col) - 2, header->height());
        const bool right = row > 0 && (grid->model()->data(cell, Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QStringList shownAs{text};
        bool number = false;
        const double v = text.toDouble(&number);
        if (number && row > 0)
            for (int d = 0; d <= 6; ++d) shownAs << QString::number(v, 'f', d) << QString::number(std::fabs(v), 'f', d);
        const int laid = header->sectionSize(col);
        header->resizeSection(col, 400);
        bool whole = false;
        for (const QString& t : shownAs) {
            grid->setTextMatrix(row, col, t);
            const QImage wide = picture();
            whole = whole || wide.copy(right ? wide.width() - narrow.width() : 0, 0, narrow.width(), narrow.height()) == narrow;
        }
        grid->setTextMatrix(row, col, text);
        header->resizeSection(col, laid);
        EXPECT_TRUE(whole || testing_support::hasCutMark(narrow));
        EXPECT_TRUE(whole || row == 0 || !number) << "a number is never cut";
    }

    // Checks the given columns of the rows of both stocks, and the headings, of a screen's grid;
    // keeps a picture of it for a person to look at.
    static void expectWholeGrid(ui::Form& f, ui::FlexGrid* grid, int codeCol, std::initializer_list<int> cols,
                                std::initializer_list<int> headings) {
        QApplication::processEvents();
        grid->grab().save(QStringLiteral("/tmp/quenara_%1_grid.png").arg(f.Name.toLower()));
        grid->setRow(0);   // no data row framed or selected in the pictures
        grid->setCol(0);
        for (const char* code : {"1013", "1003"}) {
            const int r = rowOf(grid, codeCol, QString::fromLatin1(code));
            ASSERT_GT(r, 0) << code;
            for (int c : cols) expectWhole(grid, r, c);
        }
        for (int c : headings) expectWhole(grid, 0, c);
    }
};

TEST_F(ScreenGridsTest, TrendScreensShowEveryDigit) {
    Module1::MenuMode = 1001;
    Form6& stocks = Form6::it();
    stocks.Show();
    expectWholeGrid(stocks, stocks.MSFlexGrid1, 3, {3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {6, 7});
    stocks.Command5_Click();

    Module1::MenuMode = 10;
    Form16& cards = Form16::it();
    cards.Show();
    expectWholeGrid(cards, cards.MSFlexGrid1, 5, {1, 3, 5, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}, {9});
}

TEST_F(ScreenGridsTest, TheCardListShowsEveryDigitOfCardsAndPrices) {
    for (int mode : {250, 100}) {
        SCOPED_TRACE(mode);
        Module1::MenuMode = mode;
        Form28& list = Form28::it();
        list.Show();
        if (mode == 250) expectWholeGrid(list, list.MSFlexGrid1, 5, {1, 3, 5, 7}, {});
        else expectWholeGrid(list, list.MSFlexGrid1, 3, {3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {});
        list.Unload();
        QApplication::processEvents();
    }
}

}  // namespace
