#pragma once
#include "platform/data/data_control.h"
#include "platform/ui/guard.h"

// Registration into a list window: the entry is added through the window's data control, which
// is refreshed so that its grid shows the entry, and the window is shown. Touching the window
// loads it (binding its list) when it is not loaded. Each step is guarded.
namespace cards {

template <class ListWindow, class Add>
void registerIntoList(Add add) {
    platform::DataControl* list = nullptr;
    ui::step([&] { list = ListWindow::it().Data1; });
    if (list) {
        ui::step([&] { add(*list); });
        ui::step([&] { list->Refresh(); });
    }
    ui::step([&] { ListWindow::it().Show(); });
}

}  // namespace cards
