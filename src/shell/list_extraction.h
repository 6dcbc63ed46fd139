#pragma once
#include <QString>
#include <QStringList>

namespace ui { class FlexGrid; }

namespace shell {

// What column 2 of a list window's grid holds: stock codes, or information sources.
enum class ListKind { Codes, Sources };

// The usable entries of rows 1 to `limit` of column 2 (rows beyond the limit are passed over):
// codes that are whole numbers, in their plain form; sources that hold more than blanks (in a list
// of several, where the pattern of a blank source would match every card).
// Throws when the grid cannot be read.
QStringList listEntries(const ui::FlexGrid& grid, ListKind kind, int limit);

// The restriction to append to a base SELECT for these entries; empty for no entries. The form
// follows the rows of the list, not the usable entries: a list of several rows keeps the form of
// several even when only one of its entries is usable.
//   codes, several:   " where ([コード]=7203 Or  [コード]=6758)"
//   codes, one:       "where [コード]=7203"            (follows the base's closing bracket)
//   sources, several: " where ([情報源] like '*日経新*' Or [情報源]like '*四季報*')"
//   sources, one:     " where [情報源]= '日経新聞'"
QString listRestriction(const QStringList& entries, ListKind kind, bool severalRows);

// Both in one: the restriction built from a list window's grid. A list of stocks that has rows
// but no whole-number code names no stock: it gets the restriction of noStockRestriction() in
// the form of its rows, so that the screen opens on no rows.
QString ListExtraction(const ui::FlexGrid& grid, ListKind kind, int limit);

// "where [コード]=1000": no stock has the code 1000.
QString noStockRestriction();

}  // namespace shell
