#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>
#include "shell/list_extraction.h"
#include "shell/menu_layout.h"

namespace shell {


constexpr int kKeep = -1;   // a MenuMode or TrendMode the button leaves as it is

enum class Launch {
    Plain,         // stores the row's values, shows the row's windows
    Collect,       // "収集": only with daily prices
    ExcelImport,   // "エクセルファイルの一括取込": only with daily prices, else a warning
    List,          // builds a row source from a list window's grid first
    Extra,         // asks for one of the extra universes first
};

enum class MenuAfter { Hides, Stays, HidesFirst };

// What a list-based button does when its list has no usable entry.
enum class OnEmptyList {
    OpenAll,    // tells the person, then opens the screen on the bare base all the same
    Stop,       // tells the person; nothing else
    ShowMenu,   // tells the person, shows the menu again; nothing else
};

struct ListUniverse {
    QString window;      // the list window whose grid column 2 is read
    ListKind kind;
    int limit;           // rows 1 to limit are taken
    QString* target;     // the menu-built row source
    QString base;
    int trendMode;       // kKeep or the universe of the listed-stock screen
    OnEmptyList onEmpty;
    QString emptyMessage;
};

// One launch button of the menu.
struct LaunchRow {
    QString control;
    QString caption;
    QString block;          // the group label it stands under ("" for the unlabelled blocks)
    unsigned color;         // &HBBGGRR
    Geo geo;
    Launch kind = Launch::Plain;
    int menuMode = kKeep;
    QString purgeKind;          // written into the menu's own Text2 when not empty
    QString importKind;         // written into the import window's Text2 when not empty
    bool clearImportPath = false;   // the import window's Text1 := ""
    QStringList shows;          // windows shown, in this order
    MenuAfter menu = MenuAfter::Hides;
    std::optional<ListUniverse> list;
};

// Every launch button, top to bottom and left to right as they stand in the menu.
const std::vector<LaunchRow>& launchTable();

// One help button: a fixed text in a message box.
struct HelpRow {
    QString control;
    QString beside;                // caption of the button whose row it ends
    unsigned color;
    Geo geo;
    std::optional<QString> title;  // nothing: the program's title
    int style;                     // buttons and icon
    QStringList lines;             // joined by CR LF
};

const std::vector<HelpRow>& helpTable();

// The extra universes: the prompt of the question, and the SELECT of an answer
// (nothing for an answer that names no universe).
QString extraPrompt();
std::optional<QString> extraChoice(const QString& answer);

}  // namespace shell
