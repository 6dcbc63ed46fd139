#include <QWidget>
#include <gtest/gtest.h>
#include "platform/data/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/flexgrid.h"
#include "trend_fixture.h"
#include "trend_stocks/apply_pattern.h"

using namespace trend;
using trend_testing::Stock;

namespace {

TrendPattern conditionPattern(const QString& condition, int sortCol = 8, int sortOrder = 3,
                              std::vector<HeaderTint> tints = {{8, 0x8080FF}}) {
    TrendPattern p;
    p.control = "Command50";
    p.caption = "1";
    p.condition = condition;
    p.sortCol = sortCol;
    p.sortOrder = sortOrder;
    p.tints = std::move(tints);
    return p;
}

// A card-screen record: SQL text as a lead and fragments.
TrendPattern textPattern(const QString& leadWhere, const QString& leadAnd, std::vector<QString> fragments) {
    TrendPattern p;
    p.leadWhere = leadWhere;
    p.leadAnd = leadAnd;
    p.fragments = std::move(fragments);
    return p;
}

const QString kRise = "(r1 in [-500, -8])";
const QString kEither = "r1 < -5 or r2 < -5";

}  // namespace

TEST(AndFormTest, TrueExactlyForABaseWithAWhereClause) {
    struct Case {
        const char* base;
        bool andForm;
    } cases[] = {
        {"select * from [list1plus]", false},                                          // universe 1, or 22/23 over an empty list
        {"select * from [list1plus-1bu]", false},
        {"select * from [list1plus] where ([コード]=1301)", true},                     // 22/23 over one entry
        {"select * from [list1plus] where ([コード]=1301 Or  [コード]=1332)", true},   // 22/23 over two
        {"select * from [list1plus]WHERE [コード]=7203", true},
        {"select * from [where]", false},                                              // a name, not the keyword
        {"select * from [list1plus-nowhere]", false},
    };
    for (const Case& c : cases) EXPECT_EQ(AndFormTest(QString::fromUtf8(c.base)), c.andForm) << c.base;
}

TEST(PatternSqlText, KeywordParenthesesAndFragments) {
    struct Case {
        TrendPattern p;
        bool andForm;
        const char* text;
    } cases[] = {
        {conditionPattern(kRise), false, " where ( [ratio1] between -500 and -8 )"},
        {conditionPattern(kRise), true, " and ( [ratio1] between -500 and -8 )"},
        // A top-level choice of alternatives is kept inside the base's WHERE only in the and-form.
        {conditionPattern(kEither), false, " where [ratio1] < -5 or [ratio2] < -5"},
        {conditionPattern(kEither), true, " and ([ratio1] < -5 or [ratio2] < -5)"},
        {conditionPattern("(r1 < -5) or (r2 < -5 and r3 > 0)"), true, " and (( [ratio1] < -5 ) or ( [ratio2] < -5 and [ratio3] > 0 ))"},
        {conditionPattern("(r1 < -5 or r2 < -5) and r3 > 0"), true, " and ( [ratio1] < -5 or [ratio2] < -5 ) and [ratio3] > 0"},
        // Lead and fragments as written, the and-lead derived from the where-lead when not given.
        {textPattern(" where ([ratio1] between -6 and -500) ", {}, {"and [ratio2]<0", " or ([ratio3]>5)"}), false,
         " where ([ratio1] between -6 and -500) and [ratio2]<0 or ([ratio3]>5)"},
        {textPattern(" where ([ratio1] between -6 and -500) ", {}, {"and [ratio2]<0"}), true,
         " and ([ratio1] between -6 and -500) and [ratio2]<0"},
        {textPattern(" where ([ratio1]<-5", " and ([ratio1]<-5", {" or [ratio2]<-5)"}), true, " and ([ratio1]<-5 or [ratio2]<-5)"},
    };
    for (const Case& c : cases) EXPECT_EQ(patternSqlText(c.p, c.andForm), QString::fromUtf8(c.text)) << c.text;
}

// The engine over a grid and data control of its own, on a table that holds TrendRow columns.
class ApplyPatternTest : public trend_testing::TrendScreenTest {
protected:
    QWidget parent;
    ui::Data* data = nullptr;
    ui::FlexGrid* grid = nullptr;
    ui::CommandButton* button = nullptr;
    int titles = 0;
    PatternScreen screen;

    void SetUp() override {
        TrendScreenTest::SetUp();
        addStocks({
            {1301, "極洋", "東証１部", "D100", {-9, -2, 0, 0, 0, 0, 0, 0, 0}},
            {1332, "日本水産", "東証１部", "F1000", {-12, 0, 0, 0, 0, 0, 0, 0, 0}},
            {1333, "マルハ", "東証１部", "F1000", {-7, -5, 0, 0, 0, 0, 0, 0, 0}},
            {7203, "トヨタ", "東証１部", "D100", {-30, 0, 0, 0, 0, 0, 0, 0, 0}},
            {9999, "空", "?", "?", {}},
        });
        mainDb()->executeRaw("update [list] set kabuka2 = null where [コード] = 9999");
        data = new ui::Data(&parent, {.name = "Data1"});
        grid = new ui::FlexGrid(&parent, {.name = "MSFlexGrid1"});
        button = new ui::CommandButton(&parent, {.name = "Command50", .caption = "1", .backColor = 0x80C0FF});
        grid->bind(data);
        data->DatabaseName = platform::mainDatabasePath();
        screen = {data, grid, [this] { ++titles; }};
    }
    QStringList codes() const {
        QStringList out;
        for (int r = 1; r < grid->Rows(); ++r) out << grid->TextMatrix(r, 3);
        return out;
    }
    void apply(const TrendPattern& p, const QString& base) { ApplyTrendPattern(p, button, base, AndFormTest(base), screen); }
};

TEST_F(ApplyPatternTest, RefillsFromTheBaseThenTitlesSortsAndTints) {
    const QString base = "select * from [list1plus]";
    apply(conditionPattern(kRise), base);
    EXPECT_EQ(data->RecordSource, base + " where ( [ratio1] between -500 and -8 )");
    // An empty change matches nothing; numeric ascending on ratio1.
    EXPECT_EQ(codes(), QStringList({"7203", "1332", "1301"}));
    EXPECT_EQ(button->BackColor(), PatternMarkColor);
    EXPECT_EQ(titles, 1);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(grid->Col(), 8);
    EXPECT_EQ(grid->CellBackColor(), 0x8080FFu);

    // A second pattern starts again from the base: it does not narrow the rows on view.
    apply(conditionPattern("(r2 in [-6, -1])", 9, 2, {{8, 0xFFFFC0}, {9, 0xECB3E9}}), base);
    EXPECT_EQ(codes(), QStringList({"1301", "1333"}));
    EXPECT_EQ(grid->Col(), 9);
    EXPECT_EQ(grid->CellBackColor(), 0xECB3E9u);
    grid->setCol(8);
    EXPECT_EQ(grid->CellBackColor(), 0xFFFFC0u);
}

TEST_F(ApplyPatternTest, AndFormKeepsEveryAlternativeInsideTheList) {
    // A list of two codes: the alternatives must not reach 1333, outside the list.
    const QString base = "select * from [list1plus] where ([コード]=1301 Or  [コード]=7203)";
    apply(conditionPattern(kEither, 3, 1), base);
    EXPECT_EQ(codes(), QStringList({"1301", "7203"}));
    // The bare base (an empty list) takes the where-form.
    apply(conditionPattern(kEither, 3, 1), "select * from [list1plus]");
    EXPECT_EQ(codes(), QStringList({"1301", "1332", "1333", "7203"}));
}

TEST_F(ApplyPatternTest, GuardedFailureKeepsRowsButStillSortsAndTints) {
    apply(conditionPattern(kRise, 3, 1), "select * from [list1plus]");
    ASSERT_EQ(codes(), QStringList({"1301", "1332", "7203"}));
    // An and-form on a base without WHERE cannot run: the rows stay, sorted and tinted anew.
    ApplyTrendPattern(conditionPattern(kRise, 3, 2, {{10, 0xC0C0FF}}), button, "select * from [list1plus]", true, screen);
    EXPECT_EQ(codes(), QStringList({"7203", "1332", "1301"}));
    EXPECT_EQ(grid->Col(), 10);
    EXPECT_EQ(grid->CellBackColor(), 0xC0C0FFu);
    EXPECT_EQ(titles, 2);
}

TEST_F(ApplyPatternTest, UnguardedFailureGoesUpAfterMarking) {
    apply(conditionPattern(kRise), "select * from [list1plus]");
    TrendPattern p = conditionPattern(kRise);
    p.errorTrap = false;
    button->setBackColor(0x80C0FF);
    EXPECT_THROW(ApplyTrendPattern(p, button, "select * from [nothing-here]", false, screen), platform::DataError);
    EXPECT_EQ(button->BackColor(), PatternMarkColor);
    EXPECT_EQ(codes().size(), 3);
}

TEST_F(ApplyPatternTest, SortBeforeTitleAndNoTintsLeavesTheHeaderAlone) {
    apply(conditionPattern(kRise), "select * from [list1plus]");
    TrendPattern flat = conditionPattern("(r3 in [-3, 3])", 5, 2, {});
    flat.sortBeforeTitle = true;
    int sortedColAtTitle = -1;
    screen.hiTitle = [&] { sortedColAtTitle = grid->Col(); };
    apply(flat, "select * from [list1plus]");
    EXPECT_EQ(sortedColAtTitle, 5);
    EXPECT_EQ(grid->TextMatrix(1, 5), "F1000");
    EXPECT_EQ(grid->Col(), 5);
}
