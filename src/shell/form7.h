#pragma once
#include "platform/ui/forms.h"

// The memo pad "メモ帖": one large text box kept in memo.txt between runs.
class Form7 : public ui::DefaultForm<Form7> {
public:
    Form7();
    ui::TextBox* Text1 = nullptr;
    ui::MenuItem* mnuFILE = nullptr;
    ui::MenuItem* mnuOpen = nullptr;
    ui::MenuItem* mnuSave = nullptr;
    ui::MenuItem* mnuEnd = nullptr;

    static QString memoPath();
    // Writes the memo file: the text with CR LF line breaks, followed by one CR LF.
    // Returns false when the file could not be written (the old file then stays as it was).
    bool saveMemo();

protected:
    void Form_Load() override;

private:
    void mnuSave_Click();
};
