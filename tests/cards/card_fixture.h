#pragma once
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "platform/ui/forms.h"
#include "services/module1.h"
#include "shell/wiring.h"
#include "support/program_test.h"
#include "support/scripted_dialogs.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace card_testing {

inline QString sqlText(const QString& s) { return s.isNull() ? QStringLiteral("null") : "'" + QString(s).replace("'", "''") + "'"; }

struct Card {
    QString source, date, name;
    int code;
    QString market, unit, info;
};

struct Stock {
    int code;
    QString name, market, unit;
};

// A fresh program folder with both databases, the date record ("day"), a price table of our own
// (the placeholder 1001 first) and cards of our own; every window is wired, none loaded.
class CardTest : public testing_support::ProgramTest {
protected:

    void SetUp() override {
        ProgramTest::SetUp();
        shell::wireWindows();
        auto db = mainDb();
        db->executeRaw("delete from [list]");
        db->executeRaw("delete from [mydata]");
        db->executeRaw("delete from [日付]");
        db->executeRaw("insert into [日付] (kabuka1, kabuka11) values ('26/12/10', 'day')");
        addStocks({{1001, "該当なし", "", ""},
                   {7203, "トヨタ自動車", "東証１部", "D100"},
                   {7201, "日産自動車", "東証１部", "D100"},
                   {6758, "ソニーグループ", "東証１部", "C50"},
                   {2160, "ジーエヌアイ", "マザーズ", "E500"}});
    }

    void TearDown() override {
        unloadAll();
        EXPECT_TRUE(seam->allAnswersUsed());
    }

    void unloadAll() {
        for (ui::Form* f : ui::Form::loadedForms()) f->Unload();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::Database::releaseUnused();
    }

    static std::shared_ptr<platform::Database> mainDb() { return platform::Database::open(platform::mainDatabasePath()); }
    static std::shared_ptr<platform::Database> listDb() { return platform::Database::open(platform::listDatabasePath()); }

    static void addStocks(const std::vector<Stock>& stocks) {
        auto db = mainDb();
        for (const Stock& s : stocks)
            db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位) values (%1, %2, %3, %4)")
                               .arg(sqlText(s.name)).arg(s.code).arg(sqlText(s.market), sqlText(s.unit)));
    }

    // Cards in this order; dates as "yyyy-mm-dd" (stored as day serials).
    static void addCards(const std::vector<Card>& cards) {
        auto db = mainDb();
        for (const Card& c : cards)
            db->executeRaw(QStringLiteral("insert into [mydata] (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) values "
                                          "(%1, julianday(%2) - 2415018.5, %3, %4, %5, %6, %7)")
                               .arg(sqlText(c.source), sqlText(c.date), sqlText(c.name))
                               .arg(c.code)
                               .arg(sqlText(c.market), sqlText(c.unit), sqlText(c.info)));
    }

    // A field of every stored card, in ID order, as the record set shows it.
    static QStringList cardColumn(const QString& field) { return column(mainDb(), "mydata", field); }
    static QStringList listColumn(const QString& table, const QString& field) { return column(listDb(), table, field); }

    static QStringList column(const std::shared_ptr<platform::Database>& db, const QString& table, const QString& field) {
        auto rs = db->openRecordset(QStringLiteral("select * from [%1] order by ID").arg(table));
        QStringList out;
        const int f = rs.fieldIndex(field);
        for (int r = 0; r < rs.recordCount(); ++r) out << rs.text(r, f);
        return out;
    }
};

}  // namespace card_testing
