#include <QDate>
#include <QFile>
#include <QSet>
#include <QTest>
#include <tuple>
#include <gtest/gtest.h>
#include "demo/demo_data.h"
#include "lists/list_forms.h"
#include "platform/data/recordset.h"
#include "shell/form23.h"
#include "shell/form5.h"
#include "trend_fixture.h"
#include "trend_stocks/apply_pattern.h"
#include "lists/chart_link.h"
#include "trend_stocks/form6.h"

using trend_testing::Stock;

namespace {

const QString kAll = "select * from [list1plus]";
const QString kTwoCodes = "select * from [list1plus] where ([コード]=1301 Or  [コード]=1332)";

class Form6Test : public trend_testing::TrendScreenTest {
protected:
    void SetUp() override {
        TrendScreenTest::SetUp();
        addStocks({
            {1301, "極洋", "東証１部", "D100", {-9, -1, 0, 0, 0, 0, 0, 0, 0}},
            {1332, "日本水産", "名古１部", "F1000", {-30, 0, 0, 0, 0, 0, 0, 0, 0}},
            {7203, "トヨタ", "ナスダック", "D100", {2, 0, 0, 0, 0, 0, 0, 0, 0}},
            {8001, "O'Neil", "マザー", "A1", {5, 0, 0, 0, 0, 0, 0, 0, 0}},
        });
    }
    // Opens the screen as the menu does for a launch value (1001 ... 1023).
    Form6& open(int menuMode, const QString& watchListSql = kAll) {
        Module1::WatchListSql = watchListSql;
        Module1::MenuMode = menuMode;
        Form6& f = Form6::it();
        f.Show();
        return f;
    }
    static QStringList codes(const Form6& f) {
        QStringList out;
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) out << f.MSFlexGrid1->TextMatrix(r, 3);
        return out;
    }
    static int rowOf(const Form6& f, const QString& code) {
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r)
            if (f.MSFlexGrid1->TextMatrix(r, 3) == code) return r;
        return -1;
    }
    static void resetList(const QString& table, const std::vector<int>& codes) {
        if (Form13::isLoaded()) Form13::it().Unload();
        if (Form17::isLoaded()) Form17::it().Unload();
        lists()->executeRaw("delete from [" + table + "]");
        addListCodes(table, codes);
    }
};

}  // namespace

TEST_F(Form6Test, UniverseTable) {
    struct Case {
        int menuMode;
        const char* base;   // empty: the menu-built WatchListSql
        const char* caption;
        unsigned color;
    } cases[] = {
        {1001, "select * from [list1plus]", "全市場銘柄", 0xD08F77},
        {1002, "select * from [list1plus-1bu]", "1部市場銘柄", 0xC0C0},
        {1003, "select * from [list1plus-2bu]", "2部市場銘柄", 0x8080},
        {1004, "select * from [list1plus-tentou]", "新興市場銘柄", 0x8BA0F8},
        {1005, "select * from [list1plus-1000U]", "売買1000株銘柄", 0xFF00},
        {1006, "select * from [list1plus-100U]", "売買100株銘柄", 0x80FF80},
        {1007, "select * from [list1plus-001U]", "売買1株銘柄", 0xDCA561},
        {1008, "select * from [list1plus-to1low]", "東証１部・２０万円以下銘柄", 0xB7E68C},
        {1009, "select * from [list1plus-30]", "３０～５０万円の銘柄", 0xFF00},
        {1022, "", "トレンド注目銘柄", 0xFF00},
        {1023, "", "注目銘柄", 0xFF00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menuMode);
        Form6& f = open(c.menuMode, kTwoCodes);
        const QString base = *c.base ? QString::fromUtf8(c.base) : kTwoCodes;
        EXPECT_EQ(Module1::TrendMode, c.menuMode - 1000);
        EXPECT_EQ(Module1::TrendBaseSql, base);
        EXPECT_EQ(f.Data1->RecordSource, base);
        EXPECT_EQ(f.Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(f.BackColor(), c.color);
        EXPECT_EQ(f.Text7->Text(), QString::number(f.MSFlexGrid1->Rows() - 1));
        f.Command5_Click();
        EXPECT_EQ(Module1::TrendMode, 0);
        EXPECT_FALSE(Form6::isLoaded());
        EXPECT_TRUE(Form5::it().isVisible());
    }
}

TEST_F(Form6Test, LoadShowsTheUniverseByCodeWithWidthsAndCount) {
    Form6& f = open(1001);
    EXPECT_EQ(codes(f), QStringList({"1301", "1332", "7203", "8001"}));
    EXPECT_EQ(f.Text7->Text(), "4");
    const int widths[] = {250, 550, 1280, 600, 900, 600, 900, 900, 500, 500, 500, 500, 500, 500, 500, 500, 500};
    // Whole pixels; a column of codes, dates or numbers may be wider, to show them whole.
    for (int c = 0; c <= 16; ++c) EXPECT_GE(f.MSFlexGrid1->ColWidth(c), widths[c] - 14) << c;
    EXPECT_NEAR(f.MSFlexGrid1->ColWidth(2), widths[2], 14);   // names are not widened
    // The count box cannot be typed over.
    f.Text7->setText("12");
    EXPECT_EQ(f.Text7->Text(), "4");
    // The title-bar close box is refused.
    f.close();
    EXPECT_TRUE(Form6::isLoaded());
    EXPECT_TRUE(f.isVisible());
}

TEST_F(Form6Test, TitlesFollowThePeriodUnit) {
    struct Case {
        const char* unit;
        const char* text3;
        const char* first;
        const char* last;
    } cases[] = {
        {"day", "day", "1日前", "9日前"},
        {"week", "week", "1週前", "9週前"},
        {"month", "month", "1月前", "9月前"},
        {"Week", "Text3", "ratio1", "ratio9"},   // compared exactly: the field names stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        setUnit(QString::fromUtf8(c.unit));
        if (Form5::isLoaded()) Form5::it().Unload();
        Form6& f = open(1001);
        EXPECT_EQ(f.Text3->Text(), QString::fromUtf8(c.text3));
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 8), QString::fromUtf8(c.first));
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 16), QString::fromUtf8(c.last));
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 6), "26/12/10");
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 7), "26/12/01");
        f.Command5_Click();
    }
}

TEST_F(Form6Test, SearchesJoinTheirConditionAndNeverPassRawAnswers) {
    struct Case {
        int menuMode;
        bool byName;
        std::optional<QString> answer;
        const char* appended;   // nullptr: no query is sent, the rows stay
        QStringList found;
    } cases[] = {
        {1001, false, "1301", "where [コード]=1301", {"1301"}},
        {1001, false, " 7203 ", "where [コード]=7203", {"7203"}},
        {1001, false, "１３０１", "where [コード]=1301", {"1301"}},   // as a Japanese input method types it
        {1001, false, "1301 or 1=1", nullptr, {}},
        {1001, false, "", nullptr, {}},
        {1001, false, std::nullopt, nullptr, {}},
        {1022, false, "7203", " and [コード]=7203", {}},          // not in the list
        {1022, false, "1332", " and [コード]=1332", {"1332"}},
        {1001, true, "水産", "where [銘柄] like '*水産*'", {"1332"}},
        {1001, true, "O'Neil", "where [銘柄] like '*O''Neil*'", {"8001"}},
        {1023, true, "極", " and [銘柄] like '*極*'", {"1301"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.value_or("(cancel)").toStdString());
        Form6& f = open(c.menuMode, kTwoCodes);
        const QStringList before = codes(f);
        const QString base = Module1::TrendBaseSql;
        seam->answerInput(c.answer);
        if (c.byName) f.Command34->doClick();
        else f.Command33->doClick();
        const QString prompt = c.byName ? "検索する銘柄を入力してください" : "検索するコードを入力してください";
        EXPECT_EQ(seam->inputPrompts().back(), prompt);
        if (c.appended) {
            EXPECT_EQ(f.Data1->RecordSource, base + QString::fromUtf8(c.appended));
            EXPECT_EQ(codes(f), c.found);
        } else {
            EXPECT_EQ(f.Data1->RecordSource, base);
            EXPECT_EQ(codes(f).size(), before.size());
        }
        EXPECT_EQ(f.Text7->Text(), QString::number(f.MSFlexGrid1->Rows() - 1));
        f.Command5_Click();
    }
}

TEST_F(Form6Test, RestoreAndSortExecution) {
    Form6& f = open(1001);
    seam->answerInput("1301");
    f.Command33->doClick();
    ASSERT_EQ(codes(f), QStringList({"1301"}));
    f.Command10->doClick();
    EXPECT_EQ(f.Data1->RecordSource, kAll);
    EXPECT_EQ(f.MSFlexGrid1->Col(), 5);
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 5), "A1");   // by unit, generic ascending
    // Sort on a change column, generic ascending; on the fixed column nothing moves.
    f.MSFlexGrid1->setCol(8);
    f.Command13->doClick();
    EXPECT_EQ(codes(f), QStringList({"1332", "1301", "7203", "8001"}));
    f.MSFlexGrid1->setCol(0);
    f.Command13->doClick();
    EXPECT_EQ(codes(f), QStringList({"1332", "1301", "7203", "8001"}));
    seam->answerMsgBox(ui::vbOK);
    f.Command1->doClick();
    EXPECT_EQ(seam->events.back().title, "並び替え");
    EXPECT_EQ(seam->msgBoxPrompts().back(),
              "列の見出し（コード or 日付 or 市場 or　株価 or　DP or　情報源）をクリックしてください\r\n昇順に並び替えを行います.");
}

TEST_F(Form6Test, ExtractionRestrictsToTheListCodes) {
    std::vector<int> many;
    for (int i = 0; i < 101; ++i) many.push_back(i == 0 ? 1301 : i == 100 ? 1332 : 2000 + i);
    QString manyText = "([コード]=1301";
    for (int i = 1; i < 100; ++i) manyText += QStringLiteral(" Or  [コード]=%1").arg(2000 + i);
    manyText += ")";
    struct Case {
        int menuMode;
        std::vector<int> list;
        QString appended;
        QStringList found;   // by ratio1, numeric descending
    } cases[] = {
        {1001, {}, "where [コード]=1000", {}},
        {1001, {1332}, "where [コード]=1332", {"1332"}},
        {1001, {7203, 1301}, " where ([コード]=7203 Or  [コード]=1301)", {"7203", "1301"}},
        {1001, many, " where " + manyText, {"1301"}},   // row 101 (1332) is passed over
        {1022, {7203, 1301}, " and ([コード]=7203 Or  [コード]=1301)", {"1301"}},
        {1022, {1332}, " and [コード]=1332", {"1332"}},
        {1022, {}, " and [コード]=1000", {}},
        {1022 /* over an empty list */, {1332}, "where [コード]=1332", {"1332"}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        for (const char* table : {"checklist", "trend"}) {
            resetList(table, c.list);
            Form6& f = open(c.menuMode, i == std::size(cases) - 1 ? kAll : kTwoCodes);
            const QString base = Module1::TrendBaseSql;
            if (QString(table) == "checklist") f.Command16->doClick();
            else f.Command26->doClick();
            EXPECT_EQ(f.Data1->RecordSource, base + c.appended) << table;
            EXPECT_EQ(codes(f), c.found) << table;
            EXPECT_EQ(f.MSFlexGrid1->Col(), 8);
            EXPECT_EQ(f.Text7->Text(), QString::number(c.found.size()));
            f.Command5_Click();
        }
    }
}

TEST_F(Form6Test, ExtractionWithANonNumericCodeSendsNoQuery) {
    resetList("checklist", {1301});
    lists()->executeRaw("update [checklist] set [コード] = '1301 or 1=1'");
    Form6& f = open(1001);
    f.Command16->doClick();
    EXPECT_EQ(f.Data1->RecordSource, kAll);
    EXPECT_EQ(codes(f).size(), 4);
}

TEST_F(Form6Test, DoubleClickRegistersOnlyADataRowWithACode) {
    resetList("trend", {});
    Form6& f = open(1001);
    auto trendRows = [] {
        platform::Recordset rs = lists()->openRecordset("select * from [trend]");
        return rs.recordCount();
    };
    // Row 0, the header row that every pattern leaves current: nothing.
    f.MSFlexGrid1->setRow(0);
    f.MSFlexGrid1_DblClick();
    EXPECT_EQ(trendRows(), 0);
    // A data row: one entry, whichever column, and the trend watch list shows it.
    const int r = rowOf(f, "1332");
    f.MSFlexGrid1->setRow(r);
    f.MSFlexGrid1->setCol(12);
    f.MSFlexGrid1_DblClick();
    platform::Recordset rs = lists()->openRecordset("select * from [trend]");
    ASSERT_EQ(rs.recordCount(), 1);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields("コード").toInt(), 1332);
    EXPECT_EQ(rs.Fields("銘柄").toString(), "日本水産");
    EXPECT_EQ(rs.Fields("市場").toString(), "名古１部");
    EXPECT_EQ(rs.Fields("単位").toString(), "F1000");
    EXPECT_EQ(rs.Fields("date").toString(), QDate::currentDate().toString("yy/MM/dd"));
    EXPECT_TRUE(Form17::it().isVisible());
    EXPECT_EQ(Form17::it().MSFlexGrid1->Rows(), 2);
    // A row whose code cell is not a number: nothing.
    f.MSFlexGrid1->setTextMatrix(r, 3, "13x2");
    f.MSFlexGrid1_DblClick();
    EXPECT_EQ(trendRows(), 1);
}

TEST_F(Form6Test, LinksBuildTheirAddressesFromTheCurrentRow) {
    using chart::Site;
    using chart::siteBase;
    Form6& f = open(1001);
    struct Case {
        const char* code;
        ui::LinkLabel* Form6::*link;
        QString address;
    } cases[] = {
        {"1301", &Form6::HprLnkEx6, siteBase(Site::Quote) + "/q?s=1301.t" + chart::QuoteParams1Y()},
        {"1301", &Form6::HprLnkEx2, siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=1301.t" + chart::ChartParams120B3()},
        {"1332", &Form6::HprLnkEx1, siteBase(Site::Quote) + "/q?s=1332" + chart::QuoteParams3M()},
        {"1332", &Form6::HprLnkEx2, siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=1332.n" + chart::ChartParams120B3()},
        {"7203", &Form6::HprLnkEx2, siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203" + chart::QuoteParams6M()},
        {"8001", &Form6::HprLnkEx16, siteBase(Site::Quote) + "/q?s=8001" + chart::QuoteParams5Y()},
        {"8001", &Form6::HprLnkEx17, siteBase(Site::SecondChart) + "/smartchart.cfr?Scode=8001"},
        {"8001", &Form6::HprLnkEx3, siteBase(Site::IndexPage) + "/tknnk0.html "},
        {"8001", &Form6::HprLnkEx14, siteBase(Site::Quote) + "/q?s=998407.o" + chart::QuoteParams6M()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        f.MSFlexGrid1->setRow(rowOf(f, c.code));
        EXPECT_EQ(f.Text1->Text(), c.code);
        (f.*c.link)->doClick();
        ASSERT_FALSE(seam->urls.isEmpty());
        EXPECT_EQ(seam->urls.back(), c.address);
    }
}

TEST_F(Form6Test, PatternButtonsStandWhereTheCatalogueSaysAndApplyTheirRecord) {
    Form6& f = open(1022, kTwoCodes);
    for (const trend::TrendPattern& p : f.patterns()) {
        ui::CommandButton* b = f.patternButton(p.control);
        ASSERT_NE(b, nullptr) << p.control.toStdString();
        EXPECT_EQ(b->Caption().remove('\n'), p.caption);
        EXPECT_EQ(b->Left(), p.left);
        EXPECT_EQ(b->Top(), p.top);
        EXPECT_EQ(b->BackColor(), p.faceColor);
        EXPECT_TRUE(b->isEnabled());
        EXPECT_EQ(b->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    }
    // The second R1 lies beneath the first: a mouse click on the spot reaches the first.
    ui::CommandButton* r1 = f.patternButton("Command23");
    ASSERT_NE(r1, nullptr);
    EXPECT_EQ(r1->parentWidget()->childAt(r1->geometry().center()), r1);
    ui::CommandButton* riser = f.patternButton("Command50");
    ASSERT_NE(riser, nullptr);
    EXPECT_NE(f.groupLabel("Label3"), nullptr);
    riser->doClick();
    // The and-form over the list: both listed stocks rose 8 points or more, no stock outside.
    EXPECT_TRUE(f.Data1->RecordSource.startsWith(kTwoCodes + " and "));
    EXPECT_EQ(codes(f), QStringList({"1332", "1301"}));
    EXPECT_EQ(riser->BackColor(), trend::PatternMarkColor);
    EXPECT_EQ(f.MSFlexGrid1->Row(), 0);
    EXPECT_EQ(f.MSFlexGrid1->CellBackColor(), 0x8080FFu);
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 8), "1日前");
    // Tab from OK reaches the buttons above the client area and the one beneath another.
    QSet<QWidget*> reached;
    for (QWidget* w = f.Command5->nextInFocusChain(); w && w != f.Command5; w = w->nextInFocusChain()) reached << w;
    for (const char* name : {"Command57", "Command6", "Command60", "Command71", "Command3"})
        EXPECT_TRUE(reached.contains(f.patternButton(name))) << name;
    // Space clicks a button above the client area.
    if (ui::CommandButton* d3 = f.patternButton("Command60")) {
        QTest::keyClick(d3, Qt::Key_Space);
        EXPECT_EQ(d3->BackColor(), trend::PatternMarkColor);
        EXPECT_EQ(riser->BackColor(), trend::PatternMarkColor);   // earlier marks stay
    }
}

TEST_F(Form6Test, HelpControls) {
    Form6& f = open(1001);
    seam->answerMsgBox(ui::vbOK);
    f.Label10_Click();
    QStringList lines = seam->msgBoxPrompts().back().split("\r\n");
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "ｎ日前の欄の値を　Ｘ　とすると");
    EXPECT_EQ(lines[1], QString(49, '-'));
    EXPECT_EQ(lines[4], "ｎ日前が　　２０　ならば　直近より２０％　高い");
    EXPECT_EQ(lines[7], "");
    EXPECT_TRUE(seam->events.back().title.isNull());   // the program's name
    f.Command5_Click();

    setUnit("week");
    Form5::it().Unload();
    Form6& g = open(1001);
    seam->answerMsgBox(ui::vbOK);
    g.Label10_Click();
    lines = seam->msgBoxPrompts().back().split("\r\n");
    EXPECT_EQ(lines[2], "Ｘ=（ｎ週前の株価／直近の株価*100）-100　（％）");
    EXPECT_EQ(lines[5], "ｎ週前のＸが　－２５　ならば　直近より２５％　安い");

    setUnit("Month");
    Form5::it().Unload();
    const size_t shown = seam->events.size();
    g.Label10_Click();   // an unknown unit word shows nothing
    EXPECT_EQ(seam->events.size(), shown);

    seam->answerMsgBox(ui::vbOK);
    g.Command78->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().back(), "移動平均を用いて上昇銘柄をリストアップします");
    EXPECT_FALSE(seam->events.back().title.isNull());   // an empty title of its own
    EXPECT_TRUE(seam->events.back().title.isEmpty());
    g.Command40->doClick();
    EXPECT_TRUE(Form13::it().isVisible());
    g.Command52->doClick();
    EXPECT_TRUE(Form17::it().isVisible());
    g.Command72->doClick();
    EXPECT_TRUE(Form23::it().isVisible());
    EXPECT_TRUE(g.isVisible());
}

// Captions too long for their controls at the window's font are drawn smaller, whole, on one line
// (which captions need it depends on the faces installed).
TEST_F(Form6Test, CaptionsTooLongForTheirControlsAreDrawnWholeInASmallerFont) {
    Form6& f = open(1001);
    auto* rising = f.findChild<ui::Label*>("Label5");
    auto* ranking = f.findChild<ui::Label*>("Label3");
    ASSERT_TRUE(rising && ranking);
    for (auto [w, caption, drawn] : std::vector<std::tuple<QWidget*, QString, QFont>>{
             {rising, rising->Caption(), rising->captionFont()},
             {ranking, ranking->Caption(), ranking->captionFont()},
             {f.Command52, f.Command52->Caption(), f.Command52->captionFont()}}) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_LE(QFontMetrics(drawn).horizontalAdvance(caption), w->width());
        EXPECT_LE(QFontMetrics(drawn).height(), w->height());
        EXPECT_LE(drawn.pointSizeF(), w->font().pointSizeF());
    }
    // "トレンド" needs more than its button's width at the window's font with every face at hand.
    EXPECT_LT(f.Command52->captionFont().pointSizeF(), f.Command52->font().pointSizeF());
    // Every caption of the screen fits its control so.
    for (ui::Label* l : f.findChildren<ui::Label*>())
        if (l->isVisible() && !l->Caption().isEmpty())
            EXPECT_GT(l->captionFont().pointSizeF(), 6.0) << l->objectName().toStdString();
}

// The screen as a person sees it, over demo data after a pattern click (saved for a look).
TEST_F(Form6Test, GrabOverDemoData) {
    demo::Options options;
    options.totalStocks = 400;
    options.cards = 0;
    options.workbooks = false;
    platform::Database::releaseUnused();
    QFile::remove(platform::mainDatabasePath());
    QFile::remove(platform::listDatabasePath());
    demo::generate(qEnvironmentVariable("XDG_DATA_HOME"), options);
    Form6& f = open(1001);
    ASSERT_GT(f.MSFlexGrid1->Rows(), 100);
    f.patternButton("Command18")->doClick();
    f.patternButton("Command24")->doClick();
    EXPECT_TRUE(f.grab().save("/tmp/quenara_form6.png"));
}

// A pattern without the error guard reports a database failure in a message box; the screen
// stays, its rows stay, and a guarded pattern fails silently.
TEST_F(Form6Test, UnguardedPatternReportsAFailureAndTheScreenGoesOn) {
    Form6& f = open(1001);
    const trend::TrendPattern* unguarded = nullptr;
    const trend::TrendPattern* guarded = nullptr;
    for (const trend::TrendPattern& p : f.patterns()) (p.errorTrap ? guarded : unguarded) = &p;
    ASSERT_TRUE(unguarded && guarded);
    Module1::TrendBaseSql = "select * from [list1plus-missing]";
    f.patternButton(guarded->control)->doClick();
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
    seam->answerMsgBox(ui::vbOK);
    f.patternButton(unguarded->control)->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_EQ(f.patternButton(unguarded->control)->BackColor(), trend::PatternMarkColor);
    EXPECT_EQ(codes(f).size(), 4);
    EXPECT_TRUE(Form6::isLoaded());
}

// The hidden code and market boxes, and with them the stock links, follow the current row right
// after the load (whose sort by code puts another stock first than the rows came in) and after
// every sort and refresh; with the header row current (a tinted pattern) a link has no stock.
TEST_F(Form6Test, LinksFollowTheCurrentRowAfterTheLoadSortsAndRefreshes) {
    mainDb()->executeRaw("delete from [list]");
    addStocks({
        {8001, "O'Neil", "マザー", "A1", {5, 0, 0, 0, 0, 0, 0, 0, 0}},
        {7203, "トヨタ", "ナスダック", "D100", {2, 0, 0, 0, 0, 0, 0, 0, 0}},
        {1332, "日本水産", "名古１部", "F1000", {-30, 0, 0, 0, 0, 0, 0, 0, 0}},
        {1301, "極洋", "東証１部", "D100", {-9, -1, 0, 0, 0, 0, 0, 0, 0}},
    });
    Form6& f = open(1001);
    const auto linkCode = [&] {
        f.HprLnkEx17->doClick();   // the second chart site: the code ends the address
        return seam->urls.isEmpty() ? QString() : seam->urls.back().section(QStringLiteral("Scode="), 1);
    };
    const auto current = [&] { return f.MSFlexGrid1->TextMatrix(f.MSFlexGrid1->Row(), 3); };
    EXPECT_EQ(current(), "1301");
    EXPECT_EQ(linkCode(), "1301");
    EXPECT_EQ(f.Text2->Text(), "東証１部");
    f.MSFlexGrid1->setCol(8);   // ratio1, ascending: 1332 comes first
    f.Command13_Click();
    EXPECT_EQ(current(), "1332");
    EXPECT_EQ(linkCode(), "1332");
    EXPECT_EQ(f.Text2->Text(), "名古１部");
    seam->answerInput(QStringLiteral("7203"));
    f.Command33_Click();   // the code search: a refresh down to one row
    EXPECT_EQ(linkCode(), "7203");
    f.Command10_Click();   // the restore: a refresh, then a sort by unit
    EXPECT_EQ(linkCode(), current());
    f.MSFlexGrid1->setRow(0);
    EXPECT_EQ(f.Text1->Text(), QString());
}
