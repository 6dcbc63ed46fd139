#include "platform/data/cell_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform::detail {

CellStore::Cell CellStore::keep(const char* data, size_t length, Type type) {
    if (length > UINT32_MAX) throw DataError(QStringLiteral("The record set is too large."));
    // Texts go into blocks of a megabyte (a longer text gets a block of its own); a full block is
    // never grown, so nothing already kept is copied again.
    constexpr size_t kBlock = size_t(1) << 20;
    if (blocks_.empty() || capacity_ - used_ < length) {
        capacity_ = std::max(kBlock, length);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(capacity_));
        used_ = 0;
    }
    char* at = blocks_.back().get() + used_;
    if (length) std::memcpy(at, data, length);
    used_ += length;
    Cell c;
    c.bytes = at;
    c.length = std::uint32_t(length);
    c.type = type;
    return c;
}

CellStore::Cell CellStore::fromColumn(sqlite3_stmt* stmt, int column) {
    Cell c;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        c.i = sqlite3_column_int64(stmt, column);
        c.type = Integer;
        return c;
    case SQLITE_FLOAT:
        c.d = sqlite3_column_double(stmt, column);
        c.type = Real;
        return c;
    case SQLITE_TEXT: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return keep(text, size_t(sqlite3_column_bytes(stmt, column)), Text);
    }
    case SQLITE_BLOB: {
        const char* blob = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        return keep(blob, size_t(sqlite3_column_bytes(stmt, column)), Blob);
    }
    default:
        c.i = 0;
        c.type = Null;
        return c;
    }
}

CellStore::Cell CellStore::fromVariant(const QVariant& v) {
    Cell c;
    c.i = 0;
    c.type = Null;
    switch (storageOf(v)) {
    case Storage::Null:
        return c;
    case Storage::Integer:
        c.i = v.toLongLong();
        c.type = Integer;
        return c;
    case Storage::Real:
        c.d = v.toDouble();
        c.type = Real;
        return c;
    case Storage::Date:
        c.d = serialOf(QDateTime(v.toDate(), QTime(0, 0)));
        c.type = Real;
        return c;
    case Storage::Moment:
        c.d = serialOf(v.toDateTime());
        c.type = Real;
        return c;
    case Storage::Blob: {
        const QByteArray b = v.toByteArray();
        return keep(b.constData(), size_t(b.size()), Blob);
    }
    case Storage::Text: {
        const QByteArray utf8 = v.toString().toUtf8();
        return keep(utf8.constData(), size_t(utf8.size()), Text);
    }
    }
    return c;
}

void CellStore::appendRow(sqlite3_stmt* stmt) {
    for (int c = 0; c < cols_; ++c) cells_.push_back(fromColumn(stmt, c));
}

void CellStore::appendRow(const std::vector<QVariant>& values) {
    for (int c = 0; c < cols_; ++c) cells_.push_back(fromVariant(c < int(values.size()) ? values[c] : QVariant()));
}

void CellStore::eraseRow(int r) {
    const auto first = cells_.begin() + ptrdiff_t(r) * cols_;
    cells_.erase(first, first + cols_);
}

double CellStore::number(int r, int f) const {
    const Cell& c = at(r, f);
    return c.type == Integer ? double(c.i) : c.type == Real ? c.d : 0.0;
}

QVariant CellStore::value(int r, int f) const {
    const Cell& c = at(r, f);
    switch (c.type) {
    case Integer:
        return QVariant(qlonglong(c.i));
    case Real:
        return QVariant(c.d);
    case Text:
        return QVariant(QString::fromUtf8(c.bytes, qsizetype(c.length)));
    case Blob:
        return QVariant(QByteArray(c.bytes, qsizetype(c.length)));
    case Null:
        break;
    }
    return QVariant();
}

bool CellStore::textEquals(int r, int f, const QByteArray& utf8) const {
    const Cell& c = at(r, f);
    return c.type == Text && c.length == std::uint32_t(utf8.size()) &&
           std::memcmp(c.bytes, utf8.constData(), size_t(utf8.size())) == 0;
}

QString CellStore::text(int r, int f) const {
    const Cell& c = at(r, f);
    switch (c.type) {
    case Integer:
        return QString::number(c.i);
    case Real:
        return numberText(c.d);
    case Text:
    case Blob:
        return QString::fromUtf8(c.bytes, qsizetype(c.length));
    case Null:
        break;
    }
    return QString();
}

void CellStore::set(int r, int f, const QVariant& v) { at(r, f) = fromVariant(v); }

void CellStore::setFromColumn(int r, int f, sqlite3_stmt* stmt, int column) { at(r, f) = fromColumn(stmt, column); }

void CellStore::bind(sqlite3_stmt* stmt, int index, int r, int f) const {
    const Cell& c = at(r, f);
    switch (c.type) {
    case Integer:
        sqlite3_bind_int64(stmt, index, c.i);
        return;
    case Real:
        sqlite3_bind_double(stmt, index, c.d);
        return;
    case Text:
        sqlite3_bind_text(stmt, index, c.bytes, int(c.length), SQLITE_STATIC);
        return;
    case Blob:
        sqlite3_bind_blob(stmt, index, c.bytes, int(c.length), SQLITE_STATIC);
        return;
    case Null:
        break;
    }
    sqlite3_bind_null(stmt, index);
}

}  // namespace platform::detail
