#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// The web addresses that the link labels of every screen open: a site's base address, a path,
// the stock code, a suffix chosen from the market name by one of a few fixed tables, and a tail.
// One builder for all screens; each window keeps its own labels as a table of ChartLink values.
//
//   static const chart::ChartLink kQuote{"HprLnkEx1", chart::siteName(chart::Site::Quote),
//       chart::Site::Quote, "/q?s=", chart::Suffix::QuoteSuffix6M};
//   label->Address = kQuote.address(code, market);
namespace ui { class LinkLabel; }

namespace chart {

// The outside sites. Their base addresses (scheme and host) and names are in one table
// (chart_link.cpp).
enum class Site {
    Quote,          // quotes and quote charts, by code and market letter
    Chart,          // stock charts with drawing parameters
    SecondChart,    // a second chart service, by code alone
    IndexPage,      // a market index page
    FlipChart,      // browsing many charts
    Rating,         // attention ratings
    SectorTrend,    // sector trends
    StockSearch,    // stock search
    Commentary,     // market commentary pages
};
QString siteBase(Site s);   // "https://quote.example.jp" (no trailing slash)
QString siteName(Site s);   // what a label that names the site shows

// Parameter strings, exactly as the sites expect them.
QString QuoteParams6M();
QString QuoteParams3M();
QString QuoteParams1Y();
QString QuoteParams5Y();
QString QuoteParamsShort();
QString ChartParams120();
QString ChartParams120B3();
QString ChartParams060();
QString ChartParams090();

// The market-suffix tables. None: the link adds no suffix.
enum class Suffix {
    None,
    QuoteLetters,           // letters only (".t", ".o", ".n", ".q", ".j")
    QuoteSuffix6M,
    QuoteSuffix6MFull,
    QuoteSuffix6MNoNagoya,
    QuoteSuffixOtc,
    QuoteSuffix1Y,
    ChartSuffix120,
    ChartSuffix120Otc,
    ChartSuffix060,
    ChartSuffix090,
    ChartSuffix120B3,
};

// One row of a suffix table: one or more market names, any of which matches, and the suffix.
struct SuffixRow {
    QStringList markets;
    QString suffix;
};
const std::vector<SuffixRow>& suffixRows(Suffix table);

// The suffix for a market text: compared exactly (full-width digits as written, no trimming,
// case and width significant); the last matching row wins; no match gives an empty text.
QString marketSuffix(Suffix table, const QString& market);

// One link label: its name and caption, and how its address is built.
//   stock link: base + path + code + suffix(market) + tail [+ code + end when codeAgain]
//   fixed page (usesCode false): base + path
struct ChartLink {
    const char* label = "";   // "HprLnkEx1"
    QString caption;
    Site site = Site::Quote;
    QString path;
    Suffix table = Suffix::None;
    QString tail;             // appended after the suffix in every case
    bool usesCode = true;
    bool codeAgain = false;   // the code once more after the tail, then `end`
    QString end;
    long long backColor = -1; // &HBBGGRR, -1 for the label's default

    QString address(const QString& code = {}, const QString& market = {}) const;
};

// One link label of a window's table: the member that receives it, where it stands (twips) and
// its link. Windows make them with ui::Form::addLinks.
template <class W>
struct LinkRow {
    ui::LinkLabel* W::*member;
    int left, top, width, height;
    ChartLink link;
};

// Paths used by more than one screen.
QString QuotePath();   // "/q?s="
QString ChartPath();   // "/MnStock?sv=MN&pg=mn_schart.html&qt="

// Shorthands for the common stock links.
ChartLink quoteLink(const char* label, Suffix table, const QString& tail = {});
ChartLink chartLink(const char* label, Suffix table);
// A fixed page: base + path, whatever row is current.
ChartLink fixedLink(const char* label, const QString& caption, Site site, const QString& path, long long backColor = -1);

}  // namespace chart
