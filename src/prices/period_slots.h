#pragma once
#include <QDate>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

// The ten price periods: slot 1 is the newest, slot 10 the oldest. What a slot holds lives in the
// period record (date, workbook name) and in every stock's row of the price table (its price).
namespace prices {

constexpr int kSlots = 10;
// The first row of the price table stands for no stock; no import writes a price into it.
constexpr int kPlaceholderCode = 1001;

// The field names through which the slots are addressed: entries 1 to 21 are "kabuka1" to
// "kabuka21", entries 0 and 22 to 25 stay empty. The date of slot k is entry k, the unit entry 11,
// the workbook name of slot k entry k + 11; the price of slot k in a stock's row is entry k.
using FieldNames = std::array<QString, 26>;
FieldNames periodFieldNames();
constexpr int kUnitField = 11;
constexpr int workbookField(int slot) { return slot + 11; }

// The unit word when it is one of "day", "week" and "month" (compared exactly); empty otherwise.
QString recognisedUnit(const QString& word);

// A period date as a row's year, month and day boxes give it, each part two digits.
struct BoxDate {
    QString year, month, day;
    QString text() const { return year + u'/' + month + u'/' + day; }   // "yy/mm/dd"
    QDate date() const;   // the calendar day (yy up to 69 is 20yy, above 19yy); invalid when none
};
// The boxes as a real date: one-digit parts are padded ("4" -> "04"); nothing when a part is not
// one or two digits or the day does not exist (yy is read as 2000 + yy up to 69, 1900 + yy above).
std::optional<BoxDate> realDate(const QString& year, const QString& month, const QString& day);

// A sheet's code cell as a stock code: a whole number, also as a text of one ("7203", "７２０３");
// nothing for an empty cell, another text, a fraction.
std::optional<long long> sheetCode(const QVariant& cell);
// A price cell in whole yen: the number rounded half to even (1234.5 -> 1234, 1235.5 -> 1236), a
// text of a number read by the program's one rule ("1e3" is none); nothing when the cell is
// empty, no number or outside the 32-bit range.
std::optional<int> wholeYen(const QVariant& cell);

}  // namespace prices
