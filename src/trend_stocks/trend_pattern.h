#pragma once
#include <QString>
#include <vector>

namespace trend {

// Where a pattern button stands: in view, above the client area, or at the same place as another
// button and beneath it (the last two are reached with the keyboard only).
enum class Shown { InView, AboveClientArea, UnderAnother };

struct HeaderTint {
    int col;          // grid column of the header cell
    unsigned color;   // &HBBGGRR
};

constexpr unsigned PatternMarkColor = 0x80FFFF;

// One screening rule of a trend screen: one pattern button.
struct TrendPattern {
    QString control;        // "Command32"
    QString caption;        // exactly as the button shows it
    QString group;          // caption of the group label it stands under
    int left = 0, top = 0, width = 0, height = 0;   // twips, client area
    unsigned faceColor = 0; // design face colour
    Shown shown = Shown::InView;
    QString condition;      // over r1..r9 in the catalogue notation (see renderCondition)
    int sortCol = 0;        // grid column sorted after the refill
    int sortOrder = 2;      // grid sort setting
    std::vector<HeaderTint> tints;
    bool errorTrap = true;  // whether a failing step is skipped (else a failure is reported)
    bool sortBeforeTitle = false;   // the one pattern that sorts before the titles are written
    bool flat = false;      // drawn flat instead of three-dimensional
    double fontPoints = 0;  // caption font size; 0 keeps the screen's default
    int tabIndex = -1;      // place in the screen's tab order where it is fixed; -1 leaves it to the screen
    // A catalogue kept as SQL text instead of a condition (the card screen's): the opening after
    // " where", the same opening after " and" (empty: leadWhere with its keyword changed), and the
    // further pieces appended in order. Used when condition is empty.
    QString leadWhere;
    QString leadAnd;
    std::vector<QString> fragments;
};

// Renders a condition written in the notation (rN, `e in [a, b]`, comparisons, + - /, and, or,
// parentheses) to SQL text: rN -> [ratioN], `e in [a, b]` -> `e between a and b`, tokens
// separated by blanks.
QString renderCondition(const QString& notation);

// Building blocks shared by several rows of a catalogue; each returns notation.
QString StepRise(int n);
QString PairRise(int n, const QString& op);
QString ShiftedPairRise(int n, const QString& op);
QString StepClimb(int n, double lo, double hi, double l);
QString PairLadder(int a, int b, bool risingWithAge);
QString OffsetLadder(int a, int b, bool risingWithAge);
QString FlatRun(int a, int k1, int k2, double d);
QString StepsWithin2(int n);
QString TwoPeriodRises(int m);
QString RecentRise();
QString Midpoint();

// The listed-stock screen's catalogue, one function per group (one file each), and all of them.
std::vector<TrendPattern> risingTrendPatterns();        // 上昇中
std::vector<TrendPattern> consecutiveRisePatterns();    // 連騰
std::vector<TrendPattern> rankingPatterns();            // ランキング, 保合 and the D row
std::vector<TrendPattern> flatThenRisePatterns();       // 横這から上昇 (both rows)
std::vector<TrendPattern> reboundPatterns();            // 反転上昇 (both rows)
std::vector<TrendPattern> dipPatterns();                // 押し目待ち
std::vector<TrendPattern> twoStagePatterns();           // 2段階上げ
std::vector<TrendPattern> movingAveragePatterns();      // 移動平均
const std::vector<TrendPattern>& listedStockCatalogue();

}  // namespace trend
