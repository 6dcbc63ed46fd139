#pragma once
// A tiny [list1plus] of hand-made ratio rows in an in-memory database, and a runner that checks
// which patterns of a catalogue select which rows through the real query text.
#include "platform/data/dialect.h"
#include "trend_stocks/trend_pattern.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace catalogue_test {

constexpr double NA = std::numeric_limits<double>::quiet_NaN();   // no price: an empty change
using Ratios = std::array<double, 9>;

class RatioTable {
public:
    RatioTable() {
        sqlite3_open(":memory:", &db_);
        exec("create table [list1plus] ([ID] integer, [銘柄] text, [コード] integer, [市場] text, [単位] text, "
             "[latest] real, [oldest] real, [ratio1] real, [ratio2] real, [ratio3] real, [ratio4] real, "
             "[ratio5] real, [ratio6] real, [ratio7] real, [ratio8] real, [ratio9] real)");
    }
    ~RatioTable() { sqlite3_close(db_); }
    RatioTable(const RatioTable&) = delete;
    RatioTable& operator=(const RatioTable&) = delete;

    void add(int code, const Ratios& r) {
        std::string sql = "insert into [list1plus] values (" + std::to_string(code) + ", 'S" + std::to_string(code)
                          + "', " + std::to_string(code) + ", '東証1部', '100', 1000, 1000";
        for (double v : r) sql += std::isnan(v) ? std::string(", null") : ", " + QString::number(v, 'g', 17).toStdString();
        exec(sql + ")");
    }

    // The codes that a row source written in the program's dialect selects; throws when it cannot run.
    std::set<int> codes(const QString& rowSource) {
        const QByteArray sql = platform::translateSql(rowSource).toUtf8();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql.toStdString());
        std::set<int> found;
        while (sqlite3_step(st) == SQLITE_ROW) found.insert(sqlite3_column_int(st, 2));
        sqlite3_finalize(st);
        return found;
    }

private:
    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string msg = err ? err : "";
            sqlite3_free(err);
            throw std::runtime_error(msg + " in: " + sql);
        }
    }
    sqlite3* db_ = nullptr;
};

inline const QString AllListed = QStringLiteral("select * from [list1plus]");

// A hand-made row and the patterns (by key, blank-separated) that must select it; every other
// pattern of the list under test must not.
struct Case {
    const char* what;
    Ratios r;
    const char* selectedBy;
};

inline QString captionKey(const trend::TrendPattern& p) { return p.caption; }
inline QString controlKey(const trend::TrendPattern& p) { return p.control; }

inline void expectSelections(const std::vector<trend::TrendPattern>& patterns, const std::vector<Case>& cases,
                             QString (*key)(const trend::TrendPattern&) = captionKey) {
    RatioTable table;
    for (size_t i = 0; i < cases.size(); ++i) table.add(int(i) + 1, cases[i].r);
    std::map<int, QStringList> selectedBy;
    for (const trend::TrendPattern& p : patterns)
        for (int code : table.codes(AllListed + " where " + trend::renderCondition(p.condition)))
            selectedBy[code] << key(p);
    for (size_t i = 0; i < cases.size(); ++i) {
        QStringList got = selectedBy[int(i) + 1];
        QStringList want = QString::fromUtf8(cases[i].selectedBy).split(u' ', Qt::SkipEmptyParts);
        got.sort();
        want.sort();
        EXPECT_EQ(got.join(u' ').toStdString(), want.join(u' ').toStdString()) << "row: " << cases[i].what;
    }
}

}  // namespace catalogue_test
