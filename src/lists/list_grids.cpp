#include "lists/list_grids.h"
#include "lists/list_forms.h"
#include "platform/data/errors.h"

namespace lists {

namespace {

template <class F>
ui::FlexGrid* gridOf() {
    return F::it().MSFlexGrid1;
}

struct ListWindow {
    const char* name;
    ui::FlexGrid* (*grid)();
};

const ListWindow kListWindows[] = {
    {"Form13", &gridOf<Form13>}, {"Form17", &gridOf<Form17>}, {"Form31", &gridOf<Form31>},
    {"Form12", &gridOf<Form12>}, {"Form14", &gridOf<Form14>},
};

}  // namespace

ui::FlexGrid& listGrid(const QString& window) {
    for (const ListWindow& w : kListWindows) {
        if (window != QLatin1String(w.name)) continue;
        if (ui::FlexGrid* g = w.grid()) return *g;
        break;
    }
    throw platform::DataError(QStringLiteral("no list grid: ") + window);
}

}  // namespace lists
