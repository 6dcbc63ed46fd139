#include "platform/data/cell_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform::detail {

namespace {

constexpr size_t kHugePage = Region::kHugePage;
// Pieces below this size come from the heap.
constexpr size_t kSmallPiece = size_t(64) << 10;
// The largest block of rows, and the largest chunk of texts.
constexpr size_t kLargestBlock = size_t(512) << 10;
constexpr size_t kLargestChunk = size_t(256) << 10;

// The stored form of an empty text: a length of 0.
constexpr char kEmpty[sizeof(std::uint32_t)] = {};

}  // namespace

char* Arena::take(size_t bytes) {
    bytes = (bytes + 7) & ~size_t(7);
    if (bytes < kSmallPiece || bytes > kHugePage) {
        pieces_.emplace_back(bytes);
        return pieces_.back().as<char>();
    }
    if (bytes > room_) {
        if (spare_.empty()) {
            pages_.emplace_back(kHugePage);
        } else {
            pages_.push_back(std::move(spare_.back()));
            spare_.pop_back();
        }
        free_ = pages_.back().as<char>();
        room_ = kHugePage;
    }
    char* piece = free_;
    free_ += bytes;
    room_ -= bytes;
    return piece;
}

void Arena::reuse(Arena&& other) {
    if (&other == this || !pages_.empty() || !pieces_.empty()) return;
    // Taken in the order they were carved from, so that the new rows lie in memory as the old did.
    for (Region& r : other.spare_) spare_.push_back(std::move(r));
    for (auto it = other.pages_.rbegin(); it != other.pages_.rend(); ++it) spare_.push_back(std::move(*it));
    other.pages_.clear();
    other.spare_.clear();
    other.pieces_.clear();
    other.free_ = nullptr;
    other.room_ = 0;
}

std::uint32_t CellStore::lengthOf(const char* bytes) {
    std::uint32_t length;
    std::memcpy(&length, bytes, sizeof length);
    return length;
}

CellStore::Cell CellStore::keep(const char* data, size_t length, Type type) {
    if (length > UINT32_MAX - sizeof(std::uint32_t)) throw DataError(QStringLiteral("The record set is too large."));
    Cell c;
    c.type = type;
    if (length == 0) {
        c.v.bytes = kEmpty;   // an empty text, not a missing one
        return c;
    }
    const size_t need = sizeof(std::uint32_t) + length;
    if (need > room_) {
        // Chunks grow to kLargestChunk; a longer text gets a chunk of its own size.
        const size_t size = std::max(need, nextChunk_);
        free_ = memory_.take(size);
        room_ = size;
        nextChunk_ = std::min(nextChunk_ * 2, kLargestChunk);
    }
    const std::uint32_t stored = std::uint32_t(length);
    std::memcpy(free_, &stored, sizeof stored);
    std::memcpy(free_ + sizeof stored, data, length);
    c.v.bytes = free_;
    free_ += need;
    room_ -= need;
    return c;
}

CellStore::CellStore(int columns) : cols_(columns), recent_(size_t(std::max(columns, 0))) {
    const size_t rowBytes = size_t(std::max(columns, 1)) * (sizeof(Value) + sizeof(Type));
    while ((kFirstBlockRows << (steps_ + 1)) * rowBytes <= kLargestBlock) ++steps_;
}

void CellStore::reuseMemoryOf(CellStore&& old) {
    if (&old == this || rows_ != 0) return;
    memory_.reuse(std::move(old.memory_));
    old.blocks_.clear();
    old.rows_ = 0;
    old.free_ = nullptr;
    old.room_ = 0;
    for (Recent& r : old.recent_) r = Recent();
}

void CellStore::newRow() {
    const size_t b = blockOf(rows_);
    if (b == blocks_.size()) {
        const size_t cells = (blockStart(b + 1) - blockStart(b)) * size_t(cols_);
        char* piece = memory_.take(cells * (sizeof(Value) + sizeof(Type)));
        blocks_.push_back({reinterpret_cast<Value*>(piece), reinterpret_cast<Type*>(piece + cells * sizeof(Value))});
    }
    ++rows_;
}

CellStore::Cell CellStore::keepShared(const char* data, size_t length, int field) {
    Recent& recent = recent_[size_t(field)];
    if (recent.off || length == 0) return keep(data, length, Text);
    for (const char* known : recent.texts) {
        if (known && lengthOf(known) == length && std::memcmp(dataOf(known), data, length) == 0) {
            ++recent.hits;
            Cell c;
            c.v.bytes = known;
            c.type = Text;
            return c;
        }
    }
    const Cell c = keep(data, length, Text);
    recent.texts[recent.next++ % std::size(recent.texts)] = c.v.bytes;
    if (++recent.misses >= 64 && recent.hits < recent.misses) recent.off = true;
    return c;
}

CellStore::Cell CellStore::fromColumn(sqlite3_stmt* stmt, int column, int field) {
    // The column's value is read where the statement holds it: the statement is stepped and read
    // by one thread at a time, and the value is copied before the next step.
    sqlite3_value* value = sqlite3_column_value(stmt, column);
    Cell c;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        c.v.i = sqlite3_value_int64(value);
        c.type = Integer;
        return c;
    case SQLITE_FLOAT:
        c.v.d = sqlite3_value_double(value);
        c.type = Real;
        return c;
    case SQLITE_TEXT: {
        const char* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return keepShared(text, size_t(sqlite3_value_bytes(value)), field);
    }
    case SQLITE_BLOB: {
        const char* blob = static_cast<const char*>(sqlite3_value_blob(value));
        return keep(blob, size_t(sqlite3_value_bytes(value)), Blob);
    }
    default:
        c.v.i = 0;
        c.type = Null;
        return c;
    }
}

CellStore::Cell CellStore::fromVariant(const QVariant& v) {
    Cell c;
    c.v.i = 0;
    c.type = Null;
    switch (storageOf(v)) {
    case Storage::Null:
        return c;
    case Storage::Integer:
        c.v.i = v.toLongLong();
        c.type = Integer;
        return c;
    case Storage::Real:
        c.v.d = v.toDouble();
        c.type = Real;
        return c;
    case Storage::Date:
        c.v.d = serialOf(QDateTime(v.toDate(), QTime(0, 0)));
        c.type = Real;
        return c;
    case Storage::Moment:
        c.v.d = serialOf(v.toDateTime());
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
    if (cols_ == 0) return;
    newRow();
    const int r = int(rows_ - 1);
    Value* v = values(r, 0);
    Type* t = types(r, 0);
    for (int c = 0; c < cols_; ++c) {
        const Cell cell = fromColumn(stmt, c, c);
        v[c] = cell.v;
        t[c] = cell.type;
    }
}

void CellStore::appendRow(const std::vector<QVariant>& values) {
    if (cols_ == 0) return;
    newRow();
    for (int c = 0; c < cols_; ++c) put(int(rows_ - 1), c, fromVariant(c < int(values.size()) ? values[c] : QVariant()));
}

// Copies count rows starting at row from to the rows starting at to (to < from), block by block.
void CellStore::copyRows(int to, int from, int count) {
    while (count > 0) {
        size_t bt, bf;
        slot(to, &bt);
        slot(from, &bf);
        // As many rows as stay within the blocks of both ends.
        const int run = int(std::min({size_t(count), blockStart(bt + 1) - size_t(to), blockStart(bf + 1) - size_t(from)}));
        const size_t cells = size_t(run) * size_t(cols_);
        std::memmove(values(to, 0), values(from, 0), cells * sizeof(Value));
        std::memmove(types(to, 0), types(from, 0), cells * sizeof(Type));
        to += run;
        from += run;
        count -= run;
    }
}

void CellStore::eraseRow(int r) {
    if (cols_ == 0 || r < 0 || size_t(r) >= rows_) return;
    copyRows(r, r + 1, int(rows_) - r - 1);
    --rows_;
}

double CellStore::number(int r, int f) const {
    const Cell c = get(r, f);
    return c.type == Integer ? double(c.v.i) : c.type == Real ? c.v.d : 0.0;
}

QVariant CellStore::value(int r, int f) const {
    const Cell c = get(r, f);
    switch (c.type) {
    case Integer:
        return QVariant(qlonglong(c.v.i));
    case Real:
        return QVariant(c.v.d);
    case Text:
        return QVariant(QString::fromUtf8(dataOf(c.v.bytes), qsizetype(lengthOf(c.v.bytes))));
    case Blob:
        return QVariant(QByteArray(dataOf(c.v.bytes), qsizetype(lengthOf(c.v.bytes))));
    case Null:
        break;
    }
    return QVariant();
}

bool CellStore::textEquals(int r, int f, const QByteArray& utf8) const {
    const Cell c = get(r, f);
    if (c.type != Text) return false;
    const std::uint32_t length = lengthOf(c.v.bytes);
    return length == std::uint32_t(utf8.size()) && (length == 0 || std::memcmp(dataOf(c.v.bytes), utf8.constData(), length) == 0);
}

QString CellStore::text(int r, int f) const {
    const Cell c = get(r, f);
    switch (c.type) {
    case Integer:
        return QString::number(c.v.i);
    case Real:
        return numberText(c.v.d);
    case Text:
    case Blob:
        return QString::fromUtf8(dataOf(c.v.bytes), qsizetype(lengthOf(c.v.bytes)));
    case Null:
        break;
    }
    return QString();
}

std::vector<Recordset::WidestRecords> CellStore::widestRows(std::uint32_t maxCodeBytes) const {
    // What one column has shown so far, kept together so that a row's pass touches one array.
    struct Reach {
        double low = std::numeric_limits<double>::infinity(), high = -std::numeric_limits<double>::infinity();
        Recordset::WidestRecords rows;
        std::uint32_t codeLength = 0;
        const char* lastText = nullptr;   // equal texts of a column are often one stored text
    };
    std::vector<Reach> reach(static_cast<size_t>(cols_));
    // Block by block, row by row: the cells are read in the order they lie in memory.
    for (size_t b = 0, first = 0; first < rows_; ++b) {
        const size_t last = std::min(rows_, blockStart(b + 1));
        const Value* v = blocks_[b].values;
        const Type* t = blocks_[b].types;
        for (size_t r = first; r < last; ++r, v += cols_, t += cols_) {
            Reach* x = reach.data();
            for (int f = 0; f < cols_; ++f, ++x) {
                switch (t[f]) {
                case Integer:
                case Real: {
                    const double n = t[f] == Integer ? double(v[f].i) : v[f].d;
                    if (n < x->low) x->low = n, x->rows.lowest = int(r);
                    if (n > x->high) x->high = n, x->rows.highest = int(r);
                    break;
                }
                case Text: {
                    const char* bytes = v[f].bytes;
                    if (bytes == x->lastText) break;
                    x->lastText = bytes;
                    const std::uint32_t length = lengthOf(bytes);
                    if (length > x->codeLength && length <= maxCodeBytes && isCodeText(dataOf(bytes), length))
                        x->codeLength = length, x->rows.longestCode = int(r);
                    break;
                }
                default:
                    break;
                }
            }
        }
        first = last;
    }
    std::vector<Recordset::WidestRecords> out;
    out.reserve(reach.size());
    for (const Reach& x : reach) out.push_back(x.rows);
    return out;
}

void CellStore::set(int r, int f, const QVariant& v) { put(r, f, fromVariant(v)); }

void CellStore::setFromColumn(int r, int f, sqlite3_stmt* stmt, int column) { put(r, f, fromColumn(stmt, column, f)); }

void CellStore::bind(sqlite3_stmt* stmt, int index, int r, int f) const {
    const Cell c = get(r, f);
    switch (c.type) {
    case Integer:
        sqlite3_bind_int64(stmt, index, c.v.i);
        return;
    case Real:
        sqlite3_bind_double(stmt, index, c.v.d);
        return;
    case Text:
        sqlite3_bind_text(stmt, index, dataOf(c.v.bytes), int(lengthOf(c.v.bytes)), SQLITE_STATIC);
        return;
    case Blob:
        sqlite3_bind_blob(stmt, index, dataOf(c.v.bytes), int(lengthOf(c.v.bytes)), SQLITE_STATIC);
        return;
    case Null:
        break;
    }
    sqlite3_bind_null(stmt, index);
}

}  // namespace platform::detail
