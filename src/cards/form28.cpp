#include "cards/form28.h"
#include "cards/card_links.h"
#include "cards/card_record.h"
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

const QString kSearchTitle = QStringLiteral("検索");
const QString kPriceTable = QStringLiteral("select * from [list] where ");

// Column widths of columns 0 to 8 (twips); further columns keep the grid's default.
const int kColWidths[] = {200, 550, 1150, 1000, 900, 600, 600, 600, 600};

using ButtonRow = ui::ControlRow<Form28, ui::CommandButton>;
const ButtonRow kButtons[] = {
    {&Form28::Command5, {.name = "Command5", .caption = "OK", .left = 120, .top = 120, .width = 615, .height = 495}, &Form28::Command5_Click},
    {&Form28::Command1, {.name = "Command1", .caption = "並替え準備", .left = 840, .top = 120, .width = 1095, .height = 255}, &Form28::Command1_Click},
    {&Form28::Command13, {.name = "Command13", .caption = "並変え実行", .left = 840, .top = 360, .width = 1095, .height = 255}, &Form28::Command13_Click},
    {&Form28::Command10, {.name = "Command10", .caption = "元に戻す", .left = 2040, .top = 120, .width = 1095, .height = 255}, &Form28::Command10_Click},
    {&Form28::Command3, {.name = "Command3", .caption = "銘柄で探す", .left = 5760, .top = 120, .width = 1215, .height = 315}, &Form28::Command3_Click},
    {&Form28::Command4, {.name = "Command4", .caption = "コードで探す", .left = 7080, .top = 120, .width = 1215, .height = 315}, &Form28::Command4_Click},
};

using TextRow = ui::ControlRow<Form28, ui::TextBox>;
const TextRow kTexts[] = {
    {&Form28::Text7, {.name = "Text7", .caption = "", .left = 4440, .top = 120, .width = 735, .height = 285}},
    {&Form28::Text2, {.name = "Text2", .caption = "", .left = 120, .top = 5640, .width = 1455, .height = 315}},
    {&Form28::Text3, {.name = "Text3", .caption = "", .left = 1620, .top = 5640, .width = 1215, .height = 315}},
    {&Form28::Text4, {.name = "Text4", .caption = "", .left = 2880, .top = 5640, .width = 855, .height = 315}},
    {&Form28::Text5, {.name = "Text5", .caption = "", .left = 3780, .top = 5640, .width = 1215, .height = 315}},
    {&Form28::Text6, {.name = "Text6", .caption = "", .left = 5040, .top = 5640, .width = 2415, .height = 315}},
    {&Form28::Text1, {.name = "Text1", .caption = "", .left = 120, .top = 6060, .width = 7335, .height = 1455, .multiLine = true}},
};

// Detail boxes and the field each shows, by name in either view: the price view's columns hold
// other fields at the card view's numbers (its column 5 is the unit), and the links read the code
// and the market from Text4 and Text5. A field the view lacks leaves its box empty.
struct DetailRow {
    ui::TextBox* Form28::*box;
    const char* field;
};
const DetailRow kDetails[] = {
    {&Form28::Text1, "情報"}, {&Form28::Text2, "銘柄"}, {&Form28::Text3, "日付"},
    {&Form28::Text4, "コード"}, {&Form28::Text5, "市場"}, {&Form28::Text6, "情報源"},
};

}  // namespace

Form28::Form28() : ui::DefaultForm<Form28>(QStringLiteral("Form28")) {
    setCaption(QStringLiteral("カード入力画面"));
    setBackColor(0xC0C0C0);
    Move(0, 0, 9960, 7680);
    buildFrame();
}

void Form28::buildFrame() {
    addControls(this, kButtons);
    Label1 = addLabel({.name = "Label1", .caption = "カードの枚数　", .left = 3240, .top = 150, .width = 1200,
                       .height = 255, .transparent = true});
    Label6 = addLabel({.name = "Label6", .caption = "枚", .left = 5220, .top = 150, .width = 375, .height = 255,
                       .transparent = true});
    addControls(this, kTexts);
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 120, .top = 720, .width = 9720, .height = 4800});
    Data1 = addData({.name = "Data1", .caption = "Data1", .visible = false});
    Data1->Connect = QStringLiteral("Access 2000;");
    MSFlexGrid1->bind(Data1);
    on(MSFlexGrid1->EnterCell, [this] { MSFlexGrid1_EnterCell(); }, "MSFlexGrid1_EnterCell");
    on(MSFlexGrid1->DblClick, [this] { MSFlexGrid1_DblClick(); }, "MSFlexGrid1_DblClick");
    on(Text7->Change, [this] { Text7_Change(); }, "Text7_Change");
    const auto& links = cards::cardListLinks();
    HprLnkEx1 = addLink({.name = "HprLnkEx1", .caption = links[0].link.caption, .left = links[0].left,
                         .top = links[0].top, .width = links[0].width, .height = links[0].height});
    HprLnkEx2 = addLink({.name = "HprLnkEx2", .caption = links[1].link.caption, .left = links[1].left,
                         .top = links[1].top, .width = links[1].width, .height = links[1].height});
    on(HprLnkEx1->LinkClick, [this] { HprLnkEx1_LinkClick(); }, "HprLnkEx1_LinkClick");
    on(HprLnkEx2->LinkClick, [this] { HprLnkEx2_LinkClick(); }, "HprLnkEx2_LinkClick");
}

void Form28::Form_Load() {
    step([&] { MSFlexGrid1->AllowUserResizing = 1; });
    step([&] { Data1->DatabaseName = Module1::MainDbPath; });
    step([&] { Data1->Options = 1; });
    const QString sql = cards::cardListRowSource(Module1::MenuMode);
    // Any other MenuMode leaves the row source empty: the window lists nothing.
    if (!sql.isEmpty()) setRowSource(sql);
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

bool Form28::setRowSource(const QString& sql) {
    const QString previous = Data1->RecordSource;
    Data1->RecordSource = sql;
    try {
        Data1->Refresh();
        return true;
    } catch (const platform::DataError& e) {
        Data1->RecordSource = previous;
        ui::MsgBox(QStringLiteral("一覧を読み込めませんでした。表示はそのままです。\r\n") + e.text, ui::vbExclamation,
                   QStringLiteral("カード入力画面"));
        return false;
    }
}

bool Form28::showsCards() const {
    if (!Data1->hasRecordset()) return false;
    platform::Recordset& rs = Data1->recordset();
    QStringList names;
    for (int f = 0; f < rs.fieldCount(); ++f) names << rs.fieldName(f);
    return cards::isCardLayout(names);
}

void Form28::hi_title() { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); }

void Form28::Text7_Change() {
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

// The detail boxes show the current row's card or stock, after every move, refresh (by this
// window or another) and sort; with no data row current they are empty.
void Form28::MSFlexGrid1_EnterCell() {
    for (const DetailRow& d : kDetails) {
        step([&] {
            // Grid column k shows the row source's k-th field.
            const int field = Data1->hasRecordset() ? Data1->recordset().fieldIndex(QString::fromUtf8(d.field)) : -1;
            (this->*d.box)->setText(field < 0 ? QString() : MSFlexGrid1->currentRowText(field + 1));
        });
    }
}

void Form28::sortGrid(int setting) { step([&] { MSFlexGrid1->Sort(setting); }); }

// ---- searches of the price table, restore, sort

// Lists the rows of the price table that meet the condition; no condition sends nothing and
// the grid keeps its rows.
void Form28::search(const QString& condition) {
    if (!condition.isEmpty()) step([&] { setRowSource(kPriceTable + condition); });
    step([&] { hi_title(); });
}

void Form28::Command3_Click() {
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QStringLiteral("検索する銘柄を入力してください"), kSearchTitle); });
    search(QStringLiteral("[銘柄] like '*") + platform::sqlEscaped(answer.value_or(QString())) + QStringLiteral("*'"));
}

void Form28::Command4_Click() {
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QStringLiteral("検索するコードを入力してください"), kSearchTitle); });
    const auto code = platform::sqlWholeNumber(answer.value_or(QString()));
    search(code ? QStringLiteral("[コード]=") + QString::number(*code) : QString());
}

void Form28::Command10_Click() {
    step([&] { MSFlexGrid1->setRedraw(false); });
    step([&] { setRowSource(cards::allCardsSql()); });
    step([&] { MSFlexGrid1->setRedraw(true); });
    step([&] { MSFlexGrid1->setCol(5); });
    sortGrid(1);
    step([&] { hi_title(); });
}

void Form28::Command1_Click() {
    ui::MsgBox(QStringLiteral("列の見出し（コード or 日付 or 市場 or　株価 or　情報源）をクリックしてください\r\n"
                              "昇順に並び替えを行います."),
               ui::vbOKOnly, QStringLiteral("並び替え"));
}

void Form28::Command13_Click() {
    int c = 0;
    step([&] { c = MSFlexGrid1->Col(); });
    if (c == 1 || c == 2) sortGrid(1);
    else if (c == 3) sortGrid(6);
    else if (c >= 4 && c <= 11) sortGrid(1);
    else if (c >= 12 && c <= 14) sortGrid(2);
    step([&] { hi_title(); });
}

void Form28::Command5_Click() {
    step([&] { Unload(); });
    step([&] { services::showMenu(); });
}

// ---- registration into the lists

// A double-click on a card's stock name adds the stock to the watch list; on its information
// source, the source to the favourite sources. A stock registers only from a card row whose code
// is a whole number, a source from any card row (the code plays no part in it); the price
// table's rows and every other column register nothing.
void Form28::MSFlexGrid1_DblClick() {
    int r = 0, c = 0;
    step([&] { r = MSFlexGrid1->Row(); });
    step([&] { c = MSFlexGrid1->Col(); });
    if (c != 2 && c != 4) return;
    if (!showsCards() || r < 1 || r >= MSFlexGrid1->Rows()) return;
    if (c == 4) {
        const auto code = platform::sqlWholeNumber(MSFlexGrid1->TextMatrix(r, 5));
        if (!code) return;
        const lists::WatchEntry e{QString::number(*code), MSFlexGrid1->TextMatrix(r, 4), MSFlexGrid1->TextMatrix(r, 6),
                                  QString()};
        lists::registerIntoList<Form13>([&](platform::DataControl& list) { lists::addWatchEntry(list, e); });
    } else {
        const QString source = MSFlexGrid1->TextMatrix(r, 2);
        lists::registerIntoList<Form14>([&](platform::DataControl& list) { lists::addSourceEntry(list, source); });
    }
}

// ---- links

void Form28::HprLnkEx1_LinkClick() { cards::linkClick(HprLnkEx1, cards::cardListLinks()[0], Text4->Text(), Text5->Text()); }
void Form28::HprLnkEx2_LinkClick() { cards::linkClick(HprLnkEx2, cards::cardListLinks()[1], Text4->Text(), Text5->Text()); }
