#pragma once
#include <QString>
#include <QStringView>
#include <optional>

namespace platform {

// Text between single quotes for SQL, with its quotes doubled: O'Neil -> 'O''Neil'.
QString sqlQuoted(const QString& text);
// The text with its single quotes doubled, without the enclosing quotes (for Like patterns).
QString sqlEscaped(const QString& text);

// The program's one rule for numbers, for what a person types (codes, card numbers, day counts,
// purge days) and for the numbers in texts of grid cells and sheet cells: blanks around are
// ignored; full-width digits, signs and the point (as a Japanese input method types them) count as
// their ASCII forms. A number is written out in decimal: "7203", "-3", "1.5", ".5", "７２０３".
// Nothing else (letters, "1e3", "--5", "1,000", an empty text) is a number.
std::optional<double> sqlNumber(QStringView text);
// A code, ID or number of days as a whole number: a number without fraction ("7203.0" is 7203)
// that fits a 64-bit whole number.
std::optional<long long> sqlWholeNumber(QStringView text);
// Not the one rule, for the price-level question of the card trend screen alone: the number a text
// begins with, so that an answer copied from the prompt's list ("3=（1000-5000円）", "3円") picks its
// level; blanks anywhere are ignored and an exponent counts ("1 2" is 12, "１４" is 14, "1e3" is
// 1000); 0 when it begins with none.
double leadingNumber(const QString& text);

}  // namespace platform
