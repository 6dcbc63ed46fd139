#include "cards/form15.h"
#include "cards/busy_window.h"
#include "cards/card_bulk.h"
#include "cards/card_list_use.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/module1.h"

using ui::step;

namespace {
const int kColWidths[] = {150, 1100, 500, 800};
}

Form15::Form15() : ui::DefaultForm<Form15>(QStringLiteral("Form15")) {
    setCaption(QStringLiteral("Form15"));
    setBackColor(0x00C0C0);
    Move(7800, 600, 4200, 6480);
    Command2 = addButton({.name = "Command2", .caption = QStringLiteral("OK"), .left = 120, .top = 120, .width = 615,
                          .height = 375, .backColor = 0xFFFFFF});
    Label1 = addLabel({.name = "Label1", .caption = QStringLiteral("市場 売買単位を　入力します"), .left = 960,
                       .top = 180, .width = 2895, .height = 255, .transparent = true});
    Command1 = addButton({.name = "Command1", .caption = QStringLiteral("実行"), .left = 120, .top = 600, .width = 1215,
                          .height = 375, .backColor = 0xC0FFC0});
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 120, .top = 1080, .width = 3855, .height = 4575});
    Data1 = addData({.name = "Data1", .caption = QStringLiteral("Data1"), .left = 120, .top = 5760, .width = 3855,
                     .height = 375});
    MSFlexGrid1->bind(Data1);
    Data1->showNavigation();
    on(Command1->Click, [this] { Command1_Click(); }, "Command1_Click");
    on(Command2->Click, [this] { Command2_Click(); }, "Command2_Click");
}

// The price table of the main database; a database that cannot be opened is reported and the
// window stays open with an empty grid.
void Form15::Form_Load() {
    try {
        Data1->DatabaseName = Module1::MainDbPath;
        Data1->Options = 1;
        Data1->RecordSource = QStringLiteral("select * from [list]");
        Data1->Refresh();
    } catch (const platform::DataError& e) {
        ui::MsgBox(QStringLiteral("株価テーブルを開けませんでした。\r\n") + Module1::MainDbPath + QStringLiteral("\r\n") + e.text,
                   ui::vbExclamation);
    }
}

void Form15::Form_Activate() {
    step([&] { Data1->Options = 1; });
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
}

// All cards lacking a market at once, in one transaction; then the card list shows every card
// sorted by code.
void Form15::Command1_Click() {
    cards::BulkOutcome outcome;
    {
        cards::BusyWindow busy(*this);
        step([&] { cards::setCardListRedraw(false); });
        try {
            auto db = platform::Database::open(cards::cardListDatabase());
            outcome = cards::completeMarkets(*db);
        } catch (const platform::DataError& e) {
            outcome.error = e.text;
        }
        step([&] { cards::setCardListRedraw(true); });
    }
    if (!outcome.ok) {
        ui::MsgBox(QStringLiteral("市場と売買単位を登録できませんでした。カードは変わっていません。\r\n") + outcome.error,
                   ui::vbCritical);
        return;
    }
    step([&] { cards::showCardList(QStringLiteral("select * from [mydata]"), 5, 1); });
    step([&] { Label1->setCaption(QStringLiteral("登録　完了")); });
}

void Form15::Command2_Click() {
    step([&] { Unload(); });
}
