#pragma once
#include <QString>
#include <optional>

namespace platform {

// Text between single quotes for SQL, with its quotes doubled: O'Neil -> 'O''Neil'.
QString sqlQuoted(const QString& text);
// The text with its single quotes doubled, without the enclosing quotes (for Like patterns).
QString sqlEscaped(const QString& text);

// The readers of numbers, one rule for the whole program: what a person types (codes, card
// numbers, day counts, price levels, purge days) and what a grid cell or sheet holds. Blanks
// around are ignored; full-width digits, signs and the point (as a Japanese input method types
// them) count as their ASCII forms. A number is written out in decimal: "7203", "-3", "1.5",
// ".5", "７２０３". Nothing else (letters, "1e3", "--5", an empty text) is a number.
std::optional<double> sqlNumber(const QString& text);
// A code, ID or number of days as a whole number: a number without fraction ("7203.0" is 7203)
// that fits a 64-bit whole number.
std::optional<long long> sqlWholeNumber(const QString& text);
// The number a text begins with, blanks anywhere in it ignored ("1 2" is 12, "3円" is 3,
// "１４" is 14); 0 when it begins with none.
double leadingNumber(const QString& text);
// The text with its full-width digits (０ to ９, as a Japanese input method types them) made ASCII.
QString asciiDigits(QString text);

}  // namespace platform
