#include <gtest/gtest.h>
#include "lists/chart_link.h"

using chart::Suffix;

namespace {

// The parameter strings as the sites expect them, written out here on their own.
const QString Q6M = "&d=c&k=c3&a=v&p=m25,m75,s&t=6m&l=off&z=m&q=c&h=on";
const QString Q3M = "&d=c&k=c3&a=v&p=m25,m75,s&t=3m&l=off&z=m&q=c&h=on";
const QString Q1Y = "&d=c&k=c3&a=v&p=m65,m130,s&t=1y&l=off&z=m&q=c&h=on";
const QString QS = "&d=6m";
const QString FNC = "&FNC=%A1%A1%C9%C1%B2%E8%A4%B9%A4%EB%A1%A1";
const QString C120 = "&u=1&tm=0120&cd=1&vl=1&vm=1&mv=100&st=0&mc=1&pr=000&tn=1&n=1" + FNC;
const QString C120B3 = "&u=1&tm=0120&cd=1&vl=1&vm=1&mv=100&st=0&pr=000&bb=3&tn=1&n=1" + FNC;
const QString C060 = "&u=1&tm=0060&cd=1&vl=1&vm=1&mv=000&st=0&pr=000&bb=2&ic=1&tn=1&n=1" + FNC;
const QString C090 = "&u=1&tm=0090&cd=1&vl=1&vm=1&mv=000&st=0&pr=000&bb=2&ic=1&tn=1&n=1" + FNC;

const QString QUOTE = chart::siteBase(chart::Site::Quote) + "/q?s=7203";
const QString CHART = chart::siteBase(chart::Site::Chart) + "/MnStock?sv=MN&pg=mn_schart.html&qt=7203";

}  // namespace

// Every suffix table: typical rows, markets no row names, and the rows where the tables disagree.
TEST(ChartLink, AddressByTableAndMarket) {
    struct Case {
        chart::ChartLink link;
        const char* market;
        QString expected;
    };
    const auto q = [](Suffix t, const QString& tail = {}) { return chart::quoteLink("HprLnkEx1", t, tail); };
    const auto c = [](Suffix t) { return chart::chartLink("HprLnkEx2", t); };
    const Case cases[] = {
        // letters only, with the 3-month tail always appended
        {q(Suffix::QuoteLetters, Q3M), "名証１部", QUOTE + ".n" + Q3M},
        {q(Suffix::QuoteLetters, Q3M), "名古１部", QUOTE + Q3M},
        {q(Suffix::QuoteLetters, Q3M), "ジャスダック", QUOTE + ".q" + Q3M},
        {q(Suffix::QuoteLetters, Q3M), "ヘラクレス", QUOTE + ".j" + Q3M},
        {q(Suffix::QuoteLetters, Q3M), "?", QUOTE + Q3M},
        {q(Suffix::QuoteSuffix6M), "東証２部", QUOTE + ".t" + Q6M},
        {q(Suffix::QuoteSuffix6M), "名古２部", QUOTE + ".n&d=6m"},
        {q(Suffix::QuoteSuffix6M), "ジャスダック", QUOTE + Q6M},
        {q(Suffix::QuoteSuffix6M), "ナスダック", QUOTE},
        {q(Suffix::QuoteSuffix6M), "東証1部", QUOTE},   // half-width digit
        {q(Suffix::QuoteSuffix6MFull), "ジャスダック", QUOTE + ".q&d=6m"},
        {q(Suffix::QuoteSuffix6MFull), "ナスダック", QUOTE + Q6M},
        {q(Suffix::QuoteSuffix6MFull), "名証１部", QUOTE},
        {q(Suffix::QuoteSuffix6MNoNagoya), "名古１部", QUOTE},
        {q(Suffix::QuoteSuffix6MNoNagoya), "ジャスダック", QUOTE + ".q&d=6m"},
        {q(Suffix::QuoteSuffix6MNoNagoya), "ナスダック", QUOTE + Q6M},
        {q(Suffix::QuoteSuffixOtc), "東証２部", QUOTE + ".t&d=6m"},
        {q(Suffix::QuoteSuffixOtc), "大証２部", QUOTE + ".o&d=6m"},
        {q(Suffix::QuoteSuffixOtc), "マザーズ", QUOTE + ".t" + Q6M},
        {q(Suffix::QuoteSuffixOtc), "店頭", QUOTE + ".q&d=6m"},
        {q(Suffix::QuoteSuffixOtc), "ジャスダック", QUOTE},
        {q(Suffix::QuoteSuffix1Y), "ジャスダック", QUOTE + ".q" + Q1Y},
        {q(Suffix::QuoteSuffix1Y), "ナスダック", QUOTE + Q6M},
        {q(Suffix::QuoteSuffix1Y), "名古２部", QUOTE + ".n" + Q1Y},
        {q(Suffix::QuoteSuffix1Y), "名証１部", QUOTE},
        // the chart site swaps the letters of ジャスダック and ヘラクレス
        {c(Suffix::ChartSuffix120), "ジャスダック", CHART + ".j" + C120},
        {c(Suffix::ChartSuffix120), "ヘラクレス", CHART + ".q" + C120},
        {c(Suffix::ChartSuffix120), "ナスダック", CHART + Q6M},
        {c(Suffix::ChartSuffix120), "店頭", CHART},
        {c(Suffix::ChartSuffix120), "マザー", CHART},
        {c(Suffix::ChartSuffix120Otc), "東証２部", CHART + ".t" + C120},
        {c(Suffix::ChartSuffix120Otc), "店頭", CHART + ".j" + C120},
        {c(Suffix::ChartSuffix120Otc), "ジャスダック", CHART},
        {c(Suffix::ChartSuffix060), "名古２部", CHART + ".n" + C060},
        {c(Suffix::ChartSuffix060), "店頭", CHART + ".j" + C060},
        {c(Suffix::ChartSuffix060), "ナスダック", CHART},
        {c(Suffix::ChartSuffix090), "ジャスダック", CHART + ".j" + C090},
        {c(Suffix::ChartSuffix090), "ナスダック", CHART},
        {c(Suffix::ChartSuffix090), "マザー", CHART},
        {c(Suffix::ChartSuffix120B3), "名古２部", CHART + ".n" + C120B3},
        {c(Suffix::ChartSuffix120B3), "マザー", CHART + ".t" + C120B3},
        {c(Suffix::ChartSuffix120B3), "マザーズ", CHART + ".t" + C120B3},
        {c(Suffix::ChartSuffix120B3), "ナスダック", CHART + Q6M},
        {c(Suffix::ChartSuffix120B3), "名証１部", CHART},
        {c(Suffix::ChartSuffix120B3), "", CHART},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(QString("%1 / %2").arg(int(k.link.table)).arg(QString::fromUtf8(k.market)).toStdString());
        EXPECT_EQ(k.link.address("7203", QString::fromUtf8(k.market)), k.expected);
    }
}

TEST(ChartLink, FixedPagesAndTheStockSearch) {
    const chart::ChartLink fixed = chart::fixedLink("HprLnkEx3", "TOPIX", chart::Site::IndexPage, "/tknnk0.html ");
    EXPECT_EQ(fixed.address("7203", "東証１部"), chart::siteBase(chart::Site::IndexPage) + "/tknnk0.html ");

    chart::ChartLink search{.label = "HprLnkEx2", .site = chart::Site::StockSearch,
                            .path = "/stocks/results2.html?u0=", .tail = "&u1=&u2=1&u3=0&p=", .codeAgain = true,
                            .end = "12221223155"};
    EXPECT_EQ(search.address("7203", "東証１部"), chart::siteBase(chart::Site::StockSearch) +
                                                    "/stocks/results2.html?u0=7203&u1=&u2=1&u3=0&p=720312221223155");
    EXPECT_EQ(search.address("", ""), chart::siteBase(chart::Site::StockSearch) +
                                          "/stocks/results2.html?u0=&u1=&u2=1&u3=0&p=12221223155");
}
