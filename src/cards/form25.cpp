#include "cards/form25.h"
#include "cards/card_bulk.h"
#include "cards/form22.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/database_files.h"
#include "services/main_database.h"
#include "services/module1.h"
#include "services/window_registry.h"

using ui::step;

namespace {

constexpr unsigned kChosenColour = 0x76EEC6;

// What the two buttons do for each kind word (compared exactly).
enum class Kind { Access, Excel, Search, Table, None };
Kind kindOf(const QString& word) {
    if (word == QLatin1String("Access")) return Kind::Access;
    if (word == QLatin1String("Excel")) return Kind::Excel;
    if (word == QLatin1String("search")) return Kind::Search;
    if (word == QLatin1String("kbktable")) return Kind::Table;
    return Kind::None;
}

// Characters a sheet name cannot hold (they would also end the bracketed name in the row source).
bool plainSheetName(const QString& name) {
    for (QChar c : name)
        if (c.unicode() < 0x20 || QStringLiteral("[]:*?/\\").contains(c)) return false;
    return true;
}

}  // namespace

Form25::Form25() : ui::DefaultForm<Form25>(QStringLiteral("Form25")) {
    setCaption(QStringLiteral("Form25"));
    setBackColor(0x808080);
    Move(2400, 2400, 6360, 2640);
    Label1 = addLabel({.name = "Label1", .caption = QStringLiteral("ファイル名："), .left = 120, .top = 720,
                       .width = 1095, .height = 255, .backColor = 0x808080, .foreColor = 0xFFFFFF});
    Text2 = addText({.name = "Text2", .caption = QString(), .left = 4440, .top = 120, .width = 1215, .height = 300});
    Text1 = addText({.name = "Text1", .caption = QString(), .left = 1200, .top = 720, .width = 4935, .height = 300});
    Command1 = addButton({.name = "Command1", .caption = QStringLiteral("ここをクリック"), .left = 1200, .top = 1200,
                          .width = 1695, .height = 375});
    Label2 = addLabel({.name = "Label2", .caption = QStringLiteral(" 　　↑　　　　　　ファイルの選択"), .left = 1200,
                       .top = 1680, .width = 3015, .height = 255, .backColor = 0x808080, .foreColor = 0xFFFFFF});
    Command2 = addButton({.name = "Command2", .caption = QStringLiteral("確認　→次へ"), .left = 4440, .top = 1200,
                          .width = 1695, .height = 375});
    Text3 = addText({.name = "Text3", .caption = QStringLiteral("Text3"), .left = 4440, .top = 2040, .width = 1215,
                     .height = 300});
    Command3 = addButton({.name = "Command3", .caption = QStringLiteral("OK"), .left = 120, .top = 120, .width = 615,
                          .height = 375, .backColor = 0xFFFFFF});
    on(Command1->Click, [this] { Command1_Click(); }, "Command1_Click");
    on(Command2->Click, [this] { Command2_Click(); }, "Command2_Click");
    on(Command3->Click, [this] { Command3_Click(); }, "Command3_Click");
}

void Form25::Form_Load() {
    Text1->setText(QString());
    Command1->setBackColor(kChosenColour);
}

// The open-file dialog; the path box shows the chosen file (the text before a NUL, if any).
QString Form25::choose(const QString& description, const QString& pattern) {
    const QString filter = description + QChar(0) + pattern + QChar(0);
    const QString chosen = Module1::ShowOpenFileDialog(this, filter);
    Text1->setText(chosen.left(chosen.indexOf(QChar(0)) < 0 ? chosen.size() : chosen.indexOf(QChar(0))));
    return Text1->Text();
}

void Form25::Command1_Click() {
    step([&] { Text1->setText(QString()); });
    switch (kindOf(Text2->Text())) {
    case Kind::Access: step([&] { chooseDatabase(); }); break;
    case Kind::Excel: step([&] { chooseWorkbook(); }); break;
    case Kind::Search: step([&] { chooseMainDatabase(); }); break;
    case Kind::Table:
    case Kind::None: break;
    }
    step([&] { Command2->setBackColor(kChosenColour); });
}

// Another database's cards: the preview opens over its card table. Cancel opens nothing.
void Form25::chooseDatabase() {
    const QString path = choose(QStringLiteral("databaseファイル(*.mdb)"), QStringLiteral("*.mdb"));
    if (path.isEmpty()) return;
    step([&] { Hide(); });
    Form22& preview = Form22::it();
    step([&] { preview.bind(path, QStringLiteral("select * from mydata"), QStringLiteral("Access 2000;")); });
    step([&] { preview.Show(); });
}

// A workbook sheet: the preview is bound and read, and shown by "確認　→次へ".
void Form25::chooseWorkbook() {
    const QString path = choose(QStringLiteral("Excelファイル(*.xls)"), QStringLiteral("*.xls"));
    if (path.isEmpty()) return;
    Form22& preview = Form22::it();
    // a cancelled or refused answer reads no earlier sheet
    step([&] { preview.bind(path, QString(), QStringLiteral("Excel 8.0;")); });
    const auto sheet = ui::InputBox(QStringLiteral("シートの名前(番号)を入力してください"), QStringLiteral("SHEET"),
                                    QStringLiteral("Sheet3"));
    if (!sheet) return;
    if (sheet->trimmed().isEmpty()) {
        ui::MsgBox(QStringLiteral("シートの名前が入っていません。もう一度「ここをクリック」からファイルとシートを選んでください。"),
                   ui::vbExclamation);
        return;
    }
    if (!plainSheetName(*sheet)) {
        ui::MsgBox(QStringLiteral("シートの名前に使えない文字があります。\r\n") + *sheet, ui::vbExclamation);
        return;
    }
    step([&] { preview.Data1->RecordSource = QStringLiteral("select * from [") + *sheet + QStringLiteral("$]"); });
    preview.readSource();
}

// Another database of this program becomes the main database; any other file is refused and the
// current one stays. Cancel changes nothing.
void Form25::chooseMainDatabase() {
    const QString path = choose(QStringLiteral("Accessファイル(*.mdb)"), QStringLiteral("*.mdb"));
    if (path.isEmpty()) return;
    auto refuse = [&](const QString& why) {
        ui::MsgBox(why + QStringLiteral("\r\n") + path + QStringLiteral("\r\n現在のデータベースをそのまま使います。"),
                   ui::vbExclamation);
    };
    // Settled as the start settles its own: a journal or log left beside it is never played back
    // over it unseen.
    if (const auto damage = services::settleDatabase(services::DatabaseKind::Main, path)) {
        refuse(QStringLiteral("このデータベースは使えません。\r\n") + *damage);
        return;
    }
    const QString problem = cards::programDatabaseProblem(path);
    if (!problem.isEmpty()) {
        refuse(problem);
        return;
    }
    step([&] { services::checkReplacements(services::DatabaseKind::Main, path); });
    step([&] { services::useMainDatabase(path); });
    step([&] { Hide(); });
    step([&] { services::showMenu(); });
}

void Form25::Command2_Click() {
    switch (kindOf(Text2->Text())) {
    case Kind::Excel:
        step([&] { Form22::it().Show(); });
        step([&] { Hide(); });
        step([&] { Text1->setText(QString()); });
        break;
    case Kind::Table:
        step([&] { Hide(); });
        step([&] { Text1->setText(QString()); });
        break;
    default: break;
    }
}

void Form25::Command3_Click() {
    Unload();
    services::showMenu();
}
