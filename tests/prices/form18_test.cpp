#include "price_fixture.h"
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include "cards/form28.h"
#include "platform/data/database.h"
#include "services/period_record.h"
#include "shell/form5.h"
#include "support/cell_workbooks.h"
#include "support/real_workbooks.h"

using namespace price_testing;

namespace {

const Prices kOld{100, 101, 102, 103, 104, 105, 106, 107, 108, 109};

demo::WorkbookRow cell(const QString& book, const QString& sheet, const QString& code, const QString& close) {
    return {book, sheet, code, QStringLiteral("名前"), close};
}

}  // namespace

TEST_F(PriceScreenTest, StartButtonAdaptsTheScreenToTheUnit) {
    struct Case {
        const char* unit;
        int menuMode;           // -1: left as it was
        const char* rowLabel;   // row 2's label
        const char* insert;     // insertion caption
        bool weekly;
        bool offered;           // the work buttons
    };
    const Case cases[] = {
        {"day", 100, "1日前", "一日挿入", false, true},
        {"week", 101, "1週間前", "一週挿入", true, true},
        {"month", 101, "1月前", "一月挿入", false, true},
        {"Day", -1, "", "一日挿入", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        setRecord(c.unit);
        Module1::MenuMode = 7;
        if (!c.offered) seam->answerMsgBox(ui::vbOK);   // the refusal
        Form18& f = start();
        EXPECT_EQ(Module1::MenuMode, c.menuMode < 0 ? 7 : c.menuMode);
        EXPECT_EQ(f.ScreenUnit, c.offered ? QString(c.unit) : QString());
        EXPECT_EQ(f.Label3(2)->Caption(), QString(c.rowLabel));
        EXPECT_EQ(f.Command5->Caption(), QString(c.insert));
        for (auto* b : {f.Command4, f.Command5, f.Command8}) EXPECT_EQ(b->Visible(), c.offered);
        for (auto* b : {f.Command6, f.Command7, f.Command11}) EXPECT_EQ(b->Visible(), c.weekly);
        EXPECT_FALSE(f.Command3->Visible());
        // The rows hold the record; paths and sheet names follow the boxes.
        EXPECT_EQ(f.Text4(1)->Text() + f.Text11(1)->Text() + f.Text12(1)->Text(), QStringLiteral("261210"));
        EXPECT_EQ(f.Text3(10)->Text(), slotBook(10));
        EXPECT_EQ(f.SlotSheetName[3], slotSheet(3) + "$");
        EXPECT_EQ(f.SlotWorkbookPath[3], folder.folder() + slotBook(3) + ".xls");
        EXPECT_EQ(f.PeriodFieldName[11], QStringLiteral("kabuka11"));
        f.Unload();
    }
    EXPECT_EQ(seam->msgBoxPrompts().filter("「Day」").size(), 1);
}

TEST_F(PriceScreenTest, BulkInputStoresTenDatesAndTenPricesTogether) {
    setStocks({{1301, kOld}, {7203, kOld}});
    Module1::MenuMode = 100;
    Form28& list = Form28::it();   // the card list beside it, in its price view
    Form18& f = start();
    // Row 4 moves to 4 May 2009, typed with one-digit parts.
    f.Text4(4)->setText("9");
    f.Text11(4)->setText("5");
    f.Text12(4)->setText("4");
    std::vector<demo::WorkbookRow> rows;
    for (int k = 1; k <= 10; ++k) {
        const QString sheet = k == 4 ? QStringLiteral("s090504") : slotSheet(k);
        rows.push_back(cell(slotBook(k), sheet, "1301", QString::number(1000 + k)));
        rows.push_back(cell(slotBook(k), sheet, "1001", "5"));   // the placeholder takes nothing
        if (k != 2) rows.push_back(cell(slotBook(k), sheet, "7203", QString::number(2000 + k)));
    }
    writeBooks(rows);
    QStringList progress;
    f.Text1->Change = [&] { progress << f.Text1->Text(); };

    f.Command4_Click();

    // The progress counts the stocks of the price table (placeholder included), from 0 for each slot.
    QStringList expected;
    for (int k = 1; k <= 10; ++k) expected << "0" << "3";
    expected << QStringLiteral("登録　完了しました");
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
    EXPECT_EQ(pricesOf(1301), (Prices{1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010}));
    EXPECT_EQ(pricesOf(7203), (Prices{2001, 101, 2003, 2004, 2005, 2006, 2007, 2008, 2009, 2010}));
    EXPECT_EQ(pricesOf(1001), Prices{});
    const QStringList r = record();
    EXPECT_EQ(r[3], QStringLiteral("09/05/04"));
    EXPECT_EQ(f.Text4(4)->Text() + f.Text11(4)->Text() + f.Text12(4)->Text(), QStringLiteral("090504"));
    EXPECT_EQ(r[0], slotDate(1));
    EXPECT_EQ(r[10], QStringLiteral("day"));
    EXPECT_EQ(r[20], slotBook(10));
    // The menu shows the record as stored.
    EXPECT_EQ(services::periodRecordCell(5), QStringLiteral("09/05/04"));
    // ... the trend screens' changes follow the prices ...
    schema_fixture::Sqlite sql(platform::mainDatabasePath());
    EXPECT_NEAR(sql.value("select ratio9 from stock_trend where コード = 1301").toDouble(), 900.0 / 1001, 1e-9);
    // ... and the card list the prices.
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(2, 3), QStringLiteral("1301"));
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(2, 6), QStringLiteral("1001"));
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(3, 7), QStringLiteral("101"));
    EXPECT_TRUE(f.MSFlexGrid2->Visible());
    EXPECT_EQ(f.Text2->Text(), slotSheet(10));   // the sheet's name, without the "$" of its table
}

TEST_F(PriceScreenTest, NextMatchesCodesByPositionAndRounds) {
    setStocks({{1301, kOld}, {1332, kOld}, {1333, kOld}, {1334, kOld}, {1352, kOld},
               {1376, kOld}, {1377, kOld}, {1414, kOld}});
    const QString b = slotBook(1), s = slotSheet(1);
    writeBooks({cell(b, s, "1301", "1234.5"), cell(b, s, "1332", "1235.5"), cell(b, s, "1333", ""),
                cell(b, s, "1334", "休場"), cell(b, s, "1352", "3000000000"), cell(b, s, "", "55"),
                cell(b, s, "1376", "500"), cell(b, s, "1376", "600"),   // the first row of a code counts
                cell(b, s, "1377", ""), cell(b, s, "1377", "700"), cell(b, s, "1001", "999"),
                cell(b, s, "9999", "10")});
    Form18& f = start();
    f.Command5->setVisible(false);

    f.Command8_Click();

    const std::pair<int, std::optional<int>> newest[] = {{1301, 1234}, {1332, 1236}, {1333, 100}, {1334, 100},
                                                         {1352, 100},  {1376, 500},  {1377, 100}, {1414, 100},
                                                         {1001, std::nullopt}};
    for (const auto& [code, price] : newest) {
        const Prices p = pricesOf(code);
        EXPECT_EQ(p[0], price) << code;
        if (code != 1001) EXPECT_EQ(p[9], 109) << code;   // other slots untouched
    }
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
    EXPECT_TRUE(f.Command5->Visible());
    EXPECT_EQ(f.Command5->BackColor(), 0xC0FFC0u);
}

TEST_F(PriceScreenTest, WeeklyNextReadsColumnsByNameAndStoresNullForNoPrice) {
    setRecord("week");
    setStocks({{1301, kOld}, {1332, kOld}, {1333, kOld}, {1334, kOld}, {1414, kOld}});
    const QString b = slotBook(1), s = slotSheet(1);
    writeBooks({cell(b, s, "1301", "0"), cell(b, s, "1332", ""), cell(b, s, "1333", "abc"), cell(b, s, "1334", "1234"),
                cell(b, s, "1001", "5")});
    Form18& f = start();
    f.Text12(1)->setText("10");   // the same day, written anew
    QStringList progress;
    f.Text1->Change = [&] { progress << f.Text1->Text(); };

    f.Command6_Click();

    EXPECT_EQ(progress, (QStringList{"0", "5", QStringLiteral("登録　完了しました")}));   // not the placeholder

    const std::pair<int, std::optional<int>> newest[] = {
        {1301, std::nullopt}, {1332, std::nullopt}, {1333, std::nullopt}, {1334, 1234}, {1414, 100}, {1001, std::nullopt}};
    for (const auto& [code, price] : newest) EXPECT_EQ(pricesOf(code)[0], price) << code;
    EXPECT_EQ(record()[10], QStringLiteral("week"));
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
    EXPECT_TRUE(f.Command5->Visible());
}

// A main database that is refused or cannot be read is named as the problem, not the unit.
TEST_F(PriceScreenTest, AnUnreadableMainDatabaseIsNamed) {
    const QString junk = folder.folder() + QStringLiteral("junk.mdb");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    const QString refused = folder.folder() + QStringLiteral("refused.mdb");
    platform::Database::refuse(refused, QStringLiteral("ほかのプログラムのファイルです"));
    for (const QString& path : {junk, refused}) {
        SCOPED_TRACE(path.toStdString());
        Module1::MainDbPath = path;
        if (Form5::isLoaded()) Form5::it().Unload();   // the menu then binds to it
        seam->answerMsgBox(ui::vbOK);
        seam->events.clear();
        Form18& f = start();
        ASSERT_EQ(seam->msgBoxPrompts().size(), 2);   // the problem, then the screen's input note
        const QString said = seam->msgBoxPrompts().first();
        EXPECT_TRUE(said.startsWith(QStringLiteral("主データベースから期間の記録を読めません。"))) << said.toStdString();
        EXPECT_TRUE(said.contains(path));
        EXPECT_FALSE(said.contains(QStringLiteral("期間の単位「")));
        EXPECT_TRUE(f.ScreenUnit.isEmpty());
        EXPECT_FALSE(f.Command8->Visible());
        f.Unload();
    }
    EXPECT_TRUE(seam->msgBoxPrompts().filter(QStringLiteral("ほかのプログラムのファイルです")).size() == 1);
}

TEST_F(PriceScreenTest, AMissingWorkbookOrSheetWritesNothing) {
    enum Click { Bulk, Next, WeeklyNext };
    struct Case {
        const char* what;
        Click click;
        int brokenSlot;
        bool missingBook;   // else the sheet is missing from its workbook
    };
    const Case cases[] = {{"bulk, workbook 7", Bulk, 7, true},        {"bulk, sheet 3", Bulk, 3, false},
                          {"next, workbook", Next, 1, true},          {"next, sheet", Next, 1, false},
                          {"weekly next, workbook", WeeklyNext, 1, true}, {"weekly next, sheet", WeeklyNext, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setStocks({{1301, kOld}});
        setRecord(c.click == WeeklyNext ? "week" : "day");
        std::vector<demo::WorkbookRow> rows;
        for (int k = 1; k <= 10; ++k)
            if (!(c.missingBook && k == c.brokenSlot))
                rows.push_back(cell(slotBook(k),
                                    k == c.brokenSlot && !c.missingBook ? QStringLiteral("s991231")
                                    : k == 1                            ? QStringLiteral("s261211")
                                                                        : slotSheet(k),
                                    "1301", "7"));
        for (int k = 1; k <= 10; ++k) QFile::remove(folder.folder() + slotBook(k) + ".xls");
        writeBooks(rows);
        const QStringList before = record();
        Form18& f = start();
        f.Text12(1)->setText("11");   // a changed date must not be stored either
        seam->answerMsgBox(ui::vbOK);
        if (c.click == Bulk) f.Command4_Click();
        else if (c.click == Next) f.Command8_Click();
        else f.Command6_Click();

        EXPECT_EQ(record(), before);
        EXPECT_EQ(pricesOf(1301), kOld);
        EXPECT_NE(f.Text1->Text(), QStringLiteral("登録　完了しました"));
        EXPECT_TRUE(seam->msgBoxPrompts().last().contains(slotBook(c.brokenSlot) + ".xls"));
        f.Unload();
    }
}

// A sheet none of whose codes is a listed stock (its code column read as dates, or codes of no
// stock of the price table) is refused by "next" and "一括入力実行" alike, naming its workbook and
// sheet, and nothing is written: no price, no date, no workbook name. One matching code is enough.
TEST_F(PriceScreenTest, ASheetWhoseCodesMatchNoStockIsRefused) {
    enum Click { Bulk, Next, WeeklyNext };
    struct Case {
        const char* what;
        Click click;
        std::vector<std::pair<const char*, const char*>> newest;   // code, price of row 1's sheet
        bool refused;
    };
    const std::vector<std::pair<const char*, const char*>> asDates{{"2026/12/01", "1500"}, {"2026/12/02", "1600"}, {"1001", "5"}};
    const std::vector<std::pair<const char*, const char*>> unlisted{{"9999", "1500"}, {"1001", "5"}};
    const std::vector<std::pair<const char*, const char*>> oneListed{{"9999", "1600"}, {"1301", "1500"}};
    const Case cases[] = {
        {"next, codes read as dates", Next, asDates, true},
        {"next, codes of no listed stock", Next, unlisted, true},
        {"next, one listed code", Next, oneListed, false},
        {"weekly next, codes of no listed stock", WeeklyNext, unlisted, true},
        {"weekly next, one listed code", WeeklyNext, oneListed, false},
        {"bulk, row 1's codes read as dates", Bulk, asDates, true},
        {"bulk, one listed code in row 1", Bulk, oneListed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setStocks({{1301, kOld}, {7203, kOld}});
        setRecord(c.click == WeeklyNext ? "week" : "day");
        for (int k = 1; k <= 10; ++k) QFile::remove(folder.folder() + slotBook(k) + ".xls");
        std::vector<demo::WorkbookRow> rows;
        for (const auto& [code, price] : c.newest) rows.push_back(cell("q261211", "s261211", code, price));
        for (int k = 2; k <= 10; ++k) rows.push_back(cell(slotBook(k), slotSheet(k), "7203", "7"));
        writeBooks(rows);
        const QStringList before = record();
        Form18& f = start();
        f.Text12(1)->setText("11");
        f.Text3(1)->setText("q261211");
        if (c.refused) seam->answerMsgBox(ui::vbOK);
        if (c.click == Bulk) f.Command4_Click();
        else if (c.click == Next) f.Command8_Click();
        else f.Command6_Click();

        if (c.refused) {
            EXPECT_EQ(record(), before);
            EXPECT_EQ(pricesOf(1301), kOld);
            EXPECT_EQ(pricesOf(7203), kOld);
            EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録できませんでした"));
            ASSERT_FALSE(seam->msgBoxPrompts().isEmpty());
            const QString said = seam->msgBoxPrompts().last();
            EXPECT_TRUE(said.contains(folder.folder() + "q261211.xls のシート s261211 のコードは、どれも価格表の銘柄のコードと合いません。"))
                << said.toStdString();
            EXPECT_TRUE(said.endsWith(QStringLiteral("日付も株価も書き込んでいません。"))) << said.toStdString();
        } else {
            EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
            EXPECT_EQ(pricesOf(1301)[0], 1500);
            EXPECT_EQ(pricesOf(7203)[0], 100);   // row 1's sheet lacks it
            EXPECT_EQ(pricesOf(7203)[1], c.click == Bulk ? 7 : 101);
            EXPECT_EQ(record()[0], QStringLiteral("26/12/11"));
            EXPECT_EQ(record()[11], QStringLiteral("q261211"));
        }
        EXPECT_TRUE(seam->allAnswersUsed());
        f.Unload();
    }
}

TEST_F(PriceScreenTest, RefusedDatesStopTheClickBeforeAnythingIsWritten) {
    setStocks({{1301, kOld}});
    const QString b = slotBook(1);
    writeBooks({cell(b, "s260230", "1301", "7")});
    Form18& f = start();
    const QStringList before = record();
    for (const char* day : {"30", "3x"}) {
        f.Text4(1)->setText("26");
        f.Text11(1)->setText("02");
        f.Text12(1)->setText(day);
        seam->answerMsgBox(ui::vbOK);
        f.Command8_Click();
        EXPECT_TRUE(seam->msgBoxPrompts().last().contains("1行目")) << day;
        EXPECT_EQ(record(), before);
        EXPECT_EQ(pricesOf(1301), kOld);
    }
}

TEST_F(PriceScreenTest, InsertionMovesEveryPeriodOlderAndNextCompletesIt) {
    setStocks({{1301, kOld}, {7203, {200, std::nullopt, 202, 203, 204, 205, 206, 207, 208, 209}}, {8306, Prices{}}});
    Form18& f = start();
    const QStringList before = record();

    seam->answerMsgBox(ui::vbCancel);   // Cancel acts as OK
    f.Command5_Click();

    const QStringList r = record();
    EXPECT_EQ(r[0], before[0]);
    EXPECT_EQ(r[11], before[11]);
    EXPECT_EQ(r[1], before[0]);
    EXPECT_EQ(r[12], before[11]);
    for (int k = 3; k <= 10; ++k) {
        EXPECT_EQ(r[k - 1], before[k - 2]) << k;
        EXPECT_EQ(r[k + 10], before[k + 9]) << k;
    }
    EXPECT_EQ(pricesOf(1301), (Prices{std::nullopt, 100, 101, 102, 103, 104, 105, 106, 107, 108}));
    EXPECT_EQ(pricesOf(7203), (Prices{std::nullopt, 200, std::nullopt, 202, 203, 204, 205, 206, 207, 208}));
    EXPECT_EQ(pricesOf(8306), Prices{});
    EXPECT_FALSE(f.Command5->Visible());
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("移動　完了しました"));
    EXPECT_EQ(f.Text3(1)->Text(), slotBook(1));   // the rows show the record again
    EXPECT_EQ(f.Text3(0)->Text(), QStringLiteral("Excelファイル"));

    // NEXT while row 1 still holds slot 2's date (or an older one) would store that period twice:
    // it is refused, naming both dates, and nothing is written.
    writeBooks({cell("p261211", "s261211", "1301", "111"), cell("p261211", "s261211", "1001", "1")});
    const QStringList inserted = record();
    for (const char* day : {"", "09"}) {
        SCOPED_TRACE(day);
        if (*day) f.Text12(1)->setText(QString::fromUtf8(day));
        seam->answerMsgBox(ui::vbOK);
        f.Command8_Click();
        const QString said = seam->msgBoxPrompts().last();
        EXPECT_TRUE(said.contains(f.Text4(1)->Text() + "/" + f.Text11(1)->Text() + "/" + f.Text12(1)->Text())) << said.toStdString();
        EXPECT_TRUE(said.contains(slotDate(1))) << said.toStdString();
        EXPECT_EQ(record(), inserted);
        EXPECT_EQ(pricesOf(1301), (Prices{std::nullopt, 100, 101, 102, 103, 104, 105, 106, 107, 108}));
        EXPECT_FALSE(f.Command5->Visible());
    }

    // The newest day comes from its own sheet.
    f.Text12(1)->setText("11");
    f.Text3(1)->setText("p261211");
    f.Command8_Click();
    EXPECT_EQ(pricesOf(1301), (Prices{111, 100, 101, 102, 103, 104, 105, 106, 107, 108}));
    EXPECT_EQ(pricesOf(7203)[0], std::nullopt);
    EXPECT_EQ(record()[0], QStringLiteral("26/12/11"));
    EXPECT_EQ(record()[11], QStringLiteral("p261211"));
    EXPECT_EQ(record()[1], slotDate(1));
    EXPECT_TRUE(f.Command5->Visible());
}

// The insertion moves the periods as stored, whatever the boxes show at the click: a newest date
// and workbook typed for a "next" that was refused (its workbook missing), or typed into row 1
// before inserting. Afterwards the rows show the stored record, rows 1 and 2 alike.
TEST_F(PriceScreenTest, InsertionMovesTheStoredPeriodsNotTheBoxes) {
    struct Case {
        const char* what;
        bool refusedNext;
    };
    for (const Case c : {Case{"after a refused next", true}, Case{"after typing into row 1", false}}) {
        SCOPED_TRACE(c.what);
        setRecord(QStringLiteral("day"));
        setStocks({{1301, kOld}});
        QFile::remove(folder.folder() + "kabu261212.xls");
        Form18& f = start();
        const QStringList before = record();
        f.Text12(1)->setText("12");
        f.Text3(1)->setText("kabu261212");
        f.Text4(5)->setText("25");   // an older row edited as well
        if (c.refusedNext) {
            seam->answerMsgBox(ui::vbOK);
            f.Command8_Click();
            ASSERT_TRUE(seam->msgBoxPrompts().last().contains("kabu261212.xls"));
            ASSERT_EQ(record(), before);
        }

        seam->answerMsgBox(ui::vbOK);
        f.Command5_Click();

        // Slots 1 to 9 moved one older as stored: the newest date and workbook name stay in slot 1.
        const QStringList expected{"26/12/10", "26/12/10", "26/12/09", "26/12/08", "26/12/07", "26/12/06", "26/12/05",
                                   "26/12/04", "26/12/03", "26/12/02", "day",      "p261210",  "p261210", "p261209",
                                   "p261208",  "p261207",  "p261206",  "p261205",  "p261204",  "p261203", "p261202"};
        EXPECT_EQ(before[0], "26/12/10");
        EXPECT_EQ(record(), expected);
        EXPECT_EQ(pricesOf(1301), (Prices{std::nullopt, 100, 101, 102, 103, 104, 105, 106, 107, 108}));
        for (int k = 1; k <= 10; ++k) {
            const QString date = expected[k - 1];
            EXPECT_EQ(f.Text4(k)->Text() + "/" + f.Text11(k)->Text() + "/" + f.Text12(k)->Text(), date) << k;
            EXPECT_EQ(f.Text3(k)->Text(), expected[k + 10]) << k;
            EXPECT_EQ(f.SlotSheetName[k], "s" + QString(date).remove(u'/') + "$") << k;
            EXPECT_EQ(services::periodRecordCell(k + 1), date) << k;
        }
        f.Unload();
    }
}

// What reaches the screen while it works (a click, OK) does nothing to the work under way.
TEST_F(PriceScreenTest, TheScreenTakesNothingElseWhileAnImportRuns) {
    setStocks({{1301, kOld}});
    const QString b = slotBook(1), s = slotSheet(1);
    writeBooks({cell(b, s, "1301", "55")});
    Form18& f = start();
    bool sawBusy = false;
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            sawBusy = f.busy() && !f.isEnabled();
            f.Command4_Click();   // the bulk input would fail on the missing workbooks
            f.Command5_Click();
            f.Command2_Click();
        },
        Qt::QueuedConnection);

    f.Command8_Click();

    EXPECT_TRUE(sawBusy);
    EXPECT_TRUE(Form18::isLoaded());
    EXPECT_TRUE(f.isEnabled());
    EXPECT_EQ(pricesOf(1301), (Prices{55, 101, 102, 103, 104, 105, 106, 107, 108, 109}));
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
}

TEST_F(PriceScreenTest, TheMenuLeadsHereAndOkLeadsBack) {
    Form5& menu = Form5::it();
    menu.Show();
    menu.Command(QStringLiteral("Command10"))->doClick();
    ASSERT_TRUE(Form18::isLoaded());
    EXPECT_TRUE(Form28::isLoaded());
    Form18& f = Form18::it();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(Module1::MenuMode, 100);
    EXPECT_TRUE(f.Command3->Visible());
    EXPECT_FALSE(f.Command4->Visible());

    f.close();   // the close box is refused
    EXPECT_TRUE(Form18::isLoaded());
    f.Command2_Click();
    EXPECT_FALSE(Form18::isLoaded());
    EXPECT_FALSE(Form28::isLoaded());
    EXPECT_TRUE(menu.isVisible());
}

// The demo folder as a user finds it: the bulk input loads its ten workbooks, and after an
// insertion "next" loads the workbook of the following weekday.
TEST_F(PriceScreenTest, DemoWorkbooksServeTheBulkInputAndNext) {
    platform::Database::releaseUnused();
    for (ui::Form* f : ui::Form::loadedForms()) f->Unload();
    QCoreApplication::processEvents();
    demo::Options options;
    options.totalStocks = 120;
    options.cards = 10;
    options.today = QDate(2026, 12, 11);   // a Friday: the next weekday is Monday the 14th
    const QString home = QFileInfo(folder.folder()).dir().absolutePath() + "/demo";
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    demo::generate(home, options);
    Module1::MainDbPath = platform::mainDatabasePath();
    services::refreshPeriodRecord();

    Form18& f = start();
    f.Command4_Click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));

    seam->answerMsgBox(ui::vbOK);
    f.Command5_Click();
    f.Text12(1)->setText("14");
    f.Text3(1)->setText("kabu261214");
    f.Command8_Click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
    schema_fixture::Sqlite s(platform::mainDatabasePath());
    EXPECT_EQ(s.value("select count(*) from list where kabuka1 is null and コード <> 1001").toInt(), 0);
    EXPECT_EQ(record()[0], QStringLiteral("26/12/14"));
}

// "next" over a sheet with the cells real spreadsheets hold: an error, a boolean or a date gives no
// price, a formula gives its last value (half to even), a code typed as text is the code (full-width
// digits too), a boolean in the code column matches no stock, the first row of a code counts (for
// every stock of that code), a text price is read by the program's one rule ("1e3" is none), and a
// price in a Japanese general format (G/標準 with a unit) is the number, also in the preview.
TEST_F(PriceScreenTest, NextTakesPricesOnlyFromNumbersAndFormulaValues) {
    setStocks({{1, kOld}, {1301, kOld}, {1332, kOld}, {1333, kOld}, {1334, kOld}, {1352, kOld}, {1376, kOld},
               {1377, kOld}, {1414, kOld}, {1414, kOld}, {7301, kOld}, {1417, kOld}, {1418, kOld}, {1419, kOld},
               {1420, kOld}, {1421, kOld}});
    QTemporaryDir books;
    ASSERT_TRUE(testing_support::writeCellWorkbooks(books.path()));
    ASSERT_TRUE(QFile::copy(books.filePath("prices.xls"), folder.folder() + slotBook(1) + ".xls"));
    Form18& f = start();
    f.Command8_Click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
    const std::pair<int, int> newest[] = {{1, 100},    {1301, 100},  {1332, 100},  {1333, 4321}, {1334, 1234},
                                          {1352, 700}, {1376, 100},  {1377, 100},  {1414, 1500}, {7301, 800},
                                          {1417, 100}, {1418, 1234}, {1419, 2069}, {1420, 45565}, {1421, 712}};
    for (const auto& [code, price] : newest) EXPECT_EQ(pricesOf(code)[0], price) << code;
    schema_fixture::Sqlite sql(platform::mainDatabasePath());
    EXPECT_EQ(sql.value("select count(*) from list where コード = 1414 and kabuka1 = 1500").toInt(), 2);
    const int row = 14;   // 1419's row of the preview
    ASSERT_EQ(f.MSFlexGrid2->TextMatrix(row, 1), QStringLiteral("1419"));
    EXPECT_EQ(f.MSFlexGrid2->TextMatrix(row, 3), QStringLiteral("2069"));
    EXPECT_EQ(f.MSFlexGrid2->TextMatrix(row + 1, 3), QStringLiteral("45565"));
}

// A workbook of each spreadsheet program, its sheet holding a formula note longer than one
// record: "next" takes the prices of its numbers.
TEST_F(PriceScreenTest, NextReadsTheWorkbooksOfSpreadsheetPrograms) {
    for (const char* book : {"libreoffice.xls", "gnumeric.xls"}) {
        SCOPED_TRACE(book);
        setStocks({{1301, kOld}, {1302, kOld}, {1320, kOld}, {7203, kOld}, {7267, kOld}, {9984, kOld}});
        const QString target = folder.folder() + slotBook(1) + ".xls";
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(testing_support::realWorkbook(book), target));
        Form18& f = start();
        f.Command8_Click();
        EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
        const std::pair<int, int> newest[] = {{1301, 1000}, {1302, 1008}, {1320, 1142}, {7203, 100}, {7267, 100},
                                              {9984, 123456789}};
        for (const auto& [code, price] : newest) EXPECT_EQ(pricesOf(code)[0], price) << code;
        f.Unload();
    }
}

// A price workbook Gnumeric computed itself, notes of thousands of characters beside its prices:
// "next" takes the prices.
TEST_F(PriceScreenTest, NextReadsAWorkbookWhoseLongNotesGnumericComputed) {
    setStocks({{1301, kOld}, {1302, kOld}, {1303, kOld}});
    ASSERT_TRUE(QFile::copy(testing_support::realWorkbook("gnumeric-computed.xls"), folder.folder() + slotBook(1) + ".xls"));
    Form18& f = start();
    f.Command8_Click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
    EXPECT_EQ(pricesOf(1301)[0], 1000);
    EXPECT_EQ(pricesOf(1302)[0], 1008);
    EXPECT_EQ(pricesOf(1303)[0], 1015);
    f.Unload();
}

// A workbook that cannot be read whole (a block zeroed, cut short, a string index out of range, a
// record running past its end; a workbook a spreadsheet program wrote, damaged as in the reader's
// tests) is refused before anything is written, in words naming it, by "一括入力実行" (the nine
// other workbooks sound) and by "next". The two books the damaged ones were made from are read.
TEST_F(PriceScreenTest, ADamagedWorkbookWritesNothing) {
    QTemporaryDir books;
    ASSERT_TRUE(testing_support::writeCellWorkbooks(books.path()));
    const QString whole = books.filePath("long.xls");
    testing_support::damagedCopy(whole, books.filePath("cut.xls"), QFileInfo(whole).size() * 3 / 4);
    QStringList damaged;
    for (const char* book : {"zeroed.xls", "cut.xls", "sst.xls", "past_end.xls"}) damaged << books.filePath(QString::fromUtf8(book));
    for (const auto& d : testing_support::writeDamagedWorkbooks(books.path())) damaged << d.file;
    std::vector<demo::WorkbookRow> others;
    for (int k = 2; k <= 10; ++k)
        for (const char* code : {"1301", "1302"}) others.push_back(cell(slotBook(k), slotSheet(k), code, "7"));
    writeBooks(others);
    setStocks({{1301, kOld}, {1302, kOld}});
    const QString target = folder.folder() + slotBook(1) + ".xls";
    const QString seed = testing_support::realWorkbook("gnumeric.xls");
    for (const QString& book : QStringList{whole, seed} + damaged) {
        for (const bool bulk : {true, false}) {
            SCOPED_TRACE(book.toStdString() + (bulk ? " 一括入力実行" : " next"));
            const bool sound = book == whole || book == seed;
            QFile::remove(target);
            ASSERT_TRUE(QFile::copy(book, target));
            const QStringList before = record();
            Form18& f = start();
            f.Text12(1)->setText("10");
            if (!sound) seam->answerMsgBox(ui::vbOK);
            if (bulk) f.Command4_Click();
            else f.Command8_Click();
            if (sound) {
                EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録　完了しました"));
                EXPECT_EQ(pricesOf(1302)[0], book == whole ? 1002 : 1008);
                if (bulk) EXPECT_EQ(pricesOf(1302)[1], 7);
                setStocks({{1301, kOld}, {1302, kOld}});
            } else {
                EXPECT_EQ(record(), before);
                EXPECT_EQ(pricesOf(1301), kOld);
                EXPECT_EQ(pricesOf(1302), kOld);
                EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("ブック %1 を読めません。").arg(target)))
                    << seam->msgBoxPrompts().last().toStdString();
                EXPECT_EQ(f.Text1->Text(), QStringLiteral("登録できませんでした"));
            }
            f.Unload();
        }
    }
}
