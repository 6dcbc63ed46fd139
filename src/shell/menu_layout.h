#pragma once

// Where the controls of the menu stand. The window opens 5010 by 7575 twips (334 by 505 pixels);
// the menu is laid out on rows of buttons in pixels and handed to the controls in twips.
namespace shell {

// Geometry of a control in twips.
struct Geo {
    int left = 0, top = 0, width = 0, height = 0;
};

namespace menu_layout {

enum Row {
    kCollectRow,
    kExcelRow, kPriceEntryRow, kPriceTableRow,
    kAllCardsRow, kFirstSectionRow, kSecondSectionRow, kEmergingRow, kHoldingsRow, kSpecialRow, kPriceDataRow,
    kTrendRow1, kTrendRow2, kTrendRow3, kTrendListRow,
    kRegisterHoldingsRow, kRegisterSpecialRow,
    kBackupRow, kImportRow, kMemoRow,
    kPurgeRow,
    kMarketUnitRow,
    kEndRow,
    kRowCount
};

constexpr int kStripHeight = 18;       // the title strip across the top
constexpr int kRowHeight = 19;
constexpr int kLabelLeft = 2, kLabelWidth = 72;
constexpr int kCol1 = 76, kCol2 = 136, kCol3 = 196, kColWidth = 58, kFullWidth = 178;
constexpr int kHelpLeft = 256, kHelpWidth = 12;
constexpr int kDatesLeft = 273, kDatesWidth = 59;
constexpr int kBeyondLeft = 344, kBeyondWidth = 150;   // past the right edge of the opening size

// Top of a row in pixels; the blocks are set apart by a small gap.
int rowTop(int row);
// A button on a row.
Geo menuCell(int row, int xPixels, int widthPixels);
// The help button at the end of a row.
Geo helpCell(int row);
// A control right of the opening size, on the height of a row.
Geo beyondRightEdge(int row, int xPixels, int widthPixels);
// Any rectangle given in pixels.
Geo pixels(int x, int y, int w, int h);

}  // namespace menu_layout
}  // namespace shell
