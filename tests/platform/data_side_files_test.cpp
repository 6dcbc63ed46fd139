#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/data/side_files.h"

namespace {

using platform::SideFacts;
using platform::SideVerdict;

// What follows from what is known of the side files, without a file.
TEST(SideFiles, TheVerdictFollowsFromTheFacts) {
    struct Case {
        const char* name;
        SideFacts facts;   // journalHot, log, strayLog, recoveredSound, asItStandsSound, sameRows
        SideVerdict verdict;
    };
    const Case cases[] = {
        {"blank-header journal alone", {false, false, false, false, false, false}, SideVerdict::AsItStands},
        {"blank-header journal, the trial's fields ignored", {false, false, false, true, true, false}, SideVerdict::AsItStands},
        {"log beside a rollback-mode file", {false, false, true, false, false, false}, SideVerdict::Keep},
        {"own journal, the file torn", {true, false, false, true, false, false}, SideVerdict::Recover},
        {"journal over a restored backup that it breaks", {true, false, false, false, true, false}, SideVerdict::Keep},
        {"both whole, different rows", {true, false, false, true, true, false}, SideVerdict::Ask},
        {"both whole, the same rows", {true, false, false, true, true, true}, SideVerdict::Recover},
        {"neither whole", {true, false, false, false, false, false}, SideVerdict::Damaged},
        {"log of a log-mode file, both whole, different rows", {false, true, false, true, true, false}, SideVerdict::Ask},
        {"log of a log-mode file, only the recovery whole", {false, true, false, true, false, false}, SideVerdict::Recover},
        {"hot journal and a stray log, the journal's own", {true, false, true, true, false, false}, SideVerdict::Recover},
        {"hot journal and a stray log, neither whole", {true, false, true, false, false, false}, SideVerdict::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::sideVerdict(c.facts), c.verdict);
    }
}

void run(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// Rows are compared value by value, table by table, whatever the pages: a file rebuilt page by
// page holds the same rows; a value of another type, a row more, a table or a view more is a difference.
TEST(SideFiles, TwoFilesHoldTheSameRowsWhateverTheirPages) {
    const char* const schema =
        "CREATE TABLE t (id INTEGER PRIMARY KEY, v); CREATE TABLE k (a, b, PRIMARY KEY (a, b)) WITHOUT ROWID;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
        "INSERT INTO t SELECT i, printf('%.200c', 'v') FROM n;"
        "INSERT INTO k VALUES (2, 'b'), (1, 'a');";
    struct Case {
        const char* name;
        const char* change;   // run on the second file
        bool same;
    };
    const Case cases[] = {
        {"rebuilt", "DELETE FROM t WHERE id > 250; INSERT INTO t SELECT id + 250, v FROM t; VACUUM;", true},
        {"keyless rows inserted in another order", "DELETE FROM k; INSERT INTO k VALUES (1, 'a'), (2, 'b');", true},
        {"a number where a text was", "UPDATE t SET v = 7 WHERE id = 9;", false},
        {"one row more", "INSERT INTO t (v) VALUES (NULL);", false},
        {"a keyless row changed", "UPDATE k SET b = 'c' WHERE a = 2;", false},
        {"another table", "CREATE TABLE u (x);", false},
        {"another view", "CREATE VIEW w AS SELECT v FROM t;", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.db")), b = dir.filePath(QStringLiteral("b.db"));
        run(a, schema);
        run(b, schema);
        run(b, c.change);
        EXPECT_EQ(platform::sameRows(a, b), c.same);
    }
}

}  // namespace
