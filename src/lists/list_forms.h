#pragma once
#include "platform/ui/forms.h"

// The five list windows. Other windows read Rows and cell (r, 2) of their grids and add entries
// through their Data1 record sets.
class Form13 : public ui::DefaultForm<Form13> {   // watch list, table checklist
public:
    Form13();
    ui::Data* Data1 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
};

class Form17 : public ui::DefaultForm<Form17> {   // trend watch list, table trend
public:
    Form17();
    ui::Data* Data1 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
};

class Form31 : public ui::DefaultForm<Form31> {   // special watch list, table checklist2
public:
    Form31();
    ui::Data* Data1 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
};

class Form12 : public ui::DefaultForm<Form12> {   // holdings, table mylist
public:
    Form12();
    ui::Data* Data1 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
};

class Form14 : public ui::DefaultForm<Form14> {   // favourite information sources, table 情報源リスト
public:
    Form14();
    ui::Data* Data1 = nullptr;
    ui::FlexGrid* MSFlexGrid1 = nullptr;
};
