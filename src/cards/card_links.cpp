#include "cards/card_links.h"

namespace cards {

using chart::Site;
using chart::Suffix;

namespace {

chart::ChartLink stockSearchLink() {
    chart::ChartLink l;
    l.label = "HprLnkEx2";
    l.caption = chart::siteName(Site::StockSearch);
    l.site = Site::StockSearch;
    l.path = QStringLiteral("/stocks/results2.html?u0=");
    l.tail = QStringLiteral("&u1=&u2=1&u3=0&p=");
    l.codeAgain = true;
    l.end = QStringLiteral("12221223155");
    return l;
}

}  // namespace

const std::vector<CardLink>& cardListLinks() {
    static const std::vector<CardLink> links = {
        {chart::quoteLink("HprLnkEx1", Suffix::QuoteSuffix6MNoNagoya), false, 7680, 6060, 1455, 315},
        {stockSearchLink(), false, 7680, 6480, 1455, 315},
    };
    return links;
}

const std::vector<CardLink>& cardEditorLinks() {
    static const std::vector<CardLink> links = {
        {chart::quoteLink("HprLnkEx1", Suffix::QuoteLetters, chart::QuoteParams3M()), true, 6480, 2160, 1215, 285},
        {chart::chartLink("HprLnkEx2", Suffix::ChartSuffix120B3), true, 6480, 2520, 1215, 285},
        {chart::fixedLink("HprLnkEx3", QStringLiteral("topix"), Site::Chart,
                          QStringLiteral("/MnStock/mn_schart.html?qt=KSISU1000.i&u=1&tm=0120&cd=1&vl=1&vm=1&mv=100"
                                         "&st=0&mc=1&pr=000&bb=2&tn=1&n=1"
                                         "&FNC=%A1%A1%C9%C1%B2%E8%A4%B9%A4%EB%A1%A1")),
         true, 7800, 2520, 735, 285},
        {chart::fixedLink("HprLnkEx4", QStringLiteral("日経"), Site::Commentary, QStringLiteral("/j/asa/Nikkei.htm")),
         false, 7800, 2880, 735, 285},
        {chart::fixedLink("HprLnkEx5", QStringLiteral("日経"), Site::Quote,
                          QStringLiteral("/q?s=998407.o&d=c&t=6m&l=off&z=b&q=c&k=c3&a=v&h=on&p=m25,m75,s")),
         false, 7800, 2160, 735, 285},
        {chart::fixedLink("HprLnkEx6", QStringLiteral("TOPIX"), Site::Commentary, QStringLiteral("/j/asa/Topix.htm")),
         false, 8640, 2880, 735, 285},
        {chart::fixedLink("HprLnkEx7", QStringLiteral("ジャスダック"), Site::Commentary,
                          QStringLiteral("/j/asa/Jasdaq.htm")),
         false, 8640, 2520, 1095, 285},
    };
    return links;
}

}  // namespace cards

#include "platform/ui/controls.h"
#include "platform/ui/guard.h"

namespace cards {

void linkClick(ui::LinkLabel* label, const CardLink& def, const QString& code, const QString& market) {
    auto set = [&] { label->Address = def.link.address(code, market); };
    if (def.guarded) ui::step(set);
    else set();
}

}  // namespace cards
