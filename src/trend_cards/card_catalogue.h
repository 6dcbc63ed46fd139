#pragma once
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
const std::vector<trend::TrendPattern>& cardTrendCatalogue();

}  // namespace cardtrend
