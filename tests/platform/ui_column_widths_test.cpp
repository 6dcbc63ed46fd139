// The grid's width rule on its own: columns as laid, dragged and measured, the room in view and a
// floor of three characters (40 pixels here) in, widths out.
#include <QString>
#include <gtest/gtest.h>
#include "platform/ui/column_widths.h"

namespace {

using ui::ColumnNeeds;

ColumnNeeds text(int laid) { return {.laid = laid}; }
ColumnNeeds values(int laid, int widestNow, int widestBefore = 0) {
    return {.laid = laid, .widestBefore = widestBefore, .widestNow = widestNow};
}
ColumnNeeds dragged(int laid, int draggedTo, int widestNow) {
    return {.laid = laid, .dragged = draggedTo, .widestNow = widestNow};
}
ColumnNeeds fixed(int laid) { return {.laid = laid, .fixed = true}; }
ColumnNeeds heading(int laid, int headingWidth) { return {.laid = laid, .heading = headingWidth}; }

TEST(ColumnWidthsTest, TheWidthRule) {
    constexpr int kFloor = 40;
    struct Case {
        const char* what;
        std::vector<ColumnNeeds> columns;
        int room;
        std::vector<int> widths;
        std::vector<int> widest;
    };
    const Case cases[] = {
        {"as laid when everything fits", {fixed(10), text(100), values(60, 50)}, 400, {10, 100, 60}, {0, 0, 50}},
        {"a column is widened to its widest value", {text(100), values(50, 70)}, 400, {100, 70}, {0, 70}},
        {"widths only grow: a narrower selection keeps the width", {values(50, 45, 80)}, 400, {80}, {80}},
        {"a code heading widens its column but is not kept", {heading(30, 60)}, 400, {60}, {0}},
        {"a dragged column keeps its width, narrower than its values", {text(100), dragged(60, 30, 70)}, 400,
         {100, 30}, {0, 70}},
        {"a dragged column keeps its width when the room is short", {dragged(100, 150, 0), values(60, 150)}, 220,
         {150, 150}, {0, 150}},
        {"text gives room, the widest first", {fixed(10), text(100), text(70), values(60, 150)}, 260,
         {10, 50, 50, 150}, {0, 0, 0, 150}},
        {"equal columns give in turn, the first ones first", {text(100), text(100), text(100), values(60, 200)}, 360,
         {53, 53, 54, 200}, {0, 0, 0, 200}},
        {"text gives down to three characters; the rest scrolls, the values whole",
         {fixed(10), text(100), text(60), values(60, 200)}, 230, {10, 40, 40, 200}, {0, 0, 0, 200}},
        {"a column laid narrower than three characters does not give", {text(30), text(100), values(60, 200)}, 200,
         {30, 40, 200}, {0, 0, 200}},
        {"a fixed column does not give", {fixed(100), text(100), values(60, 200)}, 300, {100, 40, 200}, {0, 0, 200}},
        {"the spare width of a column of values goes before any text", {text(100), values(100, 60), values(50, 90)},
         260, {100, 70, 90}, {0, 60, 90}},
        {"spare width goes the most spare first, never below three characters",
         {values(100, 20), values(80, 50)}, 140, {65, 75}, {20, 50}},
        {"a column of values gives down to three characters at the most", {values(100, 20)}, 10, {40}, {20}},
        {"laid wider than the room, all in view by giving: text gives too",
         {text(200), values(100, 50), text(100)}, 200, {75, 50, 75}, {0, 50, 0}},
        {"made to scroll sideways: text keeps its width, values give their spare",
         {text(200), values(100, 50), text(200), values(100, 250)}, 300, {200, 50, 200, 250}, {0, 50, 0, 250}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ui::ColumnFit> fit = ui::fitColumnWidths(c.columns, c.room, kFloor);
        ASSERT_EQ(fit.size(), c.columns.size());
        for (size_t i = 0; i < fit.size(); ++i) {
            EXPECT_EQ(fit[i].width, c.widths[i]) << "column " << i;
            EXPECT_EQ(fit[i].widest, c.widest[i]) << "column " << i;
        }
    }
}

TEST(ColumnWidthsTest, CodesDatesAndNumbersAreToBeShownWhole) {
    struct Case { const char* text; bool whole; };
    const Case cases[] = {
        {"7203", true}, {"-12.50", true}, {"2026/12/10", true}, {"D100", true}, {"26/12/10", true},
        {"1234567890123456", true}, {"12345678901234567", false}, {"東証１部", false}, {"abc", false}, {"", false},
        {"７２０３", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::isCodeText(QString::fromUtf8(c.text)), c.whole) << c.text;
}

}  // namespace
