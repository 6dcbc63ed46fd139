#pragma once
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <vector>

namespace schema_fixture {

// A database file opened with the plain SQLite API; rows come back as QVariants (Null as invalid).
class Sqlite {
public:
    explicit Sqlite(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString();
    }
    ~Sqlite() { sqlite3_close(db_); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    void exec(const QString& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
            ADD_FAILURE() << sql.toStdString() << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    std::vector<std::vector<QVariant>> rows(const QString& sql, QStringList* names = nullptr)
    {
        std::vector<std::vector<QVariant>> out;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db_);
            return out;
        }
        const int n = sqlite3_column_count(stmt);
        if (names)
            for (int c = 0; c < n; ++c) *names << QString::fromUtf8(sqlite3_column_name(stmt, c));
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<QVariant> row;
            for (int c = 0; c < n; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER: row.emplace_back(sqlite3_column_int64(stmt, c)); break;
                case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(stmt, c)); break;
                case SQLITE_NULL: row.emplace_back(); break;
                default: row.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))));
                }
            }
            out.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return out;
    }

    QVariant value(const QString& sql)
    {
        const auto r = rows(sql);
        return r.empty() || r[0].empty() ? QVariant() : r[0][0];
    }

private:
    sqlite3* db_ = nullptr;
};

// Every saved query the program names, by the layout it delivers.
inline const QStringList kTrendQueries{"list1plus", "list1plus-1bu", "list1plus-2bu", "list1plus-tentou",
                                       "list1plus-1000U", "list1plus-100U", "list1plus-001U", "list1plus-to1low",
                                       "list1plus-30"};
inline const QStringList kCardTrendQueries{
    "a000", "a000-all", "a000-1bu", "a000-2bu", "a000-tentou", "a000-1000U", "a000-100U", "a000-001U",
    "a000-20t1", "a000-okiniiri", "a000-takane", "a000-suishoutanki", "a000-tanki", "a000-doui",
    "a000-gyouseki", "a000-kakuduke", "a000-100-t1", "a000-10sita", "a000-2050", "a000-50100", "a000-100ue",
    "a000-tokushutani", "a000-okitan1bu", "a000-okitan2bu", "a000-okitansinkou"};
inline const QStringList kCardQueries{"mydata-nosijo", "sakujo-main", "sakujo-bunkatu", "sakujo-takane",
                                      "sakujo-nifty"};

}  // namespace schema_fixture
