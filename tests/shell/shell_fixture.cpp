#include <sqlite3.h>
#include <QFile>
#include "shell_fixture.h"
#include "lists/list_forms.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "platform/data/sql_text.h"
#include "shell/form5.h"
#include "shell/launch_table.h"
#include "services/module1.h"

namespace shell_test {

void unloadAll() {
    for (int round = 0; round < 5 && !ui::Form::loadedForms().empty(); ++round)
        for (ui::Form* f : ui::Form::loadedForms()) {
            const auto now = ui::Form::loadedForms();
            if (std::find(now.begin(), now.end(), f) != now.end()) f->Unload();
        }
}

void ShellTest::SetUp() {
    platform::ensureProgramDatabases();
    Module1::reset();
    savedWindows_ = services::windowTable();
}

void ShellTest::TearDown() {
    unloadAll();
    services::windowTable() = savedWindows_;
    Module1::reset();
    platform::Database::releaseUnused();
}

QStringList ShellTest::defaultDates() {
    QStringList d;
    for (int i = 0; i < 10; ++i) d << QStringLiteral("26/12/%1").arg(10 - i, 2, 10, QLatin1Char('0'));
    return d;
}

void ShellTest::setDateRecord(const QString& unit, const QStringList& dates) {
    auto db = platform::Database::open(platform::mainDatabasePath());
    QStringList sets;
    for (int i = 0; i < 10; ++i) sets << QStringLiteral("kabuka%1=%2").arg(i + 1).arg(platform::sqlQuoted(dates[i]));
    sets << QStringLiteral("kabuka11=") + platform::sqlQuoted(unit);
    if (db->openRecordset(QStringLiteral("select * from [日付]")).recordCount() == 0)
        db->executeRaw(QStringLiteral("insert into [日付] (kabuka1) values ('')"));
    db->executeRaw(QStringLiteral("update [日付] set ") + sets.join(QStringLiteral(", ")));
}

void ShellTest::fillList(const QString& table, const QStringList& entries) {
    auto db = platform::Database::open(platform::listDatabasePath());
    db->executeRaw(QStringLiteral("delete from [%1]").arg(table));
    const bool sources = table == QStringLiteral("情報源リスト");
    for (const QString& e : entries) {
        if (sources)
            db->executeRaw(QStringLiteral("insert into [情報源リスト] (情報源, date) values (%1, '26/12/01')")
                               .arg(platform::sqlQuoted(e)));
        else
            db->executeRaw(QStringLiteral("insert into [%1] (コード, 銘柄, 市場, 単位, date) "
                                          "values (%2, '銘柄', '東証１部', 'D100', '26/12/01')")
                               .arg(table, platform::sqlQuoted(e)));
    }
}

void ShellTest::recordLaunches() {
    for (const shell::LaunchRow& row : shell::launchTable())
        for (const QString& w : row.shows) {
            if (w == QStringLiteral("Form5")) continue;
            services::registerWindow(
                w, {[this, w] {
                        const bool menuShown = Form5::isLoaded() && Form5::it().isVisible();
                        opened << (menuShown ? w : w + QStringLiteral(" (menu hidden)"));
                    },
                    [this, w](const QString& control, const QString& text) {
                        opened << w + QLatin1Char('.') + control + QLatin1Char('=') + text;
                    }});
        }
}

template <class F>
void refreshListWindow() {
    F::it().Data1->Refresh();
}

void ShellTest::loadListWindows() {
    refreshListWindow<Form13>();
    refreshListWindow<Form17>();
    refreshListWindow<Form31>();
    refreshListWindow<Form12>();
    refreshListWindow<Form14>();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString readRaw(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    QString value = QStringLiteral("(cannot open)");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        else
            value = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
}

}  // namespace shell_test
