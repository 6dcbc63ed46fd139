#include "cards/card_bulk.h"

#include <sqlite3.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/errors.h"
#include "platform/data/recordset.h"
#include "platform/data/sql_text.h"
#include "platform/data/sqlite_support.h"

namespace cards {

namespace {

using platform::DataError;
using platform::detail::Statement;

// The range of dates the card table takes (day serials of 100-01-01 and 9999-12-31).
constexpr double kFirstDay = -657434;
constexpr double kLastDay = 2958465;

bool isNumber(const QVariant& v) {
    const int t = v.typeId();
    return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double || t == QMetaType::UInt ||
           t == QMetaType::ULongLong;
}

QString cellText(const QVariant& cell) {
    if (cell.isNull()) return {};
    if (isNumber(cell)) return platform::detail::numberText(cell.toDouble());
    return cell.toString();
}

QVariant dateValue(const QVariant& cell) {
    double serial = 0;
    if (isNumber(cell))
        serial = cell.toDouble();
    else if (!platform::dateTextToSerial(cellText(cell).trimmed(), &serial))
        return {};
    if (!std::isfinite(serial) || serial < kFirstDay || serial > kLastDay) return {};
    return serial;
}

QVariant codeValue(const QVariant& cell) {
    if (isNumber(cell)) {
        const double d = cell.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 2147483648.0) return qlonglong(d);
        return {};
    }
    const auto whole = platform::sqlWholeNumber(cellText(cell));
    if (!whole || *whole < -2147483648LL || *whole > 2147483647LL) return {};
    return qlonglong(*whole);
}

// One transaction on db: BEGIN IMMEDIATE, the work, COMMIT; a failure rolls all of it back.
template <class Work>
BulkOutcome inTransaction(platform::Database& db, Work work) {
    BulkOutcome out;
    try {
        db.executeRaw(QStringLiteral("BEGIN IMMEDIATE"));
    } catch (const DataError& e) {
        out.error = e.text;
        return out;
    }
    try {
        out.cards = work(db.handle());
        db.executeRaw(QStringLiteral("COMMIT"));
        out.ok = true;
    } catch (const DataError& e) {
        out.cards = 0;
        out.error = e.text;
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    } catch (const std::exception& e) {
        out.cards = 0;
        out.error = QString::fromUtf8(e.what());
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return out;
}

BulkOutcome readOnly() { return {false, 0, QStringLiteral("Cannot update. Database or object is read-only.")}; }

}  // namespace

QVariant cardFieldValue(int column, const QVariant& cell) {
    switch (column) {
    case 3:
        return dateValue(cell);
    case 5:
        return codeValue(cell);
    case 2:
    case 4:
    case 6:
    case 7:
    case 8: {
        const QString t = cellText(cell);
        return t.isEmpty() ? QVariant() : QVariant(t);
    }
    default:
        return {};
    }
}

BulkOutcome importCards(platform::Database& db, const platform::Recordset& rows, const std::vector<int>& records,
                        ImportSource source, const Progress& progress) {
    // Source column of each inserted field, in the order of the INSERT below.
    static const int kColumns[] = {2, 3, 4, 5, 6, 7, 8};
    const bool copiesPlace = source == ImportSource::Database;
    if (db.isSnapshot()) return readOnly();
    return inTransaction(db, [&](sqlite3* h) -> long long {
        Statement insert(h, QStringLiteral("INSERT INTO \"mydata\" (\"情報源\", \"日付\", \"銘柄\", \"コード\", \"市場\", "
                                           "\"単位\", \"情報\") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"));
        const int fields = rows.fieldCount();
        const long long total = static_cast<long long>(records.size());
        long long done = 0;
        for (int record : records) {
            for (int i = 0; i < 7; ++i) {
                const int column = kColumns[i];
                QVariant v;
                if (column <= fields && (copiesPlace || (column != 6 && column != 7)))
                    v = cardFieldValue(column, rows.value(record, column - 1));
                platform::detail::bindValue(insert.get(), i + 1, v);
            }
            insert.step();
            insert.reset();
            ++done;
            if (progress && done % 2000 == 0) progress(done, total);
        }
        if (progress) progress(done, total);
        return done;
    });
}

BulkOutcome completeMarkets(platform::Database& db) {
    if (db.isSnapshot()) return readOnly();
    return inTransaction(db, [&](sqlite3* h) -> long long {
        platform::detail::exec(h, QStringLiteral(
            "CREATE TEMP TABLE IF NOT EXISTS \"completion_cards\" (\"ID\" INTEGER PRIMARY KEY);"
            "DELETE FROM temp.\"completion_cards\";"
            "INSERT INTO temp.\"completion_cards\" SELECT \"ID\" FROM \"mydata-nosijo\";"
            // The first stock of each code, as a look-up from the top of the price table finds it.
            "UPDATE \"mydata\" SET \"市場\" = s.\"市場\", \"単位\" = s.\"単位\" "
            "FROM (SELECT l.\"コード\" AS \"コード\", l.\"市場\" AS \"市場\", l.\"単位\" AS \"単位\" FROM \"list\" l "
            "      WHERE l.\"ID\" IN (SELECT min(\"ID\") FROM \"list\" WHERE \"コード\" <> 1001 GROUP BY \"コード\")) s "
            "WHERE \"mydata\".\"ID\" IN temp.\"completion_cards\" AND \"mydata\".\"コード\" = s.\"コード\";"));
        const long long found = sqlite3_changes(h);
        platform::detail::exec(h, QStringLiteral(
            "UPDATE \"mydata\" SET \"市場\" = '?', \"単位\" = '?' "
            "WHERE \"ID\" IN temp.\"completion_cards\" AND (\"コード\" IS NULL OR \"コード\" = 1001 OR \"コード\" NOT IN "
            "(SELECT \"コード\" FROM \"list\" WHERE \"コード\" <> 1001 AND \"コード\" IS NOT NULL));"));
        const long long unknown = sqlite3_changes(h);
        platform::detail::exec(h, QStringLiteral("DROP TABLE temp.\"completion_cards\";"));
        return found + unknown;
    });
}

BulkOutcome deleteCards(platform::Database& db, const std::vector<long long>& ids) {
    if (db.isSnapshot()) return readOnly();
    QJsonArray list;
    for (long long id : ids) list.append(qint64(id));
    const QString json = QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    return inTransaction(db, [&](sqlite3* h) -> long long {
        Statement del(h, QStringLiteral("DELETE FROM \"mydata\" WHERE \"ID\" IN (SELECT value FROM json_each(?1))"));
        del.run({json});
        return sqlite3_changes(h);
    });
}

QString programDatabaseProblem(const QString& path) {
    if (path.trimmed().isEmpty()) return QStringLiteral("ファイルが選ばれていません。");
    try {
        auto db = platform::Database::open(path);
        if (db->isSnapshot()) return QStringLiteral("このプログラムのデータベースではありません。");
        for (const char* table : {"mydata", "日付", "list"}) {
            Statement q(db->handle(), QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1"));
            platform::detail::bindValue(q.get(), 1, QString::fromUtf8(table));
            if (!q.step()) return QStringLiteral("このプログラムのデータベースではありません（表 %1 がありません）。").arg(QString::fromUtf8(table));
        }
    } catch (const DataError&) {
        return QStringLiteral("このプログラムのデータベースではありません。");
    }
    return {};
}

}  // namespace cards
