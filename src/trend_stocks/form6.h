#pragma once
#include <QHash>
#include <QString>
#include <vector>
#include "platform/ui/forms.h"
#include "trend_stocks/trend_pattern.h"

// The trend screen over all listed stocks: one universe of list1plus rows with their nine
// changes, narrowed by the pattern buttons, the searches and the watch-list extractions.
class Form6 : public ui::DefaultForm<Form6> {
public:
    Form6();

    // Frame controls.
    ui::CommandButton* Command5 = nullptr;    // OK
    ui::CommandButton* Command72 = nullptr;   // "?": chart hint dialog
    ui::CommandButton* Command1 = nullptr;    // 並替え準備
    ui::CommandButton* Command13 = nullptr;   // 並変え実行
    ui::CommandButton* Command10 = nullptr;   // 元に戻す
    ui::CommandButton* Command40 = nullptr;   // 注目銘柄
    ui::CommandButton* Command52 = nullptr;   // トレンド
    ui::CommandButton* Command16 = nullptr;   // 抽出 (watch list)
    ui::CommandButton* Command26 = nullptr;   // 抽出 (trend watch list)
    ui::CommandButton* Command78 = nullptr;   // "？" of the moving-average group
    ui::CommandButton* Command34 = nullptr;   // 銘柄で探す
    ui::CommandButton* Command33 = nullptr;   // コードで探す
    ui::TextBox* Text3 = nullptr;             // the period unit word
    ui::TextBox* Text7 = nullptr;             // the row count
    ui::TextBox* Text1 = nullptr;             // hidden: code of the current row
    ui::TextBox* Text2 = nullptr;             // hidden: market of the current row
    ui::Label* Label1 = nullptr;
    ui::Label* Label6 = nullptr;
    ui::Label* Label10 = nullptr;             // Delta Percent ？
    ui::Label* Label11 = nullptr;
    ui::LinkLabel* HprLnkEx1 = nullptr;
    ui::LinkLabel* HprLnkEx2 = nullptr;
    ui::LinkLabel* HprLnkEx3 = nullptr;
    ui::LinkLabel* HprLnkEx4 = nullptr;
    ui::LinkLabel* HprLnkEx6 = nullptr;
    ui::LinkLabel* HprLnkEx10 = nullptr;
    ui::LinkLabel* HprLnkEx14 = nullptr;
    ui::LinkLabel* HprLnkEx15 = nullptr;
    ui::LinkLabel* HprLnkEx16 = nullptr;
    ui::LinkLabel* HprLnkEx17 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::Data* Data1 = nullptr;

    // The pattern buttons and group labels, made from the catalogue ("Command50", "Label3").
    ui::CommandButton* patternButton(const QString& control) const { return patternButtons_.value(control); }
    ui::Label* groupLabel(const QString& control) const { return groupLabels_.value(control); }
    const std::vector<trend::TrendPattern>& patterns() const { return patterns_; }

    // Titles the two price columns and the nine change columns for the period unit, writes the count.
    void hi_title();

    // Handlers.
    void MSFlexGrid1_EnterCell();
    void MSFlexGrid1_DblClick();
    void Text7_Change();
    void Command5_Click();
    void Command33_Click();
    void Command34_Click();
    void Command10_Click();
    void Command1_Click();
    void Command13_Click();
    void Command16_Click();
    void Command26_Click();
    void Command40_Click();
    void Command52_Click();
    void Label10_Click();
    void Command72_Click();
    void Command78_Click();
    // A pattern button's click: the record applied through the shared engine.
    void patternClick(const trend::TrendPattern& p);

protected:
    void Form_Load() override;

private:
    QHash<QString, ui::CommandButton*> patternButtons_;
    QHash<QString, ui::Label*> groupLabels_;
    std::vector<trend::TrendPattern> patterns_;
    void buildFrame();
    void buildCatalogue();
    void buildLinks();
    void orderTabs();
    void titleDates();
    void search(const QString& condition, bool valid);
    void extract(ui::FlexGrid* listGrid);
};
