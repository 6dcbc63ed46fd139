#include "platform/ui/column_widths.h"

#include <algorithm>
#include <numeric>
#include "platform/data/recordset.h"

namespace ui {

bool isCodeText(QStringView text) { return text.size() <= kCodeChars && platform::isCodeText(text); }

namespace {

// Takes excess pixels from the columns that may give, one at a time from the one whose key is the
// largest, none below its least width. Returns what could not be taken.
template <class Key>
int give(std::vector<int>& widths, const std::vector<int>& least, const std::vector<bool>& gives, int excess, Key key) {
    const size_t n = widths.size();
    for (; excess > 0; --excess) {
        size_t giver = n;
        for (size_t c = 0; c < n; ++c)
            if (gives[c] && widths[c] > least[c] && (giver == n || key(c) > key(giver))) giver = c;
        if (giver == n) break;
        --widths[giver];
    }
    return excess;
}

}  // namespace

std::vector<ColumnFit> fitColumnWidths(const std::vector<ColumnNeeds>& columns, int room, int floor) {
    const size_t n = columns.size();
    std::vector<ColumnFit> fit(n);
    std::vector<int> widths(n), least(n);
    std::vector<bool> values(n), text(n);
    int laidTotal = 0, leastTotal = 0;
    for (size_t c = 0; c < n; ++c) {
        const ColumnNeeds& col = columns[c];
        fit[c].widest = std::max(col.widestBefore, col.widestNow);
        const int need = std::max(fit[c].widest, col.heading);
        const bool dragged = col.dragged >= 0;
        widths[c] = dragged ? col.dragged : std::max(col.laid, need);
        laidTotal += dragged ? col.dragged : col.laid;
        const bool mayGive = !dragged && !col.fixed;
        values[c] = mayGive && need > 0;
        text[c] = mayGive && need == 0;
        least[c] = std::max(need, std::min(widths[c], floor));
        leastTotal += mayGive ? least[c] : widths[c];
    }
    int excess = std::accumulate(widths.begin(), widths.end(), 0) - room;
    excess = give(widths, least, values, excess, [&](size_t c) { return widths[c] - least[c]; });
    if (laidTotal <= room || leastTotal <= room) give(widths, least, text, excess, [&](size_t c) { return widths[c]; });
    for (size_t c = 0; c < n; ++c) fit[c].width = widths[c];
    return fit;
}

}  // namespace ui
