#include <gtest/gtest.h>

#include "data_fixture.h"
#include "platform/data/dialect.h"

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

}  // namespace
