#pragma once
// A tiny main database of cards, built from the program's own schema in memory: each hand-made row
// is a listed stock whose latest price is 1000 and whose earlier prices give the wanted changes,
// with one card on it. Patterns run through the real query text of the card universes.
#include "platform/data/dialect.h"
#include "platform/data/schema.h"
#include "platform/schema_fixture.h"
#include "trend_stocks/apply_pattern.h"
#include "trend_stocks/trend_pattern.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace card_catalogue_test {

constexpr double NA = std::numeric_limits<double>::quiet_NaN();   // no price: an empty change
using Ratios = std::array<double, 9>;                              // ratio1 .. ratio9

inline const QString AllCards = QStringLiteral("select * from [a000-all]");

class CardTable {
public:
    CardTable() : db_(QStringLiteral(":memory:")) {
        db_.exec(platform::mainSchemaSql());
    }

    // A stock with the given changes (to a tenth of a percent) and one card on it.
    void add(int code, const Ratios& r) {
        QString prices = QStringLiteral("1000");
        for (double v : r) {
            if (std::isnan(v)) {
                prices += QStringLiteral(", null");
                continue;
            }
            const double tenths = v * 10;
            EXPECT_NEAR(tenths, std::round(tenths), 1e-9) << "a change must be whole tenths: " << v;
            prices += QStringLiteral(", %1").arg(1000 + qRound(tenths));
        }
        db_.exec(QStringLiteral("insert into [list] (銘柄, コード, 市場, 単位, kabuka1, kabuka2, kabuka3, kabuka4, kabuka5, "
                                "kabuka6, kabuka7, kabuka8, kabuka9, kabuka10) values ('S%1', %1, '東証１部', 'D100', %2)")
                     .arg(code).arg(prices));
        db_.exec(QStringLiteral("insert into [mydata] (情報源, 銘柄, コード, 市場, 単位, 情報) "
                                "values ('推奨', 'S%1', %1, '東証１部', 'D100', 'note')").arg(code));
    }

    // The codes of the cards a row source in the program's dialect selects; a row source SQLite
    // cannot run is a failure.
    std::set<int> codes(const QString& rowSource) {
        std::set<int> found;
        for (const auto& row : db_.rows(platform::translateSql(rowSource))) found.insert(row.at(4).toInt());
        return found;
    }

private:
    schema_fixture::Sqlite db_;
};

// A hand-made row and the captions (blank-separated) of the patterns that must select it; every
// other pattern of the group must not.
struct Case {
    const char* what;
    Ratios r;
    const char* selectedBy;
};

// Runs every pattern of a group in its where-form over all cards and compares, row by row.
inline void expectSelections(const std::vector<trend::TrendPattern>& patterns, const std::vector<Case>& cases) {
    ASSERT_FALSE(patterns.empty());
    CardTable table;
    for (size_t i = 0; i < cases.size(); ++i) table.add(int(i) + 1, cases[i].r);
    std::map<int, QStringList> selectedBy;
    for (const trend::TrendPattern& p : patterns)
        for (int code : table.codes(trend::patternQuery(AllCards, p, false))) selectedBy[code] << p.caption;
    for (size_t i = 0; i < cases.size(); ++i) {
        QStringList got = selectedBy[int(i) + 1];
        QStringList want = QString::fromUtf8(cases[i].selectedBy).split(u' ', Qt::SkipEmptyParts);
        got.sort();
        want.sort();
        EXPECT_EQ(got.join(u' ').toStdString(), want.join(u' ').toStdString()) << "row: " << cases[i].what;
    }
}

}  // namespace card_catalogue_test
