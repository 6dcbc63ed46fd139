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
}


TEST_F(StoredChanges, AnEarlierFileIsUpgradedInPlaceOnOpenWithEveryResultUnchanged)
{
    db->exec(R"sql(
INSERT INTO "list" ("銘柄", "コード", "市場", "単位", "kabuka1", "kabuka2", "kabuka3", "kabuka10") VALUES
    ('一部', 2001, '東証１部', 'D100', 1500, 1400, 0, 1600),
    ('二部', 2002, '東証２部', 'A1', 300, NULL, 330, 7),
    ('無価格', 2003, '東証１部', 'D100', NULL, 5, 5, 5),
    ('零', 2004, 'マザーズ', 'F1000', 0, 5, 5, 5);
INSERT INTO "mydata" ("情報源", "コード", "市場", "単位") VALUES ('推奨', 2001, '東証１部', 'D100'),
    ('新高値', 2002, '東証２部', 'A1'), ('x', 2003, '東証１部', 'D100'), ('y', 9999, '', '');
)sql");
    const QStringList sources{"list1plus", "list1plus-1bu", "list1plus-30", "a000-all", "a000-okiniiri", "a000-10sita"};
    auto results = [&] {
        QStringList all;
        for (const QString& s : sources) all << typedRows(*db, QStringLiteral("SELECT * FROM \"%1\"").arg(s));
        return all;
    };
    const QStringList present = results();
    db->exec(testing_support::kEarlierChangeLayout);
    ASSERT_EQ(results(), present);   // the earlier layout answers alike

    {
        auto database = platform::Database::open(path);
        platform::Recordset rs = database->openRecordset(QStringLiteral("select * from [list1plus]"));
        EXPECT_EQ(rs.recordCount(), 2);
    }
    EXPECT_EQ(db->value("PRAGMA user_version").toInt(), 1);
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list_change\"").toInt(), 5);
    EXPECT_EQ(results(), present);
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list\"").toInt(), 5);
    // The upgraded file keeps its changes in step with later writes.
    db->exec("UPDATE \"list\" SET \"kabuka2\" = 1200 WHERE \"コード\" = 2001");
    EXPECT_EQ(typedRows(*db, "SELECT \"ratio1\" FROM \"list1plus\" WHERE \"コード\" = 2001"), QStringList{"r-20"});
    EXPECT_EQ(staleChanges(*db), 0);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".new")));
}

}  // namespace
