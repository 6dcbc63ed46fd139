#include <QTest>
#include <QHeaderView>
#include <gtest/gtest.h>
#include "card_fixture.h"
#include "cards/form2.h"
#include "lists/chart_link.h"
#include "platform/data/recordset.h"

using card_testing::Card;

namespace {

class RegistrationTest : public card_testing::CardScreenTest {
protected:
    void SetUp() override {
        CardScreenTest::SetUp();
        addCards({
            {1301, "日経新聞", 0, "東証１部", "D100", "極洋"},      // ID 1
            {7203, "", 1, "ジャスダック", "A1", "トヨタ"},          // ID 2: no source
        });
        mainDb()->executeRaw("insert into [mydata] (ID, 情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
                             "values (12, 'x', 0, 'no code', NULL, '', '', 'note')");
        mainDb()->executeRaw("insert into [mydata] (ID, 情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
                             "values (120, 'y', 0, 'other', 9999, '', '', 'note')");
    }
    static QStringList rows(const QString& sql) {
        platform::Recordset rs = platform::Database::open(platform::listDatabasePath())->openRecordset(sql);
        QStringList out;
        for (int r = 0; r < rs.recordCount(); ++r) {
            QStringList fields;
            for (int c = 1; c < rs.fieldCount(); ++c) fields << rs.text(r, c);
            out << fields.join('|');
        }
        return out;
    }
    static int rowOfId(const Form16& f, const QString& id) {
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r)
            if (f.MSFlexGrid1->TextMatrix(r, 1) == id) return r;
        return -1;
    }
};

}  // namespace

// A double-click on the name or the code registers the stock, on the source the source; other
// columns, the header row, a row without a code and an empty source register nothing.
TEST_F(RegistrationTest, DoubleClickRegistersIntoTheLists) {
    Form16& f = open(10);
    const QString day = QDate::currentDate().toString("yy/MM/dd");
    struct Case {
        QString id;   // empty: the header row
        int col;
        int watch;    // rows of checklist afterwards
        int sources;
    } cases[] = {
        {"1", 5, 1, 0}, {"1", 4, 2, 0}, {"1", 2, 2, 1}, {"1", 3, 2, 1}, {"1", 9, 2, 1}, {"1", 1, 2, 1},
        {"12", 5, 2, 1},   // no code
        {"2", 2, 2, 1},    // no source
        {"", 5, 2, 1},     // the header row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1/%2").arg(c.id).arg(c.col).toStdString());
        f.MSFlexGrid1->setRow(c.id.isEmpty() ? 0 : rowOfId(f, c.id));
        f.MSFlexGrid1->setCol(c.col);
        f.MSFlexGrid1_DblClick();
        EXPECT_EQ(rows("select * from [checklist]").size(), c.watch);
        EXPECT_EQ(rows("select * from [情報源リスト]").size(), c.sources);
    }
    EXPECT_EQ(rows("select * from [checklist]"),
              QStringList({"1301|極洋|東証１部|D100|" + day, "1301|極洋|東証１部|D100|" + day}));
    EXPECT_EQ(rows("select * from [情報源リスト]"), QStringList({"日経新聞|" + day}));
    EXPECT_TRUE(Form13::it().isVisible());
    EXPECT_TRUE(Form14::it().isVisible());
}

// The detail strip follows the current row; the links build from its code and market boxes.
TEST_F(RegistrationTest, DetailStripAndLinks) {
    Form16& f = open(10);
    f.MSFlexGrid1->setRow(rowOfId(f, "2"));
    EXPECT_EQ(f.Text4->Text(), "7203");
    EXPECT_EQ(f.Text5->Text(), "ジャスダック");
    EXPECT_EQ(f.Text2->Text(), "トヨタ");
    EXPECT_EQ(f.Text1->Text(), "note");
    EXPECT_EQ(f.Text6->Text(), "");
    using chart::Site;
    struct Case {
        ui::LinkLabel* link;
        const char* market;
        QString address;
    } cases[] = {
        {f.HprLnkEx1, "ジャスダック", chart::siteBase(Site::Quote) + "/q?s=7203" + chart::QuoteParams6M()},
        {f.HprLnkEx8, "ジャスダック", chart::siteBase(Site::Quote) + "/q?s=7203.q" + chart::QuoteParams1Y()},
        {f.HprLnkEx2, "ジャスダック", chart::siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203.j" + chart::ChartParams120B3()},
        {f.HprLnkEx5, "ナスダック", chart::siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203"},
        {f.HprLnkEx2, "ナスダック", chart::siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203" + chart::QuoteParams6M()},
        {f.HprLnkEx2, "マザー", chart::siteBase(Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203.t" + chart::ChartParams120B3()},
        {f.HprLnkEx1, "店頭", chart::siteBase(Site::Quote) + "/q?s=7203"},
        {f.HprLnkEx15, "東証１部", chart::siteBase(Site::SecondChart) + "/smartchart.cfr?Scode=7203"},
        {f.HprLnkEx14, "東証１部", chart::siteBase(Site::Chart) + "/MnStock/100000018.i/schart.html"},
        {f.HprLnkEx3, "東証１部", chart::siteBase(Site::IndexPage) + "/tknnk0.html "},
        {f.HprLnkEx4, "東証１部", chart::siteBase(Site::SectorTrend) + "/kabu/gyousyu.html"},
        {f.HprLnkEx7, "東証１部", chart::siteBase(Site::Rating) + "/stocks_data/data/attention_rating/attention_rating.asp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link->Name.toStdString() + " " + c.market);
        f.Text5->setText(QString::fromUtf8(c.market));
        c.link->doClick();
        EXPECT_EQ(c.link->Address, c.address);
        EXPECT_EQ(seam->urls.back(), c.address);
    }
    EXPECT_EQ(f.HprLnkEx5->Caption(), " DK");
    EXPECT_EQ(f.HprLnkEx7->Caption(), "  Rating");
}

// "修正" opens the card with the row's exact ID; a card that is gone is told, and the editor is
// not opened on another card.
TEST_F(RegistrationTest, CardOpeningByExactId) {
    Form16& f = open(10);
    const int row12 = rowOfId(f, "12");
    ASSERT_GT(row12, 0);
    mainDb()->executeRaw("delete from [mydata] where ID = 12");   // gone since the screen was filled
    f.MSFlexGrid1->setRow(row12);
    seam->answerMsgBox(ui::vbOK);
    f.Command33->doClick();
    EXPECT_EQ(seam->msgBoxPrompts(), QStringList({"このカードは見つかりません"}));
    EXPECT_FALSE(Form2::it().isVisible());
    EXPECT_NE(Form2::it().Text9->Text(), "120");   // not the card whose ID begins with the same digits

    f.MSFlexGrid1->setRow(rowOfId(f, "1"));
    f.Command33->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_TRUE(Form2::it().isVisible());
    EXPECT_EQ(Form2::it().Text9->Text(), "1");
    EXPECT_EQ(Form2::it().Text4->Text(), "1301");
    // Another card of the screen, then a row without an ID.
    f.MSFlexGrid1->setRow(rowOfId(f, "120"));
    f.Command33->doClick();
    EXPECT_EQ(Form2::it().Text9->Text(), "120");
    // No data row current (the header row, as a tinted pattern leaves it): nothing at all.
    f.MSFlexGrid1->setRow(0);
    f.Command33->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().size(), 1);
    EXPECT_EQ(Form2::it().Text9->Text(), "120");
}

// A press on a column heading chooses the column and leaves the current data row: the detail
// boxes keep showing a card, "修正" opens that card, and the sort runs on the chosen column.
TEST_F(RegistrationTest, AHeadingPressKeepsTheCurrentDataRow) {
    Form16& f = open(10);
    const int row = rowOfId(f, "120");
    ASSERT_GT(row, 0);
    f.MSFlexGrid1->setRow(row);
    const QString code = f.Text4->Text();
    ASSERT_FALSE(code.isEmpty());
    auto* header = f.MSFlexGrid1->horizontalHeader();
    const int col = 4;
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(f.MSFlexGrid1->Row(), row);
    EXPECT_EQ(f.MSFlexGrid1->Col(), col);
    EXPECT_EQ(f.Text4->Text(), code);
    EXPECT_NE(f.Text4->Text(), "コード");
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, at);   // no registration from a heading
    EXPECT_TRUE(rows("select * from [checklist]").isEmpty());
    f.Command33->doClick();
    EXPECT_TRUE(seam->msgBoxPrompts().isEmpty());
    EXPECT_EQ(Form2::it().Text9->Text(), "120");
    f.Command13->doClick();
    QStringList names;
    for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) names << f.MSFlexGrid1->TextMatrix(r, 4);
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end());
    EXPECT_EQ(names, sorted);
}
