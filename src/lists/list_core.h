#pragma once
#include <QString>
#include <map>
#include <vector>
#include "platform/ui/forms.h"
#include "lists/chart_link.h"

// What the five list windows share: their control tables, the behaviour that differs between
// them as data (ListSpec), and the handlers (ListCore). Each window class (list_forms.h) is a
// ListForm<T> over its ListSpec.
namespace lists {

// One stock on a list (tables checklist, trend, checklist2, mylist). ID is numbered by the
// database; date is today as "yy/mm/dd" when the entry is added.
struct WatchEntry {
    QString code;     // コード, a whole number
    QString name;     // 銘柄
    QString market;   // 市場
    QString unit;     // 単位, may be empty
};

// Today as "yy/mm/dd", the registration date of an entry.
QString todayText();

// Registration into a list window: the entry is added through the window's data control, which
// is refreshed so that its grid shows the entry, and the window is shown. Touching the window
// loads it (binding its list) when it is not loaded. Each step is guarded.
template <class ListWindow, class Add>
void registerIntoList(Add add) {
    platform::DataControl* list = nullptr;
    ui::step([&] { list = ListWindow::it().Data1; });
    if (list) {
        ui::step([&] { add(*list); });
        ui::step([&] { list->Refresh(); });
    }
    ui::step([&] { ListWindow::it().Show(); });
}

// Adds a WatchEntry through a list window's data control: add, set the fields by name, update.
// A field the table refuses (a code that is no whole number) is left empty; the rest is stored.
// The caller refreshes the data control afterwards, so that the window's grid shows the entry.
void addWatchEntry(platform::DataControl& data, const WatchEntry& e);
// Likewise a SourceEntry of 情報源リスト: 情報源 and date.
void addSourceEntry(platform::DataControl& data, const QString& source);

// What a control does in a list window.
enum class Role { Title, Grid, Data, Count, Sort, DeleteHelp, Delete, Ok, Register, Caption, Link, CodeBox, MarketBox };
enum class Kind { Button, Label, Text, Link, Grid, Data };
struct ControlRow {
    Kind kind;
    Role role;
    ui::ControlSpec def;
};

enum class SortRule {
    ColumnDateAsText,   // the current column generic ascending; the date column (6) as text
    ColumnGeneric,      // the current column generic ascending, whichever it is
    BySource,           // always column 2
};
enum class OkRule { Hide, HideShowMenu, UnloadShowMenu };
enum class DblClickRule {
    Select,         // a double-click only selects the row
    RememberCode,   // remembers "コード=" and the row's code for the delete button
    Choose,         // chooses the row for the delete button and writes the count
};
enum class DeleteRule {
    SelectedCode,   // the first entry with the current row's code
    Remembered,     // the remembered criterion
    CurrentId,      // the current row's entry, by its ID
};

struct ListSpec {
    const char* name;                  // "Form13": class name and window title
    unsigned backColor;
    QString table;                     // "checklist"
    std::vector<int> widths;           // twips of columns 0, 1, ...; further columns keep the default
    int width, height;                 // client area, twips
    int left = 5400, top = 600;        // on the screen, right of the menu
    SortRule sort = SortRule::ColumnDateAsText;
    OkRule ok = OkRule::Hide;
    DblClickRule dblClick = DblClickRule::Select;
    DeleteRule del = DeleteRule::SelectedCode;
    bool tellLoadFailure = false;      // an unreadable list database is told to the person (once a run)
    QString listTitle;                 // how the list is named in that message
    std::vector<ControlRow> controls;
    std::vector<chart::ChartLink> links;   // in the order of the Link controls
};

QString rowSource(const QString& table);   // "select * from [checklist]"

// The handlers of a list window, over the controls its table made.
class ListCore {
public:
    ListCore(const ListSpec& def, ui::Form* form, QString* remembered);

    void adopt(const ControlRow& row, ui::Control* c);
    ui::Control* control(const char* name) const;

    void load();
    void activate();
    void sortClick();
    void deleteHelpClick();
    void deleteClick();
    void gridDblClick();
    void okClick();
    void registerClick();
    void countChange();
    void linkClick(size_t link);

    const ListSpec& def;
    ui::Form* form;
    ui::FlexGrid* grid = nullptr;
    ui::Data* data = nullptr;
    ui::TextBox* count = nullptr;
    ui::TextBox* codeBox = nullptr;
    ui::TextBox* marketBox = nullptr;
    std::vector<ui::LinkLabel*> links;

private:
    void writeCount();
    void tellUnreadable(const QString& why);
    QString cell(int r, int c) const;
    bool deleteFirst(const QString& criterion);   // true when a record was found and deleted
    std::map<QString, ui::Control*> byName_;
    QString* remembered_;
    QString ownCriterion_;
};

// A list window of class T over its def. Builds the controls of the table, binds the grid and
// wires every event to the core.
template <class T>
class ListForm : public ui::DefaultForm<T> {
protected:
    explicit ListForm(const ListSpec& def, QString* remembered = nullptr)
        : ui::DefaultForm<T>(QString::fromLatin1(def.name)), core_(def, this, remembered) {
        this->setCaption(QString::fromLatin1(def.name));
        this->setBackColor(def.backColor);
        this->Move(def.left, def.top, def.width, def.height);
        for (const ControlRow& row : def.controls) core_.adopt(row, make(row));
        wire();
    }

    template <class C>
    C* control(const char* name) const { return dynamic_cast<C*>(core_.control(name)); }

    void Form_Load() override { core_.load(); }
    void Form_Activate() override { core_.activate(); }

    ListCore core_;

private:
    ui::Control* make(const ControlRow& row) {
        switch (row.kind) {
        case Kind::Button: return this->addButton(row.def);
        case Kind::Label: return this->addLabel(row.def);
        case Kind::Text: return this->addText(row.def);
        case Kind::Link: return this->addLink(row.def);
        case Kind::Grid: return this->addGrid(row.def);
        case Kind::Data: return this->addData(row.def);
        }
        return nullptr;
    }

    void wire() {
        ListCore& c = core_;
        size_t link = 0;
        for (const ControlRow& row : c.def.controls) {
            ui::Control* ctl = c.control(row.def.name);
            const QByteArray clickName = QByteArray(row.def.name) + "_Click";
            auto click = [&](auto handler) {
                if (auto* b = dynamic_cast<ui::CommandButton*>(ctl)) this->on(b->Click, handler, clickName);
                else if (auto* l = dynamic_cast<ui::Label*>(ctl)) this->on(l->Click, handler, clickName);
            };
            switch (row.role) {
            case Role::Sort: click([&c] { c.sortClick(); }); break;
            case Role::DeleteHelp: click([&c] { c.deleteHelpClick(); }); break;
            case Role::Delete: click([&c] { c.deleteClick(); }); break;
            case Role::Ok: click([&c] { c.okClick(); }); break;
            case Role::Register: click([&c] { c.registerClick(); }); break;
            case Role::Count:
                this->on(c.count->Change, [&c] { c.countChange(); }, QByteArray(row.def.name) + "_Change");
                break;
            case Role::Grid:
                this->on(c.grid->DblClick, [&c] { c.gridDblClick(); }, QByteArray(row.def.name) + "_DblClick");
                break;
            case Role::Link: {
                const size_t i = link++;
                this->on(c.links[i]->LinkClick, [&c, i] { c.linkClick(i); }, QByteArray(row.def.name) + "_LinkClick");
                break;
            }
            default: break;
            }
        }
    }
};

}  // namespace lists
