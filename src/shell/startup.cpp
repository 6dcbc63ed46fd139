#include "shell/startup.h"
#include <QDir>
#include <QFile>
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/private_copy.h"
#include "platform/data/schema.h"
#include "platform/data/side_files.h"
#include "platform/ui/busy_notice.h"
#include "platform/ui/dialogs.h"

namespace shell {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct DatabaseCheck {
    QString (*path)();
    std::optional<QString> (*problem)(const QString&);
    // What is made good in a file that passed, before the program uses it (once for each file).
    bool (*makeGood)(const QString&);
};

const DatabaseCheck kChecks[] = {
    {&platform::mainDatabasePath, &platform::mainDatabaseProblem, &platform::keepCodeChangeInStep},
    {&platform::listDatabasePath, &platform::listDatabaseProblem, nullptr},
};

// What keeps the file from serving; nothing once it passed and was made good.
std::optional<QString> check(const DatabaseCheck& c, const QString& path) {
    if (auto problem = c.problem(path)) return problem;
    if (c.makeGood) c.makeGood(path);
    return std::nullopt;
}

void tellUnusable(const QString& path, const QString& problem) {
    ui::MsgBox(QStringLiteral("このデータベースは使えません。") + kCrLf + QDir::toNativeSeparators(path) + kCrLf + kCrLf +
                   problem + kCrLf + kCrLf +
                   QStringLiteral("このファイルには何も書き込まず、このまま起動します（このデータベースを使う画面は空になります）。") +
                   kCrLf + QStringLiteral("バックアップは ") +
                   QDir::toNativeSeparators(platform::programFile(QStringLiteral("Mdb/"))) + QStringLiteral(" にあります。"),
               ui::vbExclamation);
}

// Whether the side files a killed run left are to be applied to the database when both ways
// give a whole file: the person knows whether a file was put in its place since.
bool applySideFiles(const QString& path, const QStringList& sides) {
    return ui::MsgBox(QStringLiteral("前回の実行が書き込みの途中で止まり、次のファイルが残っています:") + kCrLf +
                          QDir::toNativeSeparators(sides.join(kCrLf)) + kCrLf + kCrLf +
                          QStringLiteral("これをデータベース ") + QDir::toNativeSeparators(path) +
                          QStringLiteral(" に反映しますか？") + kCrLf + kCrLf +
                          QStringLiteral("はい: 反映します（止まった書き込みを片付けます。通常はこちらです）。") + kCrLf +
                          QStringLiteral("いいえ: 今のファイルをそのまま使います（そのあとでバックアップなどをこの場所に書き戻したときはこちらです）。") +
                          kCrLf + kCrLf + QStringLiteral("使わなかったほうは、消さずに別の名前で残します。"),
                      ui::vbYesNo | ui::vbQuestion) == ui::vbYes;
}

// Settles the side files a killed run left beside the database (see settleSideFiles) and names
// the files it kept under new names in a message. Returns what keeps the file from serving now,
// if anything.
std::optional<QString> settle(const DatabaseCheck& c, const QString& path) {
    std::optional<ui::BusyNotice> busy;   // while the trial runs, until a question is asked
    const platform::SideFilesOutcome settled = platform::settleSideFiles(
        path, c.problem, [&](const QStringList& sides) { return busy.reset(), applySideFiles(path, sides); },
        [&] { busy.emplace(); });
    busy.reset();
    if (!settled.setAside.isEmpty())
        ui::MsgBox(QStringLiteral("前回の実行が残したファイルは、このデータベースには使いません。") + kCrLf +
                       QDir::toNativeSeparators(path) + kCrLf + kCrLf + QStringLiteral("次の名前で残してあります:") +
                       kCrLf + QDir::toNativeSeparators(settled.setAside.join(kCrLf)),
                   ui::vbInformation);
    if (!settled.keptAsItStood.isEmpty())
        ui::MsgBox(QStringLiteral("前回の実行が残したファイルをデータベースに反映しました。") + kCrLf +
                       QDir::toNativeSeparators(path) + kCrLf + kCrLf +
                       QStringLiteral("反映する前のファイルは次の名前で残してあります:") + kCrLf +
                       QDir::toNativeSeparators(settled.keptAsItStood),
                   ui::vbInformation);
    return settled.damage;
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
    std::optional<QString> damage[std::size(kChecks)];
    for (std::size_t i = 0; i < std::size(kChecks); ++i) damage[i] = settle(kChecks[i], kChecks[i].path());
    try {
        platform::ensureProgramDatabases();
    } catch (const platform::DataError& e) {
        ui::MsgBox(QStringLiteral("データベースを作れません。") + kCrLf + QDir::toNativeSeparators(folder) + kCrLf + kCrLf +
                       e.text,
                   ui::vbCritical);
        return nullptr;
    }
    for (std::size_t i = 0; i < std::size(kChecks); ++i) {
        const DatabaseCheck& c = kChecks[i];
        const QString path = c.path();
        if (const auto problem = damage[i] ? damage[i] : check(c, path)) {
            platform::Database::refuse(path, *problem);
            tellUnusable(path, *problem);
        } else {
            // A file put in its place while the program runs has its side files settled and
            // passes the same check before use.
            platform::Database::checkReplacements(path, [&c](const QString& replaced) {
                if (auto unsettled = settle(c, replaced)) return unsettled;
                return check(c, replaced);
            });
        }
    }
    return lock;
}

}  // namespace shell
