#include "schema_fixture.h"

#include "demo/demo_data.h"
#include "platform/data/errors.h"
#include "platform/data/schema.h"

#include <QDir>

using schema_fixture::Sqlite;

namespace {

demo::Options options(std::uint32_t seed, int stocks = 0)
{
    demo::Options o;
    o.seed = seed;
    o.totalStocks = stocks;
    o.today = QDate(2024, 10, 6);  // a Sunday
    o.workbooks = false;
    return o;
}

// Everything the generator stores, as one text.
QString dump(const QString& folder)
{
    QString out;
    for (const auto& [file, tables] : {std::pair{QStringLiteral("druvolo.mdb"), QStringList{"list", "hojyo", "日付", "mydata"}},
                                       std::pair{QStringLiteral("kabulist.mdb"),
                                                 QStringList{"checklist", "trend", "checklist2", "mylist", "情報源リスト"}}}) {
        Sqlite db(QDir(folder).filePath(file));
        for (const QString& table : tables)
            for (const auto& row : db.rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(table))) {
                for (const QVariant& v : row) out += v.toString() + QLatin1Char('|');
                out += QLatin1Char('\n');
            }
    }
    return out;
}

TEST(DemoData, SameSeedSameDataAndEveryUniverseHasMembers)
{
    QTemporaryDir a, b, c;
    const demo::Summary s = demo::generate(a.path(), options(7));
    demo::generate(b.path(), options(7));
    demo::generate(c.path(), options(8));
    const QString first = dump(s.folder);
    EXPECT_EQ(first, dump(QDir(b.path()).filePath("Vostrel")));
    EXPECT_NE(first, dump(QDir(c.path()).filePath("Vostrel")));

    Sqlite db(QDir(s.folder).filePath("druvolo.mdb"));
    EXPECT_EQ(s.cards, 2000);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"mydata\"").toInt(), 2000);
    EXPECT_GT(s.stocks, 3768);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"list1plus\"").toInt(), s.stocks);
    EXPECT_EQ(db.value("SELECT \"コード\" FROM \"list\" ORDER BY \"ID\" LIMIT 1").toInt(), 1001);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"hojyo\""), db.value("SELECT count(*) FROM \"list\""));
    for (const QStringList* group : {&schema_fixture::kTrendQueries, &schema_fixture::kCardTrendQueries, &schema_fixture::kCardQueries})
        for (const QString& q : *group)
            EXPECT_GT(db.value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(q)).toInt(), 0) << q.toStdString();
    // Ten weekdays back from the Friday before the given Sunday, newest first.
    const auto record = db.rows("SELECT \"kabuka1\", \"kabuka2\", \"kabuka10\", \"kabuka11\", \"kabuka12\" FROM \"日付\"");
    ASSERT_EQ(record.size(), 1u);
    EXPECT_EQ(record[0][0].toString(), QStringLiteral("24/10/04"));
    EXPECT_EQ(record[0][1].toString(), QStringLiteral("24/10/03"));
    EXPECT_EQ(record[0][2].toString(), QStringLiteral("24/09/23"));
    EXPECT_EQ(record[0][3].toString(), QStringLiteral("day"));
    EXPECT_FALSE(record[0][4].toString().isEmpty());
    // Trends the patterns look for: risen over the last three periods after a flat stretch.
    EXPECT_GT(db.value("SELECT count(*) FROM \"list1plus\" WHERE \"ratio3\" BETWEEN -25 AND -4 AND "
                       "\"ratio9\" - \"ratio3\" BETWEEN -2 AND 2 AND \"ratio6\" - \"ratio3\" BETWEEN -2 AND 2").toInt(), 10);
    // Cards old enough for the purge, and a list entry of every list.
    EXPECT_GT(db.value("SELECT count(*) FROM \"sakujo-main\" WHERE \"日付\" < julianday('2024-10-06') - 2415018.5 - 90").toInt(), 0);
    Sqlite lists(QDir(s.folder).filePath("kabulist.mdb"));
    for (const char* table : {"checklist", "trend", "checklist2", "mylist", "情報源リスト"})
        EXPECT_GT(lists.value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QString::fromUtf8(table))).toInt(), 0) << table;
}

TEST(DemoData, AskedForANumberOfStocksPricesExactlyThatMany)
{
    QTemporaryDir dir;
    const demo::Summary s = demo::generate(dir.path(), options(1, 4000));
    EXPECT_EQ(s.stocks, 4000);
    Sqlite db(QDir(s.folder).filePath("druvolo.mdb"));
    EXPECT_EQ(db.value("SELECT count(*) FROM \"list1plus\"").toInt(), 4000);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"list\"").toInt(), 4001);
    EXPECT_EQ(db.value("SELECT count(DISTINCT \"コード\") FROM \"list\"").toInt(), 4001);
}

TEST(DemoData, RefusesAFolderWithDatabasesOfItsOwn)
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("Vostrel");
    platform::ensureMainDatabase(QDir(folder).filePath("druvolo.mdb"));
    EXPECT_THROW(demo::generate(dir.path(), options(1)), platform::DataError);
    Sqlite db(QDir(folder).filePath("druvolo.mdb"));
    EXPECT_EQ(db.value("SELECT count(*) FROM \"mydata\"").toInt(), 0);
    // A folder the generator made is replaced on the next run.
    QTemporaryDir demoDir;
    demo::generate(demoDir.path(), options(1));
    EXPECT_NO_THROW(demo::generate(demoDir.path(), options(2)));
}

}  // namespace
