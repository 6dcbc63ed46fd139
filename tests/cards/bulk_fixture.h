#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include "cards/form15.h"
#include "cards/form19.h"
#include "cards/form22.h"
#include "cards/form25.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/ui/forms.h"
#include "platform/ui/guard.h"
#include "services/module1.h"
#include "support/program_test.h"
#include "support/scripted_dialogs.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

// A fresh program folder with both databases, the scripted dialogs, the shared state as at start,
// and no window loaded afterwards. Files made by a test go into `dir`.
class BulkTest : public testing_support::ProgramTest {
protected:
    QTemporaryDir dir;

    void SetUp() override {
        ProgramTest::SetUp();
    }

    void TearDown() override {
        unloadAll();
        Module1::reset();
        EXPECT_TRUE(seam->allAnswersUsed());
    }

    static void unloadAll() {
        ui::Form::destroyAll();
        QApplication::processEvents();
        platform::Database::releaseUnused();
    }

    static std::shared_ptr<platform::Database> mainDb() { return platform::Database::open(platform::mainDatabasePath()); }

    // Another database of the program with these cards ("情報源|yyyy/mm/dd|銘柄|コード|市場|単位|情報"; a
    // field left empty is Null, a date or code that is no date or number is stored as the text).
    QString programDatabase(const QString& name, const QStringList& cards) {
        const QString path = dir.filePath(name);
        platform::ensureMainDatabase(path);
        auto db = platform::Database::open(path);
        for (const QString& card : cards) db->executeRaw(insertCard(card));
        return path;
    }

    static QString insertCard(const QString& card) {
        const QStringList f = card.split(QLatin1Char('|'));
        QStringList values;
        for (int i = 0; i < 7; ++i) {
            const QString v = i < f.size() ? f[i] : QString();
            if (v.isEmpty())
                values << QStringLiteral("NULL");
            else if (i == 1 && v.count(QLatin1Char('/')) == 2)
                values << QStringLiteral("julianday('%1') - 2415018.5").arg(QString(v).replace(QLatin1Char('/'), QLatin1Char('-')));
            else
                values << QLatin1Char('\'') + QString(v).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        }
        return QStringLiteral("INSERT INTO mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報) VALUES (%1)").arg(values.join(u','));
    }

    // A file of another kind: an SQLite database without the program's tables, or plain text.
    // Another program's SQLite file, made without the program (in the rollback-journal mode).
    QString foreignDatabase() {
        const QString path = dir.filePath(QStringLiteral("foreign.mdb"));
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_exec(db, "CREATE TABLE other (a, b); INSERT INTO other VALUES (1, 2);", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return path;
    }
    static QByteArray bytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString textFile() {
        const QString path = dir.filePath(QStringLiteral("notes.mdb"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("this is no database, only some text that is long enough to be read as a header of a file.\n");
        return path;
    }

    // A workbook with one sheet laid out like the card table: a title row, then one row per card
    // ("ID|情報源|日付|銘柄|コード|市場|単位|情報"; dates "yyyy/mm/dd" become date cells, other cells
    // are written as texts, or as numbers when they read as one).
    QString cardWorkbook(const QString& name, const QString& sheet, const QStringList& rows) {
        const QString path = dir.filePath(name);
        const QString script = QStringLiteral(R"py(
import sys, datetime, xlwt
wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet(sys.argv[2])
date = xlwt.easyxf(num_format_str='yyyy/mm/dd')
for c, title in enumerate(['ID', '情報源', '日付', '銘柄', 'コード', '市場', '単位', '情報']):
    ws.write(0, c, title)
for r, line in enumerate(sys.argv[3:], start=1):
    for c, v in enumerate(line.split('|')):
        if v == '':
            continue
        try:
            ws.write(r, c, datetime.datetime.strptime(v, '%Y/%m/%d'), date)
            continue
        except ValueError:
            pass
        try:
            ws.write(r, c, float(v))
        except ValueError:
            ws.write(r, c, v)
wb.save(sys.argv[1])
)py");
        QProcess p;
        QStringList args{QStringLiteral("-c"), script, path, sheet};
        args << rows;
        p.start(QStringLiteral("/usr/bin/python3"), args);
        p.waitForFinished(30000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return path;
    }

    static QString daysFromToday(int days) { return QDate::currentDate().addDays(days).toString(QStringLiteral("yyyy/MM/dd")); }

    // The cards of the main database as "情報源|日付|銘柄|コード|市場|単位|情報", in ID order.
    static QStringList storedCards(const std::shared_ptr<platform::Database>& db = mainDb()) {
        platform::Recordset rs = db->openRecordset(QStringLiteral("select * from mydata order by ID"));
        QStringList out;
        for (int r = 0; r < rs.recordCount(); ++r) {
            QStringList f;
            for (int c = 1; c < 8; ++c) f << rs.text(r, c);
            out << f.join(QLatin1Char('|'));
        }
        return out;
    }
};
