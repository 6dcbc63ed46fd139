#pragma once
#include "platform/ui/forms.h"

// The backup window: copies the database of the period unit into the Mdb folder under a name
// that carries a date the person confirms.
class Form8 : public ui::DefaultForm<Form8> {
public:
    Form8();
    ui::CommandButton* Command1 = nullptr;   // makes the backup
    ui::CommandButton* Command2 = nullptr;   // OK
    ui::CommandButton* Command4 = nullptr;   // the result line

protected:
    void Form_Load() override;

private:
    void Command1_Click();
    void Command2_Click();
};
