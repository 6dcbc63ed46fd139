#include "prices/form18.h"
#include <QCoreApplication>
#include <QStringList>
#include <iterator>
#include "cards/busy_window.h"
#include "cards/form28.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/workbook.h"
#include "platform/data/recordset.h"
#include "platform/data/paths.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "prices/price_sheet.h"
#include "prices/price_store.h"
#include "services/module1.h"
#include "services/period_record.h"
#include "services/window_registry.h"

using ui::step;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr unsigned kInsertGreen = 0xC0FFC0;
constexpr unsigned kBulkGreen = 0xBEFCA7;
constexpr unsigned kHelpBlue = 0xF3B3A7;

// What the period unit selects on the screen.
struct UnitRow {
    const char* unit;
    int menuMode;
    const char* status;         // Text5
    const char* instruction;    // Label3(0)
    const char* rowSuffix;      // labels of rows 2 to 10: "1" .. "9" followed by this
    const char* insertCaption;  // Command5
    bool weekly;                // the mid-week buttons
};
const char* const kWeekInstruction =
    "　株価データを登録します。　　　　　　　　　　ファイル名,日付を修正してください。　　　修正が終わったら実行に移ってください｡";
const UnitRow kUnits[] = {
    {"day", 100, "日単位が選ばれています", "　ファイル名,シート名を　修正してください ｡", "日前", "一日挿入", false},
    {"week", 101, "週単位が選ばれています", kWeekInstruction, "週間前", "一週挿入", true},
    {"month", 101, "月単位が選ばれています", kWeekInstruction, "月前", "一月挿入", false},
};

// The help buttons: one message box each, worded for daily prices or for every other unit.
struct HelpText {
    int button;
    int style;
    const char* title;   // nullptr: the program's title
    QStringList day;
    QStringList week;    // empty: the same as day
};
const QStringList kInsertSteps{QString(), QStringLiteral("操作の手順は"),
                               QStringLiteral("①一日挿入　で　旧データを一日づつ　ずらします"),
                               QStringLiteral("　　終わったらメッセイジが出ますので"),
                               QStringLiteral("②直近の日にちを指定して"), QStringLiteral("　next　をクリックする")};
const std::vector<HelpText>& helpTexts() {
    static const std::vector<HelpText> rows{
        {1, ui::vbOKCancel, "株価入力を実行方法",
         {QStringLiteral("１０日の株価を入力します。"),
          QStringLiteral("右の　一括入力実行　か　直近一日挿入のいづれかを選んでください。")},
         {QStringLiteral("１０週の株価を入力します。"),
          QStringLiteral("右の　一括入力実行　か　直近一週挿入のいづれかを選んでください。")}},
        {9, ui::vbOKCancel + ui::vbExclamation, nullptr,
         {QStringLiteral("１０日の株価を一括入力します。"), QStringLiteral("１０日の日付けを修正して　一括入力実行へ")},
         {QStringLiteral("１０週の株価を一括入力します。"), QStringLiteral("１０週週末の日付けを修正して　一括入力実行へ")}},
        {10, ui::vbOKCancel + ui::vbExclamation, nullptr,
         QStringList{QStringLiteral("直近の株価を一日挿入・更新するときに用います。")} + kInsertSteps,
         QStringList{QStringLiteral("週単位で週末にのみ利用可能です。"),
                     QStringLiteral("直近の株価を一週挿入・更新するときに用います。")} +
             kInsertSteps},
        {11, ui::vbOKCancel, nullptr,
         {QStringLiteral("週の途中ですか？"), QStringLiteral("それでは　直近の日にちを指定して"),
          QStringLiteral("next をクリックする。")},
         {}},
        {7, ui::vbOKCancel, nullptr,
         {QStringLiteral("月曜日～木曜日までで　週単位で直近の株価を修正"), QStringLiteral("するときにのみ行います")},
         {}},
    };
    return rows;
}

// The frame: buttons, then the single labels and boxes. Geometry in twips.
using ButtonRow = ui::ControlRow<Form18, ui::CommandButton>;
const ButtonRow kButtons[] = {
    {&Form18::Command2, {.name = "Command2", .caption = "OK", .left = 120, .top = 120, .width = 600, .height = 360}, &Form18::Command2_Click},
    {&Form18::Command1, {.name = "Command1", .caption = "note", .left = 3360, .top = 120, .width = 720, .height = 360, .backColor = kHelpBlue}, &Form18::Command1_Click},
    {&Form18::Command3, {.name = "Command3", .caption = "まずは　ここから", .left = 5160, .top = 1680, .width = 1740, .height = 600, .backColor = 0xC0C0FF}, &Form18::Command3_Click},
    {&Form18::Command9, {.name = "Command9", .caption = "？", .left = 5160, .top = 2640, .width = 360, .height = 360, .backColor = kHelpBlue}, &Form18::Command9_Click},
    {&Form18::Command4, {.name = "Command4", .caption = "一括入力実行", .left = 5580, .top = 2640, .width = 1500, .height = 360, .backColor = kBulkGreen, .visible = false}, &Form18::Command4_Click},
    {&Form18::Command10, {.name = "Command10", .caption = "？", .left = 5160, .top = 3240, .width = 360, .height = 360, .backColor = kHelpBlue}, &Form18::Command10_Click},
    {&Form18::Command5, {.name = "Command5", .caption = "一日挿入", .left = 5580, .top = 3240, .width = 1020, .height = 360, .backColor = kInsertGreen, .visible = false}, &Form18::Command5_Click},
    {&Form18::Command8, {.name = "Command8", .caption = "next", .left = 6660, .top = 3240, .width = 720, .height = 360, .backColor = kInsertGreen, .visible = false}, &Form18::Command8_Click},
    {&Form18::Command7, {.name = "Command7", .caption = "?", .left = 5160, .top = 3840, .width = 360, .height = 360, .backColor = kHelpBlue, .visible = false}, &Form18::Command7_Click},
    {&Form18::Command11, {.name = "Command11", .caption = "直近の日", .left = 5580, .top = 3840, .width = 1020, .height = 360, .backColor = kBulkGreen, .visible = false}, &Form18::Command11_Click},
    {&Form18::Command6, {.name = "Command6", .caption = "next", .left = 6660, .top = 3840, .width = 720, .height = 360, .backColor = kBulkGreen, .visible = false}, &Form18::Command6_Click},
};

using TextRow = ui::ControlRow<Form18, ui::TextBox>;
const TextRow kTexts[] = {
    {&Form18::Text5, {.name = "Text5", .left = 4200, .top = 120, .width = 2700, .height = 360}},
    {&Form18::Text15, {.name = "Text15", .left = 3480, .top = 1320, .width = 1470, .height = 300, .backColor = 0xC0C0C0}},
    {&Form18::Text2, {.name = "Text2", .left = 5160, .top = 1980, .width = 1080, .height = 300, .visible = false}},
    {&Form18::Text1, {.name = "Text1", .left = 6300, .top = 1980, .width = 1680, .height = 300, .visible = false}},
};

// The ten rows: one box or label per column, left to right.
constexpr int kRowTop = 1680;
constexpr int kRowStep = 360;
constexpr int kRowHeight = 300;
struct RowColumn {
    ui::ControlArray<ui::TextBox> Form18::*array;
    const char* name;
    int left, width;
    bool visible;
};
const RowColumn kRowBoxes[] = {
    {&Form18::Text16, "Text16", 120, 360, true},
    {&Form18::Text3, "Text3", 1560, 1800, true},
    {&Form18::Text4, "Text4", 3480, 450, true},
    {&Form18::Text11, "Text11", 3990, 450, true},
    {&Form18::Text12, "Text12", 4500, 450, true},
    {&Form18::Text13, "Text13", 0, 600, false},
};

// Grid column widths of the preview, columns 0 to 3.
const int kPreviewWidths[] = {100, 450, 950, 700};

const QString kHeaderRow = QStringLiteral("yy年 mm月 dd日");
const QString kWorkbookHeading = QStringLiteral("Excelファイル");
const QString kDone = QStringLiteral("登録　完了しました");

// The card list window, when it is loaded: it shows the prices as stored.
void refreshCardList() {
    if (Form28::isLoaded() && !Form28::it().Data1->RecordSource.isEmpty()) Form28::it().Data1->Refresh();
}
void unloadCardList() {
    if (Form28::isLoaded()) Form28::it().Unload();
}

// Lets the screen repaint its progress; the person's input waits until the work is done.
void showProgress() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

// Why the period record cannot be read from the main database (a database refused or not
// readable, no date table, no record), or empty when it can.
QString periodRecordProblem() {
    try {
        auto db = platform::Database::open(Module1::MainDbPath);
        if (db->openRecordset(QStringLiteral("select * from [日付]")).recordCount() == 0)
            return QStringLiteral("期間の記録（日付の表のレコード）がありません。");
        return {};
    } catch (const platform::DataError& e) {
        return e.text;
    }
}

// The stocks a slot's prices are written into: every row of the price table (the placeholder
// row counted or not).
int stockCount(bool withPlaceholder) {
    auto db = platform::Database::open(Module1::MainDbPath);
    const int rows = db->openRecordset(QStringLiteral("select * from [list]")).recordCount();
    if (withPlaceholder) return rows;
    const int placeholders =
        db->openRecordset(QStringLiteral("select * from [list] where [コード]=%1").arg(prices::kPlaceholderCode)).recordCount();
    return rows - placeholders;
}

}  // namespace

// While an import or the insertion runs: the screen takes no input and no second click, and the
// pointer shows the program at work.
class Form18::Busy {
public:
    explicit Busy(Form18& f) : f_(f), window_(f) { f_.busy_ = true; }
    ~Busy() { f_.busy_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    Form18& f_;
    cards::BusyWindow window_;
};

Form18::Form18() : ui::DefaultForm<Form18>(QStringLiteral("Form18")) {
    setCaption(QStringLiteral("Form18"));
    setBackColor(0xC000C0);
    Move(0, 0, 11460, 5520);
    buildFrame();
    buildRows();
}

void Form18::buildFrame() {
    addControls(this, kButtons);
    addControls(this, kTexts);
    on(Text15->Change, [this] { Text15_Change(); }, "Text15_Change");
    Label1 = addLabel({.name = "Label1", .caption = "株価の登録", .left = 840, .top = 120, .width = 2400, .height = 360,
                       .backColor = 0xC0E0FF, .foreColor = 0x0000FF, .fontPoints = 12});
    Label2 = addLabel({.name = "Label2", .caption = "進行状況　　　　　　　　　枚数", .left = 5160, .top = 1680,
                       .width = 2760, .height = 300, .visible = false, .transparent = true});
    Label3.set(0, addLabel({.name = "Label3", .index = 0, .left = 120, .top = 600, .width = 6780, .height = 600,
                            .backColor = 0xC0FFFF}));
    Label3(0)->setWordWrap(true);
    Text3.set(0, addText({.name = "Text3", .index = 0, .left = 1560, .top = 1320, .width = 1800, .height = 300}));
    MSFlexGrid2 = addGrid({.name = "MSFlexGrid2", .left = 8040, .top = 0, .width = 3360, .height = 5460, .visible = false});
    Data1 = addData({.name = "Data1", .caption = "Data1", .top = 6000, .width = 1500, .height = 300, .visible = false});
    Data1->Connect = QStringLiteral("Excel 8.0;");
    MSFlexGrid2->bind(Data1);
}

void Form18::buildRows() {
    for (int k = 1; k <= prices::kSlots; ++k) {
        const int top = kRowTop + (k - 1) * kRowStep;
        Label3.set(k, addLabel({.name = "Label3", .index = k, .left = 540, .top = top, .width = 960,
                                .height = kRowHeight, .backColor = 0x80C0FF}));
        for (const RowColumn& c : kRowBoxes)
            (this->*c.array).set(k, addText({.name = c.name, .index = k, .left = c.left, .top = top, .width = c.width,
                                             .height = kRowHeight, .visible = c.visible}));
        on(Text3(k)->Change, [this] { Text3_Change(); }, "Text3_Change");
        for (auto* box : {Text4(k), Text11(k), Text12(k)}) on(box->Change, [this] { Date_Change(); }, "Text4_Change");
    }
    on(Text3(0)->Change, [this] { Text3_Change(); }, "Text3_Change");
}

void Form18::Form_Load() {
    MSFlexGrid2->setVisible(false);
    step([&] { Command3->setCaption(QStringLiteral("まずは　ここから")); });
    step([&] { Command3->setVisible(true); });
    for (ui::Control* c : std::initializer_list<ui::Control*>{Command4, Command5, Command8, Command11, Command6, Label2,
                                                              Text2, Text1})
        step([&] { c->setVisible(false); });
}

void Form18::Form_QueryUnload(bool& cancel, int unloadMode) {
    cancel = unloadMode == ui::vbFormControlMenu || busy_;
}

void Form18::FillSlotDates() {
    for (int k = 1; k <= prices::kSlots; ++k) {
        SlotDateText[k].clear();
        SlotWorkbookName[k].clear();
        step([&] { SlotDateText[k] = services::periodRecordCell(k + 1); });
        step([&] { SlotWorkbookName[k] = services::periodRecordCell(k + 12); });
    }
    for (int k = 1; k <= prices::kSlots; ++k) {
        step([&] { Text4(k)->setText(SlotDateText[k].mid(0, 2)); });
        step([&] { Text11(k)->setText(SlotDateText[k].mid(3, 2)); });
        step([&] { Text12(k)->setText(SlotDateText[k].mid(6, 2)); });
    }
}

void Form18::FillSlotWorkbooks() {
    step([&] { Text3(0)->setText(kWorkbookHeading); });
    for (int k = 1; k <= prices::kSlots; ++k) step([&] { Text3(k)->setText(SlotWorkbookName[k]); });
}

void Form18::Command3_Click() {
    FillSlotDates();
    for (int k = 1; k <= prices::kSlots; ++k) step([&] { Text16(k)->setText(QString::number(k)); });
    QString word, problem;
    try {
        word = services::periodUnit();
    } catch (...) {
        problem = periodRecordProblem();
        if (problem.isEmpty()) problem = QStringLiteral("期間の記録を読めませんでした。");
    }
    const UnitRow* unit = nullptr;
    for (const UnitRow& u : kUnits)
        if (word == QLatin1String(u.unit)) unit = &u;
    if (unit) {
        Module1::MenuMode = unit->menuMode;
        Text5->setText(QString::fromUtf8(unit->status));
        Label3(0)->setCaption(QString::fromUtf8(unit->instruction));
        Label3(1)->setCaption(QStringLiteral("直近"));
        for (int k = 2; k <= prices::kSlots; ++k)
            Label3(k)->setCaption(QString::number(k - 1) + QString::fromUtf8(unit->rowSuffix));
        ScreenUnit = QString::fromUtf8(unit->unit);
        Command4->setVisible(true);
        Command4->setBackColor(kBulkGreen);
        Command5->setVisible(true);
        Command8->setVisible(true);
        Command5->setCaption(QString::fromUtf8(unit->insertCaption));
        for (ui::CommandButton* b : {Command11, Command6, Command7}) b->setVisible(unit->weekly);
    } else if (!problem.isEmpty()) {
        // The database itself is the problem, not the unit it holds.
        ScreenUnit.clear();
        ui::MsgBox(QStringLiteral("主データベースから期間の記録を読めません。") + kCrLf + Module1::MainDbPath + kCrLf + problem +
                       kCrLf + QStringLiteral("株価は登録できません。"),
                   ui::vbOKOnly + ui::vbExclamation, QStringLiteral("株価の登録"));
    } else {
        // Nothing may be stored under a unit the screens do not know.
        ScreenUnit.clear();
        ui::MsgBox(QStringLiteral("登録されている期間の単位「%1」は day, week, month のどれでもありません。") .arg(word) +
                       kCrLf + QStringLiteral("この単位では株価を登録できません。"),
                   ui::vbOKOnly + ui::vbExclamation, QStringLiteral("期間の単位"));
    }
    step([&] { Command3->setVisible(false); });
    for (ui::Control* c : std::initializer_list<ui::Control*>{Label2, Text2, Text1}) step([&] { c->setVisible(true); });
    FillSlotWorkbooks();
    step([&] { Text15->setText(kHeaderRow); });
    PeriodFieldName = prices::periodFieldNames();
}

void Form18::Text3_Change() {
    for (int k = 1; k <= prices::kSlots; ++k)
        step([&] { SlotWorkbookPath[k] = platform::programFile(Text3(k)->Text() + QStringLiteral(".xls")); });
}

void Form18::Date_Change() {
    for (int k = 1; k <= prices::kSlots; ++k)
        step([&] { Text13(k)->setText(Text4(k)->Text() + Text11(k)->Text() + Text12(k)->Text()); });
    for (int k = 1; k <= prices::kSlots; ++k)
        step([&] { SlotSheetName[k] = QStringLiteral("s") + Text13(k)->Text() + QStringLiteral("$"); });
}

void Form18::Text15_Change() {
    ui::MsgBox(QStringList{QStringLiteral("　年　月　　日　の入力は必ず2文字で"), QStringLiteral("**********************************"),
                           QStringLiteral("　2004年　5月　9日は"), QString(), QStringLiteral("　年　→04　　月→05　　日→09")}
                   .join(kCrLf),
               ui::vbOKCancel, QStringLiteral("入力の注意"));
}

void Form18::help(int button) {
    for (const HelpText& h : helpTexts()) {
        if (h.button != button) continue;
        const bool day = h.week.isEmpty() || services::periodUnit() == QLatin1String("day");
        ui::MsgBox((day ? h.day : h.week).join(kCrLf), h.style, h.title ? QString::fromUtf8(h.title) : QString());
    }
}

void Form18::Command1_Click() { help(1); }
void Form18::Command9_Click() { help(9); }
void Form18::Command10_Click() { help(10); }
void Form18::Command11_Click() { help(11); }
void Form18::Command7_Click() { help(7); }

void Form18::Command2_Click() {
    if (busy_) return;
    step([&] { Unload(); });
    step([&] { unloadCardList(); });
    step([&] { services::showMenu(); });
}

bool Form18::checkUnit() {
    if (!ScreenUnit.isEmpty()) return true;
    ui::MsgBox(QStringLiteral("期間の単位が分からないため、登録できません。"), ui::vbOKOnly + ui::vbExclamation,
               QStringLiteral("期間の単位"));
    return false;
}

bool Form18::checkDates(int first, int last) {
    QStringList wrong;
    for (int r = first; r <= last; ++r) {
        const QString y = Text4(r)->Text(), m = Text11(r)->Text(), d = Text12(r)->Text();
        const auto date = prices::realDate(y, m, d);
        if (!date) {
            wrong << QStringLiteral("%1行目: %2年 %3月 %4日").arg(r).arg(y, m, d);
            continue;
        }
        Text4(r)->setText(date->year);
        Text11(r)->setText(date->month);
        Text12(r)->setText(date->day);
    }
    if (wrong.isEmpty()) return true;
    ui::MsgBox(QStringLiteral("日付が正しくありません。年・月・日を2桁の数字で、実在する日付を入れてください。") + kCrLf +
                   kCrLf + wrong.join(kCrLf),
               ui::vbOKOnly + ui::vbExclamation, QStringLiteral("日付の確認"));
    return false;
}

QString Form18::boxDate(int row) const {
    return Text4(row)->Text() + u'/' + Text11(row)->Text() + u'/' + Text12(row)->Text();
}

bool Form18::importSlots(int lastSlot, prices::Columns columns) {
    if (busy_ || !checkUnit() || !checkDates(1, lastSlot)) return false;
    Busy busy(*this);
    MSFlexGrid2->setVisible(false);
    prices::PeriodWrite write;
    write.unit = ScreenUnit;
    for (int k = 1; k <= lastSlot; ++k) {
        SlotBoxDate[k] = boxDate(k);
        write.dated.push_back({k, SlotBoxDate[k], Text3(k)->Text()});
    }
    // Every sheet is read before anything is written: a missing one stops the click untouched.
    std::vector<prices::SheetPrices> sheets{std::size_t(lastSlot)};
    // The progress count is the stocks of the price table each slot goes into, from 0 for each
    // slot (the weekly correction does not count the placeholder row).
    try {
        const int stocks = stockCount(columns == prices::Columns::ByPosition);
        for (int k = 1; k <= lastSlot; ++k) {
            Text2->setText(platform::sheetOfTable(SlotSheetName[k]));
            Text1->setText(QStringLiteral("0"));
            showProgress();
            sheets[std::size_t(k - 1)] = prices::readSheetPrices(SlotWorkbookPath[k], SlotSheetName[k], columns);
            Text1->setText(QString::number(stocks));
            showProgress();
            write.prices.emplace_back(k, &sheets[std::size_t(k - 1)]);
        }
        prices::storePeriods(Module1::MainDbPath, write);
    } catch (const platform::DataError& e) {
        Text1->setText(QStringLiteral("登録できませんでした"));
        ui::MsgBox(platform::userText(e, Module1::MainDbPath) + kCrLf + kCrLf + QStringLiteral("日付も株価も書き込んでいません。"),
                   ui::vbOKOnly + ui::vbExclamation, QStringLiteral("株価の登録"));
        return false;
    }
    afterWrite();
    showSheet(lastSlot, columns == prices::Columns::ByName ? QStringLiteral("Excel 8.0;")
                                                        : QStringLiteral("Excel 8.0;HDR=YES;"));
    Text2->setText(platform::sheetOfTable(SlotSheetName[lastSlot]));
    Text1->setText(kDone);
    return true;
}

void Form18::showSheet(int slot, const QString& connect) {
    step([&] {
        Data1->Connect = connect;
        Data1->DatabaseName = SlotWorkbookPath[slot];
        Data1->RecordSource = SlotSheetName[slot];
        Data1->Options = 1;
        Data1->Refresh();
        MSFlexGrid2->setVisible(true);
        for (int c = 0; c < int(std::size(kPreviewWidths)); ++c) MSFlexGrid2->setColWidth(c, kPreviewWidths[c]);
    });
}

void Form18::afterWrite() {
    step([&] { services::refreshPeriodRecord(); });
    step([&] { refreshCardList(); });
}

void Form18::offerInsertion() {
    Command5->setVisible(true);
    Command5->setBackColor(kInsertGreen);
}

// NEXT stores the newest period: its date must lie after slot 2's, or the same period would be
// stored twice (as right after an insertion, before the newest date is written in).
void Form18::Command8_Click() {
    if (busy_ || !checkDates(1, 1) || !checkNewerThanSlot2()) return;
    if (importSlots(1, prices::Columns::ByPosition)) offerInsertion();
}

bool Form18::checkNewerThanSlot2() {
    const auto newest = prices::realDate(Text4(1)->Text(), Text11(1)->Text(), Text12(1)->Text());
    const auto previous = prices::realDate(Text4(2)->Text(), Text11(2)->Text(), Text12(2)->Text());
    if (!newest || !previous || newest->date() > previous->date()) return true;
    ui::MsgBox(QStringLiteral("直近の日付 %1 が２行目の日付 %2 より後ではありません。").arg(newest->text(), previous->text()) +
                   kCrLf + QStringLiteral("直近の日付を書き入れてから NEXT を押してください。何も書き込んでいません。"),
               ui::vbOKOnly + ui::vbExclamation, QStringLiteral("日付の確認"));
    return false;
}

void Form18::Command4_Click() { importSlots(prices::kSlots, prices::Columns::ByPosition); }

void Form18::Command6_Click() {
    if (importSlots(1, prices::Columns::ByName)) offerInsertion();
}

// The insertion moves every period one older as stored: the period record's slots 1 to 9 and the
// prices together, in one transaction. What the boxes show at the click (a date typed for a
// "next" that was refused, say) is not stored; afterwards the rows show the record again.
void Form18::Command5_Click() {
    if (busy_ || !checkUnit()) return;
    {
        Busy busy(*this);
        prices::PeriodWrite write;
        write.unit = ScreenUnit;
        write.shift = true;
        Text2->setText(platform::sheetOfTable(SlotSheetName[prices::kSlots]));
        showProgress();
        try {
            prices::storePeriods(Module1::MainDbPath, write);
        } catch (const platform::DataError& e) {
            Text1->setText(QStringLiteral("移動できませんでした"));
            ui::MsgBox(platform::userText(e, Module1::MainDbPath) + kCrLf + kCrLf + QStringLiteral("日付も株価も動かしていません。"),
                       ui::vbOKOnly + ui::vbExclamation, QStringLiteral("株価の移動"));
            return;
        }
        afterWrite();
    }
    Show();
    Text1->setText(QStringLiteral("移動　完了しました"));
    ui::MsgBox(QStringLiteral("直近の日付を書き入れてください。") + kCrLf + kCrLf +
                   QStringLiteral("書き込んだら　NEXT　のボタンを押してください。"),
               ui::vbOKCancel + ui::vbExclamation, QStringLiteral("直近株価の入力"));
    FillSlotDates();
    FillSlotWorkbooks();
    Command5->setVisible(false);
    Command8->setBackColor(kInsertGreen);
}
