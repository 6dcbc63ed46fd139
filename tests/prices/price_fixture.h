#pragma once
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>
#include "demo/demo_data.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/ui/forms.h"
#include "platform/schema_fixture.h"
#include "prices/form18.h"
#include "services/module1.h"
#include "services/period_record.h"
#include "support/program_test.h"
#include "support/scripted_dialogs.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace price_testing {

using Prices = std::array<std::optional<int>, 10>;   // newest first

struct Stock {
    int code;
    Prices prices;
};

// Slot k's date in the stored record: 26/12/(11 - k); its workbook "p" + yymmdd.
inline QString slotDate(int k) { return QStringLiteral("26/12/%1").arg(11 - k, 2, 10, QChar(u'0')); }
inline QString slotBook(int k) { return QStringLiteral("p2612%1").arg(11 - k, 2, 10, QChar(u'0')); }
inline QString slotSheet(int k) { return QStringLiteral("s2612%1").arg(11 - k, 2, 10, QChar(u'0')); }

// A fresh program folder: the period record of ten December days and a price table of our own,
// the placeholder first.
class PriceScreenTest : public testing_support::ProgramTest {
protected:

    void SetUp() override {
        ProgramTest::SetUp();
        setRecord(QStringLiteral("day"));
    }
    void TearDown() override {
        for (ui::Form* f : ui::Form::loadedForms()) f->Unload();
        QCoreApplication::processEvents();
        platform::Database::releaseUnused();
    }

    static std::shared_ptr<platform::Database> db() { return platform::Database::open(platform::mainDatabasePath()); }
    static QString sql(const std::optional<int>& v) { return v ? QString::number(*v) : QStringLiteral("NULL"); }

    static void setRecord(const QString& unit) {
        QStringList values;
        for (int k = 1; k <= 10; ++k) values << "'" + slotDate(k) + "'";
        values << "'" + unit + "'";
        for (int k = 1; k <= 10; ++k) values << "'" + slotBook(k) + "'";
        db()->executeRaw("update [日付] set (kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, kabuka6, kabuka7, kabuka8, "
                         "kabuka9, kabuka10, kabuka11, kabuka12, kabuka13, kabuka14, kabuka15, kabuka16, kabuka17, "
                         "kabuka18, kabuka19, kabuka20, kabuka21) = (" + values.join(',') + ")");
        services::refreshPeriodRecord();
    }

    // The price table: the placeholder (without prices), then the stocks.
    static void setStocks(const std::vector<Stock>& stocks) {
        auto d = db();
        d->executeRaw("begin; delete from [list]; insert into [list] (銘柄, コード) values ('', 1001)");
        for (const Stock& s : stocks) {
            QStringList p;
            for (const auto& v : s.prices) p << sql(v);
            d->executeRaw(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, "
                                         "kabuka5, kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('銘柄%1', %1, "
                                         "'東証１部', 'D100', %2)").arg(s.code).arg(p.join(',')));
        }
        d->executeRaw("commit");
    }

    static Prices pricesOf(int code) {
        schema_fixture::Sqlite s(platform::mainDatabasePath());
        const auto rows = s.rows(QStringLiteral("select kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, kabuka6, kabuka7, "
                                                "kabuka8, kabuka9, kabuka10 from list where コード = %1").arg(code));
        Prices p;
        if (rows.empty()) return p;
        for (std::size_t k = 0; k < 10; ++k)
            if (rows[0][k].isValid()) p[k] = rows[0][k].toInt();
        return p;
    }

    // Fields kabuka1 .. kabuka21 of the stored period record.
    static QStringList record() {
        schema_fixture::Sqlite s(platform::mainDatabasePath());
        QStringList fields;
        for (int i = 1; i <= 21; ++i) fields << QStringLiteral("kabuka%1").arg(i);
        const auto rows = s.rows("select " + fields.join(',') + " from [日付]");
        QStringList out;
        for (const QVariant& v : rows.at(0)) out << v.toString();
        return out;
    }

    void writeBooks(const std::vector<demo::WorkbookRow>& rows) { demo::writePriceWorkbooks(folder.folder(), rows); }

    // Opens the screen and presses its start button (its input note answered).
    Form18& start() {
        seam->answerMsgBox(ui::vbOK);
        Form18& f = Form18::it();
        f.Command3_Click();
        return f;
    }
};

}  // namespace price_testing
