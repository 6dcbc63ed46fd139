#include "shell/startup.h"
#include <QDir>
#include <QFile>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/private_copy.h"
#include "platform/data/schema.h"
#include "platform/ui/dialogs.h"
#include "services/database_files.h"

namespace shell {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct DatabaseFile {
    QString (*path)();
    services::DatabaseKind kind;
};

const DatabaseFile kDatabases[] = {
    {&platform::mainDatabasePath, services::DatabaseKind::Main},
    {&platform::listDatabasePath, services::DatabaseKind::List},
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
    platform::detail::removeLeftoverPrivateCopies();
    // Side files of a killed run, settled before a missing database is made anew in its place.
    std::optional<QString> damage[std::size(kDatabases)];
    for (std::size_t i = 0; i < std::size(kDatabases); ++i)
        damage[i] = services::settleDatabase(kDatabases[i].kind, kDatabases[i].path());
    try {
        platform::ensureProgramDatabases();
    } catch (const platform::DataError& e) {
        ui::MsgBox(QStringLiteral("データベースを作れません。") + kCrLf + QDir::toNativeSeparators(folder) + kCrLf + kCrLf +
                       e.text,
                   ui::vbCritical);
        return nullptr;
    }
    for (std::size_t i = 0; i < std::size(kDatabases); ++i) {
        const DatabaseFile& d = kDatabases[i];
        const QString path = d.path();
        if (const auto problem = damage[i] ? damage[i] : services::checkDatabase(d.kind, path)) {
            platform::Database::refuse(path, *problem);
            tellUnusable(path, *problem);
        } else {
            // A file put in its place while the program runs has its side files settled and
            // passes the same check before use.
            services::checkReplacements(d.kind, path);
        }
    }
    return lock;
}

}  // namespace shell
