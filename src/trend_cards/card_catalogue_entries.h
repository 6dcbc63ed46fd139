#pragma once
// Writing the card screen's pattern records: one table per group, each entry giving its control,
// its SQL text as written, its sort and the header tints over grid columns. Where a button stands
// and how it looks comes from the screen's button layout.
#include <QString>
#include <vector>
#include "trend_stocks/trend_pattern.h"

namespace cardtrend::entries {

// Header tint colours (&HBBGGRR) and what they mark.
constexpr unsigned Rise = 0x8080FF;         // the rise the pattern looks for
constexpr unsigned AverageRise = 0x80C0FF;  // the rise of the moving-average group
constexpr unsigned Fall = 0xFFFFC0;         // a fall
constexpr unsigned Flat = 0xECB3E9;         // a flat stretch, or the dip of row R
constexpr unsigned EarlierRise = 0xC0C0FF;  // the earlier rise before a fall
constexpr unsigned Dip = 0xF4FAD3;          // the dip between two rises

// One colour over the header cells of grid columns from..to.
struct TintRun {
    int from;
    int to;
    unsigned color;
};

struct Entry {
    const char* control;
    const char* caption;
    const char* leadWhere;              // the first fragment, beginning " where"
    std::vector<const char*> fragments; // appended in order, unchanged
    int sortCol;
    int sortOrder;
    std::vector<TintRun> tints;
    const char* leadAnd = "";           // empty: leadWhere with " and" in place of " where"
};

// The records of one table, in its order.
std::vector<trend::TrendPattern> records(const std::vector<Entry>& entries);

}  // namespace cardtrend::entries
