#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace platform {

class Database;

// Whether a text reads as a code, a number or a date ("1013", "2223673", "26/12/11", "F1000"):
// ASCII characters without control characters, a digit among them. The units are UTF-16 code
// units or UTF-8 bytes alike (any unit from 0x80 up belongs to no ASCII character).
template <class Unit>
bool isCodeText(const Unit* text, std::size_t length) {
    bool digit = false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<std::make_unsigned_t<Unit>>(text[i]);
        if (c >= 0x80 || c < 0x20) return false;
        digit = digit || (c >= '0' && c <= '9');
    }
    return digit;
}
inline bool isCodeText(QStringView text) { return isCodeText(text.utf16(), std::size_t(text.size())); }

// The rows of one row source, held in memory in delivery order, with a current row.
// Writes go to the row source's table (through INSTEAD OF triggers for saved queries),
// keyed by the first field, and are mirrored into the held rows.
// Every failing operation throws DataError.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool isOpen() const;
    // Closes the record set (it holds no rows afterwards).
    void Close();
    // The database the rows come from; null when closed.
    std::shared_ptr<Database> database() const;

    // --- shape and bulk reading (grids, benchmarks)
    int fieldCount() const;
    QString fieldName(int field) const;          // 0-based
    int fieldIndex(const QString& name) const;   // -1 when unknown; case-insensitive
    int recordCount() const;
    QVariant value(int record, int field) const;          // raw stored value (dates as day serials)
    // A number cell without conversion (sorting); ok = false and 0 for Null and texts.
    double number(int record, int field, bool* ok = nullptr) const;
    QVariant fieldValue(int record, int field) const;     // as readers see it (dates as "yyyy/mm/dd")
    QString text(int record, int field) const;            // as a grid shows it; Null -> ""
    // For each field, the records whose texts may be the widest a grid shows of it: those of its
    // smallest and largest number (a date's too) and of its longest short code or date held as
    // text (isCodeText, at most maxCodeChars characters); -1 where there is none. One pass over
    // the held rows, without making any text.
    struct WidestRecords {
        int lowest = -1, highest = -1, longestCode = -1;
    };
    std::vector<WidestRecords> widestRecords(int maxCodeChars) const;

    // --- navigation
    bool atEOF() const;
    bool atBOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    int position() const;            // current record index, -1 when none
    void setPosition(int record);

    // --- finds, with a criterion in the program's dialect ("コード=7203", "銘柄 Like'*電機*'")
    // A find that finds nothing leaves the current record where it was and sets NoMatch.
    void FindFirst(const QString& criterion);
    void FindNext(const QString& criterion);
    void FindPrevious(const QString& criterion);
    void FindLast(const QString& criterion);
    bool NoMatch() const;

    // --- fields of the current record (or of the record being added / edited)
    QVariant Fields(const QString& name) const;
    QVariant Fields(int field) const;
    void setField(const QString& name, const QVariant& v);
    void setField(int field, const QVariant& v);
    QVariant key() const;            // the first field of the current record

    // --- writes
    void AddNew();
    void Edit();
    void Update();       // stores the pending AddNew or Edit; the added record becomes the last one
    void CancelUpdate();
    void Delete();       // deletes the current record; MoveNext then goes to the record after it
    bool editing() const;

private:
    // True when a new read of the row source would deliver the rows held: the database has not
    // changed since they were read and the row source asks for nothing that varies by itself.
    bool unchangedSinceRead() const;
    // Back to the state of a fresh read: first record current, no pending write, no find.
    void rewind();
    static Recordset open(std::shared_ptr<Database> db, const QString& source, const std::function<void()>& beforeRows,
                          Recordset* spent);
    struct Impl;
    std::unique_ptr<Impl> d;
    Impl& impl() const;
    bool validCell(int record, int field) const;
    friend class Database;
    friend class DataControl;
};

}  // namespace platform
