#include "lists/list_forms.h"

Form13::Form13() : ui::DefaultForm<Form13>(QStringLiteral("Form13")) {}
Form17::Form17() : ui::DefaultForm<Form17>(QStringLiteral("Form17")) {}
Form31::Form31() : ui::DefaultForm<Form31>(QStringLiteral("Form31")) {}
Form12::Form12() : ui::DefaultForm<Form12>(QStringLiteral("Form12")) {}
Form14::Form14() : ui::DefaultForm<Form14>(QStringLiteral("Form14")) {}
