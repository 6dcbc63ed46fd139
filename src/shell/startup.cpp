#include "shell/startup.h"
#include <QDir>
#include <QFile>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/data/side_files.h"
#include "platform/ui/dialogs.h"

namespace shell {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct DatabaseCheck {
    QString (*path)();
    std::optional<QString> (*problem)(const QString&);
};

const DatabaseCheck kChecks[] = {
    {&platform::mainDatabasePath, &platform::mainDatabaseProblem},
    {&platform::listDatabasePath, &platform::listDatabaseProblem},
};

void tellUnusable(const QString& path, const QString& problem) {
    ui::MsgBox(QStringLiteral("このデータベースは使えません。") + kCrLf + QDir::toNativeSeparators(path) + kCrLf + kCrLf +
                   problem + kCrLf + kCrLf +
                   QStringLiteral("このファイルには何も書き込まず、このまま起動します（このデータベースを使う画面は空になります）。") +
                   kCrLf + QStringLiteral("バックアップは ") +
                   QDir::toNativeSeparators(platform::programFile(QStringLiteral("Mdb/"))) + QStringLiteral(" にあります。"),
               ui::vbExclamation);
}

}  // namespace

std::unique_ptr<platform::FolderLock> startUp() {
    const QString folder = platform::programFolder();
    auto lock = std::make_unique<platform::FolderLock>(folder);
    switch (lock->state()) {
    case platform::FolderLock::State::Held:
        break;
    case platform::FolderLock::State::HeldByOther:
        ui::MsgBox(QStringLiteral("Quenara はこのフォルダで既に動いています。") + kCrLf + QDir::toNativeSeparators(folder),
                   ui::vbExclamation);
        return nullptr;
    case platform::FolderLock::State::Failed:
        ui::MsgBox(QStringLiteral("プログラムのフォルダを使えません。") + kCrLf + QDir::toNativeSeparators(folder) + kCrLf +
                       kCrLf + lock->reason(),
                   ui::vbCritical);
        return nullptr;
    }
    // Half-built databases of a run that ended while building them; only this run uses the folder now.
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.mdb.*.new"), QStringLiteral("*.mdb.*.new-*")}, QDir::Files))
        QFile::remove(dir.filePath(name));
    // Side files of a killed run: played back over its own file, never over a file put in place since.
    for (const DatabaseCheck& c : kChecks) {
        const QStringList moved = platform::settleSideFiles(c.path());
        if (!moved.isEmpty())
            ui::MsgBox(QStringLiteral("前回の実行が残したファイルは、今のデータベースのものではないため使いません。") + kCrLf +
                           QDir::toNativeSeparators(c.path()) + kCrLf + kCrLf + QStringLiteral("次の名前で残してあります:") +
                           kCrLf + QDir::toNativeSeparators(moved.join(QStringLiteral(".orphan") + kCrLf)) +
                           QStringLiteral(".orphan"),
                       ui::vbInformation);
    }
    try {
        platform::ensureProgramDatabases();
    } catch (const platform::DataError& e) {
        ui::MsgBox(QStringLiteral("データベースを作れません。") + kCrLf + QDir::toNativeSeparators(folder) + kCrLf + kCrLf +
                       e.text,
                   ui::vbCritical);
        return nullptr;
    }
    for (const DatabaseCheck& c : kChecks) {
        const QString path = c.path();
        if (const auto problem = c.problem(path)) {
            platform::Database::refuse(path, *problem);
            tellUnusable(path, *problem);
        } else {
            // A file put in its place while the program runs passes the same check before use.
            platform::Database::checkReplacements(path, c.problem);
        }
    }
    return lock;
}

}  // namespace shell
