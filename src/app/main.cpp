#include <QApplication>
#include "platform/data/schema.h"
#include "shell/form5.h"
#include "shell/wiring.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenara"));
    platform::ensureProgramDatabases();
    shell::wireWindows();
    Form5::it().Show();
    return app.exec();
}
