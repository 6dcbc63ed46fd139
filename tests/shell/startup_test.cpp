#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/recordset.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_support.h"
#include "shell/startup.h"
#include "support/earlier_layout.h"
#include "support/scripted_dialogs.h"
#include "shell_fixture.h"

using shell_test::readBytes;
using shell_test::writeBytes;

namespace {

void makeSqlite(const QString& path, const QString& sql) {
    platform::detail::Connection db(path);
    db.exec(sql);
}

struct StartCase {
    const char* name;
    std::function<void(const QString& folder)> prepare;   // before the start
    bool starts;                                          // the program goes on
    QStringList message;                                  // texts the one message holds; none when empty
    const char* untouched;                                // a file that must keep its bytes, or null
};

// The main database of the program with one saved query dropped.
void mainWithoutQuery(const QString& folder) {
    platform::ensureMainDatabase(folder + QStringLiteral("druvolo.mdb"));
    makeSqlite(folder + QStringLiteral("druvolo.mdb"), QStringLiteral("DROP VIEW \"list1plus-1bu\""));
}

TEST(StartUp, EachStateOfTheProgramFolderIsToldAndNoForeignFileIsWritten) {
    const StartCase cases[] = {
        {"missing", [](const QString&) {}, true, {}, nullptr},
        {"zero-byte main database",
         [](const QString& f) { writeBytes(f + QStringLiteral("druvolo.mdb"), {}); }, true, {}, nullptr},
        {"random bytes",
         [](const QString& f) { writeBytes(f + QStringLiteral("kabulist.mdb"), QByteArray(4096, '\x5a')); },
         true, {QStringLiteral("kabulist.mdb"), QStringLiteral("データベースとして読めません"), QStringLiteral("Mdb")},
         "kabulist.mdb"},
        {"another program's SQLite file",
         [](const QString& f) {
             makeSqlite(f + QStringLiteral("druvolo.mdb"), QStringLiteral("CREATE TABLE notes (id INTEGER, body TEXT)"));
         },
         true, {QStringLiteral("druvolo.mdb"), QStringLiteral("必要なテーブル・クエリがありません"), QStringLiteral("a000-1000U")},
         "druvolo.mdb"},
        {"a saved query missing", mainWithoutQuery, true,
         {QStringLiteral("druvolo.mdb"), QStringLiteral("list1plus-1bu")}, "druvolo.mdb"},
        {"a column missing",
         [](const QString& f) {
             makeSqlite(f + QStringLiteral("kabulist.mdb"), platform::listSchemaSql().replace(
                                                                QStringLiteral("\"情報源\" TEXT,"), QString()));
         },
         true, {QStringLiteral("kabulist.mdb"), QStringLiteral("情報源リスト.情報源")}, "kabulist.mdb"},
        {"half-built databases of an earlier run",
         [](const QString& f) {
             writeBytes(f + QStringLiteral("druvolo.mdb.a1B2c3.new"), "half");
             writeBytes(f + QStringLiteral("druvolo.mdb.a1B2c3.new-journal"), "half");
         },
         true, {}, nullptr},
        {"a main database of an earlier version",
         [](const QString& f) {
             platform::ensureMainDatabase(f + QStringLiteral("druvolo.mdb"));
             makeSqlite(f + QStringLiteral("druvolo.mdb"), QString::fromUtf8(testing_support::kEarlierChangeLayout));
         },
         true, {}, nullptr},
        {"a main database of the previous version",
         [](const QString& f) {
             platform::ensureMainDatabase(f + QStringLiteral("druvolo.mdb"));
             makeSqlite(f + QStringLiteral("druvolo.mdb"), QString::fromUtf8(testing_support::kPreviousLayout));
         },
         true, {}, nullptr},
        {"an earlier version's main database without a change view",
         [](const QString& f) {
             platform::ensureMainDatabase(f + QStringLiteral("druvolo.mdb"));
             makeSqlite(f + QStringLiteral("druvolo.mdb"), QString::fromUtf8(testing_support::kEarlierChangeLayout) +
                                                                QStringLiteral("DROP VIEW \"stock_trend\";"));
         },
         true, {QStringLiteral("druvolo.mdb"), QStringLiteral("stock_trend")}, "druvolo.mdb"},
        {"second instance", [](const QString&) {}, false, {QStringLiteral("既に動いています")}, nullptr},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::ProgramFolderScope scope;
        testing_support::SeamScope seam;
        const QString folder = platform::programFolder();
        c.prepare(folder);
        const QString untouched = c.untouched ? folder + QString::fromUtf8(c.untouched) : QString();
        const QByteArray before = c.untouched ? readBytes(untouched) : QByteArray();
        std::unique_ptr<platform::FolderLock> other;
        if (!c.starts) other = std::make_unique<platform::FolderLock>(folder);
        if (!c.message.isEmpty()) seam->answerMsgBox(ui::vbOK);

        const auto lock = shell::startUp();

        EXPECT_EQ(lock != nullptr, c.starts);
        const QStringList shown = seam->msgBoxPrompts();
        ASSERT_EQ(shown.size(), c.message.isEmpty() ? 0 : 1) << shown.join(u'|').toStdString();
        for (const QString& text : c.message) EXPECT_TRUE(shown[0].contains(text)) << text.toStdString();
        if (c.untouched) {
            EXPECT_EQ(readBytes(untouched), before);
            EXPECT_THROW(platform::Database::open(untouched), platform::DataError);
            EXPECT_EQ(readBytes(untouched), before);
        }
        if (c.starts) {
            const std::pair<QString, QString> made[] = {{platform::mainDatabasePath(), QStringLiteral("日付")},
                                                        {platform::listDatabasePath(), QStringLiteral("checklist")}};
            for (const auto& [db, table] : made)
                if (db != untouched)
                    EXPECT_NO_THROW(platform::Database::open(db)->openRecordset(table)) << db.toStdString();
        } else {
            EXPECT_FALSE(QFile::exists(platform::mainDatabasePath()));
        }
        if (c.starts) EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.new*")}, QDir::Files).isEmpty());
        if (c.starts && !c.untouched)   // every screen's source answers; a file of an earlier version is upgraded
            for (const char* table : {"list_change", "select * from [a000-all]"})
                EXPECT_NO_THROW(platform::Database::open(platform::mainDatabasePath())->openRecordset(QString::fromUtf8(table)))
                    << table;
    }
}

TEST(StartUp, AFolderThatCannotBeMadeEndsTheProgramWithItsNameAndReason) {
    QTemporaryDir home;
    writeBytes(home.filePath(QStringLiteral("data")), "a file where the folder should be");
    testing_support::ProgramFolderScope scope;
    testing_support::SeamScope seam;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    seam->answerMsgBox(ui::vbOK);

    EXPECT_EQ(shell::startUp(), nullptr);

    const QStringList shown = seam->msgBoxPrompts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("data/Vostrel"))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("Not a directory"))) << shown[0].toStdString();
}

TEST(StartUp, ADatabaseThatCannotBeCreatedIsAFailureWithItsReason) {
    QTemporaryDir home;
    writeBytes(home.filePath(QStringLiteral("file")), "x");
    try {
        platform::ensureListDatabase(home.filePath(QStringLiteral("file/kabulist.mdb")));
        FAIL() << "no error";
    } catch (const platform::DataError& e) {
        EXPECT_TRUE(e.text.contains(home.filePath(QStringLiteral("file")))) << e.text.toStdString();
    }
}

}  // namespace
