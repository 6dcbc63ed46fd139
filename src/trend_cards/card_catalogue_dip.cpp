#include "trend_cards/card_catalogue.h"

namespace cardtrend {

std::vector<trend::TrendPattern> dipPatterns() { return {}; }

}  // namespace cardtrend
