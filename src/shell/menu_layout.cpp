#include "shell/menu_layout.h"
#include "platform/ui/colors.h"

namespace shell::menu_layout {

namespace {

// The first row of each block; a block starts a little lower than the row before it.
bool startsBlock(int row) {
    switch (row) {
    case kExcelRow: case kAllCardsRow: case kTrendRow1: case kRegisterHoldingsRow: case kBackupRow: case kPurgeRow:
    case kMarketUnitRow: case kEndRow:
        return true;
    default:
        return false;
    }
}

}  // namespace

int rowTop(int row) {
    int top = kStripHeight + 4;
    for (int r = 1; r <= row; ++r) top += kRowHeight + 1 + (startsBlock(r) ? 3 : 0);
    return top;
}

Geo pixels(int x, int y, int w, int h) { return {ui::twips(x), ui::twips(y), ui::twips(w), ui::twips(h)}; }

Geo menuCell(int row, int xPixels, int widthPixels) { return pixels(xPixels, rowTop(row), widthPixels, kRowHeight); }

Geo helpCell(int row) { return menuCell(row, kHelpLeft, kHelpWidth); }

Geo beyondRightEdge(int row, int xPixels, int widthPixels) {
    return menuCell(row, kBeyondLeft + xPixels, widthPixels);
}

}  // namespace shell::menu_layout
