#include <QApplication>
#include "platform/data/paths.h"
#include "platform/ui/dialogs.h"
#include "shell/form5.h"
#include "shell/startup.h"
#include "shell/system_end.h"
#include "shell/wiring.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenara"));
    ui::loadJapaneseQtTexts();
    const auto folderLock = shell::startUp();
    if (!folderLock) return 1;
    shell::wireWindows();
    shell::endOnSystemSignals();
    Form5::it().Show();
    return app.exec();
}
