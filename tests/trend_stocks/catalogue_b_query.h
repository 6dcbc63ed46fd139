#pragma once
// Runs the patterns of one catalogue group over a tiny table of stocks given by their nine
// changes, through the same rendering and dialect translation as the screen's row source.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/data/dialect.h"
#include "trend_stocks/trend_pattern.h"

namespace catalogue_b {

// ratio1 .. ratio9; an empty change is a missing price.
using Ratios = std::array<std::optional<double>, 9>;
constexpr std::nullopt_t missing = std::nullopt;

struct Stock {
    const char* what;
    Ratios r;
    QStringList listedBy;   // the captions of the group that list it; every other caption must not
};

// How a test names a pattern: its caption, or "<caption> beneath" for the button lying under another.
inline QString nameOf(const trend::TrendPattern& p) {
    return p.shown == trend::Shown::UnderAnother ? p.caption + QStringLiteral(" beneath") : p.caption;
}

inline std::string shown(QStringList names) {
    names.sort();
    return ('[' + names.join(QStringLiteral(", ")) + ']').toStdString();
}

inline void expectListings(const std::vector<trend::TrendPattern>& patterns, const std::vector<Stock>& stocks) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> closer(db, &sqlite3_close);
    ASSERT_EQ(sqlite3_exec(db,
                           "create table t (id integer, ratio1 real, ratio2 real, ratio3 real, ratio4 real, "
                           "ratio5 real, ratio6 real, ratio7 real, ratio8 real, ratio9 real)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "insert into t values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
              SQLITE_OK);
    for (size_t i = 0; i < stocks.size(); ++i) {
        sqlite3_bind_int(insert, 1, int(i));
        for (int n = 0; n < 9; ++n) {
            if (stocks[i].r[n]) sqlite3_bind_double(insert, n + 2, *stocks[i].r[n]);
            else sqlite3_bind_null(insert, n + 2);
        }
        ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);

    std::map<QString, std::set<int>> listed;
    for (const trend::TrendPattern& p : patterns) {
        const QString sql =
            platform::translateSql("select [id] from [t] where " + trend::renderCondition(p.condition));
        sqlite3_stmt* query = nullptr;
        const QByteArray text = sql.toUtf8();
        ASSERT_EQ(sqlite3_prepare_v2(db, text.constData(), -1, &query, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db) << "\n" << text.constData();
        std::set<int>& ids = listed[nameOf(p)];
        while (sqlite3_step(query) == SQLITE_ROW) ids.insert(sqlite3_column_int(query, 0));
        sqlite3_finalize(query);
    }

    for (size_t i = 0; i < stocks.size(); ++i) {
        QStringList actual;
        for (const auto& [name, ids] : listed)
            if (ids.count(int(i))) actual << name;
        for (const QString& name : stocks[i].listedBy)
            ASSERT_TRUE(listed.count(name)) << "no pattern " << name.toStdString();
        EXPECT_EQ(shown(actual), shown(stocks[i].listedBy)) << stocks[i].what;
    }
}

}  // namespace catalogue_b
