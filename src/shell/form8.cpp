#include "shell/form8.h"
#include <QDate>
#include <QDir>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "shell/backup.h"
#include "shell/form5.h"

namespace {

struct PeriodDatabase {
    const char* unit;
    const char* file;
    const char* stem;
};

const PeriodDatabase kDatabases[] = {
    {"day", "druvolo.mdb", "druvolo"},
    {"week", "Wdruvolo.mdb", "Wdruvolo"},
    {"month", "Tdruvolo.mdb", "Tdruvolo"},
};

const PeriodDatabase* databaseOf(const QString& unit) {
    for (const auto& d : kDatabases)
        if (unit == QLatin1String(d.unit)) return &d;
    return nullptr;
}

void unloadMenu() {
    if (Form5::isLoaded()) Form5::it().Unload();
}

}  // namespace

Form8::Form8() : ui::DefaultForm<Form8>(QStringLiteral("Form8")) {
    setCaption(QStringLiteral("Form8"));
    Move(3600, 2400, 2940, 1860);
    Command2 = addButton({.name = "Command2", .caption = QStringLiteral("OK"), .left = 120, .top = 120,
                          .width = 615, .height = 375});
    Command1 = addButton({.name = "Command1",
                          .caption = QStringLiteral("名前をつけて　　　　　　　　　　　　バックアップファイルの作成"),
                          .left = 480, .top = 600, .width = 2295, .height = 495, .backColor = 0xC0FFC0});
    Command4 = addButton({.name = "Command4", .caption = QStringLiteral("Command4"), .left = 480, .top = 1200,
                          .width = 2295, .height = 615});
    on(Command1->Click, [this] { Command1_Click(); }, "Command1_Click");
    on(Command2->Click, [this] { Command2_Click(); }, "Command2_Click");
}

void Form8::Form_Load() { Command4->setVisible(false); }

// The menu is unloaded while the copy runs (its load binds the main database again afterwards).
// Cancel copies nothing; an answer that is not a plain part of a file name is refused; the
// result line tells the real outcome.
void Form8::Command1_Click() {
    unloadMenu();
    const QString folder = platform::programFile(QStringLiteral("Mdb/"));
    ui::step([&] { QDir().mkpath(folder); });

    const auto answer = ui::InputBox(QStringLiteral("日付を入力してください"), QStringLiteral(""),
                                     QDate::currentDate().toString(QStringLiteral("yyMMdd")));
    if (!answer) return;
    if (!shell::isPlainNamePart(*answer)) {
        ui::MsgBox(QStringLiteral("ファイル名に使えない文字が含まれています。\r\n") + *answer, ui::vbExclamation);
        return;
    }

    QString unit;
    ui::step([&] { unit = Form5::periodUnit(); });
    const PeriodDatabase* db = databaseOf(unit);
    if (!db) {
        // A main database that the start found unusable holds no unit to read; say so instead.
        const QString mainDb = platform::mainDatabasePath();
        ui::MsgBox(platform::Database::isRefused(mainDb)
                       ? QStringLiteral("データベースが使えないため、バックアップできませんでした。\r\n") + mainDb
                       : QStringLiteral("株価の単位（day / week / month）が読めないため、バックアップできませんでした。"),
                   ui::vbExclamation);
        return;
    }
    unloadMenu();

    const QString name = QLatin1String(db->stem) + *answer + QStringLiteral(".mdb");
    const QString error = shell::backupDatabase(platform::programFile(QLatin1String(db->file)), folder + name);
    if (!error.isEmpty()) {
        ui::MsgBox(QStringLiteral("バックアップファイルを作成できませんでした。\r\n") + name + QStringLiteral("\r\n") + error,
                   ui::vbExclamation);
        return;
    }
    Command1->setCaption(QStringLiteral("バックアップファイル作成終わりました。"));
    Command4->setVisible(true);
    Command4->setCaption(QStringLiteral("ファイル名は　") + name);
}

void Form8::Command2_Click() {
    ui::step([&] { Unload(); });
    ui::step([&] { Form5::it().Show(); });
}
