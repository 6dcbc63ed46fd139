#include "platform/data/recordset.h"
#include "platform/data/sql_text.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <cmath>

#include "platform/data/cell_store.h"
#include "platform/data/database.h"
#include "platform/data/dialect.h"
#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform {

namespace {

enum class ColumnKind { Any, Integer, Real, Text, Date };

ColumnKind kindOfDeclType(const char* declType) {
    if (!declType) return ColumnKind::Any;
    const QString t = QString::fromUtf8(declType).toUpper();
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME"))) return ColumnKind::Date;
    if (t.contains(QLatin1String("INT"))) return ColumnKind::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
        return ColumnKind::Text;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")) ||
        t.contains(QLatin1String("NUM")) || t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("CURRENCY")))
        return ColumnKind::Real;
    return ColumnKind::Any;
}

bool isNumber(const QVariant& v) {
    const detail::Storage s = detail::storageOf(v);
    return s == detail::Storage::Integer || s == detail::Storage::Real;
}

QVariant convertForField(const QVariant& v, ColumnKind kind) {
    if (v.isNull() || !v.isValid()) return QVariant();
    const bool text = v.typeId() == QMetaType::QString;
    switch (kind) {
    case ColumnKind::Date: {
        if (v.typeId() == QMetaType::QDate) return QVariant(detail::serialOf(QDateTime(v.toDate(), QTime(0, 0))));
        if (v.typeId() == QMetaType::QDateTime) return QVariant(detail::serialOf(v.toDateTime()));
        if (isNumber(v)) return QVariant(v.toDouble());
        double serial = 0;
        if (dateTextToSerial(v.toString(), &serial)) return QVariant(serial);
        return QVariant();
    }
    case ColumnKind::Integer:
    case ColumnKind::Real: {
        if (isNumber(v)) return v.typeId() == QMetaType::Bool ? QVariant(qlonglong(v.toBool() ? -1 : 0)) : v;
        if (!text) return QVariant();
        // A text a number field takes: a number by the program's one rule for numbers.
        const std::optional<double> d = sqlNumber(v.toString());
        if (!d) return QVariant();
        return kind == ColumnKind::Integer ? detail::storedNumber(*d) : QVariant(*d);
    }
    case ColumnKind::Text:
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
            return QVariant(detail::numberText(v.toDouble()));
        if (v.typeId() == QMetaType::QDate) return QVariant(v.toDate().toString(QStringLiteral("yyyy/MM/dd")));
        return QVariant(v.toString());
    case ColumnKind::Any:
        break;
    }
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return QVariant(detail::serialOf(v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime()));
    return v;
}

// Functions whose answer may differ between two runs over the same data.
bool variesByItself(const char* function) {
    static const char* const kVarying[] = {"now", "random", "randomblob", "date", "time", "datetime", "julianday",
                                           "strftime", "unixepoch", "current_date", "current_time",
                                           "current_timestamp", "changes", "total_changes", "last_insert_rowid"};
    for (const char* name : kVarying)
        if (sqlite3_stricmp(function, name) == 0) return true;
    return false;
}

// Notes, while a statement is prepared, whether it calls such a function (in the row source or in
// a saved query it reads).
int noteVaryingFunctions(void* varies, int action, const char*, const char* function, const char*, const char*) {
    if (action == SQLITE_FUNCTION && function && variesByItself(function)) *static_cast<bool*>(varies) = true;
    return SQLITE_OK;
}

}  // namespace

struct Recordset::Impl {
    std::shared_ptr<Database> db;
    QString target;              // where writes go; empty: read-only
    bool targetIsTable = false;
    std::vector<QString> names;
    std::vector<ColumnKind> kinds;
    detail::CellStore cells;
    int cols = 0;
    int rows = 0;
    int pos = -1;
    bool noMatch = false;
    bool afterDelete = false;    // the current record was deleted; pos is the one after it
    Database::ChangeStamp stamp; // the database as it was when the rows were read
    bool varies = false;         // the row source calls a function whose answer varies by itself
    enum Mode { Idle, Editing, Adding } mode = Idle;
    std::vector<QVariant> pending;
    std::vector<bool> changed;

    sqlite3* handle() const { return db->handle(); }

    QVariant cell(int r, int f) const { return cells.value(r, f); }

    QVariant readerValue(const QVariant& raw, int f) const {
        if (kinds[f] == ColumnKind::Date && isNumber(raw)) return QVariant(serialToDateText(raw.toDouble()));
        return raw;
    }

    bool hasCurrent() const { return !afterDelete && pos >= 0 && pos < rows; }

    void requireCurrent() const {
        if (!hasCurrent()) throw DataError(QStringLiteral("No current record."));
    }

    int indexOf(const QString& name) const {
        for (int f = 0; f < cols; ++f)
            if (names[f].compare(name, Qt::CaseInsensitive) == 0) return f;
        return -1;
    }

    int field(const QString& name) const {
        const int f = indexOf(name);
        if (f >= 0) return f;
        throw DataError(QStringLiteral("Item not found in this collection: %1").arg(name));
    }

    void checkField(int f) const {
        if (f < 0 || f >= cols) throw DataError(QStringLiteral("Item not found in this collection: %1").arg(f));
    }

    void requireWritable() const {
        if (db->isSnapshot() || target.isEmpty() || cols == 0)
            throw DataError(QStringLiteral("Cannot update. Database or object is read-only."));
    }

    void startWrite(Mode m) {
        requireWritable();
        mode = m;
        pending.assign(cols, QVariant());
        changed.assign(cols, false);
    }

    // Runs one write and fails when it reached no row (views report their trigger's changes only
    // in the total count).
    void runWrite(detail::Statement& st) {
        const int before = sqlite3_total_changes(handle());
        st.step();
        if (sqlite3_total_changes(handle()) == before)
            throw DataError(QStringLiteral("The record was not written: %1 holds no such row.").arg(target));
    }

    // Reads the stored row back from the write target, for the values the database computed.
    void reread(int r, const QVariant& key, bool byRowid) {
        detail::Statement st(handle(), QStringLiteral("SELECT * FROM %1 WHERE %2 = ?1")
                                           .arg(detail::quotedName(target), byRowid ? QStringLiteral("rowid") : detail::quotedName(names[0])));
        detail::bindValue(st.get(), 1, key);
        if (!st.step()) return;
        const int n = sqlite3_column_count(st.get());
        for (int c = 0; c < n; ++c) {
            const QString name = QString::fromUtf8(sqlite3_column_name(st.get(), c));
            const int f = indexOf(name);
            if (f >= 0) cells.setFromColumn(r, f, st.get(), c);
        }
    }

    void storeEdit() {
        QStringList sets;
        std::vector<int> fields;
        for (int f = 0; f < cols; ++f) {
            if (!changed[f]) continue;
            fields.push_back(f);
            sets << QStringLiteral("%1 = ?%2").arg(detail::quotedName(names[f])).arg(fields.size());
        }
        if (fields.empty()) return;
        const QVariant key = cell(pos, 0);
        detail::Statement st(handle(), QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                                           .arg(detail::quotedName(target), sets.join(QStringLiteral(", ")), detail::quotedName(names[0]))
                                           .arg(fields.size() + 1));
        for (size_t i = 0; i < fields.size(); ++i) detail::bindValue(st.get(), int(i) + 1, pending[fields[i]]);
        detail::bindValue(st.get(), int(fields.size()) + 1, key);
        runWrite(st);
        for (int f : fields) cells.set(pos, f, pending[f]);
        reread(pos, changed[0] ? pending[0] : key, false);
    }

    void storeNew() {
        QStringList columns, params;
        std::vector<int> fields;
        for (int f = 0; f < cols; ++f) {
            if (!changed[f]) continue;
            fields.push_back(f);
            columns << detail::quotedName(names[f]);
            params << QStringLiteral("?%1").arg(fields.size());
        }
        const QString sql = fields.empty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(detail::quotedName(target))
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(detail::quotedName(target), columns.join(QStringLiteral(", ")), params.join(u','));
        detail::Statement st(handle(), sql);
        for (size_t i = 0; i < fields.size(); ++i) detail::bindValue(st.get(), int(i) + 1, pending[fields[i]]);
        runWrite(st);

        // The new key: as set, the new rowid of a table, or the highest key a saved query shows.
        QVariant key;
        bool byRowid = false;
        if (changed[0] && !pending[0].isNull()) {
            key = pending[0];
        } else if (targetIsTable) {
            key = QVariant(qlonglong(sqlite3_last_insert_rowid(handle())));
            byRowid = true;
        } else {
            detail::Statement max(handle(), QStringLiteral("SELECT max(%1) FROM %2").arg(detail::quotedName(names[0]), detail::quotedName(target)));
            if (max.step()) key = detail::readColumn(max.get(), 0);
        }
        cells.appendRow(pending);
        ++rows;
        cells.set(rows - 1, 0, key);
        reread(rows - 1, key, byRowid);
        pos = rows - 1;
        afterDelete = false;
    }

    void find(const QString& criterion, int start, int step) {
        mode = Idle;
        // A criterion that cannot be run locates nothing: callers that skip the failing find and
        // then test NoMatch must not act on an earlier find's record.
        noMatch = true;
        const int hit = findRow(criterion, start, step);
        if (hit >= 0) {
            pos = hit;
            afterDelete = false;
        }
        noMatch = hit < 0;
    }

    int findRow(const QString& criterion, int start, int step) const {
        // The common "field = literal" is answered from the cells: a price import finds every
        // stock's code in a sheet of thousands of rows.
        if (const auto eq = fieldEquals(criterion)) {
            const int f = indexOf(eq->field);
            if (f >= 0) {
                const bool text = eq->value.typeId() == QMetaType::QString;
                const QByteArray utf8 = text ? eq->value.toString().toUtf8() : QByteArray();
                const double number = text ? 0.0 : eq->value.toDouble();
                for (int r = start; r >= 0 && r < rows; r += step) {
                    if (text ? cells.textEquals(r, f, utf8) : cells.isNumber(r, f) && cells.number(r, f) == number)
                        return r;
                }
                return -1;
            }
        }
        // So is "field Like 'pattern'": a find by the leading digits of a code or a card number.
        if (const auto like = fieldLike(criterion)) {
            const int f = indexOf(like->field);
            if (f >= 0) {
                const detail::LikePattern pattern(like->pattern);
                for (int r = start; r >= 0 && r < rows; r += step)
                    if (cells.type(r, f) != detail::CellStore::Null && pattern.matches(cells.text(r, f))) return r;
                return -1;
            }
        }
        const QString condition = translateSql(criterion);
        if (condition.trimmed().isEmpty()) throw DataError(QStringLiteral("Invalid criterion."));
        QStringList columns;
        for (int f = 0; f < cols; ++f) columns << QStringLiteral("?%1 AS %2").arg(f + 1).arg(detail::quotedName(names[f]));
        detail::Statement st(handle(), QStringLiteral("SELECT (%1) FROM (SELECT %2)")
                                           .arg(condition, columns.join(QStringLiteral(", "))));
        for (int r = start; r >= 0 && r < rows; r += step) {
            for (int f = 0; f < cols; ++f) cells.bind(st.get(), f + 1, r, f);
            const bool hit = st.step() && sqlite3_column_type(st.get(), 0) != SQLITE_NULL &&
                             sqlite3_column_double(st.get(), 0) != 0.0;
            st.reset();
            if (hit) return r;
        }
        return -1;
    }
};

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

Recordset Recordset::open(std::shared_ptr<Database> db, const QString& source, const std::function<void()>& beforeRows,
                          Recordset* spent) {
    auto d = std::make_unique<Impl>();
    d->db = std::move(db);
    sqlite3* h = d->db->handle();

    auto objectType = [h](const QString& name) {
        detail::Statement st(h, QStringLiteral("SELECT type FROM sqlite_master WHERE lower(name) = lower(?1)"));
        detail::bindValue(st.get(), 1, name);
        return st.step() ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)))
                         : QString();
    };

    // The one table or saved query the rows come from, if there is one: writes go there.
    const QString target = writeTarget(source);
    const QString targetType = target.isEmpty() ? QString() : objectType(target);
    const bool fromTable = targetType == QLatin1String("table");

    QString sql;
    const QString name = rowSourceName(source);
    if (!name.isEmpty()) {
        // A bare table delivers its rows in key order; a saved query in the order of its first field.
        sql = QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                  .arg(detail::quotedName(name), fromTable ? QStringLiteral("rowid") : QStringLiteral("1"));
    } else {
        sql = translateSql(source);
        // A SELECT over one table delivers its rows in key order too (an index on the condition's
        // column would otherwise set the order), unless it orders them itself.
        if (fromTable && !ordersItsRows(source)) sql += QStringLiteral(" ORDER BY rowid");
    }

    d->stamp = d->db->changeStamp();
    sqlite3_set_authorizer(h, noteVaryingFunctions, &d->varies);
    std::unique_ptr<detail::Statement> prepared;
    try {
        prepared = std::make_unique<detail::Statement>(h, sql);
    } catch (...) {
        sqlite3_set_authorizer(h, nullptr, nullptr);
        throw;
    }
    sqlite3_set_authorizer(h, nullptr, nullptr);
    detail::Statement& st = *prepared;
    if (!sqlite3_stmt_readonly(st.get())) throw DataError(QStringLiteral("A row source must be a query: %1").arg(source));
    d->cols = sqlite3_column_count(st.get());
    d->cells = detail::CellStore(d->cols);
    for (int c = 0; c < d->cols; ++c) {
        d->names.push_back(QString::fromUtf8(sqlite3_column_name(st.get(), c)));
        d->kinds.push_back(kindOfDeclType(sqlite3_column_decltype(st.get(), c)));
    }
    bool more = st.step();
    if (spent && spent->d) {
        d->cells.reuseMemoryOf(std::move(spent->d->cells));
        spent->Close();
    }
    if (beforeRows) beforeRows();
    for (; more; more = st.step()) {
        d->cells.appendRow(st.get());
        ++d->rows;
    }
    d->cells.doneReading();
    d->pos = d->rows > 0 ? 0 : -1;

    if (!targetType.isEmpty()) d->target = target;
    d->targetIsTable = fromTable;

    Recordset rs;
    rs.d = std::move(d);
    return rs;
}

Recordset::Impl& Recordset::impl() const {
    if (!d) throw DataError(QStringLiteral("The record set is not open."));
    return *d;
}

bool Recordset::isOpen() const { return bool(d); }

bool Recordset::unchangedSinceRead() const { return d && !d->varies && d->db->changeStamp() == d->stamp; }

void Recordset::rewind() {
    Impl& i = impl();
    i.pos = i.rows > 0 ? 0 : -1;
    i.mode = Impl::Idle;
    i.noMatch = false;
    i.afterDelete = false;
}
void Recordset::Close() { d.reset(); }
std::shared_ptr<Database> Recordset::database() const { return d ? d->db : nullptr; }

int Recordset::fieldCount() const { return d ? d->cols : 0; }

QString Recordset::fieldName(int field) const {
    if (!d || field < 0 || field >= d->cols) return {};
    return d->names[field];
}

int Recordset::fieldIndex(const QString& name) const {
    return d ? d->indexOf(name) : -1;
}

int Recordset::recordCount() const { return d ? d->rows : 0; }

QVariant Recordset::value(int record, int field) const {
    if (!validCell(record, field)) return QVariant();
    return d->cells.value(record, field);
}

double Recordset::number(int record, int field, bool* ok) const {
    const bool isNumber = validCell(record, field) && d->cells.isNumber(record, field);
    if (ok) *ok = isNumber;
    return isNumber ? d->cells.number(record, field) : 0.0;
}

QVariant Recordset::fieldValue(int record, int field) const {
    const QVariant raw = value(record, field);
    return raw.isNull() ? raw : d->readerValue(raw, field);
}

QString Recordset::text(int record, int field) const {
    if (!validCell(record, field)) return {};
    if (d->kinds[field] == ColumnKind::Date && d->cells.isNumber(record, field))
        return serialToDateText(d->cells.number(record, field));
    return d->cells.text(record, field);
}

std::vector<Recordset::WidestRecords> Recordset::widestRecords(int maxCodeChars) const {
    if (!d) return {};
    return d->cells.widestRows(std::uint32_t(std::max(maxCodeChars, 0)));
}

bool Recordset::validCell(int record, int field) const {
    return d && record >= 0 && record < d->rows && field >= 0 && field < d->cols;
}

bool Recordset::atEOF() const { return !d || d->rows == 0 || d->pos >= d->rows; }
bool Recordset::atBOF() const { return !d || d->rows == 0 || d->pos < 0; }

void Recordset::MoveFirst() {
    Impl& i = impl();
    i.mode = Impl::Idle;
    i.afterDelete = false;
    i.pos = 0;
}

void Recordset::MoveLast() {
    Impl& i = impl();
    i.mode = Impl::Idle;
    i.afterDelete = false;
    i.pos = i.rows > 0 ? i.rows - 1 : 0;
}

void Recordset::MoveNext() {
    Impl& i = impl();
    i.mode = Impl::Idle;
    if (i.afterDelete) {
        i.afterDelete = false;
        return;
    }
    if (i.pos >= i.rows) throw DataError(QStringLiteral("No current record."));
    ++i.pos;
}

void Recordset::MovePrevious() {
    Impl& i = impl();
    i.mode = Impl::Idle;
    if (i.afterDelete) {
        i.afterDelete = false;
        --i.pos;
        return;
    }
    if (i.pos < 0 || i.rows == 0) throw DataError(QStringLiteral("No current record."));
    --i.pos;
}

int Recordset::position() const { return d && d->hasCurrent() ? d->pos : -1; }

void Recordset::setPosition(int record) {
    Impl& i = impl();
    if (record < 0 || record >= i.rows) throw DataError(QStringLiteral("No current record."));
    i.mode = Impl::Idle;
    i.afterDelete = false;
    i.pos = record;
}

void Recordset::FindFirst(const QString& criterion) {
    Impl& i = impl();
    i.find(criterion, 0, 1);
}

void Recordset::FindLast(const QString& criterion) {
    Impl& i = impl();
    i.find(criterion, i.rows - 1, -1);
}

void Recordset::FindNext(const QString& criterion) {
    Impl& i = impl();
    i.find(criterion, i.afterDelete ? i.pos : std::max(i.pos + 1, 0), 1);
}

void Recordset::FindPrevious(const QString& criterion) {
    Impl& i = impl();
    i.find(criterion, std::min(i.pos - 1, i.rows - 1), -1);
}

bool Recordset::NoMatch() const { return d && d->noMatch; }

QVariant Recordset::Fields(const QString& name) const { return Fields(impl().field(name)); }

QVariant Recordset::Fields(int field) const {
    const Impl& i = impl();
    i.checkField(field);
    if (i.mode != Impl::Idle && i.changed[field]) return i.readerValue(i.pending[field], field);
    if (i.mode == Impl::Adding) return QVariant();
    i.requireCurrent();
    return fieldValue(i.pos, field);
}

void Recordset::setField(const QString& name, const QVariant& v) { setField(impl().field(name), v); }

void Recordset::setField(int field, const QVariant& v) {
    Impl& i = impl();
    i.checkField(field);
    if (i.mode == Impl::Idle) throw DataError(QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    i.pending[field] = convertForField(v, i.kinds[field]);
    i.changed[field] = true;
}

QVariant Recordset::key() const {
    const Impl& i = impl();
    i.requireCurrent();
    return i.cell(i.pos, 0);
}

void Recordset::AddNew() { impl().startWrite(Impl::Adding); }

void Recordset::Edit() {
    Impl& i = impl();
    i.requireCurrent();
    i.startWrite(Impl::Editing);
}

void Recordset::Update() {
    Impl& i = impl();
    if (i.mode == Impl::Idle) throw DataError(QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const Impl::Mode mode = i.mode;
    i.mode = Impl::Idle;
    if (mode == Impl::Editing) {
        i.requireCurrent();
        i.storeEdit();
    } else {
        i.storeNew();
    }
}

void Recordset::CancelUpdate() { impl().mode = Impl::Idle; }

void Recordset::Delete() {
    Impl& i = impl();
    i.requireCurrent();
    i.requireWritable();
    i.mode = Impl::Idle;
    detail::Statement st(i.handle(), QStringLiteral("DELETE FROM %1 WHERE %2 = ?1").arg(detail::quotedName(i.target), detail::quotedName(i.names[0])));
    detail::bindValue(st.get(), 1, i.cell(i.pos, 0));
    i.runWrite(st);
    i.cells.eraseRow(i.pos);
    --i.rows;
    i.afterDelete = true;
}

bool Recordset::editing() const { return d && d->mode != Impl::Idle; }

}  // namespace platform
