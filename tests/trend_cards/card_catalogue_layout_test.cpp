// Where the card screen's pattern buttons stand: every caption at its place in its group.
#include "trend_cards/card_catalogue.h"
#include "trend_cards/card_catalogue_entries.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using cardtrend::entries::DefaultFace;

// One row of buttons as the layout gives it: controls and captions in layout order, lefts and
// tops (one value when it holds for the whole row), width and design colours.
struct Row {
    const char* group;
    const char* controls;
    const char* captions;
    std::vector<int> lefts;
    std::vector<int> tops;
    int width;
    std::vector<unsigned> faces;
};

std::vector<int> by(int first, int step, int count) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i) v.push_back(first + step * i);
    return v;
}

std::vector<unsigned> split(unsigned first, int firstCount, unsigned rest, int restCount) {
    std::vector<unsigned> v(size_t(firstCount), first);
    v.insert(v.end(), size_t(restCount), rest);
    return v;
}

template <typename T>
T at(const std::vector<T>& v, int i) {
    return v.size() == 1 ? v[0] : v[size_t(i)];
}

}  // namespace

TEST(CardCatalogueLayout, EveryCaptionStandsAtItsPlaceInItsGroup) {
    const char* rise = "上昇トレンド";
    const char* flat = "横這から上昇";
    const char* turn = "反転から上昇";
    const char* dip = "押し目狙い？";
    const char* two = "2段階上げ";
    const char* avg = "移動平均による上昇銘柄";
    const std::vector<Row> rows = {
        {rise, "Command75 Command76 Command77 Command78", "E9 E8 E7 E6", {5280}, by(240, 240, 4), 375, {0x0000FF}},
        {rise, "Command79 Command98 Command99", "E5 E4 E3", {4920}, by(720, 240, 3), 375, {0x0000FF}},
        {rise, "Command80 Command81 Command82 Command83 Command84", "T9 T8 T7 T6 T5", {5760}, by(240, 240, 5), 375,
         {0x8080FF}},
        {rise, "Command48 Command53 Command23 Command31 Command36", "t9 t8 ｔ7 t6 t5", {6120}, by(240, 240, 5), 375,
         {0xE0E0E0}},
        {flat, "Command49 Command51 Command52 Command54 Command65", "1 2 3 4 5", by(7920, 240, 5), {0}, 255, {0xFF80FF}},
        {flat, "Command14 Command91 Command60 Command72 Command92 Command22 Command59", "B1 B2 B3 B4 B5 B6 B7",
         by(6720, 360, 7), {240}, 375, split(0xFF00FF, 5, 0xFF80FF, 2)},
        {flat, "Command27 Command32 Command18 Command61 Command68 Command71 Command74", "ｂ1 ｂ2 ｂ3 ｂ4 b5 b6 b7",
         by(6720, 360, 7), {480}, 375, split(0xE0E0E0, 5, DefaultFace, 2)},
        {turn, "Command55 Command56 Command57 Command58 Command103", "1 2 3 4 5", by(7920, 240, 5), {720}, 255,
         {0x80FF80}},
        {turn, "Command87 Command88 Command89 Command90 Command4 Command38 Command24", "S1 S2 S3 S4 S5 S6 S7",
         by(6720, 360, 7), {960}, 375, split(0x00FF00, 5, 0x80FF80, 2)},
        {turn, "Command37 Command66 Command21 Command40 Command70 Command73 Command17", "ｓ1 ｓ2 ｓ3 ｓ4 s5 s6 s7",
         by(6720, 360, 7), {1200}, 375, {0xE0E0E0}},
        {dip, "Command15 Command94 Command95", "R1 R2 R3", {9600, 9960, 10440}, {240}, 375, {0xFFC0FF}},
        {dip, "Command45 Command85 Command86 Command46", "Q1 Q2 Q3 Q4", by(9600, 360, 4), {480}, 375, {0x80FF80}},
        {two, "Command64 Command34 Command97 Command93 Command96", "1 2 3 4 5", by(9840, 240, 5), {840}, 255,
         {0x8080FF}},
        {avg, "Command104 Command105 Command110 Command111 Command107", "1 21 31 41 51",
         {8880, 9360, 9720, 10080, 10560}, {4920}, 375, {0xC49DD5}},
        {avg, "Command106 Command109 Command112 Command108", "22 32 42 52", {9360, 9720, 10080, 10560}, {5160}, 375,
         {0xC49DD5}},
        {avg, "Command101 Command100 Command102", "23 33 43", {9360, 9720, 10080}, {5400}, 375, {0xC49DD5}},
    };

    std::map<QString, const trend::TrendPattern*> byControl;
    for (const trend::TrendPattern& p : cardtrend::cardTrendCatalogue()) byControl[p.control] = &p;

    int placed = 0;
    for (const Row& row : rows) {
        const QStringList controls = QString::fromUtf8(row.controls).split(u' ');
        const QStringList captions = QString::fromUtf8(row.captions).split(u' ');
        ASSERT_EQ(controls.size(), captions.size());
        for (int i = 0; i < controls.size(); ++i, ++placed) {
            SCOPED_TRACE(controls[i].toStdString());
            ASSERT_TRUE(byControl.count(controls[i]));
            const trend::TrendPattern& p = *byControl[controls[i]];
            EXPECT_EQ(p.caption, captions[i]);
            EXPECT_EQ(p.group, QString::fromUtf8(row.group));
            EXPECT_EQ(p.left, at(row.lefts, i));
            EXPECT_EQ(p.top, at(row.tops, i));
            EXPECT_EQ(p.width, row.width);
            EXPECT_EQ(p.height, 255);
            EXPECT_EQ(p.faceColor, at(row.faces, i));
        }
    }
    EXPECT_EQ(placed, 79);
}
