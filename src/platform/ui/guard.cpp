#include "platform/ui/guard.h"

#include <QPointer>
#include <QWidget>
#include <exception>
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"

namespace ui {

namespace {
QPointer<QWidget> running;
}  // namespace

QWidget* handlerWindow() { return running.data(); }

void runHandler(const char* what, QWidget* source, const std::function<void()>& handler) noexcept {
    const QPointer<QWidget> outer = running;
    running = source ? source->window() : nullptr;
    runHandler(what, handler);
    running = outer;
}

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
