#include "trend_cards/card_catalogue.h"

namespace cardtrend {

const std::vector<trend::TrendPattern>& cardTrendCatalogue() {
    static const std::vector<trend::TrendPattern> all = [] {
        std::vector<trend::TrendPattern> v;
        for (auto group : {rankingPatterns, risingTrendPatterns, flatThenRisePatterns, reboundPatterns,
                           twoStagePatterns, dipPatterns, movingAveragePatterns}) {
            std::vector<trend::TrendPattern> g = group();
            v.insert(v.end(), g.begin(), g.end());
        }
        return v;
    }();
    return all;
}

}  // namespace cardtrend
