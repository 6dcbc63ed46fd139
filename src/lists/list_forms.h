#pragma once
#include "lists/list_core.h"

// The five list windows. Other windows read Rows and cell (r, 2) of their grids and add entries
// through their Data1 record sets (lists::addWatchEntry, lists::addSourceEntry), then refresh Data1.

namespace lists {

// The three watch lists share their controls; their differences are in their specs.
template <class T>
class WatchListForm : public ListForm<T> {
public:
    ui::Label* Label3;            // title
    ui::FlexGrid* MSFlexGrid1;
    ui::Data* Data1;
    ui::TextBox* Text9;           // the count
    ui::CommandButton* Command3;  // 並び換え
    ui::Label* Label2;            // 削除準備
    ui::CommandButton* Command1;  // 削除実行
    ui::CommandButton* Command2;  // OK
    ui::Label* Label4;
    ui::LinkLabel* HprLnkEx1;     // quote
    ui::LinkLabel* HprLnkEx2;     // chart
    ui::TextBox* Text2;           // hidden: code of the last link click
    ui::TextBox* Text1;           // hidden: market of the last link click

protected:
    explicit WatchListForm(const ListSpec& def)
        : ListForm<T>(def),
          Label3(this->template control<ui::Label>("Label3")),
          MSFlexGrid1(this->core_.grid),
          Data1(this->core_.data),
          Text9(this->core_.count),
          Command3(this->template control<ui::CommandButton>("Command3")),
          Label2(this->template control<ui::Label>("Label2")),
          Command1(this->template control<ui::CommandButton>("Command1")),
          Command2(this->template control<ui::CommandButton>("Command2")),
          Label4(this->template control<ui::Label>("Label4")),
          HprLnkEx1(this->core_.links.at(0)),
          HprLnkEx2(this->core_.links.at(1)),
          Text2(this->core_.codeBox),
          Text1(this->core_.marketBox) {}
};

}  // namespace lists

// The watch list, table checklist.
class Form13 : public lists::WatchListForm<Form13> {
public:
    Form13();
};

// The trend watch list, table trend. An unreadable list is told to the person.
class Form17 : public lists::WatchListForm<Form17> {
public:
    Form17();
};

// The special watch list, table checklist2. Its OK also shows the menu.
class Form31 : public lists::WatchListForm<Form31> {
public:
    Form31();
};

// The holdings, table mylist. A double-click remembers the code to delete; OK unloads the window
// and shows the menu.
class Form12 : public lists::ListForm<Form12> {
public:
    Form12();
    ui::Label* Label1;            // title
    ui::FlexGrid* MSFlexGrid1;
    ui::Data* Data1;
    ui::TextBox* Text1;           // the count
    ui::CommandButton* Command4;  // 登録を続ける
    ui::CommandButton* Command2;  // 削除準備
    ui::CommandButton* Command5;  // 削除実行
    ui::CommandButton* Command3;  // OK
    ui::Label* Label4;
    ui::LinkLabel* HprLnkEx1;     // quote
    ui::LinkLabel* HprLnkEx2;     // "K"
    ui::LinkLabel* HprLnkEx3;     // chart
    ui::TextBox* Text4;           // hidden: code of the last link click
    ui::TextBox* Text3;           // hidden: market of the last link click

    // The delete criterion of the last double-click (or of the activation's last deletion).
    // It belongs to the program's run, not to one load of the window.
    static QString rememberedCriterion;
};

// The favourite information sources, table 情報源リスト.
class Form14 : public lists::ListForm<Form14> {
public:
    Form14();
    ui::Label* Label3;
    ui::FlexGrid* MSFlexGrid1;
    ui::Data* Data1;
    ui::TextBox* Text9;
    ui::CommandButton* Command3;  // 並替
    ui::Label* Label2;            // 削除準備
    ui::CommandButton* Command1;  // 削除実行
    ui::CommandButton* Command2;  // OK
};
