#include "trend_cards/card_catalogue.h"

namespace cardtrend {

std::vector<trend::TrendPattern> risingTrendPatterns() { return {}; }

}  // namespace cardtrend
