#include "cards/card_bulk.h"

#include <sqlite3.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <optional>
#include <cmath>

#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/errors.h"
#include "platform/data/schema.h"
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
    if (cell.typeId() == QMetaType::LongLong || cell.typeId() == QMetaType::Int) return QString::number(cell.toLongLong());
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

// A code is a whole number the card's code field (a 32-bit integer) can hold.
bool fitsCode(long long code) { return code >= -2147483648LL && code <= 2147483647LL; }

QVariant codeValue(const QVariant& cell) {
    if (isNumber(cell)) {
        const double d = cell.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 2147483648.0) return qlonglong(d);
        return {};
    }
    const auto whole = platform::sqlWholeNumber(cellText(cell));
    if (!whole || !fitsCode(*whole)) return {};
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

// The source columns whose card field is a text (情報源, 銘柄, 市場, 単位, 情報).
bool isTextColumn(int column) { return column == 2 || column == 4 || column == 6 || column == 7 || column == 8; }

// card_field(column, value) in SQL: the value as the card field of that source column takes it.
// Texts and numbers that need no conversion pass straight through.
void cardFieldFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int column = sqlite3_value_int(argv[0]);
    sqlite3_value* v = argv[1];
    const int type = sqlite3_value_type(v);
    if (isTextColumn(column) && type == SQLITE_TEXT && sqlite3_value_bytes(v) > 0) return sqlite3_result_value(ctx, v);
    if (column == 5 && type == SQLITE_INTEGER)
        return fitsCode(sqlite3_value_int64(v)) ? sqlite3_result_value(ctx, v) : sqlite3_result_null(ctx);
    QVariant cell;
    switch (type) {
    case SQLITE_INTEGER: cell = qlonglong(sqlite3_value_int64(v)); break;
    case SQLITE_FLOAT: cell = sqlite3_value_double(v); break;
    case SQLITE_TEXT:
        cell = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        break;
    default: break;
    }
    const QVariant out = cardFieldValue(column, cell);
    switch (out.typeId()) {
    case QMetaType::LongLong: return sqlite3_result_int64(ctx, out.toLongLong());
    case QMetaType::Double: return sqlite3_result_double(ctx, out.toDouble());
    case QMetaType::QString: {
        const QByteArray utf8 = out.toString().toUtf8();
        return sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    default: return sqlite3_result_null(ctx);
    }
}

// The keys of the records when each is a distinct whole number; empty otherwise.
QString keysAsJson(const platform::Recordset& rows, const std::vector<int>& records) {
    QJsonArray keys;
    QSet<qlonglong> seen;
    for (int record : records) {
        const QVariant key = rows.value(record, 0);
        if (key.typeId() != QMetaType::LongLong || seen.contains(key.toLongLong())) return {};
        seen.insert(key.toLongLong());
        keys.append(key.toLongLong());
    }
    return QString::fromUtf8(QJsonDocument(keys).toJson(QJsonDocument::Compact));
}

// The card table of another database file of the program, attached to the target's connection for
// one import (attached before its transaction begins, detached after it ends).
class AttachedSource {
public:
    AttachedSource(sqlite3* h, const platform::Recordset& rows) : h_(h) {
        const auto source = rows.database();
        if (!source || source->isSnapshot() || rows.fieldCount() < 8) return;
        // Read only, the file the source's own connection reads (the source itself, or a private
        // copy of it): the source file is never written.
        try {
            Statement attach(h, QStringLiteral("ATTACH DATABASE ?1 AS \"card_source\""));
            const QString read = QString::fromUtf8(sqlite3_db_filename(source->handle(), "main"));
            attach.run({QString::fromUtf8(platform::detail::readOnlyUri(read))});
            platform::detail::exec(h, QStringLiteral("SELECT count(*) FROM \"card_source\".sqlite_master"));
            attached_ = true;
            keyed_ = firstFieldIsKey(rows.fieldName(0));
        } catch (const DataError&) {
            sqlite3_exec(h, "DETACH DATABASE \"card_source\"", nullptr, nullptr, nullptr);
        }
    }
    ~AttachedSource() {
        if (attached_) sqlite3_exec(h_, "DETACH DATABASE \"card_source\"", nullptr, nullptr, nullptr);
    }
    AttachedSource(const AttachedSource&) = delete;
    AttachedSource& operator=(const AttachedSource&) = delete;
    // Each key then finds its card at once.
    bool keyed() const { return attached_ && keyed_; }

private:
    bool firstFieldIsKey(const QString& field) const {
        Statement info(h_, QStringLiteral("SELECT name, type FROM pragma_table_info('mydata', 'card_source') WHERE pk = 1"));
        if (!info.step()) return false;
        const auto text = [&](int c) { return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), c))); };
        const bool one = text(0) == field && text(1).toUpper() == QLatin1String("INTEGER");
        return one && !info.step();
    }
    sqlite3* h_;
    bool attached_ = false;
    bool keyed_ = false;
};

// The cards of the records copied by one INSERT … SELECT of their keys from the attached source,
// in the order of records. Returns nothing when the keys are not distinct whole numbers.
std::optional<long long> copyByKeys(sqlite3* h, const platform::Recordset& rows, const std::vector<int>& records) {
    const QString keys = keysAsJson(rows, records);
    if (keys.isEmpty()) return std::nullopt;
    QStringList fields;
    for (int column = 2; column <= 8; ++column)
        fields << QStringLiteral("card_field(%1, m.%2)").arg(column).arg(platform::detail::quotedName(rows.fieldName(column - 1)));
    Statement copy(h, QStringLiteral("INSERT INTO main.\"mydata\" (\"情報源\", \"日付\", \"銘柄\", \"コード\", \"市場\", \"単位\", \"情報\") "
                                     "SELECT %1 FROM json_each(?1) j JOIN \"card_source\".\"mydata\" m ON m.%2 = j.value "
                                     "ORDER BY j.key")
                          .arg(fields.join(QStringLiteral(", ")), platform::detail::quotedName(rows.fieldName(0))));
    copy.run({keys});
    return sqlite3_changes(h);
}

}  // namespace

QVariant cardFieldValue(int column, const QVariant& cell) {
    switch (column) {
    case 3:
        return dateValue(cell);
    case 5:
        return codeValue(cell);
    default:
        if (!isTextColumn(column)) return {};
        const QString t = cellText(cell);
        return t.isEmpty() ? QVariant() : QVariant(t);
    }
}

BulkOutcome importCards(platform::Database& db, const platform::Recordset& rows, const std::vector<int>& records,
                        ImportSource source, const Progress& progress) {
    // Source column of each inserted field, in the order of the INSERT below.
    static const int kColumns[] = {2, 3, 4, 5, 6, 7, 8};
    const bool copiesPlace = source == ImportSource::Database;
    if (db.isSnapshot()) return readOnly();
    sqlite3_create_function_v2(db.handle(), "card_field", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               cardFieldFunction, nullptr, nullptr, nullptr);
    const bool sameFile = rows.database() && rows.database()->path() == db.path();
    std::optional<AttachedSource> attached;
    if (copiesPlace && !sameFile) attached.emplace(db.handle(), rows);
    return inTransaction(db, [&](sqlite3* h) -> long long {
        if (attached && attached->keyed())
            if (const auto copied = copyByKeys(h, rows, records)) {
                if (progress) progress(*copied, *copied);
                return *copied;
            }
        Statement insert(h, QStringLiteral("INSERT INTO \"mydata\" (\"情報源\", \"日付\", \"銘柄\", \"コード\", \"市場\", "
                                           "\"単位\", \"情報\") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"));
        const int fields = rows.fieldCount();
        const long long total = static_cast<long long>(records.size());
        long long done = 0;
        for (int record : records) {
            for (int i = 0; i < 7; ++i) {
                const int column = kColumns[i];
                QVariant v;
                // A sheet's cell goes in as the text the preview shows: "0123" stays "0123", a
                // date in a text column is its date text, a number in the date column is no date.
                if (column <= fields && copiesPlace)
                    v = cardFieldValue(column, rows.value(record, column - 1));
                else if (column <= fields && column != 6 && column != 7)
                    v = cardFieldValue(column, rows.text(record, column - 1));
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
            "CREATE TEMP TABLE \"completion_cards\" (\"ID\" INTEGER PRIMARY KEY);"
            "INSERT INTO temp.\"completion_cards\" SELECT \"ID\" FROM \"mydata-nosijo\";"
            // The first stock of each code, as a look-up from the top of the price table finds it.
            "CREATE TEMP TABLE \"completion_stocks\" (\"コード\" INTEGER PRIMARY KEY, \"市場\", \"単位\");"
            "INSERT OR IGNORE INTO temp.\"completion_stocks\" SELECT \"コード\", \"市場\", \"単位\" FROM \"list\" "
            "  WHERE \"コード\" <> 1001 AND typeof(\"コード\") = 'integer' ORDER BY \"ID\";"
            "UPDATE \"mydata\" SET (\"市場\", \"単位\") = (SELECT s.\"市場\", s.\"単位\" FROM temp.\"completion_stocks\" s "
            "  WHERE s.\"コード\" = \"mydata\".\"コード\") "
            "WHERE \"ID\" IN temp.\"completion_cards\" AND \"コード\" IN (SELECT \"コード\" FROM temp.\"completion_stocks\");"));
        const long long found = sqlite3_changes(h);
        platform::detail::exec(h, QStringLiteral(
            "UPDATE \"mydata\" SET \"市場\" = '?', \"単位\" = '?' "
            "WHERE \"ID\" IN temp.\"completion_cards\" AND (\"コード\" IS NULL OR \"コード\" NOT IN "
            "(SELECT \"コード\" FROM temp.\"completion_stocks\"));"));
        const long long unknown = sqlite3_changes(h);
        platform::detail::exec(h, QStringLiteral("DROP TABLE temp.\"completion_cards\"; DROP TABLE temp.\"completion_stocks\";"));
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
    // Read only: a file that is not the program's is never written to, not even by this check.
    if (const auto problem = platform::mainDatabaseProblem(path))
        return QStringLiteral("このプログラムのデータベースではありません。\r\n") + *problem;
    return {};
}

}  // namespace cards
