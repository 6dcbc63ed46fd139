#pragma once
#include <QDate>
#include "lists/list_forms.h"
#include "platform/data/dialect.h"
#include "trend_cards/form16.h"
#include "trend_stocks/trend_fixture.h"

namespace card_testing {

// One card: its stock, its source, and how many days before today it is dated.
struct Card {
    int code;
    QString source;
    int daysAgo = 0;
    QString market = QStringLiteral("東証１部");
    QString unit = QStringLiteral("D100");
    QString name = {};
};

// A program folder with stocks (latest price 100 and the nine changes given) and cards on them.
class CardScreenTest : public trend_testing::TrendScreenTest {
protected:
    void SetUp() override {
        TrendScreenTest::SetUp();
        mainDb()->executeRaw("delete from [mydata]");
        for (const char* t : {"checklist", "trend", "checklist2", "mylist", "情報源リスト"})
            lists()->executeRaw(QStringLiteral("delete from [%1]").arg(QString::fromUtf8(t)));
    }

    static QString today(int daysAgo = 0) { return QDate::currentDate().addDays(-daysAgo).toString("MM/dd/yyyy"); }

    // Cards get the IDs 1, 2, ... in the order given unless the table already holds some.
    static void addCards(const std::vector<Card>& cards) {
        auto db = mainDb();
        db->executeRaw("begin");
        for (const Card& c : cards) {
            const QDate d = QDate::currentDate().addDays(-c.daysAgo);
            const double serial = platform::dateSerial(d.year(), d.month(), d.day());
            db->executeRaw(QStringLiteral("insert into [mydata] (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) "
                                          "values (%1, %2, %3, %4, %5, %6, 'note')")
                               .arg(trend_testing::sqlText(c.source))
                               .arg(serial)
                               .arg(trend_testing::sqlText(c.name.isEmpty() ? QStringLiteral("S%1").arg(c.code) : c.name))
                               .arg(c.code)
                               .arg(trend_testing::sqlText(c.market), trend_testing::sqlText(c.unit)));
        }
        db->executeRaw("commit");
    }

    // Opens the screen as the menu does: the universe's value, and the SELECT a list universe takes.
    Form16& open(int menuMode, const QString& menuSql = {}) {
        Module1::SpecialWatchSql = Module1::WatchListSql = Module1::FavouriteSourceSql = Module1::HoldingsSql =
            Module1::ExtraSql = menuSql;
        Module1::MenuMode = menuMode;
        Form16& f = Form16::it();
        f.Show();
        return f;
    }
    static void close(Form16& f) { f.Command5_Click(); }

    // Column c of every card row, in grid order.
    static QStringList column(const Form16& f, int c) {
        QStringList out;
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) out << f.MSFlexGrid1->TextMatrix(r, c);
        return out;
    }
    static QStringList ids(const Form16& f) { return column(f, 1); }
    static QStringList codes(const Form16& f) { return column(f, 5); }

    // Entries of a list window's table, the list window unloaded so that it reads them afresh.
    template <class F>
    static void setList(const QString& table, const QStringList& entries, const char* field = "コード") {
        if (F::isLoaded()) F::it().Unload();
        auto db = lists();
        db->executeRaw("delete from [" + table + "]");
        for (const QString& e : entries)
            db->executeRaw(QStringLiteral("insert into [%1] (%2, date) values (%3, '26/12/01')")
                               .arg(table, QString::fromUtf8(field), trend_testing::sqlText(e)));
    }
};

}  // namespace card_testing
