#include "cards/form22.h"
#include "cards/card_bulk.h"
#include "cards/busy_window.h"
#include "cards/card_list_use.h"
#include "cards/form25.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/window_registry.h"

using ui::step;

namespace {

const int kColWidths[] = {200, 550, 1300, 1000, 1200, 600, 600, 600, 1300, 800, 800, 800, 750};

// The detail boxes and the grid column each shows.
struct Detail {
    ui::TextBox* Form22::*box;
    int col;
};
const Detail kDetails[] = {{&Form22::Text1, 8}, {&Form22::Text2, 4}, {&Form22::Text3, 3},
                           {&Form22::Text4, 5}, {&Form22::Text5, 6}, {&Form22::Text6, 2}};

}  // namespace

Form22::Form22() : ui::DefaultForm<Form22>(QStringLiteral("Form22")) {
    setCaption(QStringLiteral("Form22"));
    setBackColor(0xE0E0E0);
    Move(600, 600, 11160, 7560);
    Command5 = addButton({.name = "Command5", .caption = QStringLiteral("OK"), .left = 120, .top = 120, .width = 615,
                          .height = 375, .backColor = 0xFFFFFF});
    Command3 = addButton({.name = "Command3", .caption = QStringLiteral("登録→実行"), .left = 960, .top = 120,
                          .width = 1455, .height = 375, .backColor = 0xC0FFC0});
    Label3 = addLabel({.name = "Label3", .caption = QStringLiteral("登録　実行で下のカードを登録します"), .left = 2640,
                       .top = 180, .width = 3615, .height = 255, .transparent = true});
    Label1 = addLabel({.name = "Label1", .caption = QStringLiteral("カードの枚数　"), .left = 6600, .top = 180,
                       .width = 1335, .height = 255, .transparent = true});
    Text7 = addText({.name = "Text7", .caption = QString(), .left = 7920, .top = 120, .width = 855, .height = 300});
    Label4 = addLabel({.name = "Label4", .caption = QStringLiteral("　枚"), .left = 8820, .top = 180, .width = 495,
                       .height = 255, .transparent = true});
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 120, .top = 600, .width = 10815, .height = 4815});
    Text2 = addText({.name = "Text2", .left = 120, .top = 5520, .width = 2175, .height = 300});
    Text3 = addText({.name = "Text3", .left = 2400, .top = 5520, .width = 1335, .height = 300});
    Text4 = addText({.name = "Text4", .left = 3840, .top = 5520, .width = 855, .height = 300});
    Text5 = addText({.name = "Text5", .left = 4800, .top = 5520, .width = 1335, .height = 300});
    Text6 = addText({.name = "Text6", .left = 6240, .top = 5520, .width = 2655, .height = 300});
    Text1 = addText({.name = "Text1", .left = 120, .top = 5940, .width = 10815, .height = 1455, .multiLine = true});
    Data1 = addData({.name = "Data1", .caption = QStringLiteral("Data1"), .visible = false});
    Data1->ReadOnly = true;   // the preview only reads the file the cards are imported from
    MSFlexGrid1->bind(Data1);
    on(MSFlexGrid1->EnterCell, [this] { MSFlexGrid1_EnterCell(); }, "MSFlexGrid1_EnterCell");
    on(Text7->Change, [this] { Text7_Change(); }, "Text7_Change");
    on(Command3->Click, [this] { Command3_Click(); }, "Command3_Click");
    on(Command5->Click, [this] { Command5_Click(); }, "Command5_Click");
}

void Form22::bind(const QString& path, const QString& recordSource, const QString& connect) {
    Data1->DatabaseName = path;
    Data1->RecordSource = recordSource;
    Data1->Connect = connect;
    toldFailure_.clear();
    refusal_.clear();
}

void Form22::readSource() {
    step([&] { Data1->Options = 1; });
    try {
        if (Data1->DatabaseName.isEmpty() || Data1->RecordSource.isEmpty())
            Data1->close();   // no file or no sheet chosen: nothing to read, nothing to tell
        else
            Data1->Refresh();
        toldFailure_.clear();
        refusal_.clear();
    } catch (const platform::DataError& e) {
        step([&] { Data1->close(); });
        const QString words = platform::userText(e, Data1->DatabaseName);
        const QString failure = Data1->Connect + u'\n' + Data1->DatabaseName + u'\n' + Data1->RecordSource + u'\n' + words;
        refusal_ = QStringLiteral("取り込むファイルを読めませんでした。\r\n") + words;
        if (failure != toldFailure_) {
            toldFailure_ = failure;
            ui::MsgBox(refusal_, ui::vbExclamation);
        }
    }
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

void Form22::Form_Activate() { readSource(); }

void Form22::Text7_Change() {
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

// The boxes follow the current row; with none (an empty preview) they are empty.
void Form22::MSFlexGrid1_EnterCell() {
    for (const Detail& d : kDetails) step([&] { (this->*d.box)->setText(MSFlexGrid1->currentRowText(d.col)); });
}

// Every row the grid shows becomes a new card, all in one transaction: when the database fails
// part-way, no card is added and the person is told why.
void Form22::Command3_Click() {
    // A refused source imports nothing: its refusal is all there is to say.
    if (!refusal_.isEmpty()) {
        ui::MsgBox(refusal_, ui::vbExclamation);
        return;
    }
    const int n = MSFlexGrid1->Rows() - 1;
    std::vector<int> records;
    records.reserve(size_t(std::max(n, 0)));
    for (int r = 1; r <= n; ++r)
        if (const int record = MSFlexGrid1->recordOfRow(r); record >= 0) records.push_back(record);
    // The kind of file the preview reads, whatever word the file choice holds by now.
    const auto source = Data1->Connect.trimmed().startsWith(QLatin1String("Excel"), Qt::CaseInsensitive)
                            ? cards::ImportSource::Workbook
                            : cards::ImportSource::Database;
    cards::BulkOutcome outcome;
    {
        cards::BusyWindow busy(*this, Label3);
        try {
            auto db = platform::Database::open(cards::cardListDatabase());
            if (records.empty())
                outcome.ok = true;
            else
                outcome = cards::importCards(*db, Data1->recordset(), records, source,
                                             [&](long long done, long long total) { busy.progress(done, total); });
        } catch (const platform::DataError& e) {
            outcome.error = e.text;
        }
    }
    if (!outcome.ok) {
        ui::MsgBox(QStringLiteral("登録できませんでした。カードは１枚も登録されていません。\r\n") +
                       platform::userText(platform::DataError(outcome.error), cards::cardListDatabase()),
                   ui::vbCritical);
        return;
    }
    step([&] { cards::showCardList(QString(), 1, 2); });
    ui::MsgBox(QStringLiteral("登録が　終了しました。"), ui::vbInformation);
    step([&] { Unload(); });
}

void Form22::Command5_Click() {
    if (Form25::isLoaded()) step([&] { Form25::it().Text1->setText(QString()); });
    step([&] { Unload(); });
    if (Form25::isLoaded()) step([&] { Form25::it().Unload(); });
    step([&] { services::showMenu(); });
}
