#include "platform/ui/column_widths.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <numeric>
#include "platform/data/recordset.h"

namespace ui {

bool isCodeText(QStringView text) { return text.size() <= kCodeChars && platform::isCodeText(text); }

namespace {

// Takes excess pixels from the columns that may give, a pixel at a time from the one whose key is
// the largest (the first of equals), none below its least width; whole runs of such pixels are
// taken at once, so that a grid of many columns far too wide costs a pass per distinct key.
// Returns what could not be taken.
template <class Key>
int give(std::vector<int>& widths, const std::vector<int>& least, const std::vector<bool>& gives, int excess, Key key) {
    const size_t n = widths.size();
    std::vector<size_t> tied;
    while (excess > 0) {
        // The largest key among the columns that can still give, and the next one below it.
        int top = std::numeric_limits<int>::min(), next = top;
        for (size_t c = 0; c < n; ++c) {
            if (!gives[c] || widths[c] <= least[c]) continue;
            const int k = key(c);
            if (k > top) next = std::exchange(top, k);
            else if (k < top && k > next) next = k;
        }
        if (top == std::numeric_limits<int>::min()) break;
        tied.clear();
        int step = std::numeric_limits<int>::max();
        for (size_t c = 0; c < n; ++c)
            if (gives[c] && widths[c] > least[c] && key(c) == top) {
                tied.push_back(c);
                step = std::min(step, widths[c] - least[c]);
            }
        if (next != std::numeric_limits<int>::min()) step = std::min(step, top - next);
        const int m = int(tied.size());
        if (qint64(step) * m <= excess) {
            for (size_t c : tied) widths[c] -= step;
            excess -= step * m;
        } else {
            for (int i = 0; i < m; ++i) widths[tied[size_t(i)]] -= excess / m + (i < excess % m ? 1 : 0);
            excess = 0;
        }
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
