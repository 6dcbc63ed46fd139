#pragma once
#include "platform/ui/forms.h"

// The field window of the collection editor: the card being collected, one box per field,
// which the editor's extractions fill and the person may correct by typing.
//   Text1 情報源, Text2 日付, Text3 銘柄, Text4 コード, Text5 市場, Text6 単位.
class Form11 : public ui::DefaultForm<Form11> {
public:
    Form11();
    ui::Label* Label1 = nullptr;   // 補助
    ui::TextBox* Text1 = nullptr;
    ui::TextBox* Text2 = nullptr;
    ui::TextBox* Text3 = nullptr;
    ui::TextBox* Text4 = nullptr;
    ui::TextBox* Text5 = nullptr;
    ui::TextBox* Text6 = nullptr;
};
