#include "schema_fixture.h"

#include "platform/data/schema.h"

#include <QDir>
#include <QFile>
#include <cmath>

using schema_fixture::Sqlite;

namespace {

const QStringList kTrendRow{"ID", "銘柄", "コード", "市場", "単位", "kabuka1", "kabuka10", "ratio1", "ratio2",
                            "ratio3", "ratio4", "ratio5", "ratio6", "ratio7", "ratio8", "ratio9"};
const QStringList kCardRecord{"ID", "情報源", "日付", "銘柄", "コード", "市場", "単位", "情報"};
const QStringList kCardTrendRow = kCardRecord + QStringList{"kabuka1", "ratio1", "ratio2", "ratio3", "ratio4",
                                                            "ratio5", "ratio6", "ratio7", "ratio8", "ratio9"};

class MainDatabase : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("druvolo.mdb"));
        platform::ensureMainDatabase(path);
        db = std::make_unique<Sqlite>(path);
    }
    QStringList columns(const QString& source)
    {
        QStringList names;
        db->rows(QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(source), &names);
        return names;
    }
    // Codes of the rows a row source delivers.
    std::vector<long long> codes(const QString& source)
    {
        std::vector<long long> out;
        for (const auto& row : db->rows(QStringLiteral("SELECT \"コード\" FROM \"%1\"").arg(source)))
            out.push_back(row[0].toLongLong());
        return out;
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<Sqlite> db;
};

TEST_F(MainDatabase, NewDatabaseHoldsTheListedStocksAfterThePlaceholder)
{
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list\"").toInt(), 3769);
    EXPECT_EQ(db->value("SELECT \"コード\" FROM \"list\" ORDER BY \"ID\" LIMIT 1").toInt(), 1001);
    EXPECT_EQ(db->value("SELECT count(*) FROM \"hojyo\"").toInt(), 3769);
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list-base\"").toInt(), 3769);
    EXPECT_EQ(db->value("SELECT \"コード\" FROM \"list-base\" LIMIT 1").toInt(), 1001);
    const auto toyota = db->rows("SELECT \"銘柄\", \"市場\", \"単位\", \"kabuka1\" FROM \"list\" WHERE \"コード\" = 7203");
    ASSERT_EQ(toyota.size(), 1u);
    EXPECT_EQ(toyota[0][0].toString(), QStringLiteral("トヨタ自動車"));
    EXPECT_EQ(toyota[0][1].toString(), QStringLiteral("東証１部"));
    EXPECT_EQ(toyota[0][2].toString(), QStringLiteral("D100"));
    EXPECT_FALSE(toyota[0][3].isValid());
    // Every listed stock: a four-digit code, a mapped market, unit D100, no price.
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list\" WHERE \"コード\" BETWEEN 1000 AND 9999 AND \"単位\" = 'D100' "
                        "AND \"市場\" IN ('東証１部', '東証２部', 'マザーズ') AND \"kabuka1\" IS NULL").toInt(), 3768);
    EXPECT_EQ(db->value("SELECT count(DISTINCT \"市場\") FROM \"list\" WHERE \"コード\" <> 1001").toInt(), 3);
    // One period record, unit day.
    const auto record = db->rows("SELECT * FROM \"日付\"");
    ASSERT_EQ(record.size(), 1u);
    ASSERT_EQ(record[0].size(), 22u);
    EXPECT_EQ(record[0][11].toString(), QStringLiteral("day"));
    // No saved query delivers a stock without price or card yet.
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list1plus\"").toInt(), 0);
}

TEST_F(MainDatabase, AnExistingFileIsLeftAsItIs)
{
    db->exec("DELETE FROM \"list\" WHERE \"コード\" = 7203");
    db.reset();
    platform::ensureMainDatabase(path);
    db = std::make_unique<Sqlite>(path);
    EXPECT_EQ(db->value("SELECT count(*) FROM \"list\"").toInt(), 3768);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".new")));
}

TEST_F(MainDatabase, EverySavedQueryDeliversItsColumnsInOrder)
{
    for (const QString& q : schema_fixture::kTrendQueries) EXPECT_EQ(columns(q), kTrendRow) << q.toStdString();
    for (const QString& q : schema_fixture::kCardTrendQueries) EXPECT_EQ(columns(q), kCardTrendRow) << q.toStdString();
    for (const QString& q : schema_fixture::kCardQueries) EXPECT_EQ(columns(q), kCardRecord) << q.toStdString();
    EXPECT_EQ(columns("mydata"), kCardRecord);
    EXPECT_EQ(columns("list-base"), (QStringList{"ID", "銘柄", "コード", "市場", "単位"}));
    EXPECT_EQ(columns("list").mid(1, 5), (QStringList{"銘柄", "コード", "市場", "単位", "kabuka1"}));
    EXPECT_EQ(columns("list").size(), 15);
    EXPECT_EQ(columns("hojyo"), columns("list"));
    EXPECT_EQ(columns("日付").size(), 22);
    EXPECT_EQ(columns("日付").at(11), QStringLiteral("kabuka11"));
}

TEST_F(MainDatabase, ChangesAreDecimalPercentagesAndNullWithoutBothPrices)
{
    // Latest 200; one period back 210, two back 190, three back missing, four back 0, five back 201, ... nine back 100.
    db->exec("UPDATE \"list\" SET \"kabuka1\" = 200, \"kabuka2\" = 210, \"kabuka3\" = 190, \"kabuka4\" = NULL, "
             "\"kabuka5\" = 0, \"kabuka6\" = 201, \"kabuka7\" = 200, \"kabuka8\" = 300, \"kabuka9\" = 199, "
             "\"kabuka10\" = 100 WHERE \"コード\" = 7203");
    db->exec("UPDATE \"list\" SET \"kabuka1\" = 0, \"kabuka2\" = 100 WHERE \"コード\" = 6758");
    db->exec("INSERT INTO \"mydata\" (\"情報源\", \"コード\", \"市場\", \"単位\") VALUES "
             "('a', 7203, '東証１部', 'D100'), ('b', 6758, '東証１部', 'D100'), ('c', 9999, '東証１部', 'D100')");

    const auto trend = db->rows("SELECT * FROM \"list1plus\" WHERE \"コード\" = 7203");
    ASSERT_EQ(trend.size(), 1u);
    EXPECT_EQ(trend[0][5].toInt(), 200);
    EXPECT_EQ(trend[0][6].toInt(), 100);
    const QVariant null;
    const std::vector<QVariant> expected{5.0, -5.0, null, null, 0.5, 0.0, 50.0, -0.5, -50.0};
    for (int n = 0; n < 9; ++n) {
        const QVariant& got = trend[0][std::size_t(7 + n)];
        if (!expected[std::size_t(n)].isValid())
            EXPECT_FALSE(got.isValid()) << "ratio" << n + 1;
        else
            EXPECT_NEAR(got.toDouble(), expected[std::size_t(n)].toDouble(), 1e-9) << "ratio" << n + 1;
    }
    // Whole-percent moves come out exact, so a condition bound such as -8 holds at the bound itself.
    db->exec("UPDATE \"list\" SET \"kabuka1\" = 100, \"kabuka2\" = 92, \"kabuka3\" = 107 WHERE \"コード\" = 9984");
    const auto exact = db->rows("SELECT \"ratio1\", \"ratio2\" FROM \"list1plus\" WHERE \"コード\" = 9984");
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0][0].toDouble(), -8.0);
    EXPECT_EQ(exact[0][1].toDouble(), 7.0);
    // The card of the same stock carries the latest price and the same changes.
    const auto card = db->rows("SELECT * FROM \"a000-all\" WHERE \"コード\" = 7203");
    ASSERT_EQ(card.size(), 1u);
    EXPECT_EQ(card[0][8].toInt(), 200);
    EXPECT_NEAR(card[0][13].toDouble(), 0.5, 1e-9);

    // A latest price of 0 leaves the stock out of the universes and every change Null;
    // a card whose stock has no row in list is kept without price.
    EXPECT_TRUE(db->rows("SELECT * FROM \"list1plus\" WHERE \"コード\" = 6758").empty());
    for (long long code : {6758, 9999}) {
        const auto row = db->rows(QStringLiteral("SELECT * FROM \"a000\" WHERE \"コード\" = %1").arg(code));
        ASSERT_EQ(row.size(), 1u) << code;
        for (std::size_t c = 9; c < 18; ++c) EXPECT_FALSE(row[0][c].isValid()) << code << " column " << c;
    }
}

TEST_F(MainDatabase, EachCardIsOneRowEvenWhenItsCodeStandsTwiceInList)
{
    db->exec("INSERT INTO \"list\" (\"銘柄\", \"コード\", \"市場\", \"単位\", \"kabuka1\") VALUES ('二重', 7203, '東証１部', 'D100', 5)");
    db->exec("UPDATE \"list\" SET \"kabuka1\" = 3000 WHERE \"銘柄\" = 'トヨタ自動車'");
    db->exec("INSERT INTO \"mydata\" (\"情報源\", \"コード\") VALUES ('a', 7203)");
    const auto rows = db->rows("SELECT \"kabuka1\" FROM \"a000-all\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toInt(), 3000);  // the first stock of that code
}

// Stocks and cards chosen so that each universe has one that belongs and one that does not.
class Universes : public MainDatabase {
protected:
    void SetUp() override
    {
        MainDatabase::SetUp();
        db->exec(R"sql(
DELETE FROM "list" WHERE "コード" <> 1001;
INSERT INTO "list" ("銘柄", "コード", "市場", "単位", "kabuka1", "kabuka2") VALUES
    ('一部百株', 2001, '東証１部', 'D100', 1500, 1400),     -- one unit 150,000 yen
    ('名証二部', 2002, '名証２部', 'D100', 4000, 4100),     -- 400,000
    ('ヘラ一株', 2003, 'ヘラクレス', 'A1', 700000, 690000),  -- 700,000
    ('一部千株', 2004, '東証１部', 'F1000', 2000, 1900),    -- 2,000,000
    ('店頭十株', 2005, '店頭', 'B10', 5000, 5000),          -- 50,000
    ('無価格', 2006, '東証１部', 'D100', NULL, NULL),
    ('二部五十', 2007, '東証２部', 'C50', 3000, 3000);      -- 150,000
INSERT INTO "card_kind" ("kind", "word") VALUES ('推奨', 'おすすめ');
INSERT INTO "mydata" ("情報源", "日付", "銘柄", "コード", "市場", "単位", "情報") VALUES
    ('X新聞 推奨', 45000, '一部百株', 2001, '東証１部', 'D100', ''),
    ('新高値速報', 45000, '名証二部', 2002, '名証２部', 'D100', ''),
    ('短期注目', 45000, 'ヘラ一株', 2003, 'ヘラクレス', 'A1', ''),
    ('動意株', 45000, '一部千株', 2004, '東証１部', 'F1000', ''),
    ('上方修正ニュース', 45000, '店頭十株', 2005, '店頭', 'B10', ''),
    ('アナリスト格付', 45000, '無価格', 2006, '東証１部', 'D100', ''),
    ('株式分割', 45000, '二部五十', 2007, '東証２部', 'C50', ''),
    ('四季報', 45000, '不明', 2008, '', '', ''),
    ('今週のおすすめ', 45000, '一部百株', 2009, '東証１部', 'D100', '');
)sql");
    }
};

struct Membership {
    const char* query;
    int member;
    int outsider;  // 0: every row belongs
};

TEST_F(Universes, EachUniverseHoldsItsStocksAndCardsOnly)
{
    const Membership cases[] = {
        {"list1plus", 2001, 2006},         {"list1plus-1bu", 2001, 2002},    {"list1plus-2bu", 2002, 2001},
        {"list1plus-2bu", 2007, 2003},     {"list1plus-tentou", 2003, 2001}, {"list1plus-tentou", 2005, 2002},
        {"list1plus-1000U", 2004, 2001},   {"list1plus-100U", 2001, 2004},   {"list1plus-001U", 2003, 2001},
        {"list1plus-to1low", 2001, 2004},  {"list1plus-to1low", 2001, 2007}, {"list1plus-30", 2002, 2001},
        {"a000", 2008, 0},                 {"a000-all", 2006, 0},            {"a000-1bu", 2001, 2002},
        {"a000-2bu", 2002, 2001},          {"a000-tentou", 2003, 2001},      {"a000-1000U", 2004, 2001},
        {"a000-100U", 2001, 2004},         {"a000-001U", 2003, 2001},        {"a000-20t1", 2001, 2004},
        {"a000-okiniiri", 2001, 2002},     {"a000-okiniiri", 2009, 2003},    {"a000-takane", 2002, 2001},
        {"a000-suishoutanki", 2003, 2002}, {"a000-suishoutanki", 2001, 2004}, {"a000-tanki", 2002, 2001},
        {"a000-tanki", 2003, 2004},        {"a000-doui", 2004, 2001},        {"a000-gyouseki", 2005, 2001},
        {"a000-kakuduke", 2006, 2001},     {"a000-100-t1", 2001, 2004},      {"a000-10sita", 2005, 2001},
        {"a000-2050", 2002, 2001},         {"a000-50100", 2003, 2002},       {"a000-100ue", 2004, 2003},
        {"a000-tokushutani", 2005, 2001},  {"a000-tokushutani", 2007, 2003}, {"a000-okitan1bu", 2001, 2002},
        {"a000-okitan2bu", 2002, 2001},    {"a000-okitansinkou", 2003, 2005}, {"mydata-nosijo", 2008, 2001},
        {"sakujo-main", 2008, 0},          {"sakujo-bunkatu", 2007, 2001},   {"sakujo-takane", 2002, 2001},
        {"sakujo-nifty", 2006, 2001},
    };
    for (const Membership& c : cases) {
        const std::vector<long long> got = codes(QString::fromUtf8(c.query));
        EXPECT_NE(std::find(got.begin(), got.end(), c.member), got.end()) << c.query << " lacks " << c.member;
        if (c.outsider)
            EXPECT_EQ(std::find(got.begin(), got.end(), c.outsider), got.end()) << c.query << " holds " << c.outsider;
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end())) << c.query;  // key order here is code order
    }
    EXPECT_EQ(codes("a000-all").size(), 9u);
    EXPECT_EQ(codes("list1plus").size(), 6u);
}

TEST_F(Universes, WritesThroughTheSavedQueriesReachTheirTables)
{
    // Completion: the card gets market and unit and leaves the query.
    db->exec("UPDATE \"mydata-nosijo\" SET \"市場\" = '?', \"単位\" = '?' WHERE \"ID\" = 8");
    EXPECT_EQ(db->value("SELECT \"市場\" || \"単位\" FROM \"mydata\" WHERE \"ID\" = 8").toString(), QStringLiteral("??"));
    EXPECT_TRUE(codes("mydata-nosijo").empty());
    // Inserted through a query, the card lands in the table with a key of its own.
    db->exec("INSERT INTO \"mydata-nosijo\" (\"情報源\", \"コード\") VALUES ('手入力', 2001)");
    EXPECT_EQ(db->value("SELECT \"ID\" FROM \"mydata\" WHERE \"情報源\" = '手入力'").toInt(), 10);
    // Purge: a deletion through a purge set with a date condition removes the card itself.
    db->exec("UPDATE \"mydata\" SET \"日付\" = 40000 WHERE \"ID\" = 2");
    db->exec("DELETE FROM \"sakujo-takane\" WHERE \"日付\" < 44000");
    EXPECT_FALSE(db->value("SELECT count(*) FROM \"mydata\" WHERE \"ID\" = 2").toBool());
    db->exec("DELETE FROM \"sakujo-main\" WHERE \"ID\" = 7");
    EXPECT_EQ(db->value("SELECT count(*) FROM \"mydata\"").toInt(), 8);
    // The dictionary's row source edits the price table.
    db->exec("UPDATE \"list-base\" SET \"銘柄\" = '改名' WHERE \"コード\" = 2001");
    EXPECT_EQ(db->value("SELECT \"銘柄\" FROM \"list\" WHERE \"コード\" = 2001").toString(), QStringLiteral("改名"));
}

TEST(ListDatabase, HoldsTheFiveListsInTheirLayouts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kabulist.mdb"));
    platform::ensureListDatabase(path);
    Sqlite db(path);
    for (const char* table : {"checklist", "trend", "checklist2", "mylist"}) {
        QStringList names;
        db.rows(QStringLiteral("SELECT * FROM \"%1\"").arg(QString::fromUtf8(table)), &names);
        EXPECT_EQ(names, (QStringList{"ID", "コード", "銘柄", "市場", "単位", "date"})) << table;
    }
    QStringList names;
    db.rows(QStringLiteral("SELECT * FROM \"情報源リスト\""), &names);
    EXPECT_EQ(names, (QStringList{"ID", "情報源", "date"}));
    db.exec("INSERT INTO \"trend\" (\"コード\") VALUES (7203); INSERT INTO \"trend\" (\"コード\") VALUES (7203)");
    EXPECT_EQ(db.value("SELECT max(\"ID\") FROM \"trend\"").toInt(), 2);  // numbered by the database
}

}  // namespace
