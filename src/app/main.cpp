#include <QApplication>
#include "platform/data/schema.h"
#include "shell/form5.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenara"));
    platform::ensureProgramDatabases();
    Form5::it().Show();
    return app.exec();
}
