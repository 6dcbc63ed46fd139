#pragma once
#include "platform/ui/forms.h"

// The chart hint window: a two-line hint and two pictures of the recommended chart settings.
class Form23 : public ui::DefaultForm<Form23> {
public:
    Form23();
    ui::CommandButton* Command1 = nullptr;   // OK
    ui::TextBox* Text1 = nullptr;
    ui::Picture* Image1 = nullptr;
    ui::Picture* Picture2 = nullptr;

protected:
    void Form_Load() override;
    // The close box closes this window.
    void Form_QueryUnload(bool& cancel, int) override { cancel = false; }
};
