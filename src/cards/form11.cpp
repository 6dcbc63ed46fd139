#include "cards/form11.h"

namespace {

struct BoxRow {
    ui::TextBox* Form11::*member;
    const char* name;
};
const BoxRow kBoxes[] = {
    {&Form11::Text1, "Text1"}, {&Form11::Text2, "Text2"}, {&Form11::Text3, "Text3"},
    {&Form11::Text4, "Text4"}, {&Form11::Text5, "Text5"}, {&Form11::Text6, "Text6"},
};

}  // namespace

Form11::Form11() : ui::DefaultForm<Form11>(QStringLiteral("Form11")) {
    setCaption(QStringLiteral("Form11"));
    setBackColor(0xC0E0FF);
    // Beside the card record editor, right of the work pad.
    Move(9960, 4200, 2775, 3015);
    Label1 = addLabel({.name = "Label1", .caption = "　補助", .left = 120, .top = 60, .width = 1215, .height = 255,
                       .transparent = true});
    int top = 360;
    for (const BoxRow& b : kBoxes) {
        this->*b.member = addText({.name = b.name, .caption = "", .left = 120, .top = top, .width = 2535, .height = 315});
        top += 420;
    }
}
