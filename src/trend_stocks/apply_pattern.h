#pragma once
#include <QString>
#include <functional>
#include <optional>
#include "trend_stocks/trend_pattern.h"

namespace ui {
class CommandButton;
class Data;
class FlexGrid;
}

namespace trend {

// Whether a base SELECT already holds a WHERE clause (outside bracketed names and quoted text):
// then a pattern's condition follows " and ", else " where ".
bool AndFormTest(const QString& baseSql);

// Whether SQL text is, at its top level, a choice of alternatives joined by or.
bool hasTopLevelOr(const QString& sql);

// The text a pattern appends to a base SELECT: its opening for the chosen first keyword, then its
// further fragments. A pattern written as a condition is rendered; in the and-form a top-level
// choice of alternatives is put in one pair of parentheses so the base's WHERE holds for each.
QString patternSqlText(const TrendPattern& p, bool andForm);
inline QString patternQuery(const QString& baseSql, const TrendPattern& p, bool andForm) {
    return baseSql + patternSqlText(p, andForm);
}

// What a trend screen lends the engine: its data control, its grid and its titling.
struct PatternScreen {
    ui::Data* data = nullptr;
    ui::FlexGrid* grid = nullptr;
    std::function<void()> hiTitle;
};

// One pattern click: mark the button, refill from the base SELECT, title, sort and tint.
// With the record's errorTrap a failing step is skipped; without it the failure goes up to the
// handler runner, which reports it.
void ApplyTrendPattern(const TrendPattern& p, ui::CommandButton* markTarget, const QString& baseSql,
                       bool andForm, const PatternScreen& screen);

// A search of a trend screen: sql (when given) becomes the source of the data control and is read;
// a grid whose rows it did not replace (no query, or one that failed) is sorted on column 5 as the
// screen sorts it before a search.
void searchOrSort(ui::Data& data, ui::FlexGrid& grid, const std::optional<QString>& sql);

}  // namespace trend
