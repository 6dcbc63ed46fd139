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
