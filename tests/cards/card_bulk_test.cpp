#include "bulk_fixture.h"
#include <numeric>
#include "cards/card_bulk.h"
#include "platform/data/recordset.h"

namespace {

std::vector<int> allRecords(const platform::Recordset& rs) {
    std::vector<int> records(size_t(rs.recordCount()));
    std::iota(records.begin(), records.end(), 0);
    return records;
}

class CardBulk : public BulkTest {};

// Cells a field does not take leave that field empty; the card is still added. A database source
// copies market and unit, a workbook source leaves them empty.
TEST_F(CardBulk, ImportAddsEveryRowAndLeavesCellsTheFieldsDoNotTakeEmpty) {
    const QString source = programDatabase(QStringLiteral("source.mdb"), {
        QStringLiteral("四季報|2024/09/30|日立|7203|東証１部|D100|増額"),
        QStringLiteral("新聞|not a date|Sony|x12|東証２部|A1|あ'い"),
        QStringLiteral("|||||| "),
        QStringLiteral("雑誌|2024/10/01|半端|7203.5|||"),
    });
    auto src = platform::Database::open(source);
    const platform::Recordset rows = src->openRecordset(QStringLiteral("select * from mydata"));
    struct Case {
        cards::ImportSource kind;
        QStringList expected;
    };
    const Case cases[] = {
        {cards::ImportSource::Database,
         {"四季報|2024/09/30|日立|7203|東証１部|D100|増額", "新聞||Sony||東証２部|A1|あ'い", "|||||| ", "雑誌|2024/10/01|半端||||"}},
        {cards::ImportSource::Workbook,
         {"四季報|2024/09/30|日立|7203|||増額", "新聞||Sony||||あ'い", "|||||| ", "雑誌|2024/10/01|半端||||"}},
    };
    for (const Case& c : cases) {
        auto db = mainDb();
        db->executeRaw(QStringLiteral("DELETE FROM mydata"));
        db->executeRaw(insertCard(QStringLiteral("元|2020/01/01|既存|1301|東証１部|D100|前からある")));
        const auto outcome = cards::importCards(*db, rows, allRecords(rows), c.kind);
        ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
        EXPECT_EQ(outcome.cards, 4);
        QStringList expected{QStringLiteral("元|2020/01/01|既存|1301|東証１部|D100|前からある")};
        expected << c.expected;
        EXPECT_EQ(storedCards(db), expected);
    }
    // Importing twice adds the cards twice, with new IDs.
    auto db = mainDb();
    cards::importCards(*db, rows, allRecords(rows), cards::ImportSource::Database);
    EXPECT_EQ(storedCards(db).size(), 9);
}

// A failure of the database part-way leaves the card table as it was.
TEST_F(CardBulk, AFailurePartWayImportsNothing) {
    const QString source = programDatabase(QStringLiteral("source.mdb"), {
        QStringLiteral("a|2024/09/30|一|1301|||"), QStringLiteral("b|2024/09/30|boom|1302|||"),
        QStringLiteral("c|2024/09/30|三|1303|||")});
    auto db = mainDb();
    db->executeRaw(insertCard(QStringLiteral("元|2020/01/01|既存|1301|||")));
    db->executeRaw(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON mydata WHEN NEW.銘柄 = 'boom' "
                                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));
    const platform::Recordset rows = platform::Database::open(source)->openRecordset(QStringLiteral("select * from mydata"));
    const auto outcome = cards::importCards(*db, rows, allRecords(rows), cards::ImportSource::Database);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("disk full"))) << outcome.error.toStdString();
    EXPECT_EQ(storedCards(db), QStringList{QStringLiteral("元|2020/01/01|既存|1301|||")});
}

// Market and unit come from the first stock of the code in the price table; an unknown code, an
// empty one and the placeholder 1001 give "?"; cards that have a market are left alone.
TEST_F(CardBulk, CompletionFillsCardsLackingAMarketFromThePriceTable) {
    auto db = mainDb();
    db->executeRaw(QStringLiteral("DELETE FROM list; INSERT INTO list (銘柄, コード, 市場, 単位) VALUES "
                                  "('見本', 1001, NULL, NULL), ('日立', 7203, '東証１部', 'D100'), "
                                  "('Sony', 6758, 'マザーズ', 'A1'), ('日立二', 7203, '東証２部', 'F1000');"));
    for (const char* card : {"s|2024/01/01|A|7203|||", "s|2024/01/01|B|9999|||", "s|2024/01/01|C|6758|  |E500|",
                             "s|2024/01/01|D||||", "s|2024/01/01|E|1001|||", "s|2024/01/01|F|6758|名証１部|C50|"})
        db->executeRaw(insertCard(QString::fromUtf8(card)));
    const auto outcome = cards::completeMarkets(*db);
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.cards, 5);
    EXPECT_EQ(storedCards(db), (QStringList{
        "s|2024/01/01|A|7203|東証１部|D100|", "s|2024/01/01|B|9999|?|?|", "s|2024/01/01|C|6758|マザーズ|A1|",
        "s|2024/01/01|D||?|?|", "s|2024/01/01|E|1001|?|?|", "s|2024/01/01|F|6758|名証１部|C50|"}));
    // Nothing left to complete: nothing changes.
    EXPECT_EQ(cards::completeMarkets(*db).cards, 0);
}

TEST_F(CardBulk, DeletionRemovesTheGivenCardsOrNone) {
    auto db = mainDb();
    for (const char* name : {"一", "二", "三", "四"})
        db->executeRaw(insertCard(QStringLiteral("s|2024/01/01|%1|1301|||").arg(QString::fromUtf8(name))));
    auto outcome = cards::deleteCards(*db, {1, 3, 77});
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.cards, 2);
    EXPECT_EQ(storedCards(db), (QStringList{"s|2024/01/01|二|1301|||", "s|2024/01/01|四|1301|||"}));

    db->executeRaw(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON mydata WHEN OLD.銘柄 = '四' "
                                  "BEGIN SELECT RAISE(ABORT, 'locked'); END;"));
    outcome = cards::deleteCards(*db, {2, 4});
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(storedCards(db).size(), 2);
}

TEST_F(CardBulk, OnlyADatabaseOfThisProgramCountsAsOne) {
    EXPECT_EQ(cards::programDatabaseProblem(programDatabase(QStringLiteral("other.mdb"), {})), QString());
    EXPECT_NE(cards::programDatabaseProblem(foreignDatabase()), QString());
    EXPECT_NE(cards::programDatabaseProblem(textFile()), QString());
    EXPECT_NE(cards::programDatabaseProblem(QString()), QString());
    EXPECT_NE(cards::programDatabaseProblem(dir.filePath(QStringLiteral("missing.mdb"))), QString());
}

}  // namespace
