#pragma once
#include "platform/ui/forms.h"

// The purge of old cards of one kind: the kind word in the menu's Text2 picks a saved query and a
// number of days; the window lists that query's cards older than that, and "削除実行" deletes them.
class Form19 : public ui::DefaultForm<Form19> {
public:
    Form19();
    ui::CommandButton* Command5 = nullptr;  // "OK"
    ui::TextBox* Text2 = nullptr;           // the banner
    ui::CommandButton* Command6 = nullptr;  // "削除実行"
    ui::Label* Label1 = nullptr;
    ui::TextBox* Text3 = nullptr;           // the number of listed cards
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::TextBox* Text1 = nullptr;           // 情報 of the card pointed at
    ui::Data* Data1 = nullptr;

    void MSFlexGrid1_EnterCell();
    void Command6_Click();
    void Command5_Click();

protected:
    void Form_Load() override;

private:
    void showCount();
    void showCurrentInfo();
};
