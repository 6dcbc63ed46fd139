#pragma once
#include <QString>
#include "platform/ui/forms.h"

// The card list: the rows of one row source of the main database in a grid — all cards, the
// cards without a market, or the price table — with detail boxes for the current row, the
// searches of the price table, the restore to all cards, the sort, the chart links and the
// registration of a card's stock or source into a list.
//
// Other windows use it as the holder of a record set: the price registration walks the price
// table through Data1, the import adds cards through it and the completion edits them. Grid
// columns are addressed by number in both layouts (card view / price view):
//   1 ID / first field, 2 情報源 / 銘柄, 3 日付 / コード, 4 銘柄 / 市場, 5 コード / 単位,
//   6 市場 / kabuka1, 7 単位 / kabuka2, 8 情報 / kabuka3, 9-15 none / kabuka4-10.
// The detail boxes show their fields by name in both views.
class Form28 : public ui::DefaultForm<Form28> {
public:
    Form28();

    ui::CommandButton* Command5 = nullptr;    // OK
    ui::CommandButton* Command1 = nullptr;    // 並替え準備
    ui::CommandButton* Command13 = nullptr;   // 並変え実行
    ui::CommandButton* Command10 = nullptr;   // 元に戻す
    ui::CommandButton* Command3 = nullptr;    // 銘柄で探す
    ui::CommandButton* Command4 = nullptr;    // コードで探す
    ui::Label* Label1 = nullptr;              // カードの枚数
    ui::Label* Label6 = nullptr;              // 枚
    ui::TextBox* Text7 = nullptr;             // the row count
    ui::TextBox* Text1 = nullptr;             // 情報
    ui::TextBox* Text2 = nullptr;             // 銘柄
    ui::TextBox* Text3 = nullptr;             // 日付
    ui::TextBox* Text4 = nullptr;             // コード: the links' code
    ui::TextBox* Text5 = nullptr;             // 市場: the links' market
    ui::TextBox* Text6 = nullptr;             // 情報源
    ui::LinkLabel* HprLnkEx1 = nullptr;       // quote
    ui::LinkLabel* HprLnkEx2 = nullptr;       // stock search
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::Data* Data1 = nullptr;

    // Writes the row count.
    void hi_title();
    // True when the grid lists cards (its rows come from a row source in the card layout).
    bool showsCards() const;
    // Assigns a row source and refreshes. When the database rejects it, the person is told and
    // the previous row source and rows stay, so that later refreshes keep working.
    bool setRowSource(const QString& sql);
    // Sorts the grid on its current column (grid sort setting) and shows the current row's card.
    void sortGrid(int setting);

    // Handlers.
    void Text7_Change();
    void MSFlexGrid1_EnterCell();
    void MSFlexGrid1_DblClick();
    void Command3_Click();
    void Command4_Click();
    void Command10_Click();
    void Command1_Click();
    void Command13_Click();
    void Command5_Click();
    void HprLnkEx1_LinkClick();
    void HprLnkEx2_LinkClick();

protected:
    void Form_Load() override;

private:
    void buildFrame();
    void search(const QString& condition);
};
