#include "services/window_registry.h"
#include "platform/data/errors.h"

namespace services {

namespace {
QString& menuWindow() {
    static QString name;
    return name;
}
}  // namespace

std::map<QString, WindowHooks>& windowTable() {
    static std::map<QString, WindowHooks> table;
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

QString windowText(const QString& window, const QString& control) {
    auto& table = windowTable();
    auto it = table.find(window);
    if (it == table.end() || !it->second.text)
        throw platform::DataError(QStringLiteral("%1.%2 cannot be read").arg(window, control));
    return it->second.text(control);
}

void setMenuWindow(const QString& name) { menuWindow() = name; }

void showMenu() {
    if (!showWindow(menuWindow())) throw platform::DataError(QStringLiteral("the menu is not wired"));
}

}  // namespace services
