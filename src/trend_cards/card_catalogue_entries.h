#pragma once
// Writing the card screen's pattern records: one table per group, each entry giving where its
// button stands, its SQL text as written, its sort and the header tints over grid columns.
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

// The system's button face colour: a system colour index with the high bit set, as window
// colours mark them, not an &HBBGGRR value.
constexpr unsigned DefaultFace = 0x8000000F;

// Button widths; every catalogue button of these groups is 255 twips high.
constexpr int Lettered = 375;
constexpr int Numbered = 255;
constexpr int ButtonHeight = 255;

// One colour over the header cells of grid columns from..to.
struct TintRun {
    int from;
    int to;
    unsigned color;
};

// Where a button stands (twips) and its design face colour.
struct Place {
    int left;
    int top;
    int width;
    unsigned face;
};

struct Entry {
    const char* control;
    const char* caption;
    Place at;
    const char* leadWhere;              // the first fragment, beginning " where"
    std::vector<const char*> fragments; // appended in order, unchanged
    int sortCol;
    int sortOrder;
    std::vector<TintRun> tints;
    const char* leadAnd = "";           // empty: leadWhere with " and" in place of " where"
};

// The records of one group, in the order of its table.
std::vector<trend::TrendPattern> groupPatterns(const char* group, const std::vector<Entry>& entries);

}  // namespace cardtrend::entries
