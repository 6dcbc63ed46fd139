#include "shell/form23.h"
#include "platform/ui/colors.h"
#include "shell/hint_pictures.h"

Form23::Form23() : ui::DefaultForm<Form23>(QStringLiteral("Form23")) {
    setCaption(QStringLiteral("Form23"));
    Move(600, 600, 11205, 6390);
    Command1 = addButton({.name = "Command1", .caption = QStringLiteral("OK"), .left = 240, .top = 0, .width = 735,
                          .height = 375});
    Text1 = addText({.name = "Text1", .caption = QStringLiteral("Text1"), .left = 1320, .top = 120, .width = 9615,
                     .height = 615, .multiLine = true});
    Image1 = addPicture({.name = "Image1", .left = 0, .top = 840, .width = 11025, .height = 2670});
    Picture2 = addPicture({.name = "Picture2", .left = 0, .top = 3600, .width = 11055, .height = 3135});
    Image1->setPicture(shell::dailyChartSettingsPicture(QSize(ui::px(11025), ui::px(2670))));
    Picture2->setPicture(shell::ichimokuChartPicture(QSize(ui::px(11055), ui::px(3135))));
    on(Command1->Click, [this] { Unload(); }, "Command1_Click");
}

void Form23::Form_Load() {
    Text1->setText(QStringLiteral("リンク先のチャートサイト（株価チャート）では、前回選んだ設定条件でチャートが描かれます。\r\n"
                                  "吟味するときは　ボリンジャバンドを追加してください。"));
}
