#pragma once
#include <QString>

namespace ui { class FlexGrid; }

namespace lists {

// The grid of a list window by its name ("Form13"); touching it loads the window hidden.
// Throws when the window has no grid.
ui::FlexGrid& listGrid(const QString& window);

}  // namespace lists
