#pragma once
#include <QString>
#include <vector>
#include "trend_stocks/trend_pattern.h"

// The card trend screen's catalogue: pattern records kept as SQL text (an opening after " where",
// the same after " and", and further fragments appended as written), one function per group and
// one file each, and all of them in the screen's order.
namespace cardtrend {

std::vector<trend::TrendPattern> rankingPatterns();          // ランキング and 保合
std::vector<trend::TrendPattern> risingTrendPatterns();      // 上昇トレンド: rows E, T, t
std::vector<trend::TrendPattern> flatThenRisePatterns();     // 横這から上昇: rows B, ｂ and the numbered row
std::vector<trend::TrendPattern> reboundPatterns();          // 反転から上昇: the numbered row and rows S, ｓ
std::vector<trend::TrendPattern> twoStagePatterns();         // 2段階上げ
std::vector<trend::TrendPattern> dipPatterns();              // 押し目狙い？: rows R and Q
std::vector<trend::TrendPattern> movingAveragePatterns();    // 移動平均による上昇銘柄
// Every record of the groups, each placed by the button layout below (caption, group, place and
// design colour come from there), so a group's record needs only its control name and its SQL.
const std::vector<trend::TrendPattern>& cardTrendCatalogue();

// Where the screen's pattern buttons stand (twips) and their design colours (&HBBGGRR, -1 for the
// system's button face). All 86 buttons, in layout order, and the labels of their groups.
struct ButtonPlace {
    const char* control;   // "Command42", "X"
    QString caption;
    QString group;         // the caption of the group's label
    int left, top, width, height;
    long long face;
};
const std::vector<ButtonPlace>& buttonLayout();
const ButtonPlace* buttonPlace(const QString& control);

struct GroupLabelPlace {
    const char* control;   // "Label10"
    QString caption;
    int left, top, width, height;
};
const std::vector<GroupLabelPlace>& groupLabels();

// The grid column of ratioN on this screen.
constexpr int ratioCol(int n) { return n + 9; }

}  // namespace cardtrend
