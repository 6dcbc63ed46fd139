// Every record of the card screen's catalogue runs on SQLite in both of its forms, and in the
// and-form keeps to the cards of a list universe.
#include "card_table.h"
#include "trend_cards/card_catalogue.h"

#include <random>

using namespace card_catalogue_test;

namespace {

// Price paths of every kind: random steps of up to 4 % a period, some of them flat, some paths
// without their oldest prices.
std::vector<Ratios> pricePaths(int count) {
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> step(-40, 40), flat(0, 3), missing(0, 19);
    std::vector<Ratios> paths;
    for (int i = 0; i < count; ++i) {
        Ratios r{};
        int tenths = 0;
        for (double& v : r) {
            if (flat(random) != 0) tenths += step(random);
            v = tenths / 10.0;
        }
        if (missing(random) == 0) r[8] = NA;
        paths.push_back(r);
    }
    return paths;
}

// The menu's SELECT for a list of codes.
QString listUniverse(const std::vector<int>& codes) {
    QString sql = AllCards + QStringLiteral(" where (");
    for (size_t i = 0; i < codes.size(); ++i)
        sql += (i ? QStringLiteral(" Or  [コード]=") : QStringLiteral("[コード]=")) + QString::number(codes[i]);
    return sql + QStringLiteral(")");
}

}  // namespace

TEST(CardCatalogueSql, EveryRecordRunsInBothFormsAndTheAndFormKeepsToTheList) {
    const std::vector<Ratios> paths = pricePaths(1500);
    CardTable table;
    for (size_t i = 0; i < paths.size(); ++i) table.add(int(i) + 1, paths[i]);
    std::vector<int> listed;
    std::set<int> inList;
    for (int code = 3; listed.size() < 150; code += 3) {
        listed.push_back(code);
        inList.insert(code);
    }
    const QString listBase = listUniverse(listed);

    int patternsSelectingOutsideTheList = 0;
    for (const trend::TrendPattern& p : cardtrend::cardTrendCatalogue()) {
        SCOPED_TRACE(p.group.toStdString() + " " + p.caption.toStdString() + " (" + p.control.toStdString() + ")");
        const std::set<int> all = table.codes(trend::patternQuery(AllCards, p, false));
        const std::set<int> inListed = table.codes(trend::patternQuery(listBase, p, true));
        std::set<int> want;
        for (int code : all)
            if (inList.count(code)) want.insert(code);
        EXPECT_EQ(inListed, want);
        if (all.size() > want.size()) ++patternsSelectingOutsideTheList;
    }
    // The paths are varied enough that most patterns find cards outside the list to leave out.
    EXPECT_GT(patternsSelectingOutsideTheList, int(cardtrend::cardTrendCatalogue().size()) / 2);
}

// On every saved-query universe a pattern selects the universe's cards that it selects among all.
TEST(CardCatalogueSql, EveryRecordNarrowsEverySavedQueryUniverse) {
    const std::vector<Ratios> paths = pricePaths(300);
    const QString markets[] = {"東証１部", "東証２部", "マザーズ", "名証１部"};
    const QString units[] = {"D100", "F1000", "A1"};
    const QString sources[] = {"推奨", "新高値", "会社四季報"};
    CardTable table;
    for (size_t i = 0; i < paths.size(); ++i) table.add(int(i) + 1, paths[i], markets[i % 4], units[i % 3], sources[i / 2 % 3]);
    const char* universes[] = {"a000-1bu", "a000-2bu", "a000-tentou", "a000-1000U", "a000-100U", "a000-001U",
                               "a000-okiniiri", "a000-20t1", "a000-takane", "a000-tanki"};
    for (const char* universe : universes) {
        const QString base = QStringLiteral("select * from [%1]").arg(QString::fromUtf8(universe));
        const std::set<int> cards = table.codes(base);
        ASSERT_FALSE(cards.empty()) << universe;
        for (const trend::TrendPattern& p : cardtrend::cardTrendCatalogue()) {
            std::set<int> want;
            for (int code : table.codes(trend::patternQuery(AllCards, p, false)))
                if (cards.count(code)) want.insert(code);
            EXPECT_EQ(table.codes(trend::patternQuery(base, p, false)), want) << universe << " " << p.control.toStdString();
        }
    }
}
