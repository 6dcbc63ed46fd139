#pragma once
#include "platform/ui/forms.h"

// The completion of market and unit: beside the card list of the cards that lack a market, "実行"
// fills in each card's market and unit from the price table ("?" for a code it does not hold).
class Form15 : public ui::DefaultForm<Form15> {
public:
    Form15();
    ui::CommandButton* Command2 = nullptr;  // "OK"
    ui::Label* Label1 = nullptr;            // the title; "登録　完了" after a run
    ui::CommandButton* Command1 = nullptr;  // "実行"
    ui::FlexGrid* MSFlexGrid1 = nullptr;    // the price table
    ui::Data* Data1 = nullptr;

    void Command1_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
