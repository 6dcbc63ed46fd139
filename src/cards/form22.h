#pragma once
#include "platform/ui/forms.h"

// The import preview: every row of the chosen source in a grid, the entered row's fields in boxes
// under it, and "登録→実行", which adds every row as a new card.
class Form22 : public ui::DefaultForm<Form22> {
public:
    Form22();
    ui::CommandButton* Command5 = nullptr;  // "OK": leaves without importing
    ui::CommandButton* Command3 = nullptr;  // "登録→実行"
    ui::Label* Label3 = nullptr;
    ui::Label* Label1 = nullptr;
    ui::TextBox* Text7 = nullptr;           // the number of data rows
    ui::Label* Label4 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::TextBox* Text2 = nullptr;           // 銘柄 of the entered row
    ui::TextBox* Text3 = nullptr;           // 日付
    ui::TextBox* Text4 = nullptr;           // コード
    ui::TextBox* Text5 = nullptr;           // 市場
    ui::TextBox* Text6 = nullptr;           // 情報源
    ui::TextBox* Text1 = nullptr;           // 情報
    ui::Data* Data1 = nullptr;

    // Points the preview at a source chosen anew (its failure, if any, is told again).
    void bind(const QString& path, const QString& recordSource, const QString& connect);
    // Reads the source into the grid; a source that cannot be read is reported and the grid then
    // shows no rows, so that nothing is imported from it: "登録→実行" over it tells the refusal again
    // and ends there. The same failure of the same source is
    // told once: a later activation that meets it again leaves the grid empty without a word.
    void readSource();

    void MSFlexGrid1_EnterCell();
    void Text7_Change();
    void Command3_Click();
    void Command5_Click();

protected:
    void Form_Activate() override;

private:
    QString toldFailure_;   // the source whose failure was told, with the words told
    QString refusal_;       // why the source last read was refused; empty when it was read
};
