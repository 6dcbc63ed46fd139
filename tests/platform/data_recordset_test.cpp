#include <gtest/gtest.h>

#include <QDate>
#include <sqlite3.h>
#include <functional>

#include "data_fixture.h"
#include "platform/data/cell_store.h"
#include "platform/data/data_control.h"
#include "platform/data/errors.h"

using data_fixture::StockDb;
using platform::DataError;
using platform::Recordset;

namespace {

QString field(const Recordset& rs, const char* name) { return rs.Fields(QString::fromUtf8(name)).toString(); }

TEST(Recordset, AddEditDeleteThroughATable) {
    StockDb fx;
    Recordset rs = fx.db->openRecordset(QStringLiteral("select * from [mydata]"));
    ASSERT_EQ(rs.recordCount(), 4);

    rs.AddNew();
    rs.setField(QStringLiteral("情報源"), QStringLiteral("会社四季報"));
    rs.setField(QStringLiteral("日付"), QStringLiteral("2024/3/5"));
    rs.setField(QStringLiteral("コード"), QStringLiteral("7203"));
    rs.setField(QStringLiteral("市場"), QStringLiteral("東証１部"));
    rs.Update();
    EXPECT_EQ(rs.recordCount(), 5);
    EXPECT_EQ(rs.position(), 4);
    EXPECT_EQ(rs.key().toLongLong(), 5);
    EXPECT_EQ(field(rs, "日付"), QStringLiteral("2024/03/05"));
    EXPECT_EQ(rs.Fields(QStringLiteral("コード")).toLongLong(), 7203);
    EXPECT_TRUE(rs.Fields(QStringLiteral("単位")).isNull());

    rs.FindFirst(QStringLiteral("ID =2"));
    rs.Edit();
    rs.setField(QStringLiteral("銘柄"), QStringLiteral("ソニー"));
    rs.setField(QStringLiteral("日付"), QDate(2024, 12, 31));
    rs.Update();
    EXPECT_EQ(rs.text(1, 3), QStringLiteral("ソニー"));

    rs.FindFirst(QStringLiteral("ID =3"));
    rs.Delete();
    rs.MoveNext();
    EXPECT_EQ(rs.key().toLongLong(), 4);
    EXPECT_EQ(rs.recordCount(), 4);

    // What is stored is what a new reader sees, in key order.
    Recordset again = fx.db->openRecordset(QStringLiteral("mydata"));
    EXPECT_EQ(fx.keys(QStringLiteral("mydata")), (std::vector<long long>{1, 2, 4, 5}));
    again.FindFirst(QStringLiteral("ID =2"));
    EXPECT_EQ(field(again, "銘柄"), QStringLiteral("ソニー"));
    EXPECT_EQ(field(again, "日付"), QStringLiteral("2024/12/31"));
    again.FindFirst(QStringLiteral("ID =5"));
    EXPECT_EQ(field(again, "情報源"), QStringLiteral("会社四季報"));
    EXPECT_EQ(field(again, "日付"), QStringLiteral("2024/03/05"));
    EXPECT_EQ(field(again, "市場"), QStringLiteral("東証１部"));
}

TEST(Recordset, WritesThroughSavedQueriesReachTheTable) {
    StockDb fx;
    Recordset nosijo = fx.db->openRecordset(QStringLiteral("select * from [mydata-nosijo]"));
    ASSERT_EQ(nosijo.recordCount(), 2);
    nosijo.MoveFirst();
    nosijo.Edit();
    nosijo.setField(QStringLiteral("市場"), QStringLiteral("東証１部"));
    nosijo.Update();
    // The edited card stays in the held rows; the table has it, the saved query no longer.
    EXPECT_EQ(nosijo.Fields(QStringLiteral("市場")).toString(), QStringLiteral("東証１部"));
    EXPECT_EQ(fx.keys(QStringLiteral("select * from mydata where 市場 = '東証１部'")), (std::vector<long long>{1, 2}));
    EXPECT_EQ(fx.keys(QStringLiteral("[mydata-nosijo]")), (std::vector<long long>{3}));

    nosijo.AddNew();
    nosijo.setField(QStringLiteral("銘柄"), QStringLiteral("新規"));
    nosijo.Update();
    EXPECT_EQ(nosijo.key().toLongLong(), 5);
    EXPECT_EQ(fx.keys(QStringLiteral("mydata")), (std::vector<long long>{1, 2, 3, 4, 5}));

    Recordset purge = fx.db->openRecordset(QStringLiteral("select * from [sakujo-main] where [日付] < now()-90"));
    int deleted = 0;
    purge.MoveFirst();
    while (!purge.atEOF()) {
        purge.Delete();
        purge.MoveNext();
        ++deleted;
    }
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(purge.recordCount(), 0);
    EXPECT_EQ(fx.keys(QStringLiteral("mydata")), (std::vector<long long>{3, 5}));
}

TEST(Recordset, WritesThatReachNoRowOrNoTableFail) {
    StockDb fx;
    Recordset rs = fx.db->openRecordset(QStringLiteral("select * from list"));
    rs.FindFirst(QStringLiteral("コード=7203"));
    fx.db->executeRaw(QStringLiteral("DELETE FROM list WHERE ID = 2"));
    rs.Edit();
    rs.setField(QStringLiteral("銘柄"), QStringLiteral("x"));
    EXPECT_THROW(rs.Update(), DataError);
    EXPECT_THROW(rs.Delete(), DataError);
    EXPECT_EQ(rs.recordCount(), 5);

    Recordset joined = fx.db->openRecordset(QStringLiteral("select * from list, mydata where list.コード = mydata.コード"));
    EXPECT_THROW(joined.Edit(), DataError);
    EXPECT_THROW(joined.AddNew(), DataError);
    EXPECT_THROW(fx.db->openRecordset(QStringLiteral("delete from list")), DataError);
    EXPECT_EQ(fx.keys(QStringLiteral("list")).size(), 4u);
}

TEST(Recordset, FieldsTakeWhatTheirTypeAccepts) {
    StockDb fx;
    Recordset rs = fx.db->openRecordset(QStringLiteral("select * from mydata"));
    rs.AddNew();
    rs.setField(QStringLiteral("日付"), QStringLiteral("そのうち"));
    rs.setField(QStringLiteral("コード"), QStringLiteral("72A"));
    rs.setField(QStringLiteral("情報"), 12.5);
    rs.setField(QStringLiteral("銘柄"), QStringLiteral("名前"));
    rs.Update();
    EXPECT_TRUE(rs.Fields(QStringLiteral("日付")).isNull());
    EXPECT_TRUE(rs.Fields(QStringLiteral("コード")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("情報")).toString(), QStringLiteral("12.5"));
    EXPECT_EQ(rs.Fields(QStringLiteral("銘柄")).toString(), QStringLiteral("名前"));
    EXPECT_THROW(rs.Fields(QStringLiteral("nosuchfield")), DataError);
    EXPECT_THROW(rs.setField(QStringLiteral("銘柄"), QStringLiteral("y")), DataError);   // no AddNew or Edit
}

TEST(Recordset, RowsComeInKeyOrderUnlessTheRowSourceOrdersThem) {
    StockDb fx;
    const std::pair<const char*, std::vector<long long>> cases[] = {
        {"list", {1, 2, 3, 4, 5}},
        {"select * from list where コード > 5000", {2, 3, 4, 5}},   // not in the order of the index
        {"select * from [list] where コード between 7210 and 6000;", {2, 4, 5}},
        {"select * from list where コード > 5000 order by コード", {4, 5, 2, 3}},
        {"select * from list1plus", {3, 5, 2, 4}},   // a saved query keeps its own order
        {"select * from list1plus where コード > 5000", {3, 5, 2, 4}},
    };
    for (const auto& [source, keys] : cases) EXPECT_EQ(fx.keys(QString::fromUtf8(source)), keys) << source;
}

TEST(Recordset, FindsHitAndMissInDeliveryOrder) {
    StockDb fx;
    Recordset rs = fx.db->openRecordset(QStringLiteral("select * from [list] order by コード"));   // 1, 4, 5, 2, 3
    rs.FindFirst(QStringLiteral("コード=7203"));
    EXPECT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.key().toLongLong(), 2);

    rs.FindFirst(QStringLiteral("コード=9999"));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.key().toLongLong(), 2);   // a miss leaves the current record

    rs.FindFirst(QStringLiteral("銘柄 Like'*電機*'"));
    EXPECT_EQ(rs.key().toLongLong(), 4);
    rs.FindNext(QStringLiteral("銘柄 Like'*電機*'"));
    EXPECT_EQ(rs.key().toLongLong(), 2);
    rs.FindNext(QStringLiteral("銘柄 Like'*電機*'"));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.key().toLongLong(), 2);
    rs.FindPrevious(QStringLiteral("銘柄 Like'*電機*'"));
    EXPECT_EQ(rs.key().toLongLong(), 4);
    rs.FindLast(QStringLiteral("id Like'*5*' or ID =1"));
    EXPECT_EQ(rs.key().toLongLong(), 5);
    rs.FindPrevious(QStringLiteral("id Like'*5*' or ID =1"));
    EXPECT_EQ(rs.key().toLongLong(), 1);
    rs.FindFirst(QStringLiteral("ratio2 - ratio1 between -1and 1 and 市場 = '東証１部'"));
    EXPECT_EQ(rs.key().toLongLong(), 5);

    // Plain comparisons with one value, in each form the screens write them.
    const std::pair<const char*, long long> equalities[] = {
        {"銘柄 = 'Sony'", 5}, {"[市場]='東証２部'", 3}, {"ratio1 = -400", 4}, {"ratio2 = -10.5", 2},
        {"ID =1", 1}, {"コード = '7203'", -1}, {"銘柄 = 'sony'", -1},
    };
    for (const auto& [criterion, key] : equalities) {
        rs.MoveLast();
        rs.FindFirst(QString::fromUtf8(criterion));
        EXPECT_EQ(rs.NoMatch(), key < 0) << criterion;
        EXPECT_EQ(rs.key().toLongLong(), key < 0 ? 3 : key) << criterion;
    }
    // A criterion that cannot run (an empty cell after "コード =") locates nothing.
    for (const char* broken : {"nosuchfield = 1", "コード =", ""}) {
        rs.FindFirst(QStringLiteral("ID =5"));
        EXPECT_THROW(rs.FindFirst(QString::fromUtf8(broken)), DataError) << broken;
        EXPECT_TRUE(rs.NoMatch()) << broken;
        EXPECT_EQ(rs.key().toLongLong(), 5);
    }
}

TEST(Recordset, DatesAndFindsOnDates) {
    StockDb fx;
    Recordset rs = fx.db->openRecordset(QStringLiteral("select * from [sakujo-main]"));
    EXPECT_EQ(rs.text(0, 2), QStringLiteral("2024/01/10"));
    EXPECT_EQ(rs.fieldValue(1, 2).toString(), QStringLiteral("2024/01/20"));
    EXPECT_DOUBLE_EQ(rs.value(0, 2).toDouble(), 45301);
    rs.FindFirst(QStringLiteral("日付 > #01/15/2024# and 日付 < now() - 90"));
    EXPECT_EQ(rs.key().toLongLong(), 2);
}

TEST(Recordset, MovesAndTheirEnds) {
    StockDb fx;
    Recordset empty = fx.db->openRecordset(QStringLiteral("select * from list where 1 = 0"));
    EXPECT_TRUE(empty.atEOF());
    EXPECT_TRUE(empty.atBOF());
    EXPECT_EQ(empty.fieldCount(), 8);
    EXPECT_THROW(empty.Fields(0), DataError);

    Recordset rs = fx.db->openRecordset(QStringLiteral("list"));
    int seen = 0;
    for (rs.MoveFirst(); !rs.atEOF(); rs.MoveNext()) ++seen;
    EXPECT_EQ(seen, 5);
    EXPECT_THROW(rs.MoveNext(), DataError);
    rs.MoveLast();
    EXPECT_EQ(rs.key().toLongLong(), 5);
    rs.MovePrevious();
    EXPECT_EQ(rs.key().toLongLong(), 4);
}

TEST(Recordset, ManyRowsKeepTheirValuesThroughDeletesAndAdditions) {
    StockDb fx;
    // As wide as a trend row and a few thousand rows long, texts repeating in one column only.
    QStringList extra;
    for (int c = 1; c <= 16; ++c) extra << QStringLiteral("c%1 INTEGER").arg(c);
    fx.db->executeRaw(QStringLiteral(
        "CREATE TABLE many (ID INTEGER PRIMARY KEY, name TEXT, market TEXT, price REAL, %1);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO many (ID, name, market, price, c16) SELECT i, CASE WHEN i % 7 = 0 THEN '' ELSE printf('銘柄%d', i) END, "
        "CASE i % 3 WHEN 0 THEN '東証１部' WHEN 1 THEN 'マザーズ' ELSE NULL END, i * 1.5, -i FROM n").arg(extra.join(u',')));
    Recordset rs = fx.db->openRecordset(QStringLiteral("many"));
    std::vector<long long> expected(5000);
    for (int i = 0; i < 5000; ++i) expected[size_t(i)] = i + 1;
    // Deletes at both ends and on either side of where the held rows change blocks.
    for (int at : {0, 14, 15, 16, 47, 48, 2030, 2031, 2032, 4070, 4080, 4980}) {
        rs.setPosition(at);
        rs.Delete();
        expected.erase(expected.begin() + at);
    }
    rs.AddNew();
    rs.setField(QStringLiteral("name"), QStringLiteral("新顔"));
    rs.Update();
    ASSERT_EQ(rs.recordCount(), int(expected.size()) + 1);
    EXPECT_EQ(rs.text(rs.recordCount() - 1, 1), QStringLiteral("新顔"));
    const QString markets[] = {QStringLiteral("東証１部"), QStringLiteral("マザーズ"), QString()};
    for (int r = 0; r < int(expected.size()); ++r) {
        const long long id = expected[size_t(r)];
        ASSERT_EQ(rs.value(r, 0).toLongLong(), id) << r;
        EXPECT_EQ(rs.text(r, 1), id % 7 ? QStringLiteral("銘柄%1").arg(id) : QString()) << r;
        EXPECT_FALSE(rs.value(r, 1).isNull()) << r;   // an empty text stays a text
        EXPECT_EQ(rs.text(r, 2), markets[id % 3]) << r;
        EXPECT_EQ(rs.value(r, 2).isNull(), id % 3 == 2) << r;
        EXPECT_EQ(rs.number(r, 3), id * 1.5) << r;
        EXPECT_EQ(rs.value(r, 19).toLongLong(), -id) << r;
    }
    rs.FindFirst(QStringLiteral("name = ''"));
    EXPECT_EQ(rs.key().toLongLong(), 7);
    rs.FindFirst(QStringLiteral("market = 'マザーズ'"));
    EXPECT_EQ(rs.key().toLongLong(), 4);
}

TEST(DataControl, RefreshReplacesRowsOrKeepsThem) {
    StockDb fx;
    platform::DataControl data;
    int notified = 0;
    data.addRefreshListener([&] { ++notified; });
    EXPECT_THROW(data.recordset(), DataError);

    data.DatabaseName = fx.path;
    data.RecordSource = QStringLiteral("select * from [list1plus] where 市場 = '東証１部'");
    data.Refresh();
    EXPECT_EQ(data.recordset().recordCount(), 2);
    EXPECT_EQ(notified, 1);

    for (const char* source : {"select * from [nosuchquery]", "select * from list where", "select * from list where x = 'abc"}) {
        data.RecordSource = QString::fromUtf8(source);
        EXPECT_THROW(data.Refresh(), DataError) << source;
    }
    data.RecordSource = QStringLiteral("list");
    data.DatabaseName = fx.dir.filePath(QStringLiteral("missing.mdb"));
    EXPECT_THROW(data.Refresh(), DataError);
    EXPECT_FALSE(QFile::exists(data.DatabaseName));
    EXPECT_EQ(data.recordset().recordCount(), 2);
    EXPECT_EQ(notified, 1);

    // A record set opened elsewhere can be handed over.
    data.setRecordset(fx.db->openRecordset(QStringLiteral("mydata")));
    EXPECT_EQ(data.recordset().recordCount(), 4);
    EXPECT_EQ(notified, 2);
}

// Refreshes that read large, larger and smaller sets of rows one after the other, each into the
// memory the rows before it held: every value is the one just read, none left from before.
TEST(DataControl, EachRefreshHoldsExactlyTheRowsItRead) {
    StockDb fx;
    fx.db->executeRaw(QStringLiteral(
        "CREATE TABLE big (ID INTEGER PRIMARY KEY, n INTEGER, t TEXT);"
        "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 120000)"
        " INSERT INTO big SELECT i, i * 3, 'row ' || i || ' ' || substr('abcdefghijklmnopqrstuvwxyz', 1, i % 26) FROM k;"));
    platform::DataControl data;
    data.DatabaseName = fx.path;
    const struct {
        const char* source;
        int rows, first;
        bool textual;
    } reads[] = {
        {"select ID, n, t from big where ID <= 60000", 60000, 1, true},
        {"select ID, n * 2 as n, upper(t) as t from big", 120000, 1, true},
        {"select ID, n, t from big where ID > 100000", 20000, 100001, true},
        {"select ID, -n as n, n as t from big where ID <= 90000", 90000, 1, false},
    };
    for (const auto& read : reads) {
        SCOPED_TRACE(read.source);
        data.RecordSource = QString::fromUtf8(read.source);
        data.Refresh();
        platform::Recordset& rs = data.recordset();
        ASSERT_EQ(rs.recordCount(), read.rows);
        int wrong = 0;
        for (int r = 0; r < read.rows; ++r) {
            const int id = read.first + r;
            const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz").left(id % 26);
            QString t = QStringLiteral("row %1 %2").arg(id).arg(letters);
            qlonglong n = qlonglong(id) * 3;
            if (QByteArray(read.source).contains("upper")) t = t.toUpper(), n *= 2;
            if (!read.textual) t = QString::number(n), n = -n;
            if (rs.value(r, 0).toInt() != id || rs.value(r, 1).toLongLong() != n || rs.text(r, 2) != t) ++wrong;
        }
        EXPECT_EQ(wrong, 0);
    }
}

// The memory of a store given up is carved again from its start for the next one; what the next
// one does not reach is given back when it is done reading.
TEST(CellStore, TheNextStoreIsCarvedFromTheMemoryOfTheLast) {
    constexpr size_t kPiece = size_t(1) << 20;
    platform::detail::Arena last;
    std::vector<char*> pieces;
    for (int i = 0; i < 5; ++i) pieces.push_back(last.take(kPiece));   // two to a huge page: three pages
    platform::detail::Arena next;
    next.reuse(std::move(last));
    EXPECT_EQ(next.spareRegions(), 3u);
    EXPECT_EQ(next.take(kPiece), pieces[0]);
    EXPECT_EQ(next.take(kPiece), pieces[1]);
    EXPECT_EQ(next.take(kPiece), pieces[2]);
    EXPECT_EQ(next.spareRegions(), 1u);
    next.releaseSpare();
    EXPECT_EQ(next.spareRegions(), 0u);
    EXPECT_NE(next.take(kPiece), nullptr);   // fresh memory once the kept pages are used up
}

TEST(DataControl, ARefreshShowsEveryChangeMadeSinceTheLastOne) {
    StockDb fx;
    platform::DataControl data, other;
    data.DatabaseName = other.DatabaseName = fx.path;
    data.RecordSource = QStringLiteral("select * from [list1plus] where コード = 7203");
    other.RecordSource = QStringLiteral("list");
    other.Refresh();
    const QString update = QStringLiteral("UPDATE list SET ratio1 = %1 WHERE コード = 7203");
    struct Writer {
        const char* how;
        std::function<void(int)> write;
    };
    const Writer writers[] = {
        {"another connection",
         [&](int v) {
             sqlite3* h = nullptr;
             ASSERT_EQ(sqlite3_open(fx.path.toUtf8().constData(), &h), SQLITE_OK);
             EXPECT_EQ(sqlite3_exec(h, update.arg(v).toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
             sqlite3_close(h);
         }},
        {"this connection", [&](int v) { fx.db->executeRaw(update.arg(v)); }},
        {"another data control's record set",
         [&](int v) {
             Recordset& rs = other.recordset();
             rs.FindFirst(QStringLiteral("コード=7203"));
             rs.Edit();
             rs.setField(QStringLiteral("ratio1"), v);
             rs.Update();
         }},
        {"a new layout of the saved query",
         [&](int v) {
             fx.db->executeRaw(QStringLiteral("DROP VIEW list1plus; CREATE VIEW list1plus AS SELECT ID, 銘柄, コード, 市場, "
                                              "%1 AS ratio1 FROM list WHERE コード <> 1001")
                                   .arg(v));
         }},
    };
    int value = 100;
    for (const Writer& w : writers) {
        data.Refresh();
        w.write(++value);
        data.Refresh();
        EXPECT_EQ(data.recordset().Fields(QStringLiteral("ratio1")).toInt(), value) << w.how;
    }
}

TEST(DataControl, ARefreshOfUnchangedRowsStartsAgainAtTheFirstRecord) {
    StockDb fx;
    fx.db->executeRaw(QStringLiteral("CREATE VIEW dice AS SELECT ID, abs(random()) % 1000000 AS r FROM list"));
    platform::DataControl data;
    data.DatabaseName = fx.path;
    data.RecordSource = QStringLiteral("list");
    data.Refresh();
    data.recordset().MoveLast();
    data.recordset().Edit();
    data.recordset().FindFirst(QStringLiteral("コード=9999"));
    data.Refresh();
    EXPECT_EQ(data.recordset().recordCount(), 5);
    EXPECT_EQ(data.recordset().position(), 0);
    EXPECT_FALSE(data.recordset().editing());
    EXPECT_FALSE(data.recordset().NoMatch());

    // A row source whose answer varies by itself, directly or through a saved query, is read again.
    for (const char* source : {"select ID, abs(random()) % 1000000 as r from list", "dice"}) {
        data.RecordSource = QString::fromUtf8(source);
        data.Refresh();
        QStringList first, second;
        for (int r = 0; r < 5; ++r) first << data.recordset().text(r, 1);
        data.Refresh();
        for (int r = 0; r < 5; ++r) second << data.recordset().text(r, 1);
        EXPECT_NE(first, second) << source;
    }
}

TEST(Database, ACopyMadeAfterReleaseHoldsEveryWrite) {
    StockDb fx;
    Recordset rs = fx.db->openRecordset(QStringLiteral("list"));
    rs.AddNew();
    rs.setField(QStringLiteral("銘柄"), QStringLiteral("新顔"));
    rs.Update();
    platform::Database::releaseUnused();
    const QString copy = fx.dir.filePath(QStringLiteral("backup.mdb"));
    ASSERT_TRUE(QFile::copy(fx.path, copy));
    EXPECT_EQ(platform::Database::open(copy)->openRecordset(QStringLiteral("list")).recordCount(), 6);
}

TEST(Database, ConnectionsAreSharedPerFile) {
    StockDb fx;
    EXPECT_EQ(platform::Database::open(fx.path).get(), fx.db.get());
    EXPECT_EQ(platform::Database::open(fx.dir.path() + QStringLiteral("/./fixture.mdb")).get(), fx.db.get());
    QFile junk(fx.dir.filePath(QStringLiteral("junk.mdb")));
    junk.open(QIODevice::WriteOnly);
    junk.write("this is no database at all, just some text that is long enough to have a header");
    junk.close();
    EXPECT_THROW(platform::Database::open(junk.fileName()), DataError);
    EXPECT_THROW(platform::Database::open(QString()), DataError);
}

}  // namespace
