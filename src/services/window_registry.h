#pragma once
#include <QString>
#include <functional>
#include <map>

namespace services {

// What another window can do with a window it does not include: show it, write one of its
// text boxes (the import window's path and kind boxes) before showing it, and read one (the
// menu's purge kind box).
struct WindowHooks {
    std::function<void()> show;
    std::function<void(const QString& control, const QString& text)> setText;
    std::function<QString(const QString& control)> text;
};

// The windows by class name ("Form16"). The program's wiring (shell::wireWindows) enters every
// window that stands; a launch of a window that is not entered does nothing.
std::map<QString, WindowHooks>& windowTable();
void registerWindow(const QString& name, WindowHooks hooks);

// True when the window is built (entered in the table).
bool windowStands(const QString& name);
// Shows the window; false when it is not built yet.
bool showWindow(const QString& name);
// Writes a text box of the window; false when the window or the box is not there.
bool setWindowText(const QString& window, const QString& control, const QString& text);
// Reads a text box of the window; throws when the window cannot tell it.
QString windowText(const QString& window, const QString& control);

// Brings the menu back (a screen's OK). The wiring names the window that serves as the menu.
void setMenuWindow(const QString& name);
void showMenu();

}  // namespace services
