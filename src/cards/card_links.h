#pragma once
#include <vector>
#include "lists/chart_link.h"

// The link labels of the card list and the card record editor: each reads the code and the
// market from its window's boxes at the click.
namespace cards {

struct CardLink {
    chart::ChartLink link;
    bool guarded;   // a failing step is skipped; unguarded links report a failure
    int left, top, width, height;
};

// Form28: HprLnkEx1 (quote), HprLnkEx2 (stock search).
const std::vector<CardLink>& cardListLinks();
// Form2: HprLnkEx1 to HprLnkEx7 (quote, chart, and five fixed index pages).
const std::vector<CardLink>& cardEditorLinks();

}  // namespace cards

namespace ui { class LinkLabel; }

namespace cards {
// A link label's click: sets its address from the code and the market as they stand.
void linkClick(ui::LinkLabel* label, const CardLink& def, const QString& code, const QString& market);
}  // namespace cards
