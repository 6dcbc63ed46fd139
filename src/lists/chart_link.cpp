#include "lists/chart_link.h"

namespace chart {

namespace {

struct SiteRow {
    Site site;
    const char* base;
    const char* name;
};

// The one table of outside sites: scheme and host, and the name a label shows for the site.
const SiteRow kSites[] = {
    {Site::Quote, "https://quote.example.jp", "Quote"},
    {Site::Chart, "https://chart.example.jp", "Chart"},
    {Site::SecondChart, "https://smartchart.example.jp", "SmartChart"},
    {Site::IndexPage, "https://index.example.jp", "Index"},
    {Site::FlipChart, "https://flipchart.example.jp", "FlipChart"},
    {Site::Rating, "https://rating.example.jp", "Rating"},
    {Site::SectorTrend, "https://sector.example.jp", "Sector"},
    {Site::StockSearch, "https://search.example.jp", "Search"},
    {Site::Commentary, "https://commentary.example.jp", "Commentary"},
};

const SiteRow& siteRow(Site s) {
    for (const SiteRow& r : kSites)
        if (r.site == s) return r;
    return kSites[0];
}

// The draw command of the chart site (描画する between two full-width blanks, EUC-JP, encoded).
const QString kDraw = QStringLiteral("&FNC=%A1%A1%C9%C1%B2%E8%A4%B9%A4%EB%A1%A1");

QString s(const char* utf8) { return QString::fromUtf8(utf8); }

// Markets as the program compares them.
const QString T1 = s("東証１部"), T2 = s("東証２部"), O1 = s("大証１部"), O2 = s("大証２部"),
              N1 = s("名証１部"), N2 = s("名証２部"), G1 = s("名古１部"), G2 = s("名古２部"),
              JQ = s("ジャスダック"), NQ = s("ナスダック"), HC = s("ヘラクレス"), MZ = s("マザーズ"),
              MZ2 = s("マザー"), OTC = s("店頭");

using Rows = std::vector<SuffixRow>;

// A chart-site table: the letters of the chart site, each followed by the table's parameters.
// Markets left out of a table are passed in `omit`.
Rows chartTable(const QString& params, const QStringList& omit, bool nasdaq) {
    Rows all = {
        {{T1}, ".t" + params},      {{T2}, ".t" + params},      {{G1, G2}, ".n" + params},
        {{JQ}, ".j" + params},      {{O1}, ".o" + params},      {{O2}, ".o" + params},
        {{HC}, ".q" + params},      {{MZ}, ".t" + params},      {{MZ2}, ".t" + params},
        {{OTC}, ".j" + params},
    };
    Rows out;
    for (const SuffixRow& r : all)
        if (!omit.contains(r.markets.first())) out.push_back(r);
    if (nasdaq) out.push_back({{NQ}, QuoteParams6M()});
    return out;
}

Rows buildTable(Suffix t) {
    const QString q6 = QuoteParams6M(), qs = QuoteParamsShort(), q1y = QuoteParams1Y();
    switch (t) {
    case Suffix::None:
        return {};
    case Suffix::QuoteLetters:
        return {{{T1}, ".t"}, {{T2}, ".t"}, {{O1}, ".o"}, {{O2}, ".o"}, {{N1}, ".n"},
                {{N2}, ".n"}, {{JQ}, ".q"}, {{HC}, ".j"}, {{MZ}, ".t"}};
    case Suffix::QuoteSuffix6M:
        return {{{T1, T2}, ".t" + q6}, {{G1, G2}, ".n" + qs}, {{O1, O2}, ".o" + q6},
                {{JQ}, q6},            {{HC}, ".j" + q6},     {{MZ}, ".t" + q6}};
    case Suffix::QuoteSuffix6MFull:
        return {{{T1, T2}, ".t" + q6}, {{G1, G2}, ".n" + qs}, {{O1, O2}, ".o" + q6}, {{JQ}, ".q" + qs},
                {{HC}, ".j" + q6},     {{MZ}, ".t" + q6},     {{NQ}, q6}};
    case Suffix::QuoteSuffix6MNoNagoya:
        return {{{T1, T2}, ".t" + q6}, {{O1, O2}, ".o" + q6}, {{JQ}, ".q" + qs},
                {{HC}, ".j" + q6},     {{MZ}, ".t" + q6},     {{NQ}, q6}};
    case Suffix::QuoteSuffixOtc:
        return {{{T1, T2}, ".t" + qs}, {{O1, O2}, ".o" + qs}, {{HC}, ".j" + q6},
                {{MZ}, ".t" + q6},     {{OTC}, ".q" + qs}};
    case Suffix::QuoteSuffix1Y:
        return {{{T1, T2}, ".t" + q1y}, {{G1, G2}, ".n" + q1y}, {{JQ}, ".q" + q1y}, {{O1, O2}, ".o" + q1y},
                {{NQ}, q6},             {{HC}, ".j" + q1y},     {{MZ}, ".t" + q1y}};
    case Suffix::ChartSuffix120:
        return chartTable(ChartParams120(), {MZ2, OTC}, true);
    case Suffix::ChartSuffix120Otc:
        return chartTable(ChartParams120(), {MZ2, JQ}, true);
    case Suffix::ChartSuffix060:
        return chartTable(ChartParams060(), {MZ2, JQ}, false);
    case Suffix::ChartSuffix090:
        return chartTable(ChartParams090(), {MZ2, OTC}, false);
    case Suffix::ChartSuffix120B3:
        return chartTable(ChartParams120B3(), {OTC}, true);
    }
    return {};
}

}  // namespace

QString siteBase(Site site) { return QString::fromLatin1(siteRow(site).base); }
QString siteName(Site site) { return QString::fromLatin1(siteRow(site).name); }

QString QuoteParams6M() { return QStringLiteral("&d=c&k=c3&a=v&p=m25,m75,s&t=6m&l=off&z=m&q=c&h=on"); }
QString QuoteParams3M() { return QStringLiteral("&d=c&k=c3&a=v&p=m25,m75,s&t=3m&l=off&z=m&q=c&h=on"); }
QString QuoteParams1Y() { return QStringLiteral("&d=c&k=c3&a=v&p=m65,m130,s&t=1y&l=off&z=m&q=c&h=on"); }
QString QuoteParams5Y() { return QStringLiteral("&d=c&t=5y&l=off&z=b&q=c&k=c3&a=v&h=on&p=m130,m260,s"); }
QString QuoteParamsShort() { return QStringLiteral("&d=6m"); }
QString ChartParams120() {
    return QStringLiteral("&u=1&tm=0120&cd=1&vl=1&vm=1&mv=100&st=0&mc=1&pr=000&tn=1&n=1") + kDraw;
}
QString ChartParams120B3() {
    return QStringLiteral("&u=1&tm=0120&cd=1&vl=1&vm=1&mv=100&st=0&pr=000&bb=3&tn=1&n=1") + kDraw;
}
QString ChartParams060() {
    return QStringLiteral("&u=1&tm=0060&cd=1&vl=1&vm=1&mv=000&st=0&pr=000&bb=2&ic=1&tn=1&n=1") + kDraw;
}
QString ChartParams090() {
    return QStringLiteral("&u=1&tm=0090&cd=1&vl=1&vm=1&mv=000&st=0&pr=000&bb=2&ic=1&tn=1&n=1") + kDraw;
}

const std::vector<SuffixRow>& suffixRows(Suffix table) {
    static const std::vector<std::vector<SuffixRow>> all = [] {
        std::vector<std::vector<SuffixRow>> v;
        for (int t = 0; t <= int(Suffix::ChartSuffix120B3); ++t) v.push_back(buildTable(Suffix(t)));
        return v;
    }();
    return all[size_t(table)];
}

QString marketSuffix(Suffix table, const QString& market) {
    QString suffix;
    for (const SuffixRow& r : suffixRows(table))
        if (r.markets.contains(market, Qt::CaseSensitive)) suffix = r.suffix;
    return suffix;
}

QString ChartLink::address(const QString& code, const QString& market) const {
    QString a = siteBase(site) + path;
    if (!usesCode) return a;
    a += code + marketSuffix(table, market) + tail;
    if (codeAgain) a += code + end;
    return a;
}

QString QuotePath() { return QStringLiteral("/q?s="); }
QString ChartPath() { return QStringLiteral("/MnStock?sv=MN&pg=mn_schart.html&qt="); }

namespace {
ChartLink stockLink(const char* label, Site site, const QString& path, Suffix table, const QString& tail) {
    ChartLink l;
    l.label = label;
    l.caption = siteName(site);
    l.site = site;
    l.path = path;
    l.table = table;
    l.tail = tail;
    return l;
}
}  // namespace

ChartLink quoteLink(const char* label, Suffix table, const QString& tail) {
    return stockLink(label, Site::Quote, QuotePath(), table, tail);
}

ChartLink chartLink(const char* label, Suffix table) { return stockLink(label, Site::Chart, ChartPath(), table, {}); }

ChartLink fixedLink(const char* label, const QString& caption, Site site, const QString& path, long long backColor) {
    ChartLink l = stockLink(label, site, path, Suffix::None, {});
    l.caption = caption;
    l.usesCode = false;
    l.backColor = backColor;
    return l;
}

}  // namespace chart
