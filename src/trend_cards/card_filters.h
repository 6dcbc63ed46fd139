#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The SQL texts of the card trend screen's filters, built from the screen's base SELECT, the
// first keyword it takes and the person's answers. Every text a filter appends keeps the blanks
// and joiners the screen has always sent; codes are whole numbers and texts are quoted before
// they go in. A builder returns nothing when its input cannot go into SQL: no query is then sent.
namespace cardtrend {

// A date inside SQL: "mm/dd/yyyy" (between "#" signs where it is used).
QString sqlDate(const QDate& d);

// A price-level answer: its leading number rounded to the even neighbour of a half; nothing when
// it does not fit a 16-bit whole number (the previous level then stays in force).
std::optional<short> priceLevelOf(const std::optional<QString>& answer);
// The first day of a window of n days ending today, for the answer n: today less (n - 1) days,
// part days counted back from today's midnight. An answer that is no number counts as 1 (today
// alone). Nothing when the day would lie outside the calendar.
std::optional<QDate> windowStart(const std::optional<QString>& answer, const QDate& today);

struct PriceBand {
    int low, high;
};
// Levels 1 to 6; nothing for any other level.
std::optional<PriceBand> priceBand(int level);

// "X日": the cards from `from` to today, with a price condition when level is not 0.
QString periodSql(const QString& base, bool andForm, int level, PriceBand bounds, const QDate& today,
                  const QDate& from);

// The five list extractions.
enum class ListKind { Codes, Sources, SpecialCodes };
struct ListExtraction {
    const char* window;   // "Form13": the list window whose grid column 2 holds the entries
    int days;             // the date window reaches this many days back
    ListKind kind;
    const char* opener;   // before the first code of two or more
    const char* joiner;   // before each further code
};
constexpr int kMaxCodes = 100;
constexpr int kMaxSources = 200;
// entries: column 2 of the list grid, rows 1 to the last. Entries beyond the cap are left out.
std::optional<QString> listExtractionSql(const QString& base, bool andForm, const ListExtraction& e,
                                         const QStringList& entries, const QDate& today);

// The cell-value extraction over grid column col with the pressed text v, cards from `from` to today.
std::optional<QString> cellValueSql(const QString& base, bool andForm, int col, const QString& v,
                                    const QDate& today, const QDate& from);
// The one-stock extraction over all cards.
std::optional<QString> oneStockSql(const QString& code, const QDate& today, const QDate& from);

// The searches: by a part of the name, and by code (nothing when the answer is no whole number).
QString nameSearchSql(const QString& base, bool andForm, const QString& answer);
std::optional<QString> codeSearchSql(const QString& base, bool andForm, const QString& answer);

}  // namespace cardtrend
