#include "cards/form2.h"
#include "cards/card_links.h"
#include "cards/card_record.h"
#include "cards/form1.h"
#include "cards/form11.h"
#include "lists/dictionary.h"
#include "lists/list_core.h"
#include "lists/list_forms.h"
#include "platform/data/errors.h"
#include "platform/data/sql_text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/module1.h"
#include "services/window_registry.h"

using ui::step;

namespace {

// The bound boxes: the box, its card field, and the label beside it.
struct BoundBox {
    ui::TextBox* Form2::*member;
    const char* field;
    ui::ControlSpec def;
    const char* labelName;
    const char* labelCaption;
};
const BoundBox kBoxes[] = {
    {&Form2::Text9, "ID", {.name = "Text9", .caption = "", .left = 1080, .top = 960, .width = 1215, .height = 315}, "Label9", "No"},
    {&Form2::Text1, "情報源", {.name = "Text1", .caption = "", .left = 1080, .top = 1320, .width = 4095, .height = 315}, "Label1", "情報源"},
    {&Form2::Text2, "日付", {.name = "Text2", .caption = "", .left = 1080, .top = 1680, .width = 1455, .height = 315}, "Label2", "日付"},
    {&Form2::Text3, "銘柄", {.name = "Text3", .caption = "", .left = 1080, .top = 2040, .width = 2415, .height = 315}, "Label3", "銘柄"},
    {&Form2::Text4, "コード", {.name = "Text4", .caption = "", .left = 1080, .top = 2400, .width = 855, .height = 315}, "Label4", "コード"},
    {&Form2::Text5, "市場", {.name = "Text5", .caption = "", .left = 1080, .top = 2760, .width = 1455, .height = 315}, "Label5", "市場"},
    {&Form2::Text6, "単位", {.name = "Text6", .caption = "", .left = 1080, .top = 3120, .width = 855, .height = 315}, "Label6", "株単位"},
    {&Form2::Text8, "情報", {.name = "Text8", .caption = "", .left = 120, .top = 3600, .width = 9615, .height = 3375, .multiLine = true}, nullptr, nullptr},
};

using ButtonRow = ui::ControlRow<Form2, ui::CommandButton>;   // no click: the button does nothing
const unsigned kPink = 0xC0C0FF;
const ButtonRow kButtons[] = {
    {&Form2::Command2, {.name = "Command2", .caption = "OK", .left = 8760, .top = 120, .width = 975, .height = 495}, &Form2::Command2_Click},
    {&Form2::Command1, {.name = "Command1", .caption = "銘柄", .left = 3480, .top = 120, .width = 855, .height = 315}, &Form2::Command1_Click},
    {&Form2::Command5, {.name = "Command5", .caption = "NEXT", .left = 4380, .top = 120, .width = 615, .height = 315}, &Form2::Command5_Click},
    {&Form2::Command9, {.name = "Command9", .caption = "BACK", .left = 5040, .top = 120, .width = 615, .height = 315}, &Form2::Command9_Click},
    {&Form2::Command3, {.name = "Command3", .caption = "コード", .left = 3480, .top = 480, .width = 855, .height = 315}, &Form2::Command3_Click},
    {&Form2::Command6, {.name = "Command6", .caption = "NEXT", .left = 4380, .top = 480, .width = 615, .height = 315}, &Form2::Command6_Click},
    {&Form2::Command10, {.name = "Command10", .caption = "BACK", .left = 5040, .top = 480, .width = 615, .height = 315}, &Form2::Command10_Click},
    {&Form2::Command13, {.name = "Command13", .caption = "カードNoで探す", .left = 5700, .top = 120, .width = 1575, .height = 315}, &Form2::Command13_Click},
    {&Form2::Command8, {.name = "Command8", .caption = "銘柄→コードの変換", .left = 5700, .top = 480, .width = 1575, .height = 315}, nullptr},
    {&Form2::Command4, {.name = "Command4", .caption = "注目銘柄リスト", .left = 7320, .top = 120, .width = 1335, .height = 315, .backColor = kPink}, &Form2::Command4_Click},
    {&Form2::Command7, {.name = "Command7", .caption = "注目銘柄の登録", .left = 7320, .top = 480, .width = 1335, .height = 315, .backColor = kPink}, &Form2::Command7_Click},
    {&Form2::Command15, {.name = "Command15", .caption = "単位株の説明", .left = 2160, .top = 3120, .width = 1455, .height = 315}, &Form2::Command15_Click},
    {&Form2::Command14, {.name = "Command14", .caption = "メモ帖を開く", .left = 3720, .top = 3120, .width = 1455, .height = 315}, &Form2::Command14_Click},
};

// The finds that ask for an answer. The criterion is head + answer + tail; a number answer is
// converted, quotes of a text answer are doubled.
struct FindRow {
    const char* prompt;
    const char* head;
    const char* tail;
    QString Form2::*keep;   // nullptr: the criterion is not kept
    bool number;
    bool emptyEnds;         // an empty answer (or cancel) ends the handler
};
const char* const kNamePrompt = "検索する銘柄を入力してください";
const char* const kCodePrompt = "検索するコードを入力してください";
const FindRow kFinds[] = {
    {kNamePrompt, "銘柄 Like'*", "*'", &Form2::NameFindCriterion, false, true},   // 銘柄 (button): contains
    {kNamePrompt, "銘柄 Like'", "*'", &Form2::NameFindCriterion, false, true},    // 検索 > 銘柄: begins with
    {kCodePrompt, "コード Like'", "*'", &Form2::CodeFindCriterion, true, true},    // コード: begins with
    {kCodePrompt, "id Like'*", "*'", nullptr, true, false},                     // カードNo: contains
};
enum { kFindNameContains, kFindNameBegins, kFindCode, kFindCardNo };

const QStringList kUnitHelp = {
    QStringLiteral("F1000　：1000株単位"), QStringLiteral("E500　 ： 500株単位"), QStringLiteral("D100 　： 100株単位"),
    QStringLiteral("C50  　：  50株単位"), QStringLiteral("B10    ：   10株単位"), QStringLiteral("A1   　：   1株単位"),
};

}  // namespace

Form2::Form2() : ui::DefaultForm<Form2>(QStringLiteral("Form2")) {
    setCaption(QStringLiteral("　Data Base"));
    setBackColor(0xC0C0FF);
    Move(0, 0, 9855, 7155);
    buildFrame();
    buildMenus();
    buildNavigation();
}

void Form2::buildFrame() {
    Label8 = addLabel({.name = "Label8", .caption = "Data　Base", .left = 120, .top = 120, .width = 2400, .height = 495,
                       .transparent = true, .fontPoints = 18, .bold = true});
    Label7 = addLabel({.name = "Label7", .caption = "検索", .left = 2760, .top = 150, .width = 615, .height = 255,
                       .transparent = true});
    addControls(this, kButtons);
    for (const BoundBox& b : kBoxes) {
        ui::TextBox* box = addText(b.def);
        this->*b.member = box;
        box->Change = [this] {
            if (!filling_) dirty_ = true;
        };
        if (b.labelName)
            addLabel({.name = b.labelName, .caption = QString::fromUtf8(b.labelCaption), .left = 120,
                      .top = b.def.top + 30, .width = 915, .height = 255, .transparent = true});
    }
    // The card number is the database's: it is shown, not typed.
    Text9->setLocked(true);
    Data1 = addData({.name = "Data1", .caption = "DATA1", .left = 2160, .top = 2400, .width = 3495, .height = 315});
    Data1->Connect = QStringLiteral("Access 2000;");
    for (const cards::CardLink& l : cards::cardEditorLinks()) {
        ui::LinkLabel* label = addLink({.name = l.link.label, .caption = l.link.caption, .left = l.left, .top = l.top,
                                        .width = l.width, .height = l.height});
        links.push_back(label);
        on(label->LinkClick, [this, label, &l] { cards::linkClick(label, l, Text4->Text(), Text5->Text()); },
           (QByteArray(l.link.label) + "_LinkClick").constData());
    }
}

void Form2::buildMenus() {
    const QString file = QStringLiteral("FILE(&F)"), find = QStringLiteral("検索");
    addMenu(QStringLiteral("mnuFile"), file);
    ui::MenuItem* del = addMenu(QStringLiteral("mnuレコード削除"), QStringLiteral("レコード削除"), file);
    on(del->Click, [this] { mnuレコード削除_Click(); }, "mnuレコード削除_Click");
    addMenu(QStringLiteral("mnu検索"), find);
    ui::MenuItem* name = addMenu(QStringLiteral("mnu銘柄"), QStringLiteral("銘柄"), find);
    on(name->Click, [this] { mnu銘柄_Click(); }, "mnu銘柄_Click");
    // These three are offered and do nothing.
    addMenu(QStringLiteral("mnu次の銘柄"), QStringLiteral("次の銘柄"), find);
    addMenu(QStringLiteral("mnuコード"), QStringLiteral("コード"), find);
    addMenu(QStringLiteral("mnu日付"), QStringLiteral("日付"), find);
}

// The data control's navigation bar: first, previous, next and last card. Leaving a card stores it;
// a card that cannot be stored is not left.
void Form2::buildNavigation() {
    Data1->Validate = [this] { return leaveCard(); };
    Data1->Reposition = [this] { showCurrent(); };
    Data1->showNavigation();
}

// ---- the bound card

void Form2::Form_Load() {
    step([&] { Data1->DatabaseName = Module1::MainDbPath; });
    step([&] { Data1->Options = 1; });
    step([&] { Data1->RecordSource = cards::allCardsSql(); });
    step([&] { Data1->Refresh(); });
    step([&] { Data1->EOFAction = 0; });
    showCurrent();
}

void Form2::showCurrent() {
    filling_ = true;
    int pos = -1;
    platform::Recordset* rs = nullptr;
    step([&] {
        rs = &Data1->recordset();
        if (!rs->atEOF() && !rs->atBOF()) pos = rs->position();
    });
    for (const BoundBox& b : kBoxes) {
        QString text;
        if (rs && pos >= 0) step([&] { text = rs->text(pos, rs->fieldIndex(QString::fromUtf8(b.field))); });
        (this->*b.member)->setText(text);
    }
    filling_ = false;
    dirty_ = false;
}

bool Form2::leaveCard() {
    if (!adding_ && !dirty_) return true;
    return storeCard();
}

// Stores the boxes into the current card (or as a new card). Every value is checked first, so a
// refused value stores nothing of the card.
bool Form2::storeCard(bool report) {
    for (const BoundBox& b : kBoxes) {
        const QString field = QString::fromUtf8(b.field);
        if (field == QLatin1String("ID")) continue;
        if (const auto why = cards::refusedValue(field, (this->*b.member)->Text())) {
            if (!report) return false;
            ui::MsgBox(*why, ui::vbExclamation, cards::saveTitle());
            step([&] { Show(); });
            step([&] { (this->*b.member)->SetFocus(); });
            return false;
        }
    }
    platform::Recordset* rs = Data1->hasRecordset() ? &Data1->recordset() : nullptr;
    const bool current = rs && !rs->atEOF() && !rs->atBOF();
    if (!adding_ && !current) {   // typing while no card is current changes nothing stored
        dirty_ = false;
        return true;
    }
    try {
        if (!rs) throw platform::DataError(QStringLiteral("カードの表が開かれていません。"));
        const int pos = rs->position();
        if (adding_) rs->AddNew();
        else rs->Edit();
        for (const BoundBox& b : kBoxes) {
            const QString field = QString::fromUtf8(b.field);
            if (field == QLatin1String("ID")) continue;
            const QString text = (this->*b.member)->Text();
            if (!adding_ && text == rs->text(pos, rs->fieldIndex(field))) continue;
            rs->setField(field, cards::storedValue(field, text));
        }
        rs->Update();
    } catch (const platform::DataError& e) {
        if (rs) rs->CancelUpdate();
        if (report)
            ui::MsgBox(QStringLiteral("カードを保存できませんでした。\r\n") + e.text, ui::vbExclamation, cards::saveTitle());
        return false;
    }
    adding_ = false;
    dirty_ = false;
    showCurrent();
    return true;
}

bool Form2::addNewCard() {
    if (!Data1->hasRecordset()) throw platform::DataError(QStringLiteral("カードの表が開かれていません。"));
    if (!leaveCard()) return false;
    adding_ = true;
    filling_ = true;
    for (const BoundBox& b : kBoxes) (this->*b.member)->setText(QString());
    filling_ = false;
    dirty_ = false;
    return true;
}

bool Form2::findFirst(const QString& criterion) {
    if (!leaveCard()) return false;
    platform::Recordset& rs = Data1->recordset();
    rs.FindFirst(criterion);
    showCurrent();
    return !rs.NoMatch();
}

bool Form2::showCard(long long id) {
    bool found = false;
    step([&] { found = findFirst(QStringLiteral("ID=") + QString::number(id)); });
    Show();
    return found;
}

void Form2::moveFirst() { Data1->navigate(ui::Data::Move::First); }
void Form2::moveLast() { Data1->navigate(ui::Data::Move::Last); }
void Form2::moveNext() { Data1->navigate(ui::Data::Move::Next); }
void Form2::movePrevious() { Data1->navigate(ui::Data::Move::Previous); }

// ---- finds

void Form2::runFind(int row) {
    const FindRow& f = kFinds[row];
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QString::fromUtf8(f.prompt), QStringLiteral("検索")); });
    const QString text = answer.value_or(QString());
    if (f.emptyEnds && text.isEmpty()) return;
    // A number goes in as the number it reads as ("７２" and "72.0" are 72); any other answer as
    // quoted text, which no number matches. Either way the criterion is kept, also when the find
    // then meets no card.
    const auto n = f.number ? platform::sqlWholeNumber(text) : std::nullopt;
    const QString part = n ? QString::number(*n) : platform::sqlEscaped(text);
    const QString criterion = QString::fromUtf8(f.head) + part + QString::fromUtf8(f.tail);
    if (f.keep) this->*f.keep = criterion;
    step([&] { findFirst(criterion); });
}

void Form2::Command1_Click() {
    step([&] { Data1->EOFAction = 0; });
    runFind(kFindNameContains);
}
void Form2::mnu銘柄_Click() { runFind(kFindNameBegins); }
void Form2::Command3_Click() { runFind(kFindCode); }
void Form2::Command13_Click() { runFind(kFindCardNo); }

void Form2::continueFind(const QString& criterion, bool forwards) {
    if (criterion.isEmpty()) return;   // no find of its kind yet
    if (!leaveCard()) return;
    step([&] {
        platform::Recordset& rs = Data1->recordset();
        if (forwards) rs.FindNext(criterion);
        else rs.FindPrevious(criterion);
    });
    showCurrent();
}

void Form2::Command5_Click() { continueFind(NameFindCriterion, true); }
void Form2::Command9_Click() { continueFind(NameFindCriterion, false); }
void Form2::Command6_Click() { continueFind(CodeFindCriterion, true); }
void Form2::Command10_Click() { continueFind(CodeFindCriterion, false); }

// ---- delete, registration, help

void Form2::mnuレコード削除_Click() {
    int answer = ui::vbNo;
    step([&] { answer = ui::MsgBox(QStringLiteral("削除します"), ui::vbYesNo, QStringLiteral("レコード削除")); });
    if (answer != ui::vbYes) return;
    if (adding_) {   // the new card was never stored: dropping it deletes it
        adding_ = false;
        showCurrent();
        return;
    }
    step([&] { Data1->recordset().Delete(); });
    step([&] { Data1->recordset().MoveNext(); });
    showCurrent();
}

void Form2::Command7_Click() {
    const lists::WatchEntry e{Text4->Text(), Text3->Text(), Text5->Text(), Text6->Text()};
    lists::registerIntoList<Form13>([&](platform::DataControl& list) { lists::addWatchEntry(list, e); });
}

void Form2::Command4_Click() { step([&] { Form13::it().Show(); }); }

void Form2::Command15_Click() {
    step([&] {
        ui::MsgBox(QStringLiteral("売買単位の説明\r\n\r\n") + kUnitHelp.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"),
                   ui::vbOKOnly);
    });
}

void Form2::Command14_Click() { step([&] { services::showWindow(QStringLiteral("Form7")); }); }

// ---- closing

// OK closes the card windows and returns to the menu. A card that cannot be stored keeps every
// window open (the person was told why).
void Form2::Command2_Click() {
    if (!leaveCard()) return;
    services::showMenu();
    if (Form1::isLoaded()) Form1::it().Unload();
    Unload();
    if (Form11::isLoaded()) Form11::it().Unload();
    if (Form4::isLoaded()) Form4::it().Unload();
}

// Any other unload stores the card first. A card that cannot be stored keeps the editor (and
// so the program) open on it; the person was told why. When the system ends the program
// (vbAppWindows) nobody can answer: a card that can be stored is stored, without a word, and the
// editor goes all the same.
void Form2::Form_QueryUnload(bool& cancel, int unloadMode) {
    cancel = unloadMode == ui::vbFormControlMenu;
    if (cancel) return;
    if (unloadMode == ui::vbAppWindows) {
        if (adding_ || dirty_) storeCard(false);
        return;
    }
    cancel = !leaveCard();
}
