#include "trend_cards/card_catalogue.h"

namespace cardtrend {

std::vector<trend::TrendPattern> movingAveragePatterns() { return {}; }

}  // namespace cardtrend
