#pragma once
#include <QString>

// How the bulk windows (import, completion) use the card list window: the database it writes to,
// and showing it over a row source, refreshed and sorted on one column.
namespace cards {

// The main database the card list is bound to.
QString cardListDatabase();
// Refreshes the card list when it is open (after cards were deleted elsewhere).
void refreshCardList();
// Switches the card list's redrawing off or on (a list not loaded has nothing to draw).
void setCardListRedraw(bool on);
// Assigns rowSource (when not empty) to the card list, refreshes it (or loads it), shows it, and
// sorts its grid on column col with the grid sort setting.
void showCardList(const QString& rowSource, int col, int sortSetting);

}  // namespace cards
