#pragma once
#include <QStringView>
#include <vector>

namespace ui {

// The longest text, in characters, that counts as a number, a code or a date: a grid column or a
// box is made wide enough to show every such text of its whole.
constexpr int kCodeChars = 16;

// Whether a text reads as a number, a code or a date (platform::isCodeText) of at most kCodeChars.
bool isCodeText(QStringView text);

// One column of a grid as its width is decided, in pixels.
struct ColumnNeeds {
    int laid = 0;          // as the window set it, or the grid's default
    int dragged = -1;      // as the person dragged it; -1 when not dragged
    int widestBefore = 0;  // the widest code, date or number it has shown while its field stayed the same
    int widestNow = 0;     // the widest code, date or number it shows now
    int heading = 0;       // a heading the program wrote that is a code or a date; 0 when none
    bool fixed = false;    // a fixed column, which never gives room
};

struct ColumnFit {
    int width = 0;
    int widest = 0;        // the widest code, date or number shown, to be passed as widestBefore next time
};

// The widths of a grid's columns with room pixels in view and a floor of three characters:
// - A dragged column keeps its width.
// - Any other column is as laid, widened to show its widest code, date or number (and its code or
//   date heading) whole. Widths only grow: a column keeps the widest it has shown.
// - When the columns do not fit the room, the columns of codes, dates and numbers first give what
//   they have beyond their widest value, the most spare first; then the columns of text (names,
//   notes) give, the widest first, where the columns as laid fitted the room or where that brings
//   every column into view (a grid made to scroll sideways keeps its names whole). A column that
//   gives is never made narrower than the floor (or than laid, where laid is narrower).
// - What still does not fit is left to the horizontal scroll bar: a column of codes, dates or
//   numbers keeps its whole width, so that it can be scrolled into view whole.
std::vector<ColumnFit> fitColumnWidths(const std::vector<ColumnNeeds>& columns, int room, int floor);

}  // namespace ui
