#include "shell/window_registry.h"
#include "lists/dictionary.h"
#include "lists/list_forms.h"
#include "shell/form5.h"
#include "shell/form7.h"
#include "shell/form8.h"
#include "shell/form23.h"
#include "trend_stocks/form6.h"

namespace shell {

namespace {

template <class F>
WindowHooks showOnly() {
    return {[] { F::it().Show(); }, {}};
}

// The windows that stand today. When a window of a later subsystem lands, its line goes here.
std::map<QString, WindowHooks> standingWindows() {
    return {
        {QStringLiteral("Form5"), showOnly<Form5>()},
        {QStringLiteral("Form7"), showOnly<Form7>()},
        {QStringLiteral("Form8"), showOnly<Form8>()},
        {QStringLiteral("Form23"), showOnly<Form23>()},
        {QStringLiteral("Form12"), showOnly<Form12>()},
        {QStringLiteral("Form13"), showOnly<Form13>()},
        {QStringLiteral("Form14"), showOnly<Form14>()},
        {QStringLiteral("Form17"), showOnly<Form17>()},
        {QStringLiteral("Form31"), showOnly<Form31>()},
        {QStringLiteral("Form20"), showOnly<Form20>()},
        {QStringLiteral("Form6"), showOnly<Form6>()},
    };
}

}  // namespace

std::map<QString, WindowHooks>& windowTable() {
    static std::map<QString, WindowHooks> table = standingWindows();
    return table;
}

void registerWindow(const QString& name, WindowHooks hooks) {
    windowTable()[name] = std::move(hooks);
}

bool windowStands(const QString& name) {
    auto it = windowTable().find(name);
    return it != windowTable().end() && it->second.show;
}

bool showWindow(const QString& name) {
    auto& table = windowTable();
    auto it = table.find(name);
    if (it == table.end() || !it->second.show) return false;
    it->second.show();
    return true;
}

bool setWindowText(const QString& window, const QString& control, const QString& text) {
    auto& table = windowTable();
    auto it = table.find(window);
    if (it == table.end() || !it->second.setText) return false;
    it->second.setText(control, text);
    return true;
}

}  // namespace shell
