#pragma once
#include "platform/ui/forms.h"

// The import file choice: the kind word in Text2 says what "ここをクリック" and "確認　→次へ" do
// (a database or workbook import through the preview Form22, or a switch of the main database).
class Form25 : public ui::DefaultForm<Form25> {
public:
    Form25();
    ui::Label* Label1 = nullptr;            // "ファイル名："
    ui::TextBox* Text2 = nullptr;           // the kind word
    ui::TextBox* Text1 = nullptr;           // the chosen path
    ui::CommandButton* Command1 = nullptr;  // "ここをクリック"
    ui::Label* Label2 = nullptr;
    ui::CommandButton* Command2 = nullptr;  // "確認　→次へ"
    ui::TextBox* Text3 = nullptr;
    ui::CommandButton* Command3 = nullptr;  // "OK"

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void Form_Load() override;
    // The only window of the card store that lets its close box through.
    void Form_QueryUnload(bool& cancel, int) override { cancel = false; }

private:
    QString choose(const QString& description, const QString& pattern);
    void chooseDatabase();
    void chooseWorkbook();
    void chooseMainDatabase();
};
