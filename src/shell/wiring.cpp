#include "shell/wiring.h"
#include "cards/form1.h"
#include "cards/form11.h"
#include "cards/form2.h"
#include "cards/form28.h"
#include "lists/dictionary.h"
#include "lists/list_forms.h"
#include "prices/form18.h"
#include "services/period_record.h"
#include "services/window_registry.h"
#include "shell/form5.h"
#include "shell/form7.h"
#include "shell/form8.h"
#include "shell/form23.h"
#include "trend_cards/form16.h"
#include "trend_stocks/form6.h"

namespace shell {

namespace {

template <class F>
services::WindowHooks showOnly() {
    return {[] { F::it().Show(); }, {}};
}

}  // namespace

void wireWindows() {
    using services::registerWindow;
    // The windows that stand. When a window lands, its line goes here.
    registerWindow(QStringLiteral("Form5"), showOnly<Form5>());
    registerWindow(QStringLiteral("Form7"), showOnly<Form7>());
    registerWindow(QStringLiteral("Form8"), showOnly<Form8>());
    registerWindow(QStringLiteral("Form23"), showOnly<Form23>());
    registerWindow(QStringLiteral("Form12"), showOnly<Form12>());
    registerWindow(QStringLiteral("Form13"), showOnly<Form13>());
    registerWindow(QStringLiteral("Form14"), showOnly<Form14>());
    registerWindow(QStringLiteral("Form17"), showOnly<Form17>());
    registerWindow(QStringLiteral("Form31"), showOnly<Form31>());
    registerWindow(QStringLiteral("Form20"), showOnly<Form20>());
    registerWindow(QStringLiteral("Form6"), showOnly<Form6>());
    registerWindow(QStringLiteral("Form28"), showOnly<Form28>());
    registerWindow(QStringLiteral("Form2"), showOnly<Form2>());
    registerWindow(QStringLiteral("Form1"), showOnly<Form1>());
    registerWindow(QStringLiteral("Form11"), showOnly<Form11>());
    registerWindow(QStringLiteral("Form18"), showOnly<Form18>());
    registerWindow(QStringLiteral("Form16"), showOnly<Form16>());

    services::setMenuWindow(QStringLiteral("Form5"));
    services::setPeriodRecordReader([](int field) { return Form5::it().dateRecordCell(field); });
    services::setPeriodRecordRefresher([] { Form5::it().Data1->Refresh(); });
}

}  // namespace shell
