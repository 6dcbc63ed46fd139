#pragma once
#include <QString>

class QWidget;

// The shared state of the program: what the menu stores before it opens a screen, and the
// row sources the screens and the menu build.
namespace Module1 {

extern int MenuMode;              // 0 at start
extern int TrendMode;             // universe of the listed-stock screen; 0 when it is closed
extern QString MainDbPath;        // the main database
extern QString CardTrendBaseSql;  // base SELECT of the card trend screen
extern QString TrendBaseSql;      // base SELECT of the listed-stock trend screen
extern QString WatchListSql;
extern QString FavouriteSourceSql;
extern QString SpecialWatchSql;
extern QString HoldingsSql;
extern QString ExtraSql;

// Back to the state at start (tests).
void reset();

// The open-file dialog "ファイルを開く": the person picks an existing file; returns its full path,
// or the empty text when they cancel. filter: pairs of a description and a pattern, each
// followed by a NUL character ("Access\0*.mdb\0").
QString ShowOpenFileDialog(const QWidget* owner, const QString& filter);

}  // namespace Module1
