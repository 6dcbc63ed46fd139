#include "trend_cards/form16.h"
#include <QDate>
#include "cards/form2.h"
#include "lists/chart_link.h"
#include "lists/list_forms.h"
#include "lists/list_grids.h"
#include "platform/data/recordset.h"
#include "platform/data/sql_text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/module1.h"
#include "services/period_record.h"
#include "services/window_registry.h"
#include "trend_cards/card_catalogue.h"
#include "trend_cards/card_filters.h"
#include "trend_stocks/apply_pattern.h"

using ui::step;

namespace {

// The universes: MenuMode, base SELECT (or the menu-built SELECT it takes), caption, colour.
struct Universe {
    int mode;
    const char* sql;
    QString* menuSql;
    const char* caption;
    unsigned color;
};
const Universe kUniverses[] = {
    {1, "select * from [a000-1bu]", nullptr, "１部市場銘柄", 0x00C0C0},
    {2, "select * from [a000-2bu]", nullptr, "２部市場銘柄", 0x008080},
    {3, "select * from [a000-tentou]", nullptr, "新興市場銘柄", 0x8BA0F8},
    {4, "select * from [a000-1000U]", nullptr, "売買1000株銘柄", 0x00FF00},
    {5, "select * from [a000-100U]", nullptr, "売買100株銘柄", 0x80FF80},
    {6, "select * from [a000-001U]", nullptr, "売買１株銘柄", 0xDCA561},
    {7, "select * from [a000-okiniiri]", nullptr, "推奨銘柄", 0x80FF80},
    {8, "select * from [a000-20t1]", nullptr, "東証１部＊２０万以下", 0xC0C000},
    {10, "select * from [a000-all]", nullptr, "全銘柄", 0xD08F77},
    {11, nullptr, &Module1::SpecialWatchSql, "特別注目銘柄", 0x822299},
    {12, nullptr, &Module1::WatchListSql, "注目銘柄", 0x7C86E0},
    {13, nullptr, &Module1::FavouriteSourceSql, "お気に入り推奨銘柄", 0xC000C0},
    {14, nullptr, &Module1::HoldingsSql, "保有銘柄", 0xF3B3A7},
    {15, "select * from [a000-takane]", nullptr, "新高値銘柄", 0xF3B3A7},
    {16, nullptr, &Module1::ExtraSql, "EXTRA", 0xF5D6F8},
};

// Column widths 0 to 18 (twips).
const int kColWidths[] = {200, 450, 1100, 1000, 850, 450, 600, 600, 1000, 800,
                          400, 400, 400, 400, 400, 400, 390, 390, 390};

struct UnitTitles {
    const char* unit;
    const char* suffix;
};
const UnitTitles kUnitTitles[] = {{"day", "日前"}, {"week", "週前"}, {"month", "月前"}};

// The frame's buttons, text boxes and labels.
using ButtonRow = ui::ControlRow<Form16, ui::CommandButton>;
constexpr long long kHelp = 0xDAC898;
const ButtonRow kButtons[] = {
    {&Form16::Command5, {.name = "Command5", .caption = "OK", .left = 120, .top = 120, .width = 495, .height = 375}, &Form16::Command5_Click},
    {&Form16::Command44, {.name = "Command44", .caption = "?", .left = 1440, .top = 120, .width = 255, .height = 255, .backColor = 0xF8C4AF}, &Form16::Command44_Click},
    {&Form16::Command1, {.name = "Command1", .caption = "並替え準備", .left = 120, .top = 600, .width = 1095, .height = 255, .backColor = 0xF8C4AF}, &Form16::Command1_Click},
    {&Form16::Command13, {.name = "Command13", .caption = "並変え実行", .left = 120, .top = 840, .width = 1095, .height = 255, .backColor = 0xFFFFFF}, &Form16::Command13_Click},
    {&Form16::Command10, {.name = "Command10", .caption = "元に戻す", .left = 120, .top = 1080, .width = 1095, .height = 255, .backColor = 0xFFFFFF}, &Form16::Command10_Click},
    {&Form16::Command16, {.name = "Command16", .caption = "ワンポイント", .left = 1260, .top = 840, .width = 1035, .height = 255, .backColor = kHelp}, &Form16::Command16_Click},
    {&Form16::Command9, {.name = "Command9", .caption = "抽出", .left = 1260, .top = 1080, .width = 495, .height = 255, .backColor = 0xFFFFFF}, &Form16::Command9_Click},
    {&Form16::Command62, {.name = "Command62", .caption = "抽出", .left = 1800, .top = 1080, .width = 495, .height = 255, .backColor = 0xE0E0E0}, &Form16::Command62_Click},
    {&Form16::Command3, {.name = "Command3", .caption = "期間限定抽出", .left = 3720, .top = 120, .width = 1215, .height = 255, .backColor = kHelp}, &Form16::Command3_Click},
    {&Form16::Command39, {.name = "Command39", .caption = "全て", .left = 3720, .top = 360, .width = 735, .height = 255, .backColor = kHelp}, &Form16::Command39_Click},
    {&Form16::Command35, {.name = "Command35", .caption = "X日", .left = 4440, .top = 360, .width = 495, .height = 255, .backColor = 0xFFFFFF}, &Form16::Command35_Click},
    {&Form16::Command33, {.name = "Command33", .caption = "修正", .left = 6540, .top = 4680, .width = 615, .height = 315}, &Form16::Command33_Click},
    {&Form16::Command12, {.name = "Command12", .caption = "リストの登録？", .left = 7200, .top = 4680, .width = 1455, .height = 315, .backColor = kHelp}, &Form16::Command12_Click},
    {&Form16::Command26, {.name = "Command26", .caption = "銘柄で探す", .left = 8760, .top = 6000, .width = 1095, .height = 255}, &Form16::Command26_Click},
    {&Form16::Command7, {.name = "Command7", .caption = "コードで探す", .left = 9960, .top = 6000, .width = 1095, .height = 255}, &Form16::Command7_Click},
    {&Form16::Command11, {.name = "Command11", .caption = "リスト", .left = 8760, .top = 6600, .width = 495, .height = 255, .backColor = kHelp}, &Form16::Command11_Click},
    {&Form16::Command8, {.name = "Command8", .caption = "抽出", .left = 8760, .top = 6840, .width = 495, .height = 255, .backColor = kHelp}, &Form16::Command8_Click},
};

// The list block: the list button shows its window, the extraction button under it extracts.
struct ListRow {
    ui::CommandButton* Form16::*list;
    ui::ControlSpec listDef;
    ui::CommandButton* Form16::*extract;
    ui::ControlSpec extractDef;
    cardtrend::ListExtraction extraction;
    void (*show)();
};
template <class F>
void showList() { F::it().Show(); }
constexpr long long kListFace = 0xFFC0C0;
constexpr long long kExtractFace = 0xFFFFFF;
const ListRow kLists[] = {
    {&Form16::Command20, {.name = "Command20", .caption = "注目", .left = 9240, .top = 6600, .width = 615, .height = 255, .backColor = kListFace},
     &Form16::Command25, {.name = "Command25", .caption = "抽出", .left = 9240, .top = 6840, .width = 615, .height = 255, .backColor = kExtractFace},
     {"Form13", 150, cardtrend::ListKind::Codes, " And (", " Or  [コード]="}, &showList<Form13>},
    {&Form16::Command19, {.name = "Command19", .caption = "保有", .left = 9840, .top = 6600, .width = 615, .height = 255, .backColor = kListFace},
     &Form16::Command28, {.name = "Command28", .caption = "抽出", .left = 9840, .top = 6840, .width = 615, .height = 255, .backColor = kExtractFace},
     {"Form12", 200, cardtrend::ListKind::Codes, "  And (", " Or [コード]="}, &showList<Form12>},
    {&Form16::Command6, {.name = "Command6", .caption = "情報源", .left = 10440, .top = 6600, .width = 615, .height = 255, .backColor = kListFace},
     &Form16::Command29, {.name = "Command29", .caption = "抽出", .left = 10440, .top = 6840, .width = 615, .height = 255, .backColor = kExtractFace},
     {"Form14", 200, cardtrend::ListKind::Sources, "", ""}, &showList<Form14>},
    {&Form16::Command67, {.name = "Command67", .caption = "Trend", .left = 8760, .top = 7200, .width = 615, .height = 255, .backColor = kListFace},
     &Form16::Command69, {.name = "Command69", .caption = "抽出", .left = 8760, .top = 7440, .width = 615, .height = 255, .backColor = kExtractFace},
     {"Form17", 200, cardtrend::ListKind::Codes, " And (", " Or  [コード]="}, &showList<Form17>},
    {&Form16::Command43, {.name = "Command43", .caption = "特別注", .left = 9360, .top = 7200, .width = 735, .height = 255, .backColor = kListFace},
     &Form16::Command41, {.name = "Command41", .caption = "抽出", .left = 9360, .top = 7440, .width = 735, .height = 255, .backColor = kExtractFace},
     {"Form31", 200, cardtrend::ListKind::SpecialCodes, "", ""}, &showList<Form31>},
};

using TextRow = ui::ControlRow<Form16, ui::TextBox>;
const TextRow kTexts[] = {
    {&Form16::Text8, {.name = "Text8", .caption = "", .left = 720, .top = 120, .width = 615, .height = 255, .backColor = 0x80FFFF}},
    {&Form16::Text7, {.name = "Text7", .caption = "", .left = 2640, .top = 1080, .width = 615, .height = 270}},
    {&Form16::Text6, {.name = "Text6", .caption = "", .left = 0, .top = 4680, .width = 1695, .height = 315}},
    {&Form16::Text3, {.name = "Text3", .caption = "", .left = 1740, .top = 4680, .width = 1095, .height = 315}},
    {&Form16::Text2, {.name = "Text2", .caption = "", .left = 2880, .top = 4680, .width = 1815, .height = 315}},
    {&Form16::Text4, {.name = "Text4", .caption = "", .left = 4740, .top = 4680, .width = 615, .height = 315}},
    {&Form16::Text5, {.name = "Text5", .caption = "", .left = 5400, .top = 4680, .width = 1095, .height = 315}},
    {&Form16::Text1, {.name = "Text1", .caption = "", .left = 0, .top = 5040, .width = 8655, .height = 2655, .multiLine = true}},
};

using LabelRow = ui::ControlRow<Form16, ui::Label>;
const LabelRow kLabels[] = {
    {&Form16::Label1, {.name = "Label1", .caption = "カードの枚数　", .left = 2520, .top = 840, .width = 1095, .height = 255, .transparent = true}, &Form16::Label1_Click},
    {&Form16::Label4, {.name = "Label4", .caption = "　枚", .left = 3240, .top = 1080, .width = 375, .height = 255, .transparent = true}, nullptr},
    {&Form16::Label11, {.name = "Label11", .caption = "Delta Percent？", .left = 9840, .top = 1200, .width = 1170, .height = 225, .backColor = kHelp}, &Form16::Label11_Click},
};

// The ten link labels: stock links read the code and market boxes, fixed links open one page.
using LinkRow = chart::LinkRow<Form16>;
chart::ChartLink captioned(chart::ChartLink l, const QString& caption, long long back = 0xC0FFC0) {
    l.caption = caption;
    l.backColor = back;
    return l;
}
const std::vector<LinkRow>& linkRows() {
    using chart::Site;
    using chart::Suffix;
    static const std::vector<LinkRow> rows = [] {
        chart::ChartLink second;
        second.label = "HprLnkEx15";
        second.caption = chart::siteName(Site::SecondChart);
        second.site = Site::SecondChart;
        second.path = QStringLiteral("/smartchart.cfr?Scode=");
        second.backColor = 0xC0E0FF;
        return std::vector<LinkRow>{
            {&Form16::HprLnkEx2, 1800, 120, 735, 255,
             captioned(chart::chartLink("HprLnkEx2", Suffix::ChartSuffix120B3), chart::siteName(Site::Chart))},
            {&Form16::HprLnkEx5, 2580, 120, 375, 255,
             captioned(chart::chartLink("HprLnkEx5", Suffix::ChartSuffix090), QStringLiteral(" DK"))},
            {&Form16::HprLnkEx14, 3000, 120, 615, 255,
             chart::fixedLink("HprLnkEx14", QStringLiteral("日経"), Site::Chart,
                              QStringLiteral("/MnStock/100000018.i/schart.html"), 0xC0FFC0)},
            {&Form16::HprLnkEx1, 1800, 480, 735, 255,
             captioned(chart::quoteLink("HprLnkEx1", Suffix::QuoteSuffix6M), chart::siteName(Site::Quote))},
            {&Form16::HprLnkEx8, 2580, 480, 375, 255,
             captioned(chart::quoteLink("HprLnkEx8", Suffix::QuoteSuffix1Y), QStringLiteral("W"), 0x80FFFF)},
            {&Form16::HprLnkEx15, 3000, 480, 615, 255, second},
            {&Form16::HprLnkEx3, 120, 7800, 735, 255,
             chart::fixedLink("HprLnkEx3", QStringLiteral("Topix"), Site::IndexPage, QStringLiteral("/tknnk0.html "))},
            {&Form16::HprLnkEx4, 960, 7800, 1335, 255,
             chart::fixedLink("HprLnkEx4", QStringLiteral("業種別トレンド"), Site::SectorTrend,
                              QStringLiteral("/kabu/gyousyu.html"))},
            {&Form16::HprLnkEx6, 2400, 7800, 1455, 255,
             chart::fixedLink("HprLnkEx6", chart::siteName(Site::FlipChart), Site::FlipChart,
                              QStringLiteral("/paratto_chart.cgi?t=D6M&mkt=I1&ind=&name=&startidx=0&codes=&"))},
            {&Form16::HprLnkEx7, 3960, 7800, 855, 255,
             chart::fixedLink("HprLnkEx7", QStringLiteral("  Rating"), Site::Rating,
                              QStringLiteral("/stocks_data/data/attention_rating/attention_rating.asp"))},
        };
    }();
    return rows;
}

using ui::lines;

// The day question of the extractions by period ("X日", the cell value, the one stock). Cancel or an
// empty answer gives the window of today alone; an answer that is no number by the program's one
// rule ("1e3", "14日") is told, and false says that nothing is to be extracted.
bool askDays(const char* defaultAnswer, std::optional<QString>& answer) {
    step([&] {
        answer = ui::InputBox(QStringLiteral("今日から何日前までの日数を入力してください。"),
                              QStringLiteral("何日前の情報を取り出しますか"), QString::fromLatin1(defaultAnswer));
    });
    if (answer && !answer->trimmed().isEmpty() && !platform::sqlNumber(*answer)) {
        ui::MsgBox(QStringLiteral("日数は数字で入力してください。何も抽出しません。\r\n") + *answer, ui::vbExclamation);
        return false;
    }
    return true;
}

}  // namespace

Form16::Form16() : ui::DefaultForm<Form16>(QStringLiteral("Form16")) {
    Move(0, 0, 11115, 8070);
    buildFrame();
    buildCatalogue();
    buildLinks();
}

void Form16::buildFrame() {
    addControls(this, kTexts);
    addControls(this, kLabels);
    addControls(this, kButtons);
    for (const ListRow& l : kLists) {
        ui::CommandButton* list = addButton(l.listDef);
        this->*l.list = list;
        on(list->Click, [show = l.show] { step(show); }, l.listDef.name);
        ui::CommandButton* extract = addButton(l.extractDef);
        this->*l.extract = extract;
        on(extract->Click, [this, e = &l.extraction] { listExtract(*e); }, l.extractDef.name);
    }
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 0, .top = 1440, .width = 11055, .height = 3135});
    Data1 = addData({.name = "Data1", .caption = "Data1", .visible = false});
    MSFlexGrid1->bind(Data1);
    on(MSFlexGrid1->EnterCell, [this] { MSFlexGrid1_EnterCell(); }, "MSFlexGrid1_EnterCell");
    on(MSFlexGrid1->DblClick, [this] { MSFlexGrid1_DblClick(); }, "MSFlexGrid1_DblClick");
    MSFlexGrid1->MouseDown = [this](int, int, int, int) { MSFlexGrid1_MouseDown(); };
    on(Text7->Change, [this] { Text7_Change(); }, "Text7_Change");
}

void Form16::buildCatalogue() {
    for (const cardtrend::GroupLabelPlace& g : cardtrend::groupLabels())
        groupLabels_.insert(QString::fromLatin1(g.control),
                            addLabel({.name = g.control, .caption = g.caption, .left = g.left, .top = g.top,
                                      .width = g.width, .height = g.height, .transparent = true}));
    patterns_ = cardtrend::cardTrendCatalogue();
    for (size_t i = 0; i < patterns_.size(); ++i) {
        const trend::TrendPattern& p = patterns_[i];
        const cardtrend::ButtonPlace* place = cardtrend::buttonPlace(p.control);
        const QByteArray name = p.control.toLatin1();
        ui::CommandButton* b = addButton({.name = name.constData(), .caption = p.caption, .left = p.left, .top = p.top,
                                          .width = p.width, .height = p.height,
                                          .backColor = place                                     ? place->face
                                                      : p.faceColor == cardtrend::SystemFace ? -1
                                                                                                       : (long long)p.faceColor});
        b->Name = p.control;
        patternButtons_.insert(p.control, b);
        on(b->Click, [this, i] { patternClick(patterns_[i]); }, "pattern button");
    }
}

void Form16::buildLinks() { addLinks(this, linkRows(), &Form16::Text4, &Form16::Text5); }

// ---- load, titles, frame handlers

void Form16::Form_Load() {
    step([&] { MSFlexGrid1->setRedraw(false); });
    for (const Universe& u : kUniverses) {
        if (u.mode != Module1::MenuMode) continue;
        step([&] { Module1::CardTrendBaseSql = u.sql ? QString::fromUtf8(u.sql) : *u.menuSql; });
        step([&] { Data1->RecordSource = Module1::CardTrendBaseSql; });
        step([&] { setBackColor(u.color); });
        step([&] { setCaption(QString::fromUtf8(u.caption)); });
    }
    step([&] { Data1->Options = 1; });
    step([&] { Data1->DatabaseName = Module1::MainDbPath; });
    step([&] { Data1->Connect = QStringLiteral("Access 2000;"); });
    step([&] { Data1->Refresh(); });
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
    step([&] { MSFlexGrid1->setRedraw(true); });
    step([&] { hi_title(); });
    step([&] { MSFlexGrid1->setRedraw(true); });
    step([&] { MSFlexGrid1->setCol(5); });
    step([&] { MSFlexGrid1->Sort(1); });
}

void Form16::hi_title() {
    step([&] { MSFlexGrid1->setTextMatrix(0, 9, services::periodRecordCell(2)); });
    step([&] { MSFlexGrid1->setTextMatrix(0, 10, services::periodRecordCell(7)); });
    step([&] {
        const QString unit = services::periodUnit();
        for (const UnitTitles& t : kUnitTitles) {
            if (unit != QLatin1String(t.unit)) continue;
            for (int k = 1; k <= 9; ++k)
                MSFlexGrid1->setTextMatrix(0, cardtrend::ratioCol(k), QString::number(k) + QString::fromUtf8(t.suffix));
            break;
        }
    });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
    step([&] { Text8->setText(services::periodUnit()); });
}

void Form16::Text7_Change() {
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

void Form16::Label1_Click() {
    step([&] { ui::MsgBox(QStringLiteral("選び出されたカードの枚数です\r\n"), ui::vbOKOnly); });
}

void Form16::Label11_Click() {
    struct Help {
        const char* unit;
        const char* title;
        const char* n;      // "ｎ日前"
        const char* lead;   // how the example lines begin
    };
    static const Help helps[] = {
        {"week", "n日前の数値の見方", "ｎ週前", "ｎ週前のＸが"},
        {"day", "n日前の数値の見方", "ｎ日前", "ｎ日前が"},
        {"month", "n月前の数値の見方", "ｎ月前", "ｎ月前が"},
    };
    step([&] {
        const QString unit = services::periodUnit();
        for (const Help& h : helps) {
            if (unit != QLatin1String(h.unit)) continue;
            const QString n = QString::fromUtf8(h.n), lead = QString::fromUtf8(h.lead);
            const QString dash(49, u'-');
            const QStringList text = {
                n + QStringLiteral("の欄の値を　Ｘ　とすると"),
                dash,
                QStringLiteral("Ｘ=（") + n + QStringLiteral("の株価／直近の株価-1）*100　（％）"),
                dash,
                lead + QStringLiteral("　　２０　ならば　直近より２０％　高い"),
                lead + QStringLiteral("　－２５　ならば　直近より２５％　安い"),
                dash,
                QString(),
                QStringLiteral("この数値に１００を足してください"),
                QStringLiteral("それが　直近の株価を１００％として表したときの"),
                QStringLiteral("株価の％表示です"),
            };
            ui::MsgBox(text.join(QStringLiteral("\r\n")), ui::vbOKCancel, QString::fromUtf8(h.title));
            return;
        }
    });
}

void Form16::Command5_Click() {
    step([&] { Unload(); });
    if (Module1::TrendMode < 100) step([&] { services::showMenu(); });
}

void Form16::Command44_Click() { step([&] { services::showWindow(QStringLiteral("Form23")); }); }

// The first condition of a filter follows the base's own WHERE when the base the load stored
// has one; a base without a WHERE (the favourite sources universe over an empty list among
// them) takes " where".
bool Form16::andForm() { return trend::AndFormTest(Module1::CardTrendBaseSql); }

void Form16::requery(const std::optional<QString>& sql) {
    if (!sql) return;
    step([&] { Data1->RecordSource = *sql; });
    step([&] { Data1->Refresh(); });
}

// ---- patterns

void Form16::patternClick(const trend::TrendPattern& p) {
    trend::PatternScreen screen{Data1, MSFlexGrid1, [this] { hi_title(); }};
    trend::ApplyTrendPattern(p, patternButton(p.control), Module1::CardTrendBaseSql, andForm(), screen);
}

// ---- period and price level

void Form16::nehaba() {
    const QString prompt = lines({"株価水準を選んでください", "", "0=（制限なし）", "",
                                  "1=（10-500円）  ；2=（500-1000円）", "3=（1000-5000円）；4=（5000--10000円）",
                                  "5=(1万円-10万円)　;6=　(10万円以上) "});
    do {
        std::optional<QString> answer;
        step([&] { answer = ui::InputBox(prompt, QStringLiteral("株価レベル"), QStringLiteral("0")); });
        if (const std::optional<short> level = cardtrend::priceLevelOf(answer)) PriceLevel = *level;
    } while (PriceLevel > 6);
    if (const std::optional<cardtrend::PriceBand> band = cardtrend::priceBand(PriceLevel)) {
        PriceLow = band->low;
        PriceHigh = band->high;
    }
}

void Form16::Command35_Click() {
    std::optional<QString> answer;
    if (!askDays("14", answer)) return;
    const QDate today = QDate::currentDate();
    const std::optional<QDate> from = cardtrend::windowStart(answer, today);
    step([&] { nehaba(); });
    std::optional<QString> sql;
    if (from)
        sql = cardtrend::periodSql(Module1::CardTrendBaseSql, andForm(), PriceLevel, {PriceLow, PriceHigh}, today, *from);
    requery(sql);
    step([&] { MSFlexGrid1->setCol(5); });
    step([&] { MSFlexGrid1->Sort(2); });
    step([&] { hi_title(); });
}

void Form16::Command3_Click() {
    step([&] {
        ui::MsgBox(lines({"期間　→　　ある期間（例えば今から１月前）内のものを", "　　　　　　　　　抽出します。",
                          "　夫々のメニューに従ってください"}),
                   ui::vbOKOnly + ui::vbInformation, QStringLiteral("限定抽出"));
    });
}

void Form16::Command39_Click() {
    step([&] {
        ui::MsgBox(lines({"全てのカードを対象にして", "　　期間、株価水準を限定して", "　　　　　抽出します", ""}) +
                       QStringLiteral("\r\n"),
                   ui::vbOKOnly);
    });
}

// ---- list extractions

void Form16::listExtract(const cardtrend::ListExtraction& e) {
    QStringList entries;
    step([&] {
        ui::FlexGrid& grid = lists::listGrid(QString::fromLatin1(e.window));
        for (int r = 1; r < grid.Rows(); ++r) entries << grid.TextMatrix(r, 2);
    });
    if (e.kind == cardtrend::ListKind::Sources && entries.isEmpty())
        step([&] { ui::MsgBox(QStringLiteral("情報源が　ひとつも選択されていません。"), ui::vbOKCancel + ui::vbCritical); });
    requery(cardtrend::listExtractionSql(Module1::CardTrendBaseSql, andForm(), e, entries, QDate::currentDate()));
    step([&] { MSFlexGrid1->setCol(5); });
    step([&] { MSFlexGrid1->Sort(1); });
    step([&] { hi_title(); });
}

void Form16::Command11_Click() {
    step([&] {
        ui::MsgBox(lines({"検索カードのリストを表示します。", "", "１：注目銘柄", "２：保有銘柄",
                          "３：推奨銘柄（お気に入りの情報源", "４：トレンド注目銘柄", "５：特別注目銘柄"}),
                   ui::vbOKOnly);
    });
}

void Form16::Command8_Click() {
    step([&] { ui::MsgBox(lines({"検索リストで抽出します。", "", "　対応する銘柄を抽出します"}), ui::vbOKOnly); });
}

// ---- searches, restore, sort

void Form16::Command26_Click() {
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QStringLiteral("検索する銘柄を入力してください"), QStringLiteral("検索")); });
    trend::searchOrSort(*Data1, *MSFlexGrid1, cardtrend::nameSearchSql(Module1::CardTrendBaseSql, andForm(), answer.value_or(QString())));
    step([&] { hi_title(); });
}

void Form16::Command7_Click() {
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QStringLiteral("検索するコードを入力してください"), QStringLiteral("検索")); });
    trend::searchOrSort(*Data1, *MSFlexGrid1, cardtrend::codeSearchSql(Module1::CardTrendBaseSql, andForm(), answer.value_or(QString())));
    step([&] { hi_title(); });
}

void Form16::Command10_Click() {
    step([&] { MSFlexGrid1->setRedraw(false); });
    requery(Module1::CardTrendBaseSql);
    step([&] { MSFlexGrid1->setRedraw(true); });
    step([&] { MSFlexGrid1->setCol(5); });
    step([&] { MSFlexGrid1->Sort(1); });
    step([&] { hi_title(); });
}

void Form16::Command13_Click() {
    step([&] {
        const int c = MSFlexGrid1->Col();
        if (c == 3) MSFlexGrid1->Sort(6);
        else if (c >= 1 && c <= 18) MSFlexGrid1->Sort(1);
    });
    step([&] { hi_title(); });
}

void Form16::Command1_Click() {
    step([&] {
        ui::MsgBox(QStringLiteral("列の見出し（コード or 日付 or 市場 or　株価 or DP  or 情報源 ）をクリックしてください\r\n"
                                  "→　並び替え実行　：見出しの項目を　昇順　or 降順に並び替えを行います."),
                   ui::vbOKOnly, QStringLiteral("並び替え"));
    });
}

// ---- cell-value and one-stock extraction

void Form16::MSFlexGrid1_MouseDown() {
    step([&] { PressedCellText = MSFlexGrid1->TextMatrix(MSFlexGrid1->Row(), MSFlexGrid1->Col()); });
}

void Form16::Command9_Click() {
    std::optional<QString> answer;
    if (!askDays("120", answer)) return;
    const QDate today = QDate::currentDate();
    const std::optional<QDate> from = cardtrend::windowStart(answer, today);
    int c = 0;
    step([&] { c = MSFlexGrid1->Col(); });
    std::optional<QString> sql;
    if (from) sql = cardtrend::cellValueSql(Module1::CardTrendBaseSql, andForm(), c, PressedCellText, today, *from);
    requery(sql);
    step([&] { hi_title(); });
}

void Form16::Command62_Click() {
    int c = 0, r = 0;
    step([&] { c = MSFlexGrid1->Col(); });
    step([&] { r = MSFlexGrid1->Row(); });
    if (c != 5) {
        step([&] { ui::MsgBox(QStringLiteral("コード番号のみ有効です"), ui::vbOKCancel + ui::vbExclamation); });
        return;
    }
    std::optional<QString> answer;
    if (!askDays("150", answer)) return;
    const QDate today = QDate::currentDate();
    const std::optional<QDate> from = cardtrend::windowStart(answer, today);
    step([&] { PressedCellText = MSFlexGrid1->TextMatrix(r, 5); });
    requery(from ? cardtrend::oneStockSql(PressedCellText, today, *from) : std::nullopt);
    step([&] { hi_title(); });
}

void Form16::Command16_Click() {
    step([&] {
        ui::MsgBox(lines({"同じコード（銘柄）、同じ情報源、同じ日付などの　同じものだけ抽出します。",
                          "同じコード同じ市場、同じ売買単位　同じものだけ抽出します。", "まず注目する項目を選んでください",
                          "その後　抽出をクリックする", "", "薄灰色の抽出を選ぶと全てのカードから抽出されます"}),
                   ui::vbOKOnly);
    });
}

// ---- detail strip, registration, card opening

// The boxes follow the current row: after every move, refresh and sort. The header row (current
// after a tinted pattern) is no card: the boxes are then empty.
void Form16::MSFlexGrid1_EnterCell() {
    step([&] { Text1->setText(MSFlexGrid1->currentRowText(8)); });
    step([&] { Text2->setText(MSFlexGrid1->currentRowText(4)); });
    step([&] { Text3->setText(MSFlexGrid1->currentRowText(3)); });
    step([&] { Text4->setText(MSFlexGrid1->currentRowText(5)); });
    step([&] { Text5->setText(MSFlexGrid1->currentRowText(6)); });
    step([&] { Text6->setText(MSFlexGrid1->currentRowText(2)); });
}

// A double-click on the name or the code registers the row's stock into the watch list, on the
// source registers the source into the favourite sources. Only a card row is registered, a stock
// only with a whole-number code and a source only when there is one.
void Form16::MSFlexGrid1_DblClick() {
    const int r = MSFlexGrid1->Row(), c = MSFlexGrid1->Col();
    if (r < 1 || r >= MSFlexGrid1->Rows()) return;
    auto cell = [&](int col) { return MSFlexGrid1->TextMatrix(r, col); };
    if (c == 4 || c == 5) {
        const std::optional<long long> code = platform::sqlWholeNumber(cell(5));
        if (!code) return;
        const lists::WatchEntry e{QString::number(*code), cell(4), cell(6), cell(7)};
        lists::registerIntoList<Form13>([&](platform::DataControl& list) { lists::addWatchEntry(list, e); });
    } else if (c == 2) {
        const QString source = cell(2);
        if (source.isEmpty()) return;
        lists::registerIntoList<Form14>([&](platform::DataControl& list) { lists::addSourceEntry(list, source); });
    }
}

// Opens the card of the current row in the card editor, found by its exact ID. With no data row
// current (the header row after a tinted pattern) nothing happens. A row whose card is gone (or
// a row without an ID) is told, and the editor is not opened on another card.
void Form16::Command33_Click() {
    int r = 0;
    step([&] { r = MSFlexGrid1->Row(); });
    if (r < 1 || r >= MSFlexGrid1->Rows()) return;
    std::optional<long long> id;
    step([&] { id = platform::sqlWholeNumber(MSFlexGrid1->TextMatrix(r, 1)); });
    Form2& editor = Form2::it();
    if (!editor.leaveCard()) return;   // the editor has told why its own card cannot be left
    bool found = false;
    if (id) step([&] { found = editor.findFirst(QStringLiteral("ID=") + QString::number(*id)); });
    if (!found) {
        step([&] { ui::MsgBox(QStringLiteral("このカードは見つかりません"), ui::vbOKOnly + ui::vbExclamation); });
        return;
    }
    step([&] { editor.Show(); });
}

void Form16::Command12_Click() {
    step([&] {
        ui::MsgBox(lines({"検索リストの登録", "", "今後注目したい銘柄をダブルクリックしてください",
                          "　　　注目銘柄に登録します。", "", "今後注目したい情報源をダブルクリックしてください",
                          "　　　注目情報源として登録します。", ""}),
                   ui::vbOKOnly);
    });
}
