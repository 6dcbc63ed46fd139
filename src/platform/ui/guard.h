#pragma once
#include <functional>
#include <utility>

class QWidget;

namespace ui {

// A guarded step of a handler: a failure is skipped and the handler goes on with its next step.
//   step([&]{ Data1->Refresh(); });
// Returns whether the step ran through.
template <class F>
bool step(F&& f) noexcept {
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        return false;
    }
}

// Runs an unguarded handler: a failure ends the handler, is shown in a message box, and the
// program goes on. Every event of every control is dispatched through this.
void runHandler(const char* what, const std::function<void()>& handler) noexcept;
// The same for a handler of a control or window on `source`: meanwhile, message boxes and dialogs
// stand over source's window (handlerWindow).
void runHandler(const char* what, QWidget* source, const std::function<void()>& handler) noexcept;
// The window whose handler runs (the innermost one that is still there), or nullptr.
QWidget* handlerWindow();

}  // namespace ui
