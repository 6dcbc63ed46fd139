#pragma once
#include <QString>
#include <functional>

namespace services {

// Makes path the main database (Module1::MainDbPath) and tells the windows that follow it: the
// menu then shows the period record of that file. The path stays the main database until the
// program ends or another one is chosen; the menu's reload keeps it.
void useMainDatabase(const QString& path);

// The wiring names what follows a change of the main database.
void onMainDatabaseChanged(std::function<void()> follow);

}  // namespace services
