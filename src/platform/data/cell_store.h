#pragma once
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace platform::detail {

// The rows of a record set: small fixed cells, texts kept as UTF-8 in blocks that never move and
// turned into QString only when read. A refresh of tens of thousands of rows then costs little
// more than stepping the query.
class CellStore {
public:
    enum Type : std::uint8_t { Null, Integer, Real, Text, Blob };

    explicit CellStore(int columns = 0) : cols_(columns) {}

    void appendRow(sqlite3_stmt* stmt);              // the statement's current row
    void appendRow(const std::vector<QVariant>& values);
    void eraseRow(int r);

    Type type(int r, int f) const { return at(r, f).type; }
    bool isNumber(int r, int f) const { return type(r, f) == Integer || type(r, f) == Real; }
    double number(int r, int f) const;
    QVariant value(int r, int f) const;
    bool textEquals(int r, int f, const QByteArray& utf8) const;
    QString text(int r, int f) const;                // numbers as the engine shows them; Null -> ""

    void set(int r, int f, const QVariant& v);
    void setFromColumn(int r, int f, sqlite3_stmt* stmt, int column);
    // Binds the cell to parameter index of stmt; the cell must not change while it is bound.
    void bind(sqlite3_stmt* stmt, int index, int r, int f) const;

private:
    struct Cell {
        union {
            qint64 i;
            double d;
            const char* bytes;   // Text and Blob: `length` bytes in one of the blocks
        };
        std::uint32_t length;
        Type type;
    };

    const Cell& at(int r, int f) const { return cells_[size_t(r) * size_t(cols_) + size_t(f)]; }
    Cell& at(int r, int f) { return cells_[size_t(r) * size_t(cols_) + size_t(f)]; }
    Cell fromColumn(sqlite3_stmt* stmt, int column);
    Cell fromVariant(const QVariant& v);
    Cell keep(const char* data, size_t length, Type type);

    int cols_;
    std::vector<Cell> cells_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = 0;       // bytes used of the last block
    size_t capacity_ = 0;   // its size
};

}  // namespace platform::detail
