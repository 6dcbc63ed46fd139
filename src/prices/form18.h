#pragma once
#include <QString>
#include <array>
#include <vector>
#include "platform/ui/forms.h"
#include "prices/period_slots.h"
#include "prices/price_sheet.h"

// The price registration screen: the dates and workbook names of the ten periods, the imports of
// closing prices from the workbooks (all ten periods, or the newest), the weekly correction of the
// newest price, and the insertion of a new newest period.
class Form18 : public ui::DefaultForm<Form18> {
public:
    Form18();

    ui::CommandButton* Command1 = nullptr;    // "note"
    ui::CommandButton* Command2 = nullptr;    // OK
    ui::CommandButton* Command3 = nullptr;    // start: "まずは　ここから"
    ui::CommandButton* Command4 = nullptr;    // 一括入力実行
    ui::CommandButton* Command5 = nullptr;    // 一日挿入 / 一週挿入 / 一月挿入
    ui::CommandButton* Command6 = nullptr;    // weekly "next"
    ui::CommandButton* Command7 = nullptr;    // "?" of the weekly correction
    ui::CommandButton* Command8 = nullptr;    // "next"
    ui::CommandButton* Command9 = nullptr;    // "？" of the bulk input
    ui::CommandButton* Command10 = nullptr;   // "？" of the insertion
    ui::CommandButton* Command11 = nullptr;   // "直近の日"
    ui::Label* Label1 = nullptr;              // title
    ui::Label* Label2 = nullptr;              // caption of the progress boxes
    ui::ControlArray<ui::Label> Label3;       // 0: instruction; 1 to 10: row labels
    ui::TextBox* Text1 = nullptr;             // progress count and completion
    ui::TextBox* Text2 = nullptr;             // sheet being worked on
    ui::TextBox* Text5 = nullptr;             // which unit is in use
    ui::TextBox* Text15 = nullptr;            // heading of the date columns
    ui::ControlArray<ui::TextBox> Text3;      // 0: heading; 1 to 10: workbook names
    ui::ControlArray<ui::TextBox> Text4;      // years
    ui::ControlArray<ui::TextBox> Text11;     // months
    ui::ControlArray<ui::TextBox> Text12;     // days
    ui::ControlArray<ui::TextBox> Text13;     // hidden: year, month and day joined
    ui::ControlArray<ui::TextBox> Text16;     // row numbers
    ui::FlexGrid* MSFlexGrid2 = nullptr;      // preview of the sheet read
    ui::Data* Data1 = nullptr;

    // State derived from the boxes and the period record; entries 1 to 10 are the slots.
    QString ScreenUnit;
    std::array<QString, prices::kSlots + 1> SlotDateText, SlotWorkbookName, SlotWorkbookPath, SlotSheetName,
        SlotBoxDate;
    prices::FieldNames PeriodFieldName;

    // Puts the period record's dates (and then its workbook names) into the ten rows.
    void FillSlotDates();
    void FillSlotWorkbooks();

    // True while an import or the insertion runs; the screen takes no second one meanwhile.
    bool busy() const { return busy_; }

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Text3_Change();
    void Date_Change();   // any year, month or day box
    void Text15_Change();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;

private:
    bool busy_ = false;
    class Busy;
    void buildFrame();
    void buildRows();
    void help(int control);
    // Checks rows first..last: pads one-digit parts and writes them back, or tells which rows
    // hold no real date.
    bool checkDates(int first, int last);
    // Refuses with a message when the start button recognised no unit.
    bool checkUnit();
    bool checkNewerThanSlot2();   // slot 1's date lies after slot 2's (told when not)
    QString boxDate(int row) const;   // "yy/mm/dd" of a row's boxes
    // Reads slots 1 to lastSlot from their sheets, then stores dates and prices in one go.
    bool importSlots(int lastSlot, prices::Columns columns);
    void showSheet(int slot, const QString& connect);
    void afterWrite();
    void offerInsertion();
};
