#include "lists/list_grids.h"
#include "lists/list_forms.h"
#include "platform/data/errors.h"

namespace lists {

namespace {

template <class F>
ui::FlexGrid* gridOf() {
    return F::it().MSFlexGrid1;
}

template <class F>
ui::Data* dataOf() {
    return F::it().Data1;
}

struct ListWindow {
    const char* name;
    ui::FlexGrid* (*grid)();
    ui::Data* (*data)();
};

template <class F>
constexpr ListWindow listWindow(const char* name) {
    return {name, &gridOf<F>, &dataOf<F>};
}

const ListWindow kListWindows[] = {
    listWindow<Form13>("Form13"), listWindow<Form17>("Form17"), listWindow<Form31>("Form31"),
    listWindow<Form12>("Form12"), listWindow<Form14>("Form14"),
};

const ListWindow& windowNamed(const QString& window) {
    for (const ListWindow& w : kListWindows)
        if (window == QLatin1String(w.name)) return w;
    throw platform::DataError(QStringLiteral("no list window: ") + window);
}

}  // namespace

ui::FlexGrid& listGrid(const QString& window) {
    if (ui::FlexGrid* g = windowNamed(window).grid()) return *g;
    throw platform::DataError(QStringLiteral("no list grid: ") + window);
}

bool listReadable(const QString& window) {
    const ui::Data* d = windowNamed(window).data();
    return d && d->hasRecordset();
}

}  // namespace lists
