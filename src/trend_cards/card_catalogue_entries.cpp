#include "trend_cards/card_catalogue_entries.h"

namespace cardtrend::entries {

std::vector<trend::TrendPattern> groupPatterns(const char* group, const std::vector<Entry>& entries) {
    std::vector<trend::TrendPattern> out;
    out.reserve(entries.size());
    for (const Entry& e : entries) {
        trend::TrendPattern p;
        p.control = QString::fromLatin1(e.control);
        p.caption = QString::fromUtf8(e.caption);
        p.group = QString::fromUtf8(group);
        p.left = e.at.left;
        p.top = e.at.top;
        p.width = e.at.width;
        p.height = ButtonHeight;
        p.faceColor = e.at.face;
        p.sortCol = e.sortCol;
        p.sortOrder = e.sortOrder;
        for (const TintRun& run : e.tints)
            for (int col = run.from; col <= run.to; ++col) p.tints.push_back({col, run.color});
        p.leadWhere = QString::fromUtf8(e.leadWhere);
        p.leadAnd = QString::fromUtf8(e.leadAnd);
        for (const char* f : e.fragments) p.fragments.push_back(QString::fromUtf8(f));
        out.push_back(std::move(p));
    }
    return out;
}

}  // namespace cardtrend::entries
