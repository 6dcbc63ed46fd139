#include "prices/form3.h"
#include "platform/ui/guard.h"
#include "services/module1.h"

using ui::step;

namespace {
const int kColWidths[] = {200, 550, 1150, 1000, 900, 600, 600, 600, 600};
}

Form3::Form3() : ui::DefaultForm<Form3>(QStringLiteral("Form3")) {
    setCaption(QStringLiteral("Form3"));
    Move(0, 0, 9600, 6000);
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 120, .top = 600, .width = 9255, .height = 4455});
    Data1 = addData({.name = "Data1", .caption = QStringLiteral("Data1"), .left = 120, .top = 5160, .width = 3855,
                     .height = 375});
    Text7 = addText({.name = "Text7", .left = 120, .top = 120, .width = 1215, .height = 315});
    MSFlexGrid1->bind(Data1);
    on(Text7->Change, [this] { Text7_Change(); }, "Text7_Change");
}

void Form3::Form_Load() {
    step([&] {
        Data1->DatabaseName = Module1::MainDbPath;
        Data1->Options = 1;
        Data1->Connect = QStringLiteral("Access 2000;");
        Data1->RecordSource = QStringLiteral("select * from [hojyo]");
        Data1->Refresh();
    });
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

void Form3::Form_QueryUnload(bool& cancel, int unloadMode) { cancel = unloadMode == ui::vbFormControlMenu; }

void Form3::Text7_Change() {
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}
