#pragma once
#include <QString>

namespace ui { class FlexGrid; }

namespace lists {

// The grid of a list window by its name ("Form13"); touching it loads the window hidden.
// Throws when the window has no grid.
ui::FlexGrid& listGrid(const QString& window);

// True when the list window holds its list: its data control has read the list table. False
// when the list database could not be read (the window has told the person so).
bool listReadable(const QString& window);

}  // namespace lists
