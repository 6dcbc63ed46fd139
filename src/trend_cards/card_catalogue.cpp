#include "trend_cards/card_catalogue.h"
#include <initializer_list>
#include <utility>

namespace cardtrend {

namespace {

constexpr long long kDefaultFace = -1;

const QString Ranking = QStringLiteral("Ranking");
const QString Uptrend = QStringLiteral("上昇トレンド");
const QString FlatRise = QStringLiteral("横這から上昇");
const QString Rebound = QStringLiteral("反転から上昇");
const QString Dip = QStringLiteral("押し目狙い？");
const QString TwoStage = QStringLiteral("2段階上げ");
const QString Moving = QStringLiteral("移動平均による上昇銘柄");

// Button sizes: lettered and moving-average, numbered, ranking, 保合.
struct Size { int width, height; };
constexpr Size Lettered{375, 255};
constexpr Size Numbered{255, 255};
constexpr Size RankingSize{255, 285};

struct Button {
    const char* control;
    const char* caption;
    long long face;
};

// A line of buttons: the first at (left, top), each next one `dx` to the right and `dy` down.
void line(std::vector<ButtonPlace>& out, const QString& group, Size size, int left, int top, int dx, int dy,
          std::initializer_list<Button> buttons) {
    for (const Button& b : buttons) {
        out.push_back({b.control, QString::fromUtf8(b.caption), group, left, top, size.width, size.height, b.face});
        left += dx;
        top += dy;
    }
}

// Buttons of one colour on one top, each at its own left.
struct At {
    const char* control;
    const char* caption;
    int left;
};
void atLefts(std::vector<ButtonPlace>& out, const QString& group, Size size, int top, long long face,
             std::initializer_list<At> buttons) {
    for (const At& b : buttons)
        out.push_back({b.control, QString::fromUtf8(b.caption), group, b.left, top, size.width, size.height, face});
}

std::vector<ButtonPlace> makeLayout() {
    std::vector<ButtonPlace> v;
    constexpr long long D = kDefaultFace;
    // Ranking: risers above, fallers below, 保合 beside both rows.
    line(v, Ranking, RankingSize, 3840, 960, 240, 0,
         {{"Command42", "1", 0xC0C0FF}, {"Command30", "５", 0xC0C0FF}, {"X", "９", 0xC0C0FF}});
    line(v, Ranking, RankingSize, 3840, 1200, 240, 0,
         {{"Command47", "1", D}, {"Command2", "５", 0xE0E0E0}, {"Command50", "９", D}});
    line(v, Ranking, {255, 495}, 4560, 960, 0, 0, {{"Command63", "保合", 0xCAA9CF}});
    // 上昇トレンド: vertical lines, the highest digit at the top.
    line(v, Uptrend, Lettered, 5280, 240, 0, 240,
         {{"Command75", "E9", 0x0000FF}, {"Command76", "E8", 0x0000FF}, {"Command77", "E7", 0x0000FF},
          {"Command78", "E6", 0x0000FF}});
    line(v, Uptrend, Lettered, 4920, 720, 0, 240,
         {{"Command79", "E5", 0x0000FF}, {"Command98", "E4", 0x0000FF}, {"Command99", "E3", 0x0000FF}});
    line(v, Uptrend, Lettered, 5760, 240, 0, 240,
         {{"Command80", "T9", 0x8080FF}, {"Command81", "T8", 0x8080FF}, {"Command82", "T7", 0x8080FF},
          {"Command83", "T6", 0x8080FF}, {"Command84", "T5", 0x8080FF}});
    line(v, Uptrend, Lettered, 6120, 240, 0, 240,
         {{"Command48", "t9", 0xE0E0E0}, {"Command53", "t8", 0xE0E0E0}, {"Command23", "ｔ7", 0xE0E0E0},
          {"Command31", "t6", 0xE0E0E0}, {"Command36", "t5", 0xE0E0E0}});
    // 横這から上昇: the numbered row right of the label, then rows B and ｂ.
    line(v, FlatRise, Numbered, 7920, 0, 240, 0,
         {{"Command49", "1", 0xFF80FF}, {"Command51", "2", 0xFF80FF}, {"Command52", "3", 0xFF80FF},
          {"Command54", "4", 0xFF80FF}, {"Command65", "5", 0xFF80FF}});
    line(v, FlatRise, Lettered, 6720, 240, 360, 0,
         {{"Command14", "B1", 0xFF00FF}, {"Command91", "B2", 0xFF00FF}, {"Command60", "B3", 0xFF00FF},
          {"Command72", "B4", 0xFF00FF}, {"Command92", "B5", 0xFF00FF}, {"Command22", "B6", 0xFF80FF},
          {"Command59", "B7", 0xFF80FF}});
    line(v, FlatRise, Lettered, 6720, 480, 360, 0,
         {{"Command27", "ｂ1", 0xE0E0E0}, {"Command32", "ｂ2", 0xE0E0E0}, {"Command18", "ｂ3", 0xE0E0E0},
          {"Command61", "ｂ4", 0xE0E0E0}, {"Command68", "b5", 0xE0E0E0}, {"Command71", "b6", D},
          {"Command74", "b7", D}});
    // 反転から上昇: the numbered row right of the label, then rows S and ｓ.
    line(v, Rebound, Numbered, 7920, 720, 240, 0,
         {{"Command55", "1", 0x80FF80}, {"Command56", "2", 0x80FF80}, {"Command57", "3", 0x80FF80},
          {"Command58", "4", 0x80FF80}, {"Command103", "5", 0x80FF80}});
    line(v, Rebound, Lettered, 6720, 960, 360, 0,
         {{"Command87", "S1", 0x00FF00}, {"Command88", "S2", 0x00FF00}, {"Command89", "S3", 0x00FF00},
          {"Command90", "S4", 0x00FF00}, {"Command4", "S5", 0x00FF00}, {"Command38", "S6", 0x80FF80},
          {"Command24", "S7", 0x80FF80}});
    line(v, Rebound, Lettered, 6720, 1200, 360, 0,
         {{"Command37", "ｓ1", 0xE0E0E0}, {"Command66", "ｓ2", 0xE0E0E0}, {"Command21", "ｓ3", 0xE0E0E0},
          {"Command40", "ｓ4", 0xE0E0E0}, {"Command70", "s5", 0xE0E0E0}, {"Command73", "s6", 0xE0E0E0},
          {"Command17", "s7", 0xE0E0E0}});
    // 押し目狙い？: rows R and Q (their lefts are not evenly spaced).
    atLefts(v, Dip, Lettered, 240, 0xFFC0FF, {{"Command15", "R1", 9600}, {"Command94", "R2", 9960}, {"Command95", "R3", 10440}});
    line(v, Dip, Lettered, 9600, 480, 360, 0,
         {{"Command45", "Q1", 0x80FF80}, {"Command85", "Q2", 0x80FF80}, {"Command86", "Q3", 0x80FF80},
          {"Command46", "Q4", 0x80FF80}});
    // 2段階上げ.
    line(v, TwoStage, Numbered, 9840, 840, 240, 0,
         {{"Command64", "1", 0x8080FF}, {"Command34", "2", 0x8080FF}, {"Command97", "3", 0x8080FF},
          {"Command93", "4", 0x8080FF}, {"Command96", "5", 0x8080FF}});
    // 移動平均による上昇銘柄: three lines under its label.
    atLefts(v, Moving, Lettered, 4920, 0xC49DD5,
            {{"Command104", "1", 8880}, {"Command105", "21", 9360}, {"Command110", "31", 9720},
             {"Command111", "41", 10080}, {"Command107", "51", 10560}});
    atLefts(v, Moving, Lettered, 5160, 0xC49DD5,
            {{"Command106", "22", 9360}, {"Command109", "32", 9720}, {"Command112", "42", 10080}, {"Command108", "52", 10560}});
    line(v, Moving, Lettered, 9360, 5400, 360, 0,
         {{"Command101", "23", 0xC49DD5}, {"Command100", "33", 0xC49DD5}, {"Command102", "43", 0xC49DD5}});
    return v;
}

}  // namespace

const std::vector<ButtonPlace>& buttonLayout() {
    static const std::vector<ButtonPlace> layout = makeLayout();
    return layout;
}

const ButtonPlace* buttonPlace(const QString& control) {
    for (const ButtonPlace& b : buttonLayout())
        if (control == QLatin1String(b.control)) return &b;
    return nullptr;
}

const std::vector<GroupLabelPlace>& groupLabels() {
    static const std::vector<GroupLabelPlace> labels = {
        {"Label10", Ranking, 3840, 720, 735, 255},
        {"Label25", Uptrend, 5280, 0, 1095, 255},
        {"Label23", FlatRise, 6600, 0, 1215, 255},
        {"Label24", Rebound, 6600, 720, 1215, 255},
        {"Label9", Dip, 9600, 0, 1215, 255},
        {"Label26", TwoStage, 9360, 720, 495, 495},
        {"Label27", Moving, 8760, 4680, 2295, 255},
    };
    return labels;
}

const std::vector<trend::TrendPattern>& cardTrendCatalogue() {
    static const std::vector<trend::TrendPattern> all = [] {
        std::vector<trend::TrendPattern> v;
        for (auto group : {rankingPatterns, risingTrendPatterns, flatThenRisePatterns, reboundPatterns,
                           twoStagePatterns, dipPatterns, movingAveragePatterns}) {
            for (trend::TrendPattern& p : group()) {
                const bool placed = p.left || p.top || p.width || p.height;
                const ButtonPlace* place = placed ? nullptr : buttonPlace(p.control);
                if (place) {
                    p.caption = place->caption;
                    p.group = place->group;
                    p.left = place->left;
                    p.top = place->top;
                    p.width = place->width;
                    p.height = place->height;
                    p.faceColor = place->face < 0 ? 0u : unsigned(place->face);
                }
                v.push_back(std::move(p));
            }
        }
        return v;
    }();
    return all;
}

}  // namespace cardtrend
