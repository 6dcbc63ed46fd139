#include "shell/form5.h"
#include "shell/module1.h"

Form5::Form5() : ui::DefaultForm<Form5>(QStringLiteral("Form5")) {
    setCaption(QStringLiteral("Ｍｅｎｕ"));
}

void Form5::Form_Load() {}
