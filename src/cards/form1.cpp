#include "cards/form1.h"
#include <QKeySequence>
#include <QMenuBar>
#include <QShortcut>
#include "cards/card_draft.h"
#include "cards/card_record.h"
#include "cards/form11.h"
#include "cards/form2.h"
#include "lists/dictionary.h"
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"

using ui::step;

namespace {

// The menus: name, caption, menu, shortcut, handler (nullptr: cannot be chosen).
struct MenuRow {
    const char* name;
    const char* caption;
    const char* menu;
    QKeySequence key;
    void (Form1::*click)();
};
const char* const kFile = "ファイル(&F)";
const char* const kEdit = "編集(&E)";
const char* const kExtract = "抽出";
const char* const kContent = "内容";
const char* const kTransfer = "転送";
const char* const kLookUp = "コードを調べる";

const std::vector<MenuRow>& menuRows() {
    static const std::vector<MenuRow> rows = {
        {"mnuOpen", "開く(&O)", kFile, {}, nullptr},
        {"mnuLineInput", "LineInput", kFile, {}, nullptr},
        {"mnuSaveAs", "名前を付けて保存(&A)", kFile, {}, nullptr},
        {"mnuPrint", "印刷(&P)", kFile, {}, nullptr},
        {"mnuExit", "エディタの終了(&X)", kFile, {}, nullptr},
        {"mnuCut", "切り取り(&T)", kEdit, QKeySequence(Qt::CTRL | Qt::Key_X), &Form1::mnuCut_Click},
        {"mnuCutall", "すべて削除", kEdit, {}, &Form1::mnuCutall_Click},
        {"mnuCopy", "ｺﾋﾟｰ(&C)", kEdit, QKeySequence(Qt::CTRL | Qt::Key_C), &Form1::mnuCopy_Click},
        {"mnuPaste", "貼り付け(&P)", kEdit, QKeySequence(Qt::CTRL | Qt::Key_V), &Form1::mnuPaste_Click},
        {"mnu元に戻す", "元に戻す", kEdit, QKeySequence(Qt::CTRL | Qt::Key_Z), &Form1::mnu元に戻す_Click},
        {"mnu情報源", "情報源", kExtract, QKeySequence(Qt::Key_F4), &Form1::mnu情報源_Click},
        {"mnu日付", "日付", kExtract, QKeySequence(Qt::Key_F5), &Form1::mnu日付_Click},
        {"mnuコード", "コード", kExtract, QKeySequence(Qt::Key_F7), &Form1::mnuコード_Click},
        {"mnu銘柄", "銘柄", kExtract, QKeySequence(Qt::Key_F6), &Form1::mnu銘柄_Click},
        {"mnu市場", "市場", kExtract, QKeySequence(Qt::Key_F8), nullptr},
        {"mnu情報", "情報", kContent, QKeySequence(Qt::Key_F1), &Form1::mnu情報_Click},
        {"mnu書込", "書込", kTransfer, {}, &Form1::mnu書込_Click},
        {"mnu銘柄からコード", "銘柄からコード", kLookUp, {}, &Form1::mnu銘柄からコード_Click},
    };
    return rows;
}

QString lines(std::initializer_list<const char*> parts) {
    QStringList out;
    for (const char* p : parts) out << QString::fromUtf8(p);
    return out.join(QStringLiteral("\r\n"));
}

}  // namespace

Form1::Form1() : ui::DefaultForm<Form1>(QStringLiteral("Form1")) {
    setCaption(QStringLiteral("　　エディタ"));
    Move(0, 7300, 9855, 3600);
    RichTextBox1 = addRichText({.name = "RichTextBox1"});
    buildMenus();
    Form_Resize();
}

void Form1::buildMenus() {
    for (const char* top : {kFile, kEdit, kExtract, kContent, kTransfer, kLookUp})
        addMenu(QStringLiteral("mnu") + QString::fromUtf8(top), QString::fromUtf8(top));
    for (const MenuRow& m : menuRows()) {
        ui::MenuItem* item = addMenu(QString::fromUtf8(m.name), QString::fromUtf8(m.caption), QString::fromUtf8(m.menu));
        if (!m.key.isEmpty()) {
            item->setShortcut(m.key);
            item->setShortcutContext(Qt::WindowShortcut);
        }
        if (m.click) on(item->Click, [this, f = m.click] { (this->*f)(); }, m.name);
        else item->setEnabled(false);
    }
    // F10 opens the menu bar, so every item is reached from the keyboard.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    QObject::connect(f10, &QShortcut::activated, this, [this] {
        if (auto* bar = findChild<QMenuBar*>()) {
            bar->setFocus(Qt::ShortcutFocusReason);
            if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().first());
        }
    });
}

void Form1::Form_Load() {
    DraftInfoText.clear();
    step([&] { Form2::it().Show(); });
    step([&] { Show(); });
}

void Form1::Form_Resize() {
    step([&] { RichTextBox1->Move(0, 0, ScaleWidth(), ScaleHeight()); });
}

QString Form1::selection() const { return RichTextBox1->SelText(); }

// ---- editing

void Form1::mnuCut_Click() { step([&] { RichTextBox1->Cut(); }); }
void Form1::mnuCutall_Click() { step([&] { RichTextBox1->setText(QString()); }); }
void Form1::mnuCopy_Click() { step([&] { RichTextBox1->Copy(); }); }
void Form1::mnuPaste_Click() { step([&] { RichTextBox1->Paste(); }); }
void Form1::mnu元に戻す_Click() { step([&] { RichTextBox1->Undo(); }); }

// ---- extractions

void Form1::mnu情報源_Click() {
    const QString t = cards::trimmedSelection(selection());
    step([&] { Form11::it().Text1->setText(t); });
    step([&] { ui::dialogs().setClipboardText(t); });
}

void Form1::mnu日付_Click() {
    const QString s = selection();
    step([&] { Form11::it().Text2->setText(cards::draftDate(s)); });
    step([&] { ui::dialogs().setClipboardText(s); });
}

void Form1::mnu銘柄_Click() {
    const QString t = cards::trimmedSelection(selection());
    step([&] { Form11::it().Text3->setText(t); });
    step([&] { ui::dialogs().setClipboardText(t); });
}

void Form1::mnu情報_Click() {
    const QString s = selection();
    DraftInfoText = s;
    step([&] { ui::dialogs().setClipboardText(s); });
}

// The code of the selection, completed from the price table with market, unit and name. The
// look-up reads the whole table, whatever the dictionary lists after a name look-up.
void Form1::mnuコード_Click() {
    const QString t = cards::narrowed(selection());
    step([&] { ui::dialogs().setClipboardText(t); });
    const QString code = cards::draftCode(t);
    if (cards::codeOutOfRange(code)) {
        step([&] {
            ui::MsgBox(lines({"コードの入力がうまくできていません", "もう一度やり直してください"}),
                       ui::vbRetryCancel | ui::vbExclamation, QStringLiteral("コードの入力"));
        });
    }
    step([&] { Form4::it().Data1->Refresh(); });
    Form11& f = Form11::it();
    step([&] { f.Text4->setText(code); });
    std::optional<cards::StockFacts> stock;
    step([&] { stock = cards::lookUpStock(f.Text4->Text()); });
    if (stock) {
        step([&] { f.Text5->setText(stock->market); });
        step([&] { f.Text6->setText(stock->unit); });
        step([&] { f.Text3->setText(stock->name); });
        if (f.Text6->Text() == QLatin1String("D100")) step([&] { ui::dialogs().beep(); });
    } else {
        for (ui::TextBox* box : {f.Text5, f.Text6, f.Text3}) step([&] { box->setText(QStringLiteral("?")); });
        step([&] {
            ui::MsgBox(lines({"辞書に登録されていません", "銘柄を入力してください。"}), ui::vbOKCancel | ui::vbExclamation);
        });
    }
}

// ---- name look-up in the dictionary

void Form1::mnu銘柄からコード_Click() {
    step([&] { Form4::it().Show(); });
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(lists::nameSearchPrompt(), lists::searchTitle()); });
    if (!answer || answer->isEmpty()) return;
    step([&] { Form4::it().Data1->RecordSource = lists::nameSearchSql(*answer); });
    step([&] { Form4::it().Data1->Refresh(); });
}

// ---- transfer

// Appends the collected card to the card record editor after the chime has played to its end.
// Every value is checked before anything is appended: a value a field cannot take is reported
// with the field named, nothing is appended and the collected fields stay.
void Form1::mnu書込_Click() {
    step([&] {
        if (Form4::isLoaded()) Form4::it().Unload();
    });
    step([&] { ui::dialogs().playSound(cards::transferSoundPath()); });
    Form11& f = Form11::it();
    const cards::CardDraft draft{f.Text1->Text(), f.Text2->Text(), f.Text3->Text(), f.Text4->Text(),
                                 f.Text5->Text(), f.Text6->Text(), DraftInfoText};
    if (!draft.complete()) {
        ui::MsgBox(QStringLiteral("入力情報が完全ではないようです。入力をみなおしてください。"), ui::vbExclamation);
        return;
    }
    for (const auto& [field, text] : {std::pair{"日付", draft.date}, std::pair{"コード", draft.code}}) {
        if (const auto why = cards::refusedValue(QString::fromUtf8(field), text)) {
            ui::MsgBox(*why, ui::vbExclamation, cards::saveTitle());
            return;
        }
    }
    Form2& editor = Form2::it();
    editor.Show();
    editor.Data1->EOFAction = 2;
    try {
        if (!editor.addNewCard()) return;   // the editor's card could not be stored (reported)
    } catch (const platform::DataError& e) {
        ui::MsgBox(QStringLiteral("カードを追加できませんでした。\r\n") + e.text, ui::vbExclamation, cards::saveTitle());
        return;
    }
    editor.Text1->setText(draft.source);
    editor.Text2->setText(draft.date);
    editor.Text3->setText(draft.name);
    editor.Text4->setText(draft.code);
    editor.Text5->setText(draft.market);
    editor.Text6->setText(draft.unit);
    editor.Text8->setText(draft.info);
}
