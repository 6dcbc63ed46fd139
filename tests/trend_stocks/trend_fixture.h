#pragma once
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <array>
#include <memory>
#include <ostream>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/ui/forms.h"
#include "services/module1.h"
#include "support/program_test.h"
#include "support/scripted_dialogs.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace trend_testing {

// One listed stock: latest price 100, so that ratioN is the price N periods before less 100.
struct Stock {
    int code;
    QString name;
    QString market;
    QString unit;
    std::array<double, 9> ratios{};   // r1 .. r9
};

inline QString sqlText(const QString& s) { return "'" + QString(s).replace("'", "''") + "'"; }

// A fresh program folder with both databases, the date record and a list of stocks of our own.
class TrendScreenTest : public testing_support::ProgramTest {
protected:

    void SetUp() override {
        ProgramTest::SetUp();
        mainDb()->executeRaw("delete from [list]");
        setUnit("day");
    }
    void TearDown() override {
        for (ui::Form* f : ui::Form::loadedForms()) f->Unload();
        QCoreApplication::processEvents();
        platform::Database::releaseUnused();
    }

    static std::shared_ptr<platform::Database> mainDb() { return platform::Database::open(platform::mainDatabasePath()); }
    static std::shared_ptr<platform::Database> lists() { return platform::Database::open(platform::listDatabasePath()); }

    // The date record: ten dates newest first and the period unit.
    static void setUnit(const QString& unit) {
        QStringList cols, vals;
        for (int i = 1; i <= 10; ++i) {
            cols << QStringLiteral("kabuka%1").arg(i);
            vals << sqlText(QStringLiteral("26/12/%1").arg(11 - i, 2, 10, QChar('0')));
        }
        cols << "kabuka11";
        vals << sqlText(unit);
        mainDb()->executeRaw("delete from [日付]");
        mainDb()->executeRaw("insert into [日付] (" + cols.join(',') + ") values (" + vals.join(',') + ")");
    }

    static void addStocks(const std::vector<Stock>& stocks) {
        auto db = mainDb();
        db->executeRaw("begin");
        for (const Stock& s : stocks) {
            QString prices = "100";
            for (double r : s.ratios) prices += "," + QString::number(100 + r);
            db->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, "
                                          "kabuka5, kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values (%1, %2, %3, %4, %5)")
                               .arg(sqlText(s.name)).arg(s.code).arg(sqlText(s.market), sqlText(s.unit), prices));
        }
        db->executeRaw("commit");
    }

    // Entries of a list table (checklist, trend) in the list database.
    static void addListCodes(const QString& table, const std::vector<int>& codes) {
        auto db = lists();
        db->executeRaw("begin");
        for (int c : codes)
            db->executeRaw(QStringLiteral("insert into [%1] (コード, 銘柄, 市場, 単位, date) values (%2, 'x', '東証１部', 'D100', '26/12/01')")
                               .arg(table).arg(c));
        db->executeRaw("commit");
    }
};

}  // namespace trend_testing
