#include <QRegularExpression>
#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/ui/flexgrid.h"
#include "shell/list_extraction.h"
#include "shell_fixture.h"

using shell::ListKind;

namespace {

// A grid bound to one list table, as the list windows bind theirs.
class ListGrid {
public:
    explicit ListGrid(const QString& table) : grid(nullptr, {.name = "MSFlexGrid1", .width = 6000, .height = 3000}) {
        data.DatabaseName = platform::listDatabasePath();
        data.RecordSource = QStringLiteral("select * from [") + table + QLatin1Char(']');
        grid.bind(&data);
        data.Refresh();
    }
    platform::DataControl data;
    ui::FlexGrid grid;
};

QStringList codes(int n) {
    QStringList c;
    for (int i = 0; i < n; ++i) c << QString::number(1301 + i);
    return c;
}

class ListExtractionTest : public shell_test::ShellTest {
protected:
    QString extract(const QString& table, const QStringList& entries, ListKind kind, int limit) {
        fillList(table, entries);
        ListGrid g(table);
        return shell::ListExtraction(g.grid, kind, limit);
    }
};

struct Case {
    const char* what;
    QStringList entries;
    ListKind kind;
    int limit;
    QString expected;
};

TEST_F(ListExtractionTest, BuildsTheRestrictionOfEachForm) {
    const Case cases[] = {
        {"no code", {}, ListKind::Codes, 150, QString()},
        {"one code follows the bracket", {"7203"}, ListKind::Codes, 150, "where [コード]=7203"},
        {"two codes", {"7203", "6758"}, ListKind::Codes, 150, " where ([コード]=7203 Or  [コード]=6758)"},
        {"codes that are no whole numbers are left out", {"7203", "abc", "12.5", "1;drop", " 6758 "}, ListKind::Codes,
         150, " where ([コード]=7203 Or  [コード]=6758)"},
        {"no source", {}, ListKind::Sources, 150, QString()},
        {"one source is compared whole", {"  日経新聞"}, ListKind::Sources, 150, " where [情報源]= '  日経新聞'"},
        {"several sources match their first four characters", {"  日経新聞朝刊", "四季報", "ab"}, ListKind::Sources, 150,
         " where ([情報源] like '*日経新聞*' Or [情報源]like '*四季報*' Or [情報源]like '*ab*')"},
        {"quotes are doubled", {"O'Neil"}, ListKind::Sources, 150, " where [情報源]= 'O''Neil'"},
        {"quotes are doubled in patterns", {"O'Neil", "it's"}, ListKind::Sources, 150,
         " where ([情報源] like '*O''Ne*' Or [情報源]like '*it''s*')"},
        {"blank sources are skipped", {"日経新聞", "   ", "", "四季報"}, ListKind::Sources, 150,
         " where ([情報源] like '*日経新聞*' Or [情報源]like '*四季報*')"},
        {"a list of blanks has no entry", {" ", "  "}, ListKind::Sources, 150, QString()},
        {"a lone blank source is compared whole", {"  "}, ListKind::Sources, 150, " where [情報源]= '  '"},
        // The form follows the rows of the list: one source left of two is still matched by its pattern.
        {"one source left of several", {"   ", "日経新聞朝刊"}, ListKind::Sources, 150,
         " where ([情報源] like '*日経新聞*')"},
        {"one code left of several", {"7203", "abc"}, ListKind::Codes, 150, " where ([コード]=7203)"},
        // A list of rows without a whole-number code names no stock (1000 belongs to none).
        {"no whole-number code of several", {"abc", "12.5"}, ListKind::Codes, 150, " where ([コード]=1000)"},
        {"no whole-number code of one", {"72O3"}, ListKind::Codes, 150, "where [コード]=1000"},
        {"full-width digits are a code as everywhere", {"７２０３"}, ListKind::Codes, 150, "where [コード]=7203"},
    };
    for (const Case& c : cases) {
        const QString table = c.kind == ListKind::Codes ? QStringLiteral("checklist") : QStringLiteral("情報源リスト");
        EXPECT_EQ(extract(table, c.entries, c.kind, c.limit), c.expected) << c.what;
    }
}

TEST_F(ListExtractionTest, TakesRowsUpToTheLimit) {
    const struct {
        int rows, limit, taken;
    } cases[] = {{150, 150, 150}, {151, 150, 150}, {100, 100, 100}, {101, 100, 100}};
    for (const auto& c : cases) {
        const QString sql = extract(QStringLiteral("checklist"), codes(c.rows), ListKind::Codes, c.limit);
        EXPECT_EQ(sql.count(QStringLiteral("[コード]=")), c.taken) << c.rows << " rows, limit " << c.limit;
        EXPECT_TRUE(sql.endsWith(QStringLiteral("[コード]=%1)").arg(1300 + c.taken))) << c.rows;
    }
    const QString sources = [&] {
        QStringList s;
        for (int i = 0; i < 151; ++i) s << QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0'));
        return extract(QStringLiteral("情報源リスト"), s, ListKind::Sources, 150);
    }();
    EXPECT_EQ(sources.count(QStringLiteral("like")), 150);
    EXPECT_FALSE(sources.contains(QStringLiteral("S150")));
}

// What the menu builds must be a SELECT the database runs, whatever the list cells hold.
TEST_F(ListExtractionTest, RestrictionsRunOnTheCardUniverse) {
    auto db = platform::Database::open(platform::mainDatabasePath());
    const QString base = QStringLiteral("select * from [a000-all]");
    const Case cases[] = {
        {"one code", {"7203"}, ListKind::Codes, 150, {}},
        {"codes with a stray cell", {"7203", "x'y"}, ListKind::Codes, 150, {}},
        {"one source with a quote", {"O'Neil"}, ListKind::Sources, 150, {}},
        {"sources with quotes", {"O'Neil", "it's", "  "}, ListKind::Sources, 150, {}},
    };
    for (const Case& c : cases) {
        const QString table = c.kind == ListKind::Codes ? QStringLiteral("checklist") : QStringLiteral("情報源リスト");
        const QString sql = base + extract(table, c.entries, c.kind, c.limit);
        EXPECT_NO_THROW(db->openRecordset(sql)) << c.what << ": " << sql.toStdString();
    }
}

}  // namespace
