#pragma once
#include <QString>

namespace shell {

// Copies the SQLite database at `source` into `target` page by page through the database engine,
// so the copy is consistent even while the program holds the source open. An existing target
// is replaced. Returns the reason of a failure, or the empty text on success.
QString backupDatabase(const QString& source, const QString& target);

// True when the text can stand in a file name as it is: no folder separators, no "..", no
// control characters.
bool isPlainNamePart(const QString& text);

}  // namespace shell
