#include <gtest/gtest.h>
#include "card_fixture.h"

using card_testing::Card;
using trend_testing::Stock;

namespace {

const QString kAll = "select * from [a000-all]";
const QString k1bu = "select * from [a000-1bu]";

class FiltersTest : public card_testing::CardScreenTest {
protected:
    void SetUp() override {
        CardScreenTest::SetUp();
        // Latest prices: 1301 at 500, 1332 at 501, 7203 at 10, 8001 without prices.
        addStocks({{1301, "極洋", "東証１部", "D100", {}}, {1332, "日本水産", "東証１部", "D100", {}},
                   {7203, "トヨタ", "東証１部", "D100", {}}});
        mainDb()->executeRaw("update [list] set kabuka1 = 500 where コード = 1301");
        mainDb()->executeRaw("update [list] set kabuka1 = 501 where コード = 1332");
        mainDb()->executeRaw("update [list] set kabuka1 = 10 where コード = 7203");
        addCards({
            {1301, "日経新聞", 0},            // ID 1
            {1332, "四季報", 1},              // ID 2
            {7203, " 日経新聞", 13},          // ID 3
            {8001, "O'Brien's", 14},          // ID 4
            {1301, "四季報", 150},            // ID 5
            {1332, "日経平均", 151},          // ID 6
            {7203, "四季報", 200, "マザーズ", "?"},   // ID 7
        });
    }
};

}  // namespace

// "X日": the day answer, then the price level; each answer converted, never put into SQL.
TEST_F(FiltersTest, PeriodAndPriceLevel) {
    struct Case {
        int menuMode;
        std::optional<QString> days;
        std::vector<std::optional<QString>> levels;   // answers to the level question, in order
        QString appended;                              // after the base; empty: no query sent
        QStringList ids;
        int level;
    } cases[] = {
        {1, "14", {"0"}, "where [日付] between #" + today() + "#  And #" + today(13) + "#", {"1", "2", "3"}, 0},
        {1, "14", {"1"}, "where [kabuka1] between 10 And 500 and  [日付] between #" + today() + "#  And #" + today(13) + "#",
         {"1", "3"}, 1},
        {1, std::nullopt, {std::nullopt}, "where [日付] between #" + today() + "#  And #" + today() + "#", {"1"}, 0},
        {1, "", {"x"}, "where [日付] between #" + today() + "#  And #" + today() + "#", {"1"}, 0},
        {1, "0", {"0"}, "where [日付] between #" + today() + "#  And #" + today(-1) + "#", {"1"}, 0},
        {1, "1.5", {"0"}, "where [日付] between #" + today() + "#  And #" + today(1) + "#", {"1", "2"}, 0},
        // 7 and 6.6 are asked again; 2.5 rounds to 2.
        {1, "2", {"7", "6.6", "2.5"}, "where [kabuka1] between 500 And 1000 and  [日付] between #" + today() + "#  And #" + today(1) + "#",
         {"1", "2"}, 2},
        // Blanks inside the answer are ignored; 3.5 rounds to 4.
        {1, "2", {" 3 .5円"}, "where [kabuka1] between 5000 And 10000 and  [日付] between #" + today() + "#  And #" + today(1) + "#",
         {}, 4},
        {12, "14", {"0"}, "and [日付] between #" + today() + "#  And #" + today(13) + "#", {"1", "3"}, 0},
        {1, "99999999999", {"0"}, "", {}, 0},   // no such day: nothing is sent
        // Full-width digits are digits, in the day answer and in the level.
        {1, "１４", {"１"}, "where [kabuka1] between 10 And 500 and  [日付] between #" + today() + "#  And #" + today(13) + "#",
         {"1", "3"}, 1},
        {1, "１．５", {"２．５"}, "where [kabuka1] between 500 And 1000 and  [日付] between #" + today() + "#  And #" + today(1) + "#",
         {"1", "2"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days.value_or("(cancel)").toStdString());
        const QString base = c.menuMode == 12 ? kAll + " where ([コード]=1301 Or  [コード]=7203)" : k1bu;
        Form16& f = open(c.menuMode, base);
        seam->answerInput(c.days);
        for (const auto& l : c.levels) seam->answerInput(l);
        f.Command35->doClick();
        EXPECT_TRUE(seam->allAnswersUsed());
        EXPECT_EQ(f.Data1->RecordSource, base + c.appended);
        EXPECT_EQ(f.PriceLevel, c.level);
        QStringList got = ids(f);
        got.sort();
        if (!c.appended.isEmpty()) EXPECT_EQ(got, c.ids);
        // Ordered by code, highest first.
        QStringList byCode = codes(f);
        QStringList sorted = byCode;
        std::sort(sorted.begin(), sorted.end(), std::greater<QString>());
        EXPECT_EQ(byCode, sorted);
        close(f);
    }
    const auto inputs = seam->events;
    EXPECT_EQ(inputs[0].prompt, "今日から何日前までの日数を入力してください。");
    EXPECT_EQ(inputs[0].title, "何日前の情報を取り出しますか");
    EXPECT_EQ(inputs[0].defaultAnswer, "14");
    EXPECT_EQ(inputs[1].title, "株価レベル");
    EXPECT_EQ(inputs[1].defaultAnswer, "0");
    EXPECT_EQ(inputs[1].prompt, "株価水準を選んでください\r\n\r\n0=（制限なし）\r\n\r\n1=（10-500円）  ；2=（500-1000円）\r\n"
                                "3=（1000-5000円）；4=（5000--10000円）\r\n5=(1万円-10万円)　;6=　(10万円以上) ");
}

// A day answer that is no number by the program's one rule is told, in each extraction by period
// ("X日", the cell value, the one stock); nothing more is asked or extracted.
TEST_F(FiltersTest, ADayAnswerThatIsNoNumberIsTold) {
    Form16& f = open(1, k1bu);
    const QString before = f.Data1->RecordSource;
    for (ui::CommandButton* button : {f.Command35, f.Command9, f.Command62}) {
        for (const char* days : {"abc", "1e3", "14日", "1,000"}) {
            SCOPED_TRACE(button->objectName().toStdString() + " " + days);
            f.MSFlexGrid1->setRow(1);
            f.MSFlexGrid1->setCol(5);   // the one-stock extraction takes a code cell
            seam->answerInput(QString::fromUtf8(days));
            seam->answerMsgBox(ui::vbOK);
            button->doClick();
            EXPECT_TRUE(seam->allAnswersUsed());
            EXPECT_EQ(seam->msgBoxPrompts().last(), QStringLiteral("日数は数字で入力してください。何も抽出しません。\r\n") + QString::fromUtf8(days));
            EXPECT_EQ(f.Data1->RecordSource, before);
        }
    }
}

// A level that fits no 16-bit number keeps the level in force; a negative one keeps the bounds.
TEST_F(FiltersTest, PriceLevelKeptWhileLoaded) {
    Form16& f = open(1, k1bu);
    for (const char* level : {"1", "99999", "-1"}) {
        SCOPED_TRACE(level);
        seam->answerInput("14");
        seam->answerInput(QString::fromLatin1(level));
        f.Command35->doClick();
        EXPECT_EQ(f.Data1->RecordSource, k1bu + "where [kabuka1] between 10 And 500 and  [日付] between #" + today() +
                                             "#  And #" + today(13) + "#");
    }
    EXPECT_EQ(f.PriceLevel, -1);
}

// The five list extractions read column 2 of the list windows' grids, with their caps, windows
// and joiners; codes go in only as whole numbers and sources quoted.
TEST_F(FiltersTest, ListExtractions) {
    const QString w150 = "#" + today(150) + "#  And #" + today() + "#";
    const QString w200 = "#" + today(200) + "#  And #" + today() + "#";
    QStringList many;
    for (int i = 0; i < 100; ++i) many << QString::number(2000 + i);
    many << "1301";   // the 101st entry is left out
    QString manyChain = "[コード]=2000";
    for (int i = 1; i < 100; ++i) manyChain += " Or  [コード]=" + QString::number(2000 + i);
    QStringList manySources;
    QString sourceChain = "[情報源]='s0'";
    for (int i = 0; i < 200; ++i) manySources << "s" + QString::number(i);
    for (int i = 1; i < 200; ++i) sourceChain += " Or [情報源]= 's" + QString::number(i) + "'";
    manySources << "日経新聞";   // the 201st source is left out
    struct Case {
        const char* list;
        QStringList entries;
        int menuMode;
        QString appended;   // empty: no query sent
        QStringList ids;
    } cases[] = {
        {"Form13", {"1301", "7203"}, 1, " where [日付] between " + w150 + " And ([コード]=1301 Or  [コード]=7203)", {"1", "3", "5"}},
        {"Form13", {"1301"}, 1, " where [日付] between " + w150 + "and [コード]=1301", {"1", "5"}},
        {"Form13", {}, 1, " where [日付] between " + w150 + "and [コード]=1000", {}},
        {"Form13", {"1301"}, 12, " and [日付] between " + w150 + "and [コード]=1301", {"1", "5"}},
        {"Form13", many, 1, " where [日付] between " + w150 + " And (" + manyChain + ")", {}},
        {"Form13", {"1301", "1 or 1=1"}, 1, "", {}},
        {"Form12", {"1301", "7203"}, 1, " where [日付] between " + w200 + "  And ([コード]=1301 Or [コード]=7203)", {"1", "3", "5"}},
        {"Form17", {"7203", "1332"}, 1, " where [日付] between " + w200 + " And ([コード]=7203 Or  [コード]=1332)", {"2", "3", "6"}},
        {"Form31", {"1301", "7203"}, 1, " where ([コード]=1301 Or  [コード]=7203) and [日付] between " + w200, {"1", "3", "5"}},
        {"Form31", {"1301"}, 1, "where ([コード]=1301) and [日付] between " + w200, {"1", "5"}},
        {"Form31", {}, 1, "where [コード]=1000", {}},
        {"Form31", {"1301", "7203"}, 12, " and ( [コード]=1301 Or  [コード]=7203) and [日付] between " + w200, {"1", "3", "5", "7"}},
        {"Form14", {" 日経新聞", "O'Brien's"}, 10, " where [日付] between " + w200 + " and ([情報源]='日経新聞' Or [情報源]= 'O''Brien''s')",
         {"1", "4"}},
        {"Form14", {" 日経新聞"}, 10, " where [日付] between " + w200 + " and [情報源]= ' 日経新聞'", {"3"}},
        {"Form14", manySources, 10, " where [日付] between " + w200 + " and (" + sourceChain + ")", {}},
        {"Form14", {}, 10, " where [日付] between " + w200 + " and  [情報源] like'日経平均'", {"6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " " + c.entries.join(",").left(40).toStdString());
        const QString window = QString::fromLatin1(c.list);
        if (window == "Form13") setList<Form13>("checklist", c.entries);
        if (window == "Form12") setList<Form12>("mylist", c.entries);
        if (window == "Form17") setList<Form17>("trend", c.entries);
        if (window == "Form31") setList<Form31>("checklist2", c.entries);
        if (window == "Form14") setList<Form14>("情報源リスト", c.entries, "情報源");
        const QString base = c.menuMode == 12 ? kAll + " where ([コード]=1301 Or  [コード]=7203)" : c.menuMode == 1 ? k1bu : kAll;
        Form16& f = open(c.menuMode, base);
        const QString before = f.Data1->RecordSource;
        if (window == "Form14" && c.entries.isEmpty()) seam->answerMsgBox(ui::vbCancel);
        if (window == "Form13") f.Command25->doClick();
        if (window == "Form12") f.Command28->doClick();
        if (window == "Form17") f.Command69->doClick();
        if (window == "Form31") f.Command41->doClick();
        if (window == "Form14") f.Command29->doClick();
        EXPECT_TRUE(seam->allAnswersUsed());
        expectQuery(f, before, base, c.appended, c.ids, true);
        EXPECT_EQ(f.MSFlexGrid1->Col(), 5);
        close(f);
    }
    EXPECT_EQ(seam->msgBoxPrompts(), QStringList({"情報源が　ひとつも選択されていません。"}));
    EXPECT_EQ(seam->events.back().style, ui::vbOKCancel + ui::vbCritical);
    // Reading a list leaves its window hidden.
    EXPECT_FALSE(Form14::it().isVisible());
}

// Searches start from the universe; a code answer that is no whole number sends nothing, and
// quotes in a name are doubled.
TEST_F(FiltersTest, SearchesRestoreAndSort) {
    struct Case {
        int menuMode;
        bool byName;
        std::optional<QString> answer;
        QString appended;   // empty: no query
        QStringList ids;
    } cases[] = {
        {1, false, "1301", " where [コード]=1301", {"1", "5"}},
        {1, false, "１３０１", " where [コード]=1301", {"1", "5"}},   // as a Japanese input method types it
        {1, false, "1301 or 1=1", "", {}},
        {1, false, "", "", {}},
        {1, false, std::nullopt, "", {}},
        {12, false, "1332", "and [コード]=1332", {}},
        {12, false, "7203", "and [コード]=7203", {"3", "7"}},
        {10, true, "13", " where [銘柄] like '*13*'", {"1", "2", "5", "6"}},
        {10, true, "O'Neil", " where [銘柄] like '*O''Neil*'", {}},
        {10, true, std::nullopt, " where [銘柄] like '**'", {"1", "2", "3", "4", "5", "6", "7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.value_or("(cancel)").toStdString());
        const QString base = c.menuMode == 12 ? kAll + " where ([コード]=1301 Or  [コード]=7203)" : c.menuMode == 1 ? k1bu : kAll;
        Form16& f = open(c.menuMode, base);
        f.patternButton("Command42")->doClick();   // a search starts from the universe, not from the pattern
        const QString before = f.Data1->RecordSource;
        seam->answerInput(c.answer);
        (c.byName ? f.Command26 : f.Command7)->doClick();
        EXPECT_EQ(seam->events.back().prompt, c.byName ? "検索する銘柄を入力してください" : "検索するコードを入力してください");
        EXPECT_EQ(seam->events.back().title, "検索");
        expectQuery(f, before, base, c.appended, c.ids, true);
        EXPECT_EQ(f.Text7->Text(), QString::number(f.MSFlexGrid1->Rows() - 1));
        close(f);
    }
    Form16& f = open(10);
    seam->answerInput("1301");
    f.Command7->doClick();
    f.Command10->doClick();   // back to the universe, by code
    EXPECT_EQ(f.Data1->RecordSource, kAll);
    EXPECT_EQ(codes(f), QStringList({"1301", "1301", "1332", "1332", "7203", "7203", "8001"}));
    EXPECT_EQ(f.MSFlexGrid1->Col(), 5);
    f.MSFlexGrid1->setCol(3);   // dates as text, descending
    f.Command13->doClick();
    EXPECT_EQ(ids(f), QStringList({"1", "2", "3", "4", "5", "6", "7"}));
    f.MSFlexGrid1->setCol(2);   // sources, generic ascending
    f.Command13->doClick();
    EXPECT_EQ(column(f, 2).first(), " 日経新聞");
    seam->answerMsgBox(ui::vbOK);
    f.Command1->doClick();
    EXPECT_EQ(seam->events.back().title, "並び替え");
    EXPECT_EQ(seam->events.back().prompt,
              "列の見出し（コード or 日付 or 市場 or　株価 or DP  or 情報源 ）をクリックしてください\r\n"
              "→　並び替え実行　：見出しの項目を　昇順　or 降順に並び替えを行います.");
}

// The cell-value extraction takes the pressed cell's text in the current column's condition;
// the one-stock extraction takes the row's code over all cards. Texts are quoted, codes and
// dates must be what they say, and an unhandled column extracts the period alone.
TEST_F(FiltersTest, CellValueAndOneStockExtraction) {
    const QString w120 = " and [日付] between #" + today() + "#  And #" + today(119) + "#";
    struct Case {
        int menuMode;
        int col;
        QString pressed;
        std::optional<QString> days;
        QString appended;   // empty: no query sent
        QStringList ids;
    } cases[] = {
        {10, 5, "1301", "120", " where [コード] =1301" + w120, {"1"}},
        {10, 5, "1301", "1", " where [コード] =1301 and [日付] between #" + today() + "#  And #" + today() + "#", {"1"}},
        {10, 5, "1301", std::nullopt, " where [コード] =1301 and [日付] between #" + today() + "#  And #" + today() + "#", {"1"}},
        {10, 5, "1301", "１２０", " where [コード] =1301" + w120, {"1"}},
        {10, 5, "", "120", "", {}},
        {10, 2, "日経", "120", " where [情報源] like '*日経*'" + w120, {"1", "3"}},
        {10, 2, "O'Brien", "120", " where [情報源] like '*O''Brien*'" + w120, {"4"}},
        {10, 3, QDate::currentDate().addDays(-1).toString("yyyy/MM/dd"), "120",
         " where [日付] =#" + today(1) + "#" + w120, {"2"}},
        {10, 3, "#1/1/2000# or 1=1 or #", "120", "", {}},
        {10, 6, "東証１部", "120", " where [市場] like '東証１部'" + w120, {"1", "2", "3", "4"}},
        {10, 7, "?", "300", "  where [単位] like '?' and [日付] between #" + today() + "#  And #" + today(299) + "#", {"7"}},
        {10, 6, "東証'1部", "120", " where [市場] like '東証''1部'" + w120, {}},
        {10, 7, "D'100", "120", "  where [単位] like 'D''100'" + w120, {}},
        {10, 9, "500", "120", " where [日付] between #" + today() + "#  And #" + today(119) + "#", {"1", "2", "3", "4"}},
        {12, 9, "500", "120", w120, {"1", "3"}},
        {12, 5, "1301", "120", " and [コード] =1301" + w120, {"1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 %2").arg(c.col).arg(c.pressed).toStdString());
        const QString base = c.menuMode == 12 ? kAll + " where ([コード]=1301 Or  [コード]=7203)" : kAll;
        Form16& f = open(c.menuMode, base);
        f.MSFlexGrid1->setRow(1);
        f.MSFlexGrid1->setCol(c.col);
        f.MSFlexGrid1_MouseDown();
        EXPECT_EQ(f.PressedCellText, f.MSFlexGrid1->TextMatrix(1, c.col));
        f.PressedCellText = c.pressed;
        const QString before = f.Data1->RecordSource;
        seam->answerInput(c.days);
        f.Command9->doClick();
        EXPECT_EQ(seam->events.back().defaultAnswer, "120");
        expectQuery(f, before, base, c.appended, c.ids, false);   // in the row source's order
        close(f);
    }

    // One stock: from the code column only, over all cards, whatever the universe.
    Form16& f = open(12, kAll + " where ([コード]=7203)");
    f.MSFlexGrid1->setRow(1);
    f.MSFlexGrid1->setCol(4);
    const QString before = f.Data1->RecordSource;
    seam->answerMsgBox(ui::vbOK);
    f.Command62->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().back(), "コード番号のみ有効です");
    EXPECT_EQ(seam->events.back().style, ui::vbOKCancel + ui::vbExclamation);
    EXPECT_EQ(f.Data1->RecordSource, before);
    f.MSFlexGrid1->setCol(5);
    seam->answerInput("150");
    f.Command62->doClick();
    EXPECT_EQ(seam->events.back().defaultAnswer, "150");
    EXPECT_EQ(f.PressedCellText, "7203");
    EXPECT_EQ(f.Data1->RecordSource, "select * from [a000] where [コード] =7203 and [日付] between #" + today() + "#  And #" +
                                         today(149) + "#");
    EXPECT_EQ(ids(f), QStringList({"3"}));

    // A card without a whole-number code: nothing is sent, the cards on show stay.
    for (const char* code : {"", "72O3"}) {
        f.MSFlexGrid1->setTextMatrix(1, 5, QString::fromUtf8(code));
        const QString shown = f.Data1->RecordSource;
        seam->answerInput("150");
        f.Command62->doClick();
        EXPECT_EQ(f.Data1->RecordSource, shown);
        EXPECT_EQ(ids(f), QStringList({"3"}));
    }
}
