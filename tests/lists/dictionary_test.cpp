#include <QDate>
#include "list_fixture.h"

// The dictionary over the main database's price table.
class Dictionary : public ListFixture {
protected:
    void SetUp() override {
        ListFixture::SetUp();
        platform::ensureMainDatabase(platform::mainDatabasePath());
        Module1::MainDbPath = platform::mainDatabasePath();
    }
    static QStringList columnOf(const ui::FlexGrid* g, int c) { return gridColumn(g, c); }
};

// MenuMode at the double-click chooses the list; the caption of Command3 follows MenuMode at load.
TEST_F(Dictionary, RegistrationTargetByMenuMode) {
    struct Case {
        int menuMode;
        const char* table;
        const char* caption;
        bool staysVisible;
    };
    const Case cases[] = {
        {201, "mylist", "手持ち銘柄の登録", true},
        {202, "checklist2", "特別注目銘柄の登録", false},
        {0, "checklist2", "特別注目銘柄の登録", false},
    };
    const QString today = QDate::currentDate().toString("yy/MM/dd");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menuMode);
        Module1::MenuMode = c.menuMode;
        Form20& d = Form20::it();
        d.Show();
        EXPECT_EQ(d.Command3->Caption(), QString::fromUtf8(c.caption));
        ASSERT_GT(d.MSFlexGrid1->Rows(), 3);
        d.MSFlexGrid1->setRow(3);
        const QStringList row = {d.MSFlexGrid1->TextMatrix(3, 3), d.MSFlexGrid1->TextMatrix(3, 2),
                                 d.MSFlexGrid1->TextMatrix(3, 4), d.MSFlexGrid1->TextMatrix(3, 5), today};
        d.MSFlexGrid1->DblClick();
        d.MSFlexGrid1->setRow(3);    // the same row again (list-base keeps the order of list)
        d.MSFlexGrid1->DblClick();
        d.MSFlexGrid1->setRow(0);    // a double-click on the header row registers nothing
        d.MSFlexGrid1->DblClick();
        const QString table = QString::fromUtf8(c.table);
        EXPECT_EQ(column(table, "コード"), QStringList({row[0], row[0]}));
        EXPECT_EQ(column(table, "銘柄"), QStringList({row[1], row[1]}));
        EXPECT_EQ(column(table, "市場"), QStringList({row[2], row[2]}));
        EXPECT_EQ(column(table, "単位"), QStringList({row[3], row[3]}));
        EXPECT_EQ(column(table, "date"), QStringList({today, today}));
        // The target window's grid shows the entries at once.
        ui::FlexGrid* target = c.menuMode == 201 ? Form12::it().MSFlexGrid1 : Form31::it().MSFlexGrid1;
        EXPECT_EQ(target->Rows(), 3);
        EXPECT_EQ(d.Data1->RecordSource, "select * from [list-base]");
        EXPECT_EQ(d.isVisible(), c.staysVisible);
        startOver();
    }
}

// Searches: the name anywhere, quotes doubled; a code prefix of digits (full-width ones too); any
// other code answer shows no stock; an empty answer or a cancel changes nothing.
TEST_F(Dictionary, Searches) {
    Form4& d = Form4::it();
    const QString someName = d.MSFlexGrid1->TextMatrix(10, 2);
    const QString part = someName.mid(1, 2);
    const int allRows = d.MSFlexGrid1->Rows();

    enum class Shows { Same, Hits, NoStock };
    struct Case {
        const char* what;
        bool byName;
        std::optional<QString> answer;
        Shows shows;
        QString prefix = {};   // what each code found begins with
    };
    const Case cases[] = {
        {"part of a name", true, part, Shows::Hits},
        {"a quote in the name finds no stock", true, QString("O'Neil"), Shows::NoStock},
        {"code prefix", false, QString("72"), Shows::Hits, "72"},
        {"code prefix with blanks", false, QString(" 13 "), Shows::Hits, "13"},
        {"full-width code prefix", false, QString("７２"), Shows::Hits, "72"},
        {"full-width prefix, ideographic blank", false, QString("１３　"), Shows::Hits, "13"},
        {"a code written with a point", false, QString("72.0"), Shows::Hits, "72"},
        {"an expression in place of a code", false, QString("1 or 1=1"), Shows::NoStock},
        {"a negative number", false, QString("-1"), Shows::NoStock},
        {"a quote in the code", false, QString("7'"), Shows::NoStock},
        {"a wildcard in the code", false, QString("*"), Shows::NoStock},
        {"empty name", true, QString(""), Shows::Same},
        {"cancelled name", true, std::nullopt, Shows::Same},
        {"cancelled code", false, std::nullopt, Shows::Same},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d.Data1->RecordSource = "select * from [list]";
        d.Data1->Refresh();
        seam->answerInput(c.answer);
        (c.byName ? d.Command2 : d.Command4)->doClick();
        EXPECT_EQ(seam->events.back().title, "検索");
        if (c.shows == Shows::Same) {
            EXPECT_EQ(d.Data1->RecordSource, "select * from [list]");
            EXPECT_EQ(d.MSFlexGrid1->Rows(), allRows);
            continue;
        }
        EXPECT_TRUE(d.Data1->RecordSource.startsWith("select * from [list-base] where "));
        const QStringList hits = columnOf(d.MSFlexGrid1, c.byName ? 2 : 3);
        if (c.shows == Shows::NoStock) {
            EXPECT_TRUE(hits.isEmpty()) << hits.join(' ').toStdString();
            continue;
        }
        EXPECT_FALSE(hits.isEmpty());
        EXPECT_LT(hits.size(), allRows - 1);
        for (const QString& h : hits) {
            if (c.byName) EXPECT_TRUE(h.contains(*c.answer)) << h.toStdString();
            else EXPECT_TRUE(h.startsWith(c.prefix)) << h.toStdString();
        }
        if (c.answer == part) EXPECT_TRUE(hits.contains(someName));
    }
    EXPECT_EQ(seam->inputPrompts().first(),
              "銘柄をえらびます。  \r\n含まれる文字の１部を入力してください  ");
}

// Each dictionary keeps its own rows; OK unloads; the close box is refused.
TEST_F(Dictionary, TwoWindowsOfTheirOwn) {
    Form4& a = Form4::it();
    Form20& b = Form20::it();
    const int all = b.MSFlexGrid1->Rows();
    seam->answerInput(QString("72"));
    a.Command4->doClick();
    EXPECT_EQ(b.MSFlexGrid1->Rows(), all);
    EXPECT_EQ(b.Data1->RecordSource, "select * from [list]");

    b.Show();
    b.close();
    EXPECT_TRUE(b.isVisible());
    b.Command1->doClick();
    EXPECT_FALSE(Form20::isLoaded());
    EXPECT_TRUE(Form4::isLoaded());
}

TEST_F(Dictionary, HoldingsButtonShowsHoldingsWhateverItsCaption) {
    Module1::MenuMode = 202;
    Form20::it().Show();
    Form20::it().Command3->doClick();
    EXPECT_TRUE(Form12::it().isVisible());
    Form20::it().grab().save("/tmp/quenara_form20.png");   // for a person to look at
}

// The collection editor's code look-up over Form4, whatever row source Form4 holds.
TEST_F(Dictionary, CodeLookUp) {
    ui::FlexGrid* g = Form4::it().MSFlexGrid1;
    const lists::StockFacts known{g->TextMatrix(5, 3), g->TextMatrix(5, 4), g->TextMatrix(5, 5), g->TextMatrix(5, 2)};
    const QString other = g->TextMatrix(6, 3);
    struct Case {
        QString code;
        bool found;
    };
    for (const Case& c : {Case{known.code, true}, Case{"1001", false}, Case{"1000", false},
                          Case{known.code + " or 1=1", false}, Case{"", false}}) {
        SCOPED_TRACE(c.code.toStdString());
        const auto f = lists::lookUpCode(c.code);
        ASSERT_EQ(f.has_value(), c.found);
        if (f) {
            EXPECT_EQ(f->market, known.market);
            EXPECT_EQ(f->unit, known.unit);
            EXPECT_EQ(f->name, known.name);
        }
    }
    // After a search that leaves the code out, the look-up finds nothing (not the first hit).
    Form4::it().Data1->RecordSource = lists::nameSearchSql(known.name);
    Form4::it().Data1->Refresh();
    const auto f = lists::lookUpCode(other);
    EXPECT_TRUE(!f || f->code == other);
}
