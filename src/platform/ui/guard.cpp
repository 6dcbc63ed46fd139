#include "platform/ui/guard.h"

#include <exception>
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"

namespace ui {

void runHandler(const char* what, const std::function<void()>& handler) noexcept {
    if (!handler) return;
    QString message;
    try {
        handler();
        return;
    } catch (const platform::DataError& e) {
        message = e.text;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("不明なエラー");
    }
    const QString where = (what && *what) ? QString::fromUtf8(what) : QStringLiteral("処理");
    try {
        dialogs().msgBox(QStringLiteral("実行時エラー (%1)\n%2").arg(where, message), vbCritical);
    } catch (...) {
        // The report itself failed; the program still goes on.
    }
}

}  // namespace ui
