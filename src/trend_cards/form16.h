#pragma once
#include <QHash>
#include <QString>
#include <vector>
#include "platform/ui/forms.h"
#include "trend_stocks/trend_pattern.h"

namespace cardtrend { struct ListExtraction; }

// The trend screen over cards: one universe of cards, each with its stock's latest price and nine
// changes, narrowed by the pattern buttons, by period and price level, by a list, by a cell's
// value or to one stock, and searched; a double-click registers a stock or a source into a list.
class Form16 : public ui::DefaultForm<Form16> {
public:
    Form16();

    // Frame controls.
    ui::CommandButton* Command5 = nullptr;    // OK
    ui::CommandButton* Command44 = nullptr;   // "?": chart hint dialog
    ui::CommandButton* Command1 = nullptr;    // 並替え準備
    ui::CommandButton* Command13 = nullptr;   // 並変え実行
    ui::CommandButton* Command10 = nullptr;   // 元に戻す
    ui::CommandButton* Command16 = nullptr;   // ワンポイント
    ui::CommandButton* Command9 = nullptr;    // 抽出: the pressed cell's value
    ui::CommandButton* Command62 = nullptr;   // 抽出: one stock over all cards
    ui::CommandButton* Command3 = nullptr;    // 期間限定抽出
    ui::CommandButton* Command39 = nullptr;   // 全て
    ui::CommandButton* Command35 = nullptr;   // X日
    ui::CommandButton* Command33 = nullptr;   // 修正
    ui::CommandButton* Command12 = nullptr;   // リストの登録？
    ui::CommandButton* Command26 = nullptr;   // 銘柄で探す
    ui::CommandButton* Command7 = nullptr;    // コードで探す
    ui::CommandButton* Command11 = nullptr;   // リスト (help)
    ui::CommandButton* Command8 = nullptr;    // 抽出 (help)
    ui::CommandButton* Command20 = nullptr;   // 注目
    ui::CommandButton* Command25 = nullptr;   // 抽出: watch list
    ui::CommandButton* Command19 = nullptr;   // 保有
    ui::CommandButton* Command28 = nullptr;   // 抽出: holdings
    ui::CommandButton* Command6 = nullptr;    // 情報源
    ui::CommandButton* Command29 = nullptr;   // 抽出: favourite sources
    ui::CommandButton* Command67 = nullptr;   // Trend
    ui::CommandButton* Command69 = nullptr;   // 抽出: trend watch list
    ui::CommandButton* Command43 = nullptr;   // 特別注
    ui::CommandButton* Command41 = nullptr;   // 抽出: special watch list
    ui::TextBox* Text7 = nullptr;             // the card count
    ui::TextBox* Text8 = nullptr;             // the period unit word
    ui::TextBox* Text6 = nullptr;             // 情報源 of the current row
    ui::TextBox* Text3 = nullptr;             // 日付
    ui::TextBox* Text2 = nullptr;             // 銘柄
    ui::TextBox* Text4 = nullptr;             // コード: the stock links' code
    ui::TextBox* Text5 = nullptr;             // 市場: the stock links' market
    ui::TextBox* Text1 = nullptr;             // 情報, the note
    ui::Label* Label1 = nullptr;              // カードの枚数 (help on the count)
    ui::Label* Label4 = nullptr;
    ui::Label* Label11 = nullptr;             // Delta Percent？
    ui::LinkLabel* HprLnkEx1 = nullptr;
    ui::LinkLabel* HprLnkEx2 = nullptr;
    ui::LinkLabel* HprLnkEx3 = nullptr;
    ui::LinkLabel* HprLnkEx4 = nullptr;
    ui::LinkLabel* HprLnkEx5 = nullptr;
    ui::LinkLabel* HprLnkEx6 = nullptr;
    ui::LinkLabel* HprLnkEx7 = nullptr;
    ui::LinkLabel* HprLnkEx8 = nullptr;
    ui::LinkLabel* HprLnkEx14 = nullptr;
    ui::LinkLabel* HprLnkEx15 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::Data* Data1 = nullptr;

    // The pattern buttons and the group labels ("Command42", "X", "Label10").
    ui::CommandButton* patternButton(const QString& control) const { return patternButtons_.value(control); }
    ui::Label* groupLabel(const QString& control) const { return groupLabels_.value(control); }
    const std::vector<trend::TrendPattern>& patterns() const { return patterns_; }

    // The price level of the period extraction and its bounds in yen, kept while loaded.
    short PriceLevel = 0;
    int PriceLow = 0;
    int PriceHigh = 0;
    // The text of the grid cell pressed last (or the code the one-stock extraction took).
    QString PressedCellText;

    // Titles the price column and the nine change columns by the period unit, writes the count.
    void hi_title();
    // Asks for the price level of the period extraction.
    void nehaba();

    // Handlers.
    void Command5_Click();
    void Text7_Change();
    void Label1_Click();
    void Label11_Click();
    void Command3_Click();
    void Command39_Click();
    void Command35_Click();
    void Command26_Click();
    void Command7_Click();
    void Command10_Click();
    void Command13_Click();
    void Command1_Click();
    void Command9_Click();
    void Command62_Click();
    void Command16_Click();
    void Command11_Click();
    void Command8_Click();
    void Command33_Click();
    void Command12_Click();
    void Command44_Click();
    void MSFlexGrid1_EnterCell();
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_MouseDown();
    // A pattern button's click: its record applied through the shared engine.
    void patternClick(const trend::TrendPattern& p);
    // A list extraction button's click ("抽出" under a list button).
    void listExtract(const cardtrend::ListExtraction& e);

    // Whether the first condition of every filter follows the base's own WHERE (" and").
    static bool andForm();

protected:
    void Form_Load() override;

private:
    QHash<QString, ui::CommandButton*> patternButtons_;
    QHash<QString, ui::Label*> groupLabels_;
    std::vector<trend::TrendPattern> patterns_;
    void buildFrame();
    void buildCatalogue();
    void buildLinks();
    // The common re-query: the row source, refresh (only when sql is given), then the rest.
    void requery(const std::optional<QString>& sql);
};
