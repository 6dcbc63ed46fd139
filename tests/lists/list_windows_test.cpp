#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <functional>
#include "list_fixture.h"

namespace {

// One list window as the tests reach it.
struct Win {
    const char* name;
    QString table;
    std::function<ui::Form&()> form;
    std::function<ui::FlexGrid*()> grid;
    std::function<ui::Data*()> data;
    std::function<ui::TextBox*()> count;
};

template <class F>
Win win(const char* name, const char* table) {
    Win w{name, QString::fromUtf8(table), []() -> ui::Form& { return F::it(); },
          [] { return F::it().MSFlexGrid1; }, [] { return F::it().Data1; }, {}};
    if constexpr (requires { F::it().Text9; }) w.count = [] { return F::it().Text9; };
    else w.count = [] { return F::it().Text1; };
    return w;
}

Win form13() { return win<Form13>("Form13", "checklist"); }
Win form17() { return win<Form17>("Form17", "trend"); }
Win form31() { return win<Form31>("Form31", "checklist2"); }
Win form14() { return win<Form14>("Form14", "情報源リスト"); }
Win form12() { return win<Form12>("Form12", "mylist"); }

}  // namespace

class ListWindows : public ListFixture {};

// The activation pass: sort by column 2, delete the lower row of the first equal pair, one per
// activation; the count follows.
TEST_F(ListWindows, ActivationRemovesOneRepeatPerActivation) {
    struct Case {
        const char* what;
        Win w;
        QStringList stored;
        int activations;
        QStringList remaining;   // column 2 of the table afterwards, sorted
    };
    const Case cases[] = {
        {"no repeat", form13(), {"7203", "6758", "9984"}, 1, {"6758", "7203", "9984"}},
        {"one repeat", form13(), {"7203", "6758", "7203"}, 1, {"6758", "7203"}},
        {"three of one code, one activation", form17(), {"7203", "7203", "7203"}, 1, {"7203", "7203"}},
        {"three of one code, two activations", form31(), {"7203", "7203", "7203"}, 2, {"7203"}},
        {"two repeats take two activations", form12(), {"1111", "2222", "1111", "2222"}, 1,
         {"1111", "2222", "2222"}},
        {"two repeats, second activation", form12(), {"1111", "2222", "1111", "2222"}, 2, {"1111", "2222"}},
        {"sources differing by a trailing blank", form14(), {"日経", "日経 ", "四季報"}, 1,
         {"四季報", "日経", "日経 "}},
        {"one repeated source", form14(), {"日経", "四季報", "日経"}, 1, {"四季報", "日経"}},
        {"empty list", form13(), {}, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.w.table == "情報源リスト") insertSources(c.stored);
        else insertStocks(c.w.table, c.stored);
        for (int i = 0; i < c.activations; ++i) activate(c.w.form());
        const QString field = c.w.table == "情報源リスト" ? "情報源" : "コード";
        QStringList left = column(c.w.table, field);
        left.sort();
        EXPECT_EQ(left, c.remaining);
        EXPECT_EQ(c.w.count()->Text(), QString::number(c.remaining.size()));
        EXPECT_EQ(c.w.grid()->Rows(), c.remaining.size() + 1);
        startOver();
    }
}

TEST_F(ListWindows, WithoutRepeatsTheGridStaysSortedByCode) {
    insertStocks("checklist", {"9984", "1301", "7203"});
    activate(Form13::it());
    EXPECT_EQ(gridColumn(Form13::it().MSFlexGrid1, 2), QStringList({"1301", "7203", "9984"}));
}

// Other windows add through Data1 and read Rows and cell (r, 2); the touch loads a window hidden.
TEST_F(ListWindows, AddThroughDataControlAndReadTheGrid) {
    const QString today = QDate::currentDate().toString("yy/MM/dd");
    for (const Win& w : {form13(), form17(), form31(), form12()}) {
        SCOPED_TRACE(w.name);
        ui::Data* d = w.data();
        EXPECT_FALSE(w.form().isVisible());
        lists::addWatchEntry(*d, {"7203", "トヨタ自動車", "東証１部", "D100"});
        lists::addWatchEntry(*d, {"", "名前だけ", "?", ""});   // a code the table cannot take stays empty
        d->Refresh();
        ASSERT_EQ(w.grid()->Rows(), 3);
        EXPECT_EQ(w.grid()->TextMatrix(1, 2), "7203");
        EXPECT_EQ(w.grid()->TextMatrix(1, 3), "トヨタ自動車");
        EXPECT_EQ(w.grid()->TextMatrix(1, 4), "東証１部");
        EXPECT_EQ(w.grid()->TextMatrix(1, 6), today);
        EXPECT_EQ(w.grid()->TextMatrix(2, 2), "");
        EXPECT_EQ(w.grid()->TextMatrix(2, 3), "名前だけ");
        EXPECT_EQ(w.count()->Text(), "0");   // an add leaves the count to the next activation
    }
    ui::Data* d = Form14::it().Data1;
    lists::addSourceEntry(*d, "会社四季報");
    d->Refresh();
    ASSERT_EQ(Form14::it().MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(Form14::it().MSFlexGrid1->TextMatrix(1, 2), "会社四季報");
    EXPECT_EQ(Form14::it().MSFlexGrid1->TextMatrix(1, 3), today);
}

// "削除実行" of the watch lists deletes the first entry in table order with the selected code.
TEST_F(ListWindows, DeleteBySelectedCode) {
    insertStocks("checklist", {"7203", "6758", "7203"});
    Form13& f = Form13::it();
    const QStringList ids = column("checklist", "ID");
    f.MSFlexGrid1->setRow(3);               // the later 7203
    f.Command1->doClick();
    EXPECT_EQ(column("checklist", "ID"), QStringList({ids[1], ids[2]}));
    EXPECT_EQ(f.Text9->Text(), "2");
    f.MSFlexGrid1->setRow(0);               // the header: no code, nothing deleted
    f.Command1->doClick();
    EXPECT_EQ(column("checklist", "ID").size(), 2);
}

// Holdings: a double-click remembers the code; the criterion outlives OK; before any choice the
// delete deletes nothing.
TEST_F(ListWindows, HoldingsDeleteByRememberedCode) {
    insertStocks("mylist", {"7203", "6758", "7203"});
    Form12::it().Command5->doClick();
    EXPECT_EQ(column("mylist", "コード").size(), 3);

    Form12::it().MSFlexGrid1->setRow(2);
    Form12::it().MSFlexGrid1->DblClick();
    EXPECT_EQ(Form12::it().Text1->Text(), "3");
    Form12::it().Command3->doClick();        // OK: unloads and shows the menu
    EXPECT_FALSE(Form12::isLoaded());
    EXPECT_TRUE(Form5::it().isVisible());

    Form12::it().Command5->doClick();
    EXPECT_EQ(column("mylist", "コード"), QStringList({"7203", "7203"}));
    EXPECT_EQ(Form12::it().Text1->Text(), "2");
    Form12::it().Command5->doClick();        // no entry of that code is left
    EXPECT_EQ(column("mylist", "コード").size(), 2);

    // The table now holds a repeat: a deletion by the activation replaces the double-click's
    // choice, so the following "削除実行" deletes nothing.
    Form12::it().MSFlexGrid1->setRow(1);
    Form12::it().MSFlexGrid1->DblClick();
    activate(Form12::it());
    EXPECT_EQ(column("mylist", "コード"), QStringList({"7203"}));
    Form12::it().Command5->doClick();
    EXPECT_EQ(column("mylist", "コード"), QStringList({"7203"}));
}

// Favourite sources: a double-click only chooses; "削除実行" deletes the chosen entry by its ID,
// and both write the count.
TEST_F(ListWindows, SourcesDoubleClickChoosesAndDeleteRemovesThatEntry) {
    insertSources({"日経", "四季報", "日経"});
    Form14& f = Form14::it();
    const QStringList ids = column("情報源リスト", "ID");
    f.Text9->setText("");                    // the box shows the count again at once
    EXPECT_EQ(f.Text9->Text(), "3");
    f.MSFlexGrid1->setRow(3);
    f.MSFlexGrid1->DblClick();
    EXPECT_EQ(column("情報源リスト", "ID"), ids);
    f.Command1->doClick();
    EXPECT_EQ(column("情報源リスト", "ID"), QStringList({ids[0], ids[1]}));
    EXPECT_EQ(f.Text9->Text(), "2");
    EXPECT_EQ(f.MSFlexGrid1->Rows(), 3);
}

TEST_F(ListWindows, SourcesSortBySourceWhateverTheColumn) {
    insertSources({"日経", "会社四季報", "アナリスト"});
    Form14& f = Form14::it();
    f.MSFlexGrid1->setCol(3);
    f.Command3->doClick();
    QStringList sorted = column("情報源リスト", "情報源");
    sorted.sort();
    EXPECT_EQ(gridColumn(f.MSFlexGrid1, 2), sorted);
}

TEST_F(ListWindows, DeleteInstructionChangesNothing) {
    insertStocks("checklist", {"7203"});
    seam->answerMsgBox(ui::vbOK);
    Form13::it().Label2->Click();
    // The label acts as a button from the keyboard too: on the shown window Tab reaches it, Space runs it.
    Form13::it().Show();
    ui::Label* label = Form13::it().Label2;
    EXPECT_TRUE(label->focusPolicy() & Qt::TabFocus);
    seam->answerMsgBox(ui::vbCancel);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QCoreApplication::sendEvent(label, &space);
    ASSERT_EQ(seam->events.size(), 2u);
    EXPECT_EQ(seam->events[0].title, "マイ　リストの削除");
    EXPECT_EQ(seam->events[0].style, ui::vbOKCancel + ui::vbInformation);
    EXPECT_TRUE(seam->events[0].prompt.startsWith("削除しの準備をします\r\n"));
    EXPECT_EQ(column("checklist", "コード"), QStringList({"7203"}));
}

// The close box is refused; OK hides (and Form31 also shows the menu).
TEST_F(ListWindows, CloseBoxRefusedAndOkHides) {
    insertStocks("checklist", {"7203"});
    for (const Win& w : {form13(), form31(), form14()}) {
        SCOPED_TRACE(w.name);
        w.form().Show();
        w.form().close();
        EXPECT_TRUE(w.form().isVisible());
    }
    Form13::it().Command2->doClick();
    EXPECT_FALSE(Form13::it().isVisible());
    EXPECT_EQ(Form13::it().MSFlexGrid1->TextMatrix(1, 2), "7203");   // still loaded and readable
    EXPECT_FALSE(Form5::isLoaded() && Form5::it().isVisible());
    Form31::it().Command2->doClick();
    EXPECT_FALSE(Form31::it().isVisible());
    EXPECT_TRUE(Form5::it().isVisible());
}

// An unreadable list database: the stock lists load empty and it is said once; the handlers that
// read the selected row then skip what they cannot read, without a further message.
TEST_F(ListWindows, UnreadableListDatabase) {
    platform::Database::releaseUnused();
    QFile file(platform::listDatabasePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("this is not a database");
    file.close();

    seam->answerMsgBox(ui::vbOK);
    Form17& f = Form17::it();
    EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(f.Text9->Text(), "0");
    activate(f);
    EXPECT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->msgBoxPrompts()[0].contains("トレンド注目銘柄"));
    EXPECT_EQ(Form13::it().MSFlexGrid1->Rows(), 1);   // said once, not again by the others

    Form13::it().Command1->doClick();
    Form17::it().Command1->doClick();
    Form31::it().Command1->doClick();
    Form12::it().MSFlexGrid1->DblClick();
    Form12::it().Command5->doClick();
    Form14::it().Command1->doClick();
    Form13::it().HprLnkEx1->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(seam->urls.isEmpty());
}

// The header row holds no stock: a link clicked while it is current opens nothing.
TEST_F(ListWindows, LinksFromTheHeaderRowOpenNothing) {
    insertStocks("checklist", {"7203"});
    insertStocks("mylist", {"7203"});
    for (ui::LinkLabel* link : {Form13::it().HprLnkEx1, Form13::it().HprLnkEx2, Form12::it().HprLnkEx3}) {
        Form13::it().MSFlexGrid1->setRow(1);
        Form13::it().HprLnkEx1->doClick();   // a link from a stock first
        Form13::it().MSFlexGrid1->setRow(0);
        Form12::it().MSFlexGrid1->setRow(0);
        const qsizetype opened = seam->urls.size();
        link->doClick();
        EXPECT_EQ(seam->urls.size(), opened) << link->Name.toStdString();
        EXPECT_TRUE(link->Address.isEmpty());
    }
}

// How the watch list looks (saved for a person to look at).
TEST_F(ListWindows, Picture) {
    insertStocks("checklist", {"7203", "6758", "9984", "8306"});
    insertStocks("checklist", {"4755"}, "マザーズ");
    Form13& f = Form13::it();
    activate(f);
    f.grab().save("/tmp/quenara_form13.png");
    Form12::it().Show();
    Form12::it().grab().save("/tmp/quenara_form12.png");
}

// Each window's links take code and market from the current row and open through the browser seam.
TEST_F(ListWindows, LinksOfTheListWindows) {
    using namespace chart;
    const QString quote = siteBase(Site::Quote) + "/q?s=7203";
    const QString chartAt = siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203";
    struct Case {
        const char* what;
        Win w;
        const char* market;
        std::function<ui::LinkLabel*()> link;
        QString expected;
    };
    const Case cases[] = {
        {"watch list quote, ジャスダック", form13(), "ジャスダック", [] { return Form13::it().HprLnkEx1; },
         quote + QuoteParams6M()},
        {"watch list chart, ナスダック", form13(), "ナスダック", [] { return Form13::it().HprLnkEx2; },
         chartAt + QuoteParams6M()},
        {"trend watch quote, ジャスダック", form17(), "ジャスダック", [] { return Form17::it().HprLnkEx1; },
         quote + ".q&d=6m"},
        {"special watch quote, 東証２部", form31(), "東証２部", [] { return Form31::it().HprLnkEx1; },
         quote + ".t&d=6m"},
        {"special watch chart, 店頭", form31(), "店頭", [] { return Form31::it().HprLnkEx2; },
         chartAt + ".j" + ChartParams120()},
        {"holdings quote, ?", form12(), "?", [] { return Form12::it().HprLnkEx1; }, quote + QuoteParams3M()},
        {"holdings K, 名古２部", form12(), "名古２部", [] { return Form12::it().HprLnkEx2; },
         chartAt + ".n" + ChartParams060()},
        {"holdings chart, 名古２部", form12(), "名古２部", [] { return Form12::it().HprLnkEx3; },
         chartAt + ".n" + ChartParams120B3()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        insertStocks(c.w.table, {"1301"});
        insertStocks(c.w.table, {"7203"}, QString::fromUtf8(c.market));
        c.w.grid()->setRow(2);
        ui::LinkLabel* link = c.link();
        link->doClick();
        ASSERT_FALSE(seam->urls.isEmpty());
        EXPECT_EQ(seam->urls.last(), c.expected);
        EXPECT_EQ(link->Address, c.expected);
        startOver();
    }
    EXPECT_EQ(Form12::it().HprLnkEx2->Caption(), "K");
}
