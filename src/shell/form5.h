#pragma once
#include "platform/ui/forms.h"

// The menu window "Ｍｅｎｕ": start-up, the period unit and dates, every launch button.
class Form5 : public ui::DefaultForm<Form5> {
public:
    Form5();
    ui::Data* Data1 = nullptr;              // over "select * from [日付]": row 1 is the DateRecord
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::ControlArray<ui::TextBox> Text1;    // unit and the ten period dates
    ui::TextBox* Text2 = nullptr;           // hidden: the purge kind word

protected:
    void Form_Load() override;
};
