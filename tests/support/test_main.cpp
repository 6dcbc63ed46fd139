#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "platform/ui/forms.h"
#include "shell/wiring.h"

// Every test program runs without a display, on a private data and runtime folder.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    QTemporaryDir runtimeDir;   // created with owner-only permissions
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenara"));
    shell::wireWindows();
    const int result = RUN_ALL_TESTS();
    ui::Form::destroyAll();
    return result;
}
