#include "shell/form5.h"
#include <QCoreApplication>
#include <QFont>
#include <QTimer>
#include <algorithm>
#include <set>
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/ui/colors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "shell/form7.h"
#include "shell/launch_table.h"
#include "lists/list_grids.h"
#include "services/module1.h"
#include "services/window_registry.h"

using namespace shell;
using namespace services;
using namespace shell::menu_layout;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct GroupLabel {
    const char* name;
    const char* caption;
    int firstRow, lastRow;
    long long backColor;
};

const GroupLabel kGroupLabels[] = {
    {"Label1", "カード収集", kCollectRow, kCollectRow, -1},
    {"Label2", "強化", kExcelRow, kPriceTableRow, -1},
    {"Label3", "絞込み検索", kAllCardsRow, kPriceDataRow, -1},
    {"Label6", "トレンド調査", kTrendRow1, kTrendListRow, -1},
    {"Label5", "ユーティリティ", kBackupRow, kMemoRow, 0xC0C0FF},
    {"Label7", "カードの削除", kPurgeRow, kPurgeRow, -1},
    {"Label4", " 終了", kEndRow, kEndRow, -1},
};

// Back colours of the unit box and the ten date boxes.
long long dateBoxColor(int index) {
    if (index == 0) return 0xC0FFFF;
    return index <= 5 ? 0x80C0FF : 0xC0E0FF;
}

ui::ControlSpec specOf(const QString& control, const QString& caption, const Geo& g, long long backColor) {
    static std::set<QByteArray> names;   // ControlSpec takes the name as a C string
    const char* name = names.insert(control.toUtf8()).first->constData();
    return {.name = name, .caption = caption, .left = g.left, .top = g.top, .width = g.width,
            .height = g.height, .backColor = backColor};
}

QString excelWarning(const QString& unitWord) {
    return QStringList{QStringLiteral("現在　株価が ") + unitWord + QStringLiteral(" を選択されています。"), QString(),
                       QStringLiteral("Quenaraを一旦終了して"), QStringLiteral("株価入力を 日単位 で立ち上げて"),
                       QStringLiteral("実行してください。")}
        .join(kCrLf);
}

}  // namespace

Form5::Form5() : ui::DefaultForm<Form5>(QStringLiteral("Form5")) {
    setCaption(QStringLiteral("Ｍｅｎｕ"));
    setBackColor(0xE0E0E0);
    Move(1200, 900, 5010, 7575);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);

    Command16 = addButton(specOf(QStringLiteral("Command16"), QStringLiteral("Quenara　v2.03"),
                                 pixels(0, 0, 334, kStripHeight), -1));
    for (const GroupLabel& g : kGroupLabels) {
        const int top = rowTop(g.firstRow);
        ui::Label* l = addLabel(specOf(QString::fromUtf8(g.name), QString::fromUtf8(g.caption),
                                       pixels(kLabelLeft, top, kLabelWidth, rowTop(g.lastRow) + kRowHeight - top),
                                       g.backColor));
        labels_[l->Name] = l;
    }

    // Launch and help buttons in reading order, so that Tab walks the menu row by row; the
    // controls past the right edge come last.
    struct Placed {
        Geo geo;
        const LaunchRow* launch;
        const HelpRow* help;
    };
    std::vector<Placed> placed;
    for (const LaunchRow& r : launchTable()) placed.push_back({r.geo, &r, nullptr});
    for (const HelpRow& h : helpTable()) placed.push_back({h.geo, nullptr, &h});
    const int beyond = ui::twips(kBeyondLeft);
    std::stable_sort(placed.begin(), placed.end(), [beyond](const Placed& a, const Placed& b) {
        const bool aOut = a.geo.left >= beyond, bOut = b.geo.left >= beyond;
        if (aOut != bOut) return bOut;
        return a.geo.top != b.geo.top ? a.geo.top < b.geo.top : a.geo.left < b.geo.left;
    });
    auto addPlaced = [this](const Placed& p) {
        ui::CommandButton* b;
        if (p.launch) {
            b = addButton(specOf(p.launch->control, p.launch->caption, p.geo, p.launch->color));
            on(b->Click, [this, row = p.launch] { launch(*row); }, "launch");
        } else {
            b = addButton(specOf(p.help->control, QString(), p.geo, p.help->color));
            on(b->Click, [this, row = p.help] { showHelp(*row); }, "help");
        }
        buttons_[b->Name] = b;
    };
    auto firstOut = std::find_if(placed.begin(), placed.end(), [beyond](const Placed& p) { return p.geo.left >= beyond; });
    std::for_each(placed.begin(), firstOut, addPlaced);

    Command3 = addButton(specOf(QStringLiteral("Command3"), QStringLiteral("ＥＮＤ"),
                                menuCell(kEndRow, kCol1, kHelpLeft + kHelpWidth - kCol1), -1));
    on(Command3->Click, [this] { Command3_Click(); }, "Command3_Click");

    Label8 = addLabel(specOf(QStringLiteral("Label8"), QStringLiteral("登録株価"),
                             pixels(kDatesLeft, rowTop(0), kDatesWidth, kRowHeight), 0x8080FF));
    labels_[Label8->Name] = Label8;
    for (int i = 0; i <= 10; ++i) {
        ui::ControlSpec s = specOf(QStringLiteral("Text1"), QStringLiteral("Text1"),
                                   pixels(kDatesLeft, rowTop(0) + (kRowHeight + 1) * (i + 1), kDatesWidth, kRowHeight),
                                   dateBoxColor(i));
        s.index = i;
        Text1.set(i, addText(s));
        on(Text1(i)->Change, [this] { Text1_Change(); }, "Text1_Change");
    }

    std::for_each(firstOut, placed.end(), addPlaced);
    Text3 = addText(specOf(QStringLiteral("Text3"), QStringLiteral("Text3"),
                           beyondRightEdge(kSecondSectionRow, 0, kBeyondWidth), -1));
    on(Text3->Change, [this] { Text3_Change(); }, "Text3_Change");
    Text2 = addText(specOf(QStringLiteral("Text2"), QStringLiteral("Text2"),
                           beyondRightEdge(kEmergingRow, 0, kBeyondWidth), -1));
    MSFlexGrid1 = addGrid(specOf(QStringLiteral("MSFlexGrid1"), QString(),
                                 pixels(kBeyondLeft, rowTop(kHoldingsRow), 420, 200), -1));
    ui::ControlSpec data = specOf(QStringLiteral("Data1"), QStringLiteral("Data1"),
                                  pixels(kBeyondLeft, rowTop(kTrendRow2), 150, kRowHeight), -1);
    data.visible = false;
    Data1 = addData(data);
    MSFlexGrid1->bind(Data1);
}

ui::CommandButton* Form5::Command(const QString& name) const {
    auto it = buttons_.find(name);
    if (it != buttons_.end()) return it->second;
    if (Command3 && name == Command3->Name) return Command3;
    if (Command16 && name == Command16->Name) return Command16;
    return nullptr;
}

ui::Label* Form5::Label(const QString& name) const {
    auto it = labels_.find(name);
    return it == labels_.end() ? nullptr : it->second;
}

QString Form5::dateRecordCell(int col) const {
    if (MSFlexGrid1->Rows() < 2 || col >= MSFlexGrid1->Cols())
        throw platform::DataError(QStringLiteral("the date record is not loaded"));
    return MSFlexGrid1->TextMatrix(1, col);
}

QString Form5::periodUnit() { return it().dateRecordCell(12); }

void Form5::Form_Load() {
    // A main database chosen by the person stays the main database when the menu loads again.
    ui::step([&] {
        if (Module1::MainDbPath.isEmpty()) Module1::MainDbPath = platform::mainDatabasePath();
    });
    bindPeriodRecord();
}

void Form5::bindPeriodRecord() {
    ui::step([&] { Data1->DatabaseName = Module1::MainDbPath; });
    ui::step([&] { Data1->Options = 1; });
    ui::step([&] { Data1->RecordSource = QStringLiteral("select * from [日付]"); });
    ui::step([&] { Data1->Refresh(); });
}

void Form5::Form_Activate() {
    ui::step([&] { Text1(0)->setText(dateRecordCell(12)); });
    for (int k = 1; k <= 10; ++k) ui::step([&] { Text1(k)->setText(dateRecordCell(k + 1)); });
}

// The newest date box always shows the record's newest date.
void Form5::Text1_Change() {
    ui::step([&] { Text1(1)->setText(dateRecordCell(2)); });
}

void Form5::Text3_Change() { Text3->setText(Module1::MainDbPath); }

void Form5::launch(const LaunchRow& row) {
    switch (row.kind) {
    case Launch::Plain: storeAndShow(row); break;
    case Launch::Collect:
    case Launch::ExcelImport: gatedLaunch(row); break;
    case Launch::List: listLaunch(row); break;
    case Launch::Extra: extraLaunch(row); break;
    }
}

void Form5::storeAndShow(const LaunchRow& row) {
    if (row.clearImportPath) ui::step([&] { setWindowText(QStringLiteral("Form25"), QStringLiteral("Text1"), QString()); });
    if (!row.importKind.isEmpty())
        ui::step([&] { setWindowText(QStringLiteral("Form25"), QStringLiteral("Text2"), row.importKind); });
    if (!row.purgeKind.isEmpty()) ui::step([&] { Text2->setText(row.purgeKind); });
    if (row.menuMode != kKeep) Module1::MenuMode = row.menuMode;
    showWindowsOf(row);
}

// Windows that are not built yet are passed over; when none of the row's windows is built the
// menu stays in view, so that the program is never left without a window.
void Form5::showWindowsOf(const LaunchRow& row) {
    if (std::none_of(row.shows.begin(), row.shows.end(), windowStands)) return;
    if (row.menu == MenuAfter::HidesFirst) ui::step([&] { Hide(); });
    for (const QString& w : row.shows) ui::step([&] { showWindow(w); });
    if (row.menu == MenuAfter::Hides) ui::step([&] { Hide(); });
}

// "収集" and "エクセルファイルの一括取込" work on daily prices only.
void Form5::gatedLaunch(const LaunchRow& row) {
    QString unit;
    if (!ui::step([&] { unit = dateRecordCell(12); })) return;
    if (unit == QLatin1String("week") || unit == QLatin1String("month")) {
        if (row.kind == Launch::Collect)
            ui::step([&] { Show(); });
        else
            ui::MsgBox(excelWarning(unit == QLatin1String("week") ? QStringLiteral("週単位") : QStringLiteral("月単位")),
                       ui::vbOKCancel | ui::vbExclamation);
        return;
    }
    if (unit == QLatin1String("day")) storeAndShow(row);
}

// The seven list-based universes: a row source over the entries of a list window's grid. Only
// a list that really holds no entry is called empty; a stock list that could not be read (its
// window has said so) opens the listed-stock screen on no stock.
void Form5::listLaunch(const LaunchRow& row) {
    const ListUniverse& u = *row.list;
    *u.target = u.base;
    QString restriction;
    const bool read = ui::step([&] {
        ui::FlexGrid& grid = lists::listGrid(u.window);
        if (!lists::listReadable(u.window)) throw platform::DataError(QStringLiteral("unreadable list"));
        restriction = ListExtraction(grid, u.kind, u.limit);
    });
    if (!read && u.kind == ListKind::Codes && u.onEmpty == OnEmptyList::OpenAll) restriction = noStockRestriction();
    auto open = [&] {
        Module1::MenuMode = row.menuMode;
        if (u.trendMode != kKeep) Module1::TrendMode = u.trendMode;
        showWindowsOf(row);
    };
    if (!restriction.isEmpty()) {
        *u.target += restriction;
        open();
        return;
    }
    if (read) ui::MsgBox(u.emptyMessage, ui::vbOKCancel | ui::vbCritical);
    switch (u.onEmpty) {
    case OnEmptyList::OpenAll: open(); break;
    case OnEmptyList::Stop: break;
    case OnEmptyList::ShowMenu:
        if (read) ui::step([&] { Show(); });
        break;
    }
}

void Form5::extraLaunch(const LaunchRow& row) {
    ui::step([&] {
        if (auto answer = ui::InputBox(extraPrompt(), QStringLiteral("***************"), QString()))
            if (auto sql = extraChoice(*answer)) Module1::ExtraSql = *sql;
    });
    Module1::MenuMode = row.menuMode;
    showWindowsOf(row);
}

void Form5::showHelp(const HelpRow& row) {
    ui::MsgBox(row.lines.join(kCrLf), row.style, row.title.value_or(QString()));
}

// "ＥＮＤ": saves the memo, unloads every window and ends. When the memo cannot be written the
// person chooses between staying and ending without it.
void Form5::Command3_Click() {
    bool saved = false;
    ui::step([&] { Form7::it().Show(); });
    ui::step([&] { saved = Form7::it().saveMemo(); });
    if (!saved) {
        const int answer = ui::MsgBox(QStringLiteral("メモを保存できませんでした。") + kCrLf + Form7::memoPath() + kCrLf +
                                          Form7::it().saveProblem() + kCrLf +
                                          kCrLf + QStringLiteral("メモを保存しないで終了しますか？"),
                                      ui::vbYesNo | ui::vbExclamation | ui::vbDefaultButton2);
        if (answer != ui::vbYes) return;
    }
    endProgram(ui::vbFormCode);
}

// The system ends the program (a logout, a closed terminal): as ＥＮＤ does, with no question to
// anyone. The memo is saved under its own rules, a card being edited is stored when it can be,
// and every window goes, so that the databases are closed cleanly when the program returns.
void Form5::endForSystem() {
    // Work that must finish first (a price import under way) is waited for.
    for (ui::Form* f : ui::Form::loadedForms()) {
        if (f != this && !f->mayUnload(ui::vbAppWindows)) {
            QTimer::singleShot(100, this, [this] { endForSystem(); });
            return;
        }
    }
    if (Form7::isLoaded()) ui::step([&] { Form7::it().saveMemo(); });
    endProgram(ui::vbAppWindows);
}

// Every window is asked first whether it may go. For ＥＮＤ one that refuses (the card editor
// with a card it cannot store) keeps the program running, on that window; the system's end
// asks no one and ends all the same.
void Form5::endProgram(int unloadMode) {
    const std::vector<ui::Form*> forms = ui::Form::loadedForms();
    auto loaded = [](ui::Form* f) {
        const auto now = ui::Form::loadedForms();
        return std::find(now.begin(), now.end(), f) != now.end();
    };
    if (unloadMode == ui::vbFormCode) {
        for (ui::Form* f : forms) {
            if (f == this || !loaded(f)) continue;
            if (!f->mayUnload(unloadMode)) {
                ui::step([&] { f->Show(); });
                return;
            }
        }
    }
    for (ui::Form* f : forms) {
        if (f == this || !loaded(f)) continue;
        ui::step([&] { f->Unload(unloadMode); });
    }
    ui::step([&] { Unload(unloadMode); });
    QCoreApplication::quit();
}
