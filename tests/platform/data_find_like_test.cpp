#include <gtest/gtest.h>

#include "data_fixture.h"
#include "platform/data/dialect.h"
#include "platform/data/sqlite_support.h"

#include <sqlite3.h>

using data_fixture::StockDb;
using platform::Recordset;

namespace {

// A find by "field Like 'pattern'" is answered from the cells; it must meet the rows the same
// criterion meets when the engine runs it as SQL.
TEST(FindLike, MeetsTheRowsTheEngineMeets) {
    StockDb fx;
    const char* criteria[] = {
        "コード Like'72*'",  "ID Like'*'",        "id Like'*1*'",      "銘柄 Like'*電機*'",  "銘柄 like 'abcd*'",
        "[情報源] Like'*a*'", "市場 Like'*'",      "コード Like'6#0#'", "銘柄 Like'[!A-Z]*'", "日付 Like'453*'",
        "コード Like'99*'",
    };
    for (const char* c : criteria) {
        const QString criterion = QString::fromUtf8(c);
        ASSERT_TRUE(platform::fieldLike(criterion)) << c;
        Recordset all = fx.db->openRecordset(QStringLiteral("select * from [mydata]"));
        Recordset sql = fx.db->openRecordset(QStringLiteral("select * from [mydata] where ") + criterion);
        QStringList expected, found;
        for (int r = 0; r < sql.recordCount(); ++r) expected << sql.text(r, 0);
        all.FindFirst(criterion);
        while (!all.NoMatch()) {
            found << all.text(all.position(), 0);
            all.FindNext(criterion);
        }
        EXPECT_EQ(found, expected) << c;
        // Backwards from the last record: the nearest match before it.
        all.MoveLast();
        const QString last = all.text(all.position(), 0);
        QStringList before = expected;
        before.removeAll(last);
        all.FindPrevious(criterion);
        EXPECT_EQ(all.NoMatch(), before.isEmpty()) << c;
        if (!before.isEmpty()) EXPECT_EQ(all.text(all.position(), 0), before.last()) << c;
    }
    EXPECT_FALSE(platform::fieldLike(QStringLiteral("コード Like'7*' and ID=1")));
    EXPECT_FALSE(platform::fieldLike(QStringLiteral("コード=7203")));
}

// The engine's Like reads a text's bytes as the program reads text (QString::fromUtf8): whatever
// the bytes, valid or not, it meets what LikePattern meets in the decoded text.
TEST(EngineLike, AgreesWithThePatternOverAnyBytes) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    platform::detail::registerFunctions(db);
    const QByteArray texts[] = {
        "", "abc", "ABC", "aBc d", "7203", "a\0b", QByteArray("x\0y", 3), "\xC3\x84pfel", "\xC3\xA4PFEL",    // Ä / ä
        "\xCE\xA3\xCE\xB9", "\xCF\x83\xCE\xB9",                                                             // Σι / σι
        "\xEF\xBC\xA1\xEF\xBC\xA2", "\xEF\xBD\x81\xEF\xBD\x82",                                             // ＡＢ / ａｂ
        "\xE6\x9D\xB1\xE8\xA8\xBC", "\xF0\x9F\x98\x80x",                                                   // 東証, an emoji
        "\xEF\xBB\xBF" "abc",                                                                                // a byte order mark
        "\xC3", "a\x80z", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "ab\xE6\x9D",  // not UTF-8
    };
    const char* patterns[] = {"*", "a*", "*B*", "?b*", "*\xC3\xA4*", "*\xCF\x83*", "\xEF\xBD\x81*", "[!a-z]*", "#*",
                              "*\xE8\xA8\xBC", "??", "*z", "*\xEF\xBF\xBD*", "x?y"};
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT ?2 LIKE ?1", -1, &st, nullptr), SQLITE_OK);
    for (const char* pattern : patterns) {
        const platform::detail::LikePattern compiled(QString::fromUtf8(pattern));
        for (const QByteArray& text : texts) {
            sqlite3_bind_text(st, 1, pattern, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
            EXPECT_EQ(sqlite3_column_int(st, 0) != 0, compiled.matches(QString::fromUtf8(text)))
                << pattern << " / " << text.toHex().constData();
            sqlite3_reset(st);
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

}  // namespace
