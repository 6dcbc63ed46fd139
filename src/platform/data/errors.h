#pragma once
#include <QString>
#include <stdexcept>

namespace platform {

// A failure of the database layer (a row source that cannot be run, a write refused, a field
// that does not exist, a move past the end). Handlers either skip it (guarded steps) or report it.
class DataError : public std::runtime_error {
public:
    explicit DataError(const QString& message) : std::runtime_error(message.toStdString()), text(message) {}
    QString text;
};

// A failure as the user is told it, naming the file at path: the readers' own messages (already in
// the user's words and naming the file) as they are, the engine's messages put into words.
QString userText(const DataError& e, const QString& path);

}  // namespace platform
