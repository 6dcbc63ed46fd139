#include "support/earlier_layout.h"
#include "schema_fixture.h"

#include "platform/data/database.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"

#include <QDir>

using schema_fixture::Sqlite;

namespace {

// Rows as text with each value's storage class, so that 5 and 5.0 or Null and 0 never compare equal.
QStringList typedRows(Sqlite& db, const QString& sql)
{
    QStringList out;
    for (const auto& row : db.rows(sql)) {
        QStringList cells;
        for (const QVariant& v : row) {
            if (!v.isValid()) cells << QStringLiteral("null");
            else if (v.typeId() == QMetaType::Double) cells << QStringLiteral("r%1").arg(v.toDouble(), 0, 'g', 17);
            else if (v.typeId() == QMetaType::LongLong) cells << QStringLiteral("i%1").arg(v.toLongLong());
            else cells << QStringLiteral("t") + v.toString();
        }
        out << cells.join(u'|');
    }
    return out;
}

// Rows of list whose stored changes differ from the changes computed from their prices now,
// plus stored rows that belong to no stock.
int staleChanges(Sqlite& db)
{
    QStringList differs;
    for (int n = 1; n <= 9; ++n)
        differs << QStringLiteral("c.\"ratio%1\" IS NOT (NULLIF(l.\"kabuka%2\", 0) - l.\"kabuka1\") * 100.0 / "
                                  "NULLIF(l.\"kabuka1\", 0)")
                       .arg(n)
                       .arg(n + 1);
    return db.value(QStringLiteral("SELECT count(*) FROM \"list\" l LEFT JOIN \"list_change\" c ON c.\"ID\" = l.\"ID\" "
                                   "WHERE c.\"ID\" IS NULL OR %1")
                        .arg(differs.join(QStringLiteral(" OR "))))
               .toInt() +
           db.value("SELECT count(*) FROM \"list_change\" WHERE \"ID\" NOT IN (SELECT \"ID\" FROM \"list\")").toInt();
}

// Rows of code_change that differ from each code's first row of list with its stored changes,
// and such first rows without their row in code_change.
int staleCodeChanges(Sqlite& db)
{
    const char* columns = "\"ratio1\", \"ratio2\", \"ratio3\", \"ratio4\", \"ratio5\", \"ratio6\", \"ratio7\", "
                          "\"ratio8\", \"ratio9\"";
    const QString stored = QStringLiteral("SELECT \"コード\", \"ID\", \"kabuka1\", %1 FROM \"code_change\"").arg(columns);
    const QString expected = QStringLiteral("SELECT l.\"コード\", l.\"ID\", l.\"kabuka1\", %1 FROM \"list\" l "
                                            "JOIN \"list_change\" USING (\"ID\") WHERE l.\"ID\" = "
                                            "(SELECT min(x.\"ID\") FROM \"list\" x WHERE x.\"コード\" = l.\"コード\")")
                                 .arg(columns);
    return db.value(QStringLiteral("SELECT count(*) FROM (%1 EXCEPT %2)").arg(stored, expected)).toInt() +
           db.value(QStringLiteral("SELECT count(*) FROM (%2 EXCEPT %1)").arg(stored, expected)).toInt();
}

class StoredChanges : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("druvolo.mdb"));
        platform::ensureMainDatabase(path);
        db = std::make_unique<Sqlite>(path);
        db->exec("DELETE FROM \"list\" WHERE \"コード\" <> 1001");
    }
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<Sqlite> db;
};

TEST_F(StoredChanges, EachChangeIsKeptExactlyAsComputedFromThePrices)
{
    // Latest price, the price one period back, and ratio1 as the screens must read it.
    struct Case {
        int code;
        const char* latest;
        const char* back;
        const char* ratio1;
    };
    const Case cases[] = {
        {2001, "200", "210", "r5"},       // a rise back then: positive
        {2002, "100", "92", "r-8"},       // whole-percent moves at a bound come out exact
        {2003, "100", "107", "r7"},
        {2004, "300", "299", "r-0.33333333333333331"},
        {2005, "200", "NULL", "null"},    // missing earlier price
        {2006, "200", "0", "null"},       // zero earlier price
        {2007, "0", "100", "null"},       // zero latest price
        {2008, "NULL", "100", "null"},    // missing latest price
    };
    for (const Case& c : cases)
        db->exec(QStringLiteral("INSERT INTO \"list\" (\"銘柄\", \"コード\", \"kabuka1\", \"kabuka2\") VALUES ('s', %1, %2, %3)")
                     .arg(c.code)
                     .arg(QString::fromUtf8(c.latest), QString::fromUtf8(c.back)));
    for (const Case& c : cases)
        EXPECT_EQ(typedRows(*db, QStringLiteral("SELECT \"ratio1\" FROM \"stock_trend\" WHERE \"コード\" = %1").arg(c.code)),
                  QStringList{QString::fromUtf8(c.ratio1)})
            << c.code;
    EXPECT_EQ(staleChanges(*db), 0);

    // Every way a price changes: an update of one price, of all of them, a new key, a deletion.
    db->exec("UPDATE \"list\" SET \"kabuka10\" = 50 WHERE \"コード\" = 2001");
    db->exec("UPDATE \"list\" SET \"kabuka1\" = 400, \"kabuka2\" = 100, \"kabuka3\" = 0 WHERE \"コード\" = 2005");
    db->exec("UPDATE \"list\" SET \"ID\" = 900 WHERE \"コード\" = 2002");
    db->exec("DELETE FROM \"list\" WHERE \"コード\" = 2003");
    db->exec("UPDATE \"list\" SET \"銘柄\" = '改名' WHERE \"コード\" = 2004");
    EXPECT_EQ(staleChanges(*db), 0);
    EXPECT_EQ(staleCodeChanges(*db), 0);
    EXPECT_EQ(typedRows(*db, "SELECT \"ratio1\", \"ratio2\", \"ratio9\" FROM \"list1plus\" WHERE \"コード\" IN (2001, 2005) ORDER BY 1"),
              (QStringList{"r-75|null|null", "r5|null|r-75"}));

    // A price written through a record set, as the price import writes it.
    {
        auto database = platform::Database::open(path);
        platform::Recordset rs = database->openRecordset(QStringLiteral("select * from [list]"));
        rs.FindFirst(QStringLiteral("コード=2006"));
        ASSERT_FALSE(rs.NoMatch());
        rs.Edit();
        rs.setField(QStringLiteral("kabuka2"), 150);
        rs.Update();
        EXPECT_EQ(rs.fieldCount(), 15);
    }
    EXPECT_EQ(typedRows(*db, "SELECT \"ratio1\" FROM \"list1plus\" WHERE \"コード\" = 2006"), QStringList{"r-25"});
    EXPECT_EQ(staleChanges(*db), 0);
    EXPECT_EQ(staleCodeChanges(*db), 0);
}


// A card reads the prices of the first stock row of its code, however the rows of a code come and go.
TEST_F(StoredChanges, ACardReadsTheFirstStockRowOfItsCodeThroughEveryChangeOfList)
{
    db->exec(R"sql(
INSERT INTO "list" ("銘柄", "コード", "kabuka1", "kabuka2") VALUES
    ('先', 3001, 100, 110), ('後', 3001, 200, 150), ('文字', 'x9', 50, 60), ('単独', 3002, 300, 330);
INSERT INTO "mydata" ("情報源", "コード") VALUES ('a', 3001), ('b', 'x9'), ('c', 3002), ('d', 3003), ('e', NULL);
)sql");
    // The join of the previous layout, as the cards must still read it.
    const QString byFirstRow = QStringLiteral(
        "SELECT m.\"ID\", l.\"kabuka1\", c.\"ratio1\" FROM \"mydata\" m "
        "LEFT JOIN \"list\" l ON l.\"ID\" = (SELECT min(x.\"ID\") FROM \"list\" x WHERE x.\"コード\" = m.\"コード\") "
        "LEFT JOIN \"list_change\" c ON c.\"ID\" = l.\"ID\" ORDER BY m.\"ID\"");
    const QString viewed = QStringLiteral("SELECT \"ID\", \"kabuka1\", \"ratio1\" FROM \"a000-all\"");
    const char* steps[] = {
        "",
        "UPDATE \"list\" SET \"kabuka2\" = 120 WHERE \"銘柄\" = '先'",          // a price of the first row
        "UPDATE \"list\" SET \"kabuka1\" = 250 WHERE \"銘柄\" = '後'",          // of a later row: no change
        "DELETE FROM \"list\" WHERE \"銘柄\" = '先'",                             // the later row comes first
        "UPDATE \"list\" SET \"コード\" = 3003 WHERE \"銘柄\" = '単独'",        // a code moves to another
        "UPDATE \"list\" SET \"ID\" = 1 + (SELECT max(\"ID\") FROM \"list\") WHERE \"銘柄\" = '後'",
        "INSERT INTO \"list\" (\"ID\", \"銘柄\", \"コード\", \"kabuka1\") VALUES (2, '前', 3001, 77)",
        "UPDATE \"list\" SET \"コード\" = NULL WHERE \"銘柄\" = '文字'",
    };
    for (const char* step : steps) {
        SCOPED_TRACE(step);
        if (*step) db->exec(QString::fromUtf8(step));
        EXPECT_EQ(typedRows(*db, viewed), typedRows(*db, byFirstRow));
        EXPECT_EQ(staleCodeChanges(*db), 0);
    }
    EXPECT_EQ(typedRows(*db, "SELECT \"kabuka1\" FROM \"a000-all\" WHERE \"コード\" IN (3001, 3003) ORDER BY 1"),
              (QStringList{"i77", "i300"}));
}

// Another program's REPLACE on list deletes the row it replaces without the triggers that keep
// code_change: the check the next start makes finds code_change behind and makes it anew. A file
// whose code_change is in step is not written by the check.
TEST_F(StoredChanges, AnotherProgramsReplaceOnListIsMadeGoodAtTheNextStart)
{
    const char* stocks = R"sql(
DELETE FROM "list" WHERE "コード" <> 1001;
INSERT INTO "list" ("ID", "銘柄", "コード", "kabuka1", "kabuka2") VALUES
    (10, 'a', 4001, 100, 110), (11, 'b', 4002, 200, 220), (12, 'b2', 4002, 300, 330), (13, 'c', 4003, 50, 40);
)sql";
    struct Case {
        const char* name;
        const char* write;   // another program's write
    };
    const Case cases[] = {
        {"none", ""},
        {"INSERT OR REPLACE with another code",
         "INSERT OR REPLACE INTO \"list\" (\"ID\", \"銘柄\", \"コード\", \"kabuka1\") VALUES (10, 'z', 4009, 70)"},
        {"INSERT OR REPLACE of a code's first row",
         "INSERT OR REPLACE INTO \"list\" (\"ID\", \"銘柄\", \"コード\", \"kabuka1\") VALUES (11, 'z', 4003, 80)"},
        {"UPDATE OR REPLACE onto another code's row", "UPDATE OR REPLACE \"list\" SET \"ID\" = 13 WHERE \"ID\" = 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db->exec(QString::fromUtf8(stocks));
        ASSERT_EQ(staleCodeChanges(*db), 0);
        if (*c.write) {
            db->exec(QString::fromUtf8(c.write));
            ASSERT_GT(staleCodeChanges(*db), 0);   // what the cards would show for good without the check
        }
        const QVariant counter = db->value("SELECT data_version FROM pragma_data_version");
        platform::keepCodeChangeInStep(path);
        EXPECT_EQ(staleCodeChanges(*db), 0);
        EXPECT_EQ(staleChanges(*db), 0);
        EXPECT_EQ(db->value("SELECT data_version FROM pragma_data_version") != counter, *c.write != 0);
    }
}

// Files of the previous version (changes kept, cards joined through list) and of earlier ones
// (changes computed by the views) are upgraded on opening, each with every result unchanged.
TEST_F(StoredChanges, AnEarlierFileIsUpgradedInPlaceOnOpenWithEveryResultUnchanged)
{
    db->exec(R"sql(
INSERT INTO "list" ("銘柄", "コード", "市場", "単位", "kabuka1", "kabuka2", "kabuka3", "kabuka10") VALUES
    ('一部', 2001, '東証１部', 'D100', 1500, 1400, 0, 1600),
    ('二部', 2002, '東証２部', 'A1', 300, NULL, 330, 7),
    ('無価格', 2003, '東証１部', 'D100', NULL, 5, 5, 5),
    ('零', 2004, 'マザーズ', 'F1000', 0, 5, 5, 5),
    ('二部の二', 2002, '東証２部', 'A1', 900, 800, 330, 7);
INSERT INTO "mydata" ("情報源", "コード", "市場", "単位") VALUES ('推奨', 2001, '東証１部', 'D100'),
    ('新高値', 2002, '東証２部', 'A1'), ('x', 2003, '東証１部', 'D100'), ('y', 9999, '', ''), ('z', 'ab', '', '');
)sql");
    const QStringList sources{"list1plus", "list1plus-1bu", "list1plus-30", "a000-all", "a000-okiniiri", "a000-10sita"};
    auto results = [&] {
        QStringList all;
        for (const QString& s : sources) all << typedRows(*db, QStringLiteral("SELECT * FROM \"%1\"").arg(s));
        return all;
    };
    const QStringList present = results();
    const QByteArray layout = db->value("SELECT group_concat(\"type\" || \"name\" || \"sql\", ';') FROM "
                                        "(SELECT * FROM sqlite_master ORDER BY \"name\")")
                                  .toByteArray();
    db.reset();
    const QString pristine = dir.filePath(QStringLiteral("pristine.mdb"));
    ASSERT_TRUE(QFile::copy(path, pristine));

    struct Case {
        const char* name;
        const char* layout;
    };
    const Case cases[] = {{"previous version", testing_support::kPreviousLayout},
                          {"earlier version", testing_support::kEarlierChangeLayout}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Database::releaseUnused();
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(pristine, path));
        db = std::make_unique<Sqlite>(path);
        db->exec(c.layout);
        ASSERT_EQ(results(), present);   // the earlier layout answers alike
        ASSERT_FALSE(db->value("SELECT count(*) FROM sqlite_master WHERE name = 'code_change'").toBool());

        {
            auto database = platform::Database::open(path);
            platform::Recordset rs = database->openRecordset(QStringLiteral("select * from [list1plus]"));
            EXPECT_EQ(rs.recordCount(), 3);
        }
        EXPECT_EQ(db->value("PRAGMA user_version").toInt(), 2);
        EXPECT_EQ(db->value("SELECT count(*) FROM \"list_change\"").toInt(), 6);
        EXPECT_EQ(db->value("SELECT count(*) FROM \"code_change\"").toInt(), 5);
        EXPECT_EQ(results(), present);
        EXPECT_EQ(db->value("SELECT count(*) FROM \"list\"").toInt(), 6);
        // The upgraded file keeps its changes in step with later writes.
        db->exec("UPDATE \"list\" SET \"kabuka2\" = 1200 WHERE \"コード\" = 2001");
        EXPECT_EQ(typedRows(*db, "SELECT \"ratio1\" FROM \"list1plus\" WHERE \"コード\" = 2001"), QStringList{"r-20"});
        EXPECT_EQ(typedRows(*db, "SELECT \"ratio1\" FROM \"a000-all\" WHERE \"コード\" = 2001"), QStringList{"r-20"});
        EXPECT_EQ(staleChanges(*db), 0);
        EXPECT_EQ(staleCodeChanges(*db), 0);
        db->exec("UPDATE \"list\" SET \"kabuka2\" = 1400 WHERE \"コード\" = 2001");
        // ... and has the layout of a new file.
        EXPECT_EQ(db->value("SELECT group_concat(\"type\" || \"name\" || \"sql\", ';') FROM "
                            "(SELECT * FROM sqlite_master ORDER BY \"name\")")
                      .toByteArray(),
                  layout);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".new")));
        db.reset();
    }
}

}  // namespace
