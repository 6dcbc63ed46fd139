#pragma once
#include <QString>
#include <optional>
#include "platform/ui/forms.h"

// The stock dictionary over the price table of the main database: lists every stock, narrows
// the list by part of a name or by the leading digits of a code, and registers a double-clicked
// stock into the holdings (MenuMode 201) or the special watch list (any other value).
// Form4 and Form20 are two windows of the same behaviour, each with its own state.
namespace lists {

// The row source of a name search: the stocks of list-base whose name contains `part`.
// Quotes in `part` are doubled.
QString nameSearchSql(const QString& part);
// The row source of a code search: the stocks whose code begins with `prefix` (full-width digits
// count as digits, blanks around are dropped); no stock when the prefix is not made of digits.
QString codeSearchSql(const QString& prefix);

// The prompt and title of the name search's input box (the collection editor asks the same).
QString nameSearchPrompt();
QString searchTitle();

// What the dictionary knows of a stock.
struct StockFacts {
    QString code, market, unit, name;
};
// The code look-up of the collection editor, over Form4 (touching it loads it hidden): refreshes
// its data control with the row source it holds, finds the first record with the code and reads
// its fields. Nothing when the code is no whole number, when no record has it, or when the record
// found is the no-match row 1001.
std::optional<StockFacts> lookUpCode(const QString& code);

// The handlers and controls shared by both dictionary windows.
class DictionaryCore {
public:
    explicit DictionaryCore(ui::Form* form) : form(form) {}
    void load();
    void nameSearchClick();
    void codeSearchClick();
    void gridDblClick();
    void holdingsClick();
    void okClick();

    ui::Form* form;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::Data* Data1 = nullptr;
    ui::CommandButton* Command3 = nullptr;   // shows the holdings; caption set at load
};

// Builds the controls of a dictionary window and wires them to its core.
template <class T>
class DictionaryForm : public ui::DefaultForm<T> {
public:
    ui::Label* Label1;
    ui::FlexGrid* MSFlexGrid1;
    ui::Data* Data1;
    ui::CommandButton* Command2;   // 銘柄名から選ぶ
    ui::CommandButton* Command4;   // コード番号から選ぶ
    ui::CommandButton* Command3;   // shows the holdings; caption set at load
    ui::CommandButton* Command5;   // ダブルクリックで登録 (caption only)
    ui::CommandButton* Command1;   // OK

protected:
    DictionaryForm(const char* name, unsigned backColor) : ui::DefaultForm<T>(QString::fromLatin1(name)), core_(this) {
        this->setCaption(QString::fromLatin1(name));
        this->setBackColor(backColor);
        this->Move(10800, 600, 5040, 6300);   // beside the list it registers into
        Label1 = this->addLabel({.name = "Label1", .caption = "銘柄変換辞書", .left = 120, .top = 120, .width = 2400,
                                 .height = 420, .backColor = 0xC0FFC0, .fontPoints = 12, .bold = true});
        core_.MSFlexGrid1 = MSFlexGrid1 =
            this->addGrid({.name = "MSFlexGrid1", .left = 120, .top = 660, .width = 4800, .height = 4080});
        core_.Data1 = Data1 = this->addData({.name = "Data1", .visible = false});
        Command2 = this->addButton(
            {.name = "Command2", .caption = "銘柄名から選ぶ", .left = 120, .top = 4860, .width = 1800, .height = 400});
        Command4 = this->addButton({.name = "Command4", .caption = "コード番号から選ぶ", .left = 120, .top = 5340,
                                    .width = 1800, .height = 400});
        core_.Command3 = Command3 = this->addButton(
            {.name = "Command3", .left = 2040, .top = 4860, .width = 1800, .height = 400});
        Command5 = this->addButton({.name = "Command5", .caption = "ダブルクリックで登録", .left = 2040, .top = 5340,
                                    .width = 1800, .height = 400});
        Command1 = this->addButton(
            {.name = "Command1", .caption = "OK", .left = 3960, .top = 4860, .width = 960, .height = 880});
        MSFlexGrid1->bind(Data1);
        DictionaryCore& c = core_;
        this->on(Command2->Click, [&c] { c.nameSearchClick(); }, "Command2_Click");
        this->on(Command4->Click, [&c] { c.codeSearchClick(); }, "Command4_Click");
        this->on(MSFlexGrid1->DblClick, [&c] { c.gridDblClick(); }, "MSFlexGrid1_DblClick");
        this->on(Command3->Click, [&c] { c.holdingsClick(); }, "Command3_Click");
        this->on(Command1->Click, [&c] { c.okClick(); }, "Command1_Click");
    }
    void Form_Load() override { core_.load(); }

    DictionaryCore core_;
};

}  // namespace lists

// The dictionary beside the holdings screen, and the collection editor's look-up table.
class Form4 : public lists::DictionaryForm<Form4> {
public:
    Form4();
};

// The dictionary the menu opens beside the holdings or the special watch list.
class Form20 : public lists::DictionaryForm<Form20> {
public:
    Form20();
};
