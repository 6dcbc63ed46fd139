#include "shell/wiring.h"
#include "platform/data/errors.h"
#include "cards/form15.h"
#include "cards/form19.h"
#include "cards/form22.h"
#include "cards/form25.h"
#include "cards/form1.h"
#include "cards/form11.h"
#include "cards/form2.h"
#include "cards/form28.h"
#include "lists/dictionary.h"
#include "lists/list_forms.h"
#include "prices/form18.h"
#include "services/main_database.h"
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
    registerWindow(QStringLiteral("Form5"), {[] { Form5::it().Show(); }, {}, [](const QString& control) {
                       if (control != QLatin1String("Text2")) throw platform::DataError(control);
                       return Form5::it().Text2->Text();
                   }});
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
    registerWindow(QStringLiteral("Form18"), showOnly<Form18>());
    registerWindow(QStringLiteral("Form16"), showOnly<Form16>());
    registerWindow(QStringLiteral("Form15"), showOnly<Form15>());
    registerWindow(QStringLiteral("Form19"), showOnly<Form19>());
    registerWindow(QStringLiteral("Form22"), showOnly<Form22>());
    registerWindow(QStringLiteral("Form25"), {[] { Form25::it().Show(); }, [](const QString& control, const QString& text) {
                       if (control == QLatin1String("Text1")) Form25::it().Text1->setText(text);
                       if (control == QLatin1String("Text2")) Form25::it().Text2->setText(text);
                   }});
    registerWindow(QStringLiteral("Form28"), showOnly<Form28>());
    registerWindow(QStringLiteral("Form2"), showOnly<Form2>());
    registerWindow(QStringLiteral("Form1"), showOnly<Form1>());
    registerWindow(QStringLiteral("Form11"), showOnly<Form11>());

    services::setMenuWindow(QStringLiteral("Form5"));
    services::onMainDatabaseChanged([] { Form5::it().bindPeriodRecord(); });
    services::setPeriodRecordReader([](int field) { return Form5::it().dateRecordCell(field); });
    services::setPeriodRecordRefresher([] { Form5::it().Data1->Refresh(); });
}

}  // namespace shell
