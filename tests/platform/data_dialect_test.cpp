#include <limits>
#include <set>
#include <sqlite3.h>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include "data_fixture.h"
#include "platform/data/dialect.h"
#include "platform/data/errors.h"
#include "platform/data/sql_text.h"

using data_fixture::StockDb;
using Keys = std::vector<long long>;

namespace {

struct DialectCase {
    const char* sql;
    Keys expected;
};

TEST(Dialect, RowSourcesAsTheScreensWriteThem) {
    StockDb fx;
    const DialectCase cases[] = {
        {"select * from [list1plus]where [コード]=7203", {2}},
        {"select * from [a000-1bu]", {1}},
        {"select * from [情報源リスト] where ID =123", {123}},
        {"select * from [情報源リスト] where id Like'*5*'", {5, 15}},
        {"select * from list where 銘柄 Like'*電機*' and コード=7203", {2}},
        {"select * from s240930 where kodo =7203", {7203}},
        {"select * from list where [銘柄] like '*電機*'", {2, 4}},
        {"select * from list where コード Like'72*'", {2, 3}},
        {"select * from mydata where [情報源]like '*abcd*'", {1, 2}},
        {"select * from [sakujo-main] where [日付] < now()-90", {1, 2, 4}},
        {"select * from [sakujo-main] where [日付] > now()-90", {3}},
        {"select * from list where ([ratio1] between -6 and -500)", {2, 4}},
        {"select * from list where ([ratio1] between -500 and -6)", {2, 4}},
        {"select * from list where [ratio2] - [ratio1] between -1and 1", {2, 5}},
        {"select * from list where ratio1 > -5and ratio1 < 6", {3, 5}},
        {"select * from list where ratio4 <= 0.0and ratio1 >= 0", {3, 5}},
        {"SELECT * FROM list WHERE ratio1 BETWEEN 1And 10 Or コード=6758", {3, 5}},
        {"select * from list where [コード]/2 = 3601.5", {2}},
        {"select * from list where [ratio2]/2 + [ratio3]/2 = 1.5", {3}},
        {"select * from list where ([ratio1] + [ratio2]+ [ratio3]+ [ratio4])/5 < -100", {4}},
        {"select * from list where ratio3 - ratio2 between -(1 + 1) * 5 and (ratio1 - ratio1) + 2 / 4", {2, 3, 5}},
        {"select * from mydata where [日付] >= #01/15/2024# and [日付] < #2024/01/21#", {2}},
        {"select * from list where コード like '72#3'", {2}},
        {"select * from list where 銘柄 like '[A-C]*'", {3}},
        {"select * from list where 銘柄 like '[!A-Z]*電機'", {2}},
        {"select * from list where 銘柄 like 's?NY'", {5}},
        {"select * from list where 市場 like '*'", {2, 3, 4, 5}},
        {"select * from list where 銘柄 = \"Sony\" or 銘柄 & 'x' = 'ABCD産業x'", {3, 5}},
        {"select * from list where ratio1 between ratio2 and ratio3", {4, 5}},
        {"[list1plus]", {2, 3, 4, 5}},
        {"select * from list order by コード desc;", {3, 2, 5, 4, 1}},
    };
    for (const DialectCase& c : cases) {
        const QString sql = QString::fromUtf8(c.sql);
        try {
            Keys got = fx.keys(sql);
            if (!sql.contains(QLatin1String("order by")) && !sql.startsWith(u'[')) std::sort(got.begin(), got.end());
            EXPECT_EQ(got, c.expected) << c.sql << "\n -> " << platform::translateSql(sql).toStdString();
        } catch (const platform::DataError& e) {
            ADD_FAILURE() << c.sql << ": " << e.what();
        }
    }
}

TEST(Dialect, BrokenTextIsADataError) {
    for (const char* sql : {"select * from [list", "select * from list where 銘柄 = 'abc", "select * from list where x between 1",
                            "select * from mydata where 日付 > #13/45/2024#", "select * from list; delete from list"})
        EXPECT_THROW(platform::translateSql(QString::fromUtf8(sql)), platform::DataError) << sql;
}

TEST(Dialect, DateTexts) {
    struct Case {
        const char* text;
        const char* back;   // "" when no date
    };
    const Case cases[] = {
        {"2024/9/30", "2024/09/30"}, {"2024-09-30", "2024/09/30"}, {"09/30/2024", "2024/09/30"},
        {"24/09/30", "2024/09/30"},  {"99/12/31", "1999/12/31"},   {"1899/12/30", "1899/12/30"},
        {"2024/02/30", ""},          {"abc", ""},                  {"2024/9", ""},
    };
    for (const Case& c : cases) {
        double serial = -1;
        const bool ok = platform::dateTextToSerial(QString::fromUtf8(c.text), &serial);
        EXPECT_EQ(ok, *c.back != 0) << c.text;
        if (ok) EXPECT_EQ(platform::serialToDateText(serial), QString::fromUtf8(c.back)) << c.text;
    }
    EXPECT_EQ(platform::dateSerial(2024, 9, 30), 45565);
}

TEST(SqlText, QuotesAndWholeNumbers) {
    EXPECT_EQ(platform::sqlQuoted(QStringLiteral("O'Neil")), QStringLiteral("'O''Neil'"));
    EXPECT_EQ(platform::sqlEscaped(QStringLiteral("'x'")), QStringLiteral("''x''"));
    const std::pair<const char*, std::optional<long long>> cases[] = {
        {"7203", 7203}, {" 90 ", 90}, {"-5", -5}, {"+12", 12}, {"", std::nullopt}, {"-", std::nullopt},
        {"72 03", std::nullopt}, {"7203 or 1=1", std::nullopt}, {"1.5", std::nullopt}, {"0x10", std::nullopt},
        {"99999999999999999999", std::nullopt}, {"７２０３", 7203}, {"7203.0", 7203}, {"７２０３．００", 7203},
        {"　７２０３　", 7203}, {"－５", -5}, {"1e3", std::nullopt}, {".", std::nullopt}, {"--5", std::nullopt},
        {"-9223372036854775808", std::numeric_limits<long long>::min()},
        {"9223372036854775807", std::numeric_limits<long long>::max()}, {"9223372036854775808", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(platform::sqlWholeNumber(QString::fromUtf8(text)), expected) << text;
}

// The one rule for numbers: decimals, full-width digits, blanks around; nothing else. The level
// question's leading number is the one other rule.
TEST(SqlText, TypedNumbersAndLeadingNumbers) {
    const std::pair<const char*, std::optional<double>> numbers[] = {
        {"14", 14},        {"１４", 14},        {" 1.5 ", 1.5},      {"-.5", -0.5},       {"５．", 5},
        {"+0", 0},         {"", std::nullopt},  {"1 4", std::nullopt}, {"14日", std::nullopt}, {"1e3", std::nullopt},
        {"abc", std::nullopt}, {"-9223372036854775808", -9223372036854775808.0},
        {"1.5.1", std::nullopt}, {"５．５", 5.5}, {"\u22125", -5}, {"\t7\u3000", 7}, {"1,000", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}, {"0x10", std::nullopt}, {"5-", std::nullopt}, {"+-5", std::nullopt},
    };
    for (const auto& [text, expected] : numbers) EXPECT_EQ(platform::sqlNumber(QString::fromUtf8(text)), expected) << text;
    const std::pair<const char*, double> leading[] = {
        {"1 2", 12}, {"3円", 3}, {"１４", 14}, {"２．５", 2.5}, {"x5", 0}, {"", 0}, {" -6.5 ", -6.5}, {"1d2", 100},
        {"3=（1000-5000円）", 3}, {"1e3", 1000},
    };
    for (const auto& [text, expected] : leading) EXPECT_EQ(platform::leadingNumber(QString::fromUtf8(text)), expected) << text;
}

TEST(SqlText, QuotedUserTextStaysOneValue) {
    StockDb fx;
    const QString sql = QStringLiteral("select * from list where 銘柄 = ") + platform::sqlQuoted(QStringLiteral("x' or '1'='1"));
    EXPECT_TRUE(fx.keys(sql).empty());
}

// now() reads the clock once per run of a statement: every row of one run sees the same moment,
// in the result and in the condition alike, and the next run a later one.
TEST(EngineNow, OneValuePerRunOfAStatement) {
    StockDb fx;
    sqlite3* db = fx.db->handle();
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "with recursive n(i) as (select 1 union all select i + 1 from n where i < 300000) "
                                 "select now(), i from n where now() > 40000",
                                 -1, &st, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    std::vector<double> firsts;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        if (run > 0) QThread::msleep(20);
        std::set<double> moments;
        int rows = 0;
        QElapsedTimer took;
        took.start();
        while (sqlite3_step(st) == SQLITE_ROW) {
            moments.insert(sqlite3_column_double(st, 0));
            ++rows;
        }
        const qint64 ms = took.elapsed();
        sqlite3_reset(st);
        EXPECT_EQ(rows, 300000);
        ASSERT_GE(ms, 3) << "the run must outlast the clock's millisecond for the test to tell";
        EXPECT_EQ(moments.size(), 1u);
        firsts.push_back(*moments.begin());
    }
    sqlite3_finalize(st);
    EXPECT_GT(firsts[1] - firsts[0], 15.0 / 86400000);   // days: the second run began 20 ms later
}

}  // namespace
