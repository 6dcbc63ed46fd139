#pragma once
#include <map>
#include "platform/ui/forms.h"

namespace shell { struct LaunchRow; struct HelpRow; }

// The menu window "Ｍｅｎｕ": start-up, the period unit and dates, every launch button, the end.
class Form5 : public ui::DefaultForm<Form5> {
public:
    Form5();
    ui::Data* Data1 = nullptr;              // over "select * from [日付]": row 1 is the DateRecord
    ui::FlexGrid* MSFlexGrid1 = nullptr;
    ui::ControlArray<ui::TextBox> Text1;    // unit and the ten period dates
    ui::TextBox* Text2 = nullptr;           // the purge kind word
    ui::TextBox* Text3 = nullptr;           // shows the main database path
    ui::CommandButton* Command3 = nullptr;  // "ＥＮＤ"
    ui::CommandButton* Command16 = nullptr; // the title strip
    ui::Label* Label8 = nullptr;            // "登録株価"

    // A button of the menu by name ("Command46"); null when there is none.
    ui::CommandButton* Command(const QString& name) const;
    ui::Label* Label(const QString& name) const;

    // Field c of the DateRecord (grid row 1); throws when the grid holds no record.
    QString dateRecordCell(int col) const;
    // The period unit word of the DateRecord ("day", "week", "month"); loads the menu if needed.
    static QString periodUnit();
    // Binds the grid to the period record of the main database (MainDbPath) and refreshes it.
    void bindPeriodRecord();
    // The end the system asks for (SIGTERM, SIGHUP): as ＥＮＤ, without questions.
    void endForSystem();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    std::map<QString, ui::CommandButton*> buttons_;
    std::map<QString, ui::Label*> labels_;

    void launch(const shell::LaunchRow& row);
    void storeAndShow(const shell::LaunchRow& row);
    void showWindowsOf(const shell::LaunchRow& row);
    void gatedLaunch(const shell::LaunchRow& row);
    void listLaunch(const shell::LaunchRow& row);
    void extraLaunch(const shell::LaunchRow& row);
    void showHelp(const shell::HelpRow& row);
    void Text1_Change();
    void Text3_Change();
    void Command3_Click();
    void endProgram(int unloadMode);
};
