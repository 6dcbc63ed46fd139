#pragma once
#include <QString>
#include "platform/ui/forms.h"

// The collection editor: a work pad into which the person pastes an article, selects a piece
// and copies it into one field of the card being collected (the boxes of Form11) by a menu
// item or its function key. A code is completed from the price table with market, unit and
// name; "書込" appends the collected card to the card record editor, where it is stored when
// the editor leaves it.
class Form1 : public ui::DefaultForm<Form1> {
public:
    Form1();

    ui::RichTextBox* RichTextBox1 = nullptr;

    // The note of the card being collected (内容 > 情報); no window shows it.
    QString DraftInfoText;

    // Handlers.
    void mnuCut_Click();
    void mnuCutall_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnu元に戻す_Click();
    void mnu情報源_Click();
    void mnu日付_Click();
    void mnuコード_Click();
    void mnu銘柄_Click();
    void mnu情報_Click();
    void mnu書込_Click();
    void mnu銘柄からコード_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void buildMenus();
    QString selection() const;
};
