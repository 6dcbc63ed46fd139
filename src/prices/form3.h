#pragma once
#include "platform/ui/forms.h"

// The holder of the insertion's scratch table: never shown; loaded hidden by the first insertion,
// its grid then shows the scratch table as the insertion left it.
class Form3 : public ui::DefaultForm<Form3> {
public:
    Form3();
    ui::Data* Data1 = nullptr;            // "select * from [hojyo]" of the main database
    ui::FlexGrid* MSFlexGrid1 = nullptr;  // bound to Data1
    ui::TextBox* Text7 = nullptr;         // rows of the grid less its header

    void Text7_Change();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
};
