// The whole listed-stock catalogue: every condition runs in both of its forms, and the buttons
// stand where their groups put them.
#include "ratio_table.h"

#include "demo/demo_data.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/recordset.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <random>

using namespace catalogue_test;
using trend::TrendPattern;

namespace {

const std::vector<TrendPattern>& all() { return trend::listedStockCatalogue(); }

bool orAtTopLevel(const QString& sql) {
    int depth = 0;
    const QStringList tokens = sql.split(u' ');
    for (const QString& t : tokens) {
        if (t == u"(") ++depth;
        else if (t == u")") --depth;
        else if (t == u"or" && depth == 0) return true;
    }
    return false;
}

// The condition as it follows " and " after a base that already restricts the universe.
QString andForm(const QString& sql) { return orAtTopLevel(sql) ? u'(' + sql + u')' : sql; }

// Random walks back from the latest price: flat, slow and steep, rising and falling, some with a
// jump in the last periods and some with an empty change, so that every pattern finds a few.
void fill(RatioTable& table, int rows) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    const double scales[] = {0.25, 0.6, 1.5, 3};
    for (int code = 1; code <= rows; ++code) {
        const double scale = scales[int(u(rng) * 4)];
        const double drift = -1.2 + 1.6 * u(rng);
        Ratios r;
        double price = 0;
        for (int k = 0; k < 9; ++k) {
            double step = (drift + (u(rng) - 0.5) * 2) * scale;
            if (k < 2 && u(rng) < 0.3) step = -20 + 32 * u(rng);
            price += step;
            r[k] = std::round(price * 2) / 2;
        }
        if (code % 20 == 0) r[code / 20 % 9] = NA;
        table.add(code, r);
    }
}

}  // namespace

TEST(ListedStockCatalogue, EveryConditionRunsInBothFormsAndStaysInTheList) {
    RatioTable table;
    const int rows = 8000;
    fill(table, rows);
    const auto list = [](std::initializer_list<int> codes) {
        QString where;
        for (int c : codes) where += (where.isEmpty() ? "[コード]=" : " Or  [コード]=") + QString::number(c);
        return AllListed + " where (" + where + ")";
    };
    const auto oneCode = [](int code) { return AllListed + "where [コード]=" + QString::number(code); };

    int orTopLevel = 0;
    for (const TrendPattern& p : all()) {
        SCOPED_TRACE(p.control.toStdString() + " " + p.caption.toStdString());
        const QString sql = trend::renderCondition(p.condition);
        orTopLevel += orAtTopLevel(sql);
        std::set<int> whereForm;
        ASSERT_NO_THROW(whereForm = table.codes(AllListed + " where " + sql));
        ASSERT_GE(whereForm.size(), 2u) << "too few rows to tell the forms apart";
        ASSERT_LT(whereForm.size(), size_t(rows));
        int in = *whereForm.begin(), out = 1;
        while (whereForm.count(out)) ++out;
        // A list holding one stock the pattern selects and one it does not.
        EXPECT_EQ(table.codes(list({in, out}) + " and " + andForm(sql)), std::set<int>{in});
        EXPECT_EQ(table.codes(oneCode(in) + " and " + andForm(sql)), std::set<int>{in});
        EXPECT_EQ(table.codes(oneCode(out) + " and " + andForm(sql)), std::set<int>{});
    }
    EXPECT_EQ(orTopLevel, 3) << "patterns whose condition is a bare choice of alternatives";
}

TEST(ListedStockCatalogue, RecordsFollowTheScreenWideRules) {
    ASSERT_EQ(all().size(), 73u);
    QSet<QString> controls;
    for (const TrendPattern& p : all()) controls << p.control;
    EXPECT_EQ(controls.size(), 73);

    const QSet<unsigned> tintColors{0x8080FF, 0xFFFFC0, 0xECB3E9, 0xC0E0FF, 0xC0C0FF,
                                    0xF7FECF, 0xF4FAD3, 0x80C0FF, 0xF5FDD0};
    const QSet<QString> ascendingOnRatio9{QStringLiteral("移動平均")};
    const QSet<QString> numericGroups{QStringLiteral("ランキング"), QStringLiteral("\u3000保合から上昇")};
    for (const TrendPattern& p : all()) {
        SCOPED_TRACE(p.control.toStdString() + " " + p.caption.toStdString());
        const bool flatRange = p.caption == u"保合";
        const bool r2 = p.caption == u"R2";
        if (ascendingOnRatio9.contains(p.group) || r2) {
            EXPECT_EQ(p.sortOrder, 1);
            EXPECT_EQ(p.sortCol, 16);
        } else if (numericGroups.contains(p.group) && !flatRange) {
            EXPECT_EQ(p.sortOrder, 3);
        } else {
            EXPECT_EQ(p.sortOrder, 2);
        }
        EXPECT_EQ(p.sortBeforeTitle, flatRange);
        if (flatRange) EXPECT_TRUE(p.tints.empty());
        for (const trend::HeaderTint& t : p.tints) {
            EXPECT_TRUE(t.col >= 8 && t.col <= 16) << t.col;
            EXPECT_TRUE(tintColors.contains(t.color)) << std::hex << t.color;
        }
        const bool unguarded = p.caption == u"E9" || p.group == u"移動平均"
                               || (p.group == u"2段階上げ" && p.caption == u"5");
        EXPECT_EQ(p.errorTrap, !unguarded);
        EXPECT_NE(p.faceColor, 0u) << "design colour";
    }
}

TEST(ListedStockCatalogue, ButtonsStandInTheirGroups) {
    constexpr int ClientWidth = 10875, ClientHeight = 7650;
    // A line of buttons: all at one top (or one left for a column), captions in order.
    struct Line {
        const char* group;
        bool column;
        int at;
        QStringList captions;
    };
    const Line lines[] = {
        {"上昇中", true, 3840, {"T9", "T8", "T7", "T6", "T5"}},
        {"連騰", false, 1320, {"E3", "E4", "E5", "E6", "E7", "E8", "E9"}},
        {"ランキング", true, 10080, {"1", "5", "9"}},
        {"ランキング", true, 10320, {"1", "5", "9"}},
        {"ランキング", true, 10560, {"保合"}},
        {"\u3000保合から上昇", false, -1560, {"D1", "D2", "D3", "D4"}},
        {"横這から上昇", false, 120, {"0", "1", "2", "3", "4", "5"}},
        {"横這から上昇", false, 360, {"B1", "B2", "B3", "B4", "B5", "B6", "B7"}},
        {"反転上昇", false, 720, {"1", "2", "3", "4", "5"}},
        {"反転上昇", false, 960, {"S1", "S2", "S3", "S4", "S5", "S6", "S7"}},
        {"押し目待ち", false, 240, {"R1", "R1", "R2", "R3"}},
        {"押し目待ち", false, 480, {"Q1", "Q2", "Q3", "Q4"}},
        {"2段階上げ", false, 1080, {"1", "2", "3", "4", "5"}},
        {"移動平均", false, 840, {"21", "31", "41"}},
        {"移動平均", false, 1080, {"22", "32", "42"}},
        {"移動平均", false, 1320, {"1", "23", "33", "43", "51", "52"}},
    };
    size_t placed = 0;
    for (const Line& line : lines) {
        std::vector<const TrendPattern*> on;
        for (const TrendPattern& p : all())
            if (p.group == QString::fromUtf8(line.group) && (line.column ? p.left : p.top) == line.at) on.push_back(&p);
        std::stable_sort(on.begin(), on.end(), [&](auto* a, auto* b) {
            return line.column ? a->top < b->top : a->left < b->left;
        });
        QStringList captions;
        for (auto* p : on) captions << p->caption;
        EXPECT_EQ(captions.join(u' ').toStdString(), line.captions.join(u' ').toStdString()) << line.group << " at " << line.at;
        placed += on.size();
    }
    EXPECT_EQ(placed, all().size());

    for (const TrendPattern& p : all()) {
        SCOPED_TRACE(p.control.toStdString() + " " + p.caption.toStdString());
        if (p.group == u"\u3000保合から上昇") {
            EXPECT_EQ(p.shown, trend::Shown::AboveClientArea);
            EXPECT_LE(p.top + p.height, 0);
        } else {
            // In the client area; only the second "R1" is not in view (it lies beneath the first).
            EXPECT_NE(p.shown, trend::Shown::AboveClientArea);
            EXPECT_EQ(p.shown == trend::Shown::InView, p.control != u"Command3");
            EXPECT_TRUE(p.left >= 0 && p.top >= 0 && p.left + p.width <= ClientWidth
                        && p.top + p.height <= ClientHeight);
        }
    }

    std::vector<const TrendPattern*> r1;
    for (const TrendPattern& p : all())
        if (p.caption == u"R1") r1.push_back(&p);
    ASSERT_EQ(r1.size(), 2u);
    EXPECT_EQ(QSet<QString>({r1[0]->control, r1[1]->control}), QSet<QString>({"Command23", "Command3"}));
    EXPECT_EQ(std::tie(r1[0]->left, r1[0]->top, r1[0]->width, r1[0]->height),
              std::tie(r1[1]->left, r1[1]->top, r1[1]->width, r1[1]->height));
}

// Every condition over every saved-query universe of the screen, on a believable main database.
TEST(ListedStockCatalogue, EveryConditionRunsInEveryUniverse) {
    QTemporaryDir dir;
    demo::Options options;
    options.seed = 3;
    options.totalStocks = 1500;
    options.cards = 0;
    options.today = QDate(2024, 10, 4);
    options.workbooks = false;
    const demo::Summary made = demo::generate(dir.path(), options);
    auto db = platform::Database::open(QDir(made.folder).filePath("druvolo.mdb"));
    const char* universes[] = {"list1plus", "list1plus-1bu", "list1plus-2bu", "list1plus-tentou", "list1plus-1000U",
                               "list1plus-100U", "list1plus-001U", "list1plus-to1low", "list1plus-30"};
    int selected = 0;
    for (const char* universe : universes) {
        const QString base = QStringLiteral("select * from [%1]").arg(QString::fromUtf8(universe));
        for (const TrendPattern& p : all()) {
            try {
                selected += db->openRecordset(base + " where " + trend::renderCondition(p.condition)).recordCount();
            } catch (const platform::DataError& e) {
                ADD_FAILURE() << universe << " " << p.control.toStdString() << ": " << e.text.toStdString();
            }
        }
    }
    EXPECT_GT(selected, 0);
}
