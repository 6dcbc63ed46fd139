#pragma once
#include <QString>
#include <QVariant>
#include <bit>
#include <cstdint>
#include <vector>
#include "platform/data/recordset.h"
#include "platform/data/region.h"

struct sqlite3_stmt;

namespace platform::detail {

// Memory for the cells of one store, released all at once. Small pieces come from the heap; larger
// ones are carved from huge-page regions, so that a large record set is made resident in few steps
// and a small one takes no huge page. The huge-page regions of a store that is given up may be
// handed to the next one (reuse): its pieces are carved from them first, memory already resident,
// rather than from fresh memory the system must clear page by page.
class Arena {
public:
    char* take(size_t bytes);   // eight-byte aligned
    // Keeps the huge-page regions of other as room for this arena's next pieces; other's pieces
    // are gone. Only while this arena has handed out nothing.
    void reuse(Arena&& other);
    // Releases the regions kept by reuse that no piece was carved from.
    void releaseSpare() { spare_.clear(); }
    size_t spareRegions() const { return spare_.size(); }

private:
    std::vector<Region> pages_;    // huge-page regions pieces are carved from
    std::vector<Region> pieces_;   // pieces of their own (small ones, or larger than a huge page)
    std::vector<Region> spare_;    // huge-page regions kept by reuse, not carved from yet
    char* free_ = nullptr;         // unused room of the last huge-page region
    size_t room_ = 0;
};

// The rows of a record set: small fixed cells, texts kept as UTF-8 and turned into QString only
// when read. A refresh of tens of thousands of rows then costs little more than stepping the
// query. Rows live in blocks that double in size, texts in chunks: what is stored is never moved
// or copied again as the rows grow, and a small record set takes little memory. A cell is stored
// as eight bytes of value and one byte of type, in two arrays per block.
class CellStore {
public:
    enum Type : std::uint8_t { Null, Integer, Real, Text, Blob };

    explicit CellStore(int columns = 0);
    // While this store holds no rows: its rows and texts will go into the memory of old (whose
    // rows are gone) as far as it reaches. A store that is read again and again (a refresh) then
    // does not take fresh memory each time. What is left of that memory once the rows are in is
    // released by doneReading.
    void reuseMemoryOf(CellStore&& old);
    void doneReading() { memory_.releaseSpare(); }
    CellStore(CellStore&&) noexcept = default;
    CellStore& operator=(CellStore&&) noexcept = default;
    CellStore(const CellStore&) = delete;   // texts are held by address
    CellStore& operator=(const CellStore&) = delete;

    void appendRow(sqlite3_stmt* stmt);              // the statement's current row
    void appendRow(const std::vector<QVariant>& values);
    void eraseRow(int r);

    Type type(int r, int f) const { return types(r, f)[0]; }
    bool isNumber(int r, int f) const { return type(r, f) == Integer || type(r, f) == Real; }
    double number(int r, int f) const;
    QVariant value(int r, int f) const;
    bool textEquals(int r, int f, const QByteArray& utf8) const;
    QString text(int r, int f) const;                // numbers as the engine shows them; Null -> ""

    // For each column, the rows whose texts may be the widest it shows: those of its smallest and
    // largest number and of its longest code or date (isCodeText) of at most maxCodeBytes; -1
    // where there is none. One pass over the rows.
    std::vector<Recordset::WidestRecords> widestRows(std::uint32_t maxCodeBytes) const;

    void set(int r, int f, const QVariant& v);
    void setFromColumn(int r, int f, sqlite3_stmt* stmt, int column);
    // Binds the cell to parameter index of stmt; the cell must not change while it is bound.
    void bind(sqlite3_stmt* stmt, int index, int r, int f) const;

private:
    // Text and Blob: bytes points at a four-byte length followed by the bytes, in a chunk.
    union Value {
        qint64 i;
        double d;
        const char* bytes;
    };
    struct Cell {
        Value v;
        Type type;
    };
    struct Block {
        Value* values;
        Type* types;
    };

    // Rows live in blocks of kFirstBlockRows << b rows for b below steps_, then in blocks of
    // kFirstBlockRows << steps_ rows: few blocks for a small store, none larger than a fraction of
    // a huge page for a large one.
    static constexpr unsigned kFirstBlockShift = 4;
    static constexpr size_t kFirstBlockRows = size_t(1) << kFirstBlockShift;
    size_t blockStart(size_t b) const {
        return b <= steps_ ? (kFirstBlockRows << b) - kFirstBlockRows
                           : blockStart(steps_) + ((b - steps_) << (kFirstBlockShift + steps_));
    }
    size_t blockOf(size_t r) const {
        const size_t fixedStart = blockStart(steps_);
        if (r >= fixedStart) return steps_ + ((r - fixedStart) >> (kFirstBlockShift + steps_));
        return size_t(std::bit_width(r + kFirstBlockRows)) - 1 - kFirstBlockShift;
    }
    // Where row r's cells begin in its block's arrays.
    size_t slot(int r, size_t* block) const {
        *block = blockOf(size_t(r));
        return (size_t(r) - blockStart(*block)) * size_t(cols_);
    }
    Value* values(int r, int f) const {
        size_t b;
        const size_t s = slot(r, &b);
        return blocks_[b].values + s + size_t(f);
    }
    Type* types(int r, int f) const {
        size_t b;
        const size_t s = slot(r, &b);
        return blocks_[b].types + s + size_t(f);
    }
    Cell get(int r, int f) const { return {*values(r, f), *types(r, f)}; }
    void put(int r, int f, const Cell& c) {
        *values(r, f) = c.v;
        *types(r, f) = c.type;
    }
    static std::uint32_t lengthOf(const char* bytes);
    static const char* dataOf(const char* bytes) { return bytes + sizeof(std::uint32_t); }
    void newRow();
    void copyRows(int to, int from, int count);
    Cell fromColumn(sqlite3_stmt* stmt, int column, int field);
    Cell keepShared(const char* data, size_t length, int field);
    Cell fromVariant(const QVariant& v);
    Cell keep(const char* data, size_t length, Type type);

    // The last distinct texts of a column, handed out again for equal texts (markets, units):
    // given up for a column whose texts seldom repeat.
    struct Recent {
        const char* texts[8] = {};
        unsigned next = 0, hits = 0, misses = 0;
        bool off = false;
    };

    int cols_;
    unsigned steps_ = 0;
    size_t rows_ = 0;
    std::vector<Recent> recent_;
    Arena memory_;
    std::vector<Block> blocks_;
    char* free_ = nullptr;         // unused room of the last chunk of texts
    size_t room_ = 0;
    size_t nextChunk_ = 1024;
};

}  // namespace platform::detail
