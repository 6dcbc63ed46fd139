#pragma once
#include <QString>
#include <optional>

namespace platform {

// Text between single quotes for SQL, with its quotes doubled: O'Neil -> 'O''Neil'.
QString sqlQuoted(const QString& text);
// The text with its single quotes doubled, without the enclosing quotes (for Like patterns).
QString sqlEscaped(const QString& text);
// A code, ID or number of days: accepted only as a whole number (blanks around are allowed).
std::optional<long long> sqlWholeNumber(const QString& text);
// The text with its full-width digits (０ to ９, as a Japanese input method types them) made ASCII.
QString asciiDigits(QString text);

}  // namespace platform
