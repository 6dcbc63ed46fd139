#include "trend_stocks/form6.h"
#include "lists/list_forms.h"
#include "platform/data/errors.h"
#include "platform/data/sql_text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/period_record.h"
#include "services/window_registry.h"
#include "services/module1.h"
#include "trend_stocks/apply_pattern.h"
#include "lists/chart_link.h"

using ui::step;

namespace {

// The universes: TrendMode, base SELECT (empty: the menu-built WatchListSql), caption, colour.
struct Universe {
    int mode;
    const char* sql;
    const char* caption;
    unsigned color;
};
const Universe kUniverses[] = {
    {1, "select * from [list1plus]", "全市場銘柄", 0xD08F77},
    {2, "select * from [list1plus-1bu]", "1部市場銘柄", 0xC0C0},
    {3, "select * from [list1plus-2bu]", "2部市場銘柄", 0x8080},
    {4, "select * from [list1plus-tentou]", "新興市場銘柄", 0x8BA0F8},
    {5, "select * from [list1plus-1000U]", "売買1000株銘柄", 0xFF00},
    {6, "select * from [list1plus-100U]", "売買100株銘柄", 0x80FF80},
    {7, "select * from [list1plus-001U]", "売買1株銘柄", 0xDCA561},
    {8, "select * from [list1plus-to1low]", "東証１部・２０万円以下銘柄", 0xB7E68C},
    {9, "select * from [list1plus-30]", "３０～５０万円の銘柄", 0xFF00},
    {22, "", "トレンド注目銘柄", 0xFF00},
    {23, "", "注目銘柄", 0xFF00},
};

// Grid column widths, columns 0 to 16 (twips).
const int kColWidths[] = {250, 550, 1280, 600, 900, 600, 900, 900, 500, 500, 500, 500, 500, 500, 500, 500, 500};

// Titles of the nine change columns by period unit.
struct UnitTitles {
    const char* unit;
    const char* suffix;
};
const UnitTitles kUnitTitles[] = {{"day", "日前"}, {"week", "週前"}, {"month", "月前"}};

// The frame of the window.
using ButtonRow = ui::ControlRow<Form6, ui::CommandButton>;
const ButtonRow kButtons[] = {
    {&Form6::Command5, {.name = "Command5", .caption = "OK", .left = 120, .top = 0, .width = 495, .height = 375, .backColor = 0xFFFFFF}, &Form6::Command5_Click},
    {&Form6::Command72, {.name = "Command72", .caption = "?", .left = 1440, .top = 120, .width = 375, .height = 255, .backColor = 0xF8C4AF}, &Form6::Command72_Click},
    {&Form6::Command1, {.name = "Command1", .caption = "並替え準備", .left = 120, .top = 480, .width = 1095, .height = 255, .backColor = 0xF8C4AF}, &Form6::Command1_Click},
    {&Form6::Command13, {.name = "Command13", .caption = "並変え実行", .left = 120, .top = 720, .width = 1095, .height = 255, .backColor = 0xFFFFFF}, &Form6::Command13_Click},
    {&Form6::Command10, {.name = "Command10", .caption = "元に戻す", .left = 120, .top = 960, .width = 1095, .height = 255, .backColor = 0xFFFFFF}, &Form6::Command10_Click},
    {&Form6::Command40, {.name = "Command40", .caption = "注目銘柄", .left = 2280, .top = 960, .width = 855, .height = 255, .backColor = 0xE0E0E0}, &Form6::Command40_Click},
    {&Form6::Command52, {.name = "Command52", .caption = "トレンド", .left = 3120, .top = 960, .width = 615, .height = 255, .backColor = 0xE0E0E0}, &Form6::Command52_Click},
    {&Form6::Command16, {.name = "Command16", .caption = "抽出", .left = 2280, .top = 1200, .width = 855, .height = 255, .backColor = 0xFFFFFF}, &Form6::Command16_Click},
    {&Form6::Command26, {.name = "Command26", .caption = "抽出", .left = 3120, .top = 1200, .width = 615, .height = 255, .backColor = 0xFFFFFF}, &Form6::Command26_Click},
    {&Form6::Command78, {.name = "Command78", .caption = "？", .left = 8880, .top = 600, .width = 255, .height = 255, .backColor = 0xFFC0C0}, &Form6::Command78_Click},
    {&Form6::Command34, {.name = "Command34", .caption = "銘柄で探す", .left = 5760, .top = 7320, .width = 1095, .height = 255}, &Form6::Command34_Click},
    {&Form6::Command33, {.name = "Command33", .caption = "コードで探す", .left = 7080, .top = 7320, .width = 1095, .height = 255}, &Form6::Command33_Click},
};

using TextRow = ui::ControlRow<Form6, ui::TextBox>;
const TextRow kTexts[] = {
    {&Form6::Text3, {.name = "Text3", .caption = "Text3", .left = 720, .top = 120, .width = 495, .height = 270, .backColor = 0x80FFFF}},
    {&Form6::Text7, {.name = "Text7", .caption = "", .left = 1440, .top = 1080, .width = 615, .height = 270}},
    {&Form6::Text1, {.name = "Text1", .caption = "", .visible = false}},
    {&Form6::Text2, {.name = "Text2", .caption = "", .visible = false}},
};

using LabelRow = ui::ControlRow<Form6, ui::Label>;
const LabelRow kLabels[] = {
    {&Form6::Label1, {.name = "Label1", .caption = "カードの枚数　", .left = 1200, .top = 840, .width = 1095, .height = 255, .transparent = true}, nullptr},
    {&Form6::Label6, {.name = "Label6", .caption = "枚", .left = 2040, .top = 1200, .width = 375, .height = 255, .transparent = true}, nullptr},
    {&Form6::Label11, {.name = "Label11", .caption = "銘柄をダブルクリック ⇒ トレンド注目銘柄へ", .left = 8280, .top = 7200, .width = 1335, .height = 375, .backColor = 0xF3B3A7}, nullptr},
    {&Form6::Label10, {.name = "Label10", .caption = "Delta Percent ？", .left = 4080, .top = 7320, .width = 1470, .height = 195, .backColor = 0xDAC898}, &Form6::Label10_Click},
};

// The ten link labels and how each builds its address.
using LinkRow = chart::LinkRow<Form6>;
chart::ChartLink withColour(chart::ChartLink l, long long back, const QString& caption) {
    l.backColor = back;
    l.caption = caption;
    return l;
}
const std::vector<LinkRow>& linkRows() {
    using chart::Site;
    using chart::Suffix;
    static const std::vector<LinkRow> rows = [] {
        chart::ChartLink second;
        second.label = "HprLnkEx17";
        second.site = Site::SecondChart;
        second.path = QStringLiteral("/smartchart.cfr?Scode=");
        second.backColor = 0xC0E0FF;
        return std::vector<LinkRow>{
            {&Form6::HprLnkEx1, 1800, 480, 735, 255,
             withColour(chart::quoteLink("HprLnkEx1", Suffix::QuoteLetters, chart::QuoteParams3M()), 0xC0FFC0,
                        chart::siteName(Site::Quote))},
            {&Form6::HprLnkEx6, 2400, 480, 255, 255,
             withColour(chart::quoteLink("HprLnkEx6", Suffix::QuoteLetters, chart::QuoteParams1Y()), 0x80FFFF,
                        QStringLiteral(" W"))},
            {&Form6::HprLnkEx16, 2640, 480, 255, 255,
             withColour(chart::quoteLink("HprLnkEx16", Suffix::QuoteLetters, chart::QuoteParams5Y()), -1,
                        QStringLiteral(" M"))},
            {&Form6::HprLnkEx2, 1800, 120, 735, 255,
             withColour(chart::chartLink("HprLnkEx2", Suffix::ChartSuffix120B3), 0xC0FFC0, chart::siteName(Site::Chart))},
            {&Form6::HprLnkEx17, 3000, 120, 615, 255, second},
            {&Form6::HprLnkEx14, 3000, 480, 495, 255,
             chart::fixedLink("HprLnkEx14", QStringLiteral("日経"), Site::Quote,
                              QStringLiteral("/q?s=998407.o") + chart::QuoteParams6M(), 0xC0FFC0)},
            {&Form6::HprLnkEx15, 2520, 120, 495, 255,
             chart::fixedLink("HprLnkEx15", QStringLiteral("日経"), Site::Chart,
                              QStringLiteral("/MnStock/mn_schart.html?qt=100000018.i") + chart::ChartParams090(), 0xC0FFC0)},
            {&Form6::HprLnkEx3, 1680, 7320, 735, 255,
             chart::fixedLink("HprLnkEx3", QStringLiteral("TOPIX"), Site::IndexPage, QStringLiteral("/tknnk0.html "))},
            {&Form6::HprLnkEx4, 120, 7320, 1455, 255,
             chart::fixedLink("HprLnkEx4", chart::siteName(Site::FlipChart), Site::FlipChart,
                              QStringLiteral("/paratto_chart.cgi?t=D6M&mkt=I1&ind=&name=&startidx=0&codes=&"))},
            {&Form6::HprLnkEx10, 2640, 7320, 855, 255,
             chart::fixedLink("HprLnkEx10", QStringLiteral("Rating"), Site::Rating,
                              QStringLiteral("/stocks_data/data/attention_rating/attention_rating.asp"))},
        };
    }();
    return rows;
}

// Group labels of the catalogue, by the group caption the records carry.
struct GroupLabel {
    const char* control;
    const char* group;
    int left, top, width, height;
};
const GroupLabel kGroupLabels[] = {
    {"Label5", "上昇中", 3600, 0, 735, 255},
    {"Label8", "連騰", 4440, 1320, 495, 255},
    {"Label3", "ランキング", 10080, 120, 855, 255},
    {"Label27", "　保合から上昇", 5880, -1800, 1215, 255},
    {"Label4", "横這から上昇", 4440, 120, 1095, 255},
    {"Label13", "反転上昇", 4560, 720, 855, 255},
    {"Label12", "押し目待ち", 7440, 0, 975, 255},
    {"Label7", "2段階上げ", 7560, 840, 855, 255},
    {"Label9", "移動平均", 9120, 600, 855, 255},
};


}  // namespace

Form6::Form6() : ui::DefaultForm<Form6>(QStringLiteral("Form6")) {
    Move(0, 0, 10875, 7650);
    buildFrame();
    buildCatalogue();
    buildLinks();
}

void Form6::buildFrame() {
    addControls(this, kTexts);
    addControls(this, kLabels);
    addControls(this, kButtons);
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 0, .top = 1560, .width = 10815, .height = 5655});
    Data1 = addData({.name = "Data1", .caption = "Data1", .visible = false});
    Data1->Connect = QStringLiteral("Access 2000;");
    MSFlexGrid1->bind(Data1);
    on(MSFlexGrid1->EnterCell, [this] { MSFlexGrid1_EnterCell(); }, "MSFlexGrid1_EnterCell");
    on(MSFlexGrid1->DblClick, [this] { MSFlexGrid1_DblClick(); }, "MSFlexGrid1_DblClick");
    on(Text7->Change, [this] { Text7_Change(); }, "Text7_Change");
}

void Form6::buildCatalogue() {
    patterns_ = trend::listedStockCatalogue();
    for (const GroupLabel& g : kGroupLabels) {
        const QString group = QString::fromUtf8(g.group);
        const bool used = std::any_of(patterns_.begin(), patterns_.end(),
                                      [&](const trend::TrendPattern& p) { return p.group == group; });
        if (!used) continue;
        groupLabels_.insert(QString::fromLatin1(g.control),
                            addLabel({.name = g.control, .caption = group, .left = g.left, .top = g.top,
                                      .width = g.width, .height = g.height, .transparent = true}));
    }
    for (size_t i = 0; i < patterns_.size(); ++i) {
        const trend::TrendPattern& p = patterns_[i];
        const QByteArray name = p.control.toLatin1();
        ui::CommandButton* b = addButton({.name = name.constData(), .caption = p.caption, .left = p.left,
                                          .top = p.top, .width = p.width, .height = p.height,
                                          .backColor = p.faceColor});
        b->Name = p.control;
        if (p.fontPoints > 0) {
            QFont font = b->font();
            font.setPointSizeF(p.fontPoints);
            b->setFont(font);
        }
        // A button on the spot of another lies beneath it: only the keyboard reaches it.
        if (p.shown == trend::Shown::UnderAnother) b->lower();
        patternButtons_.insert(p.control, b);
        on(b->Click, [this, i] { patternClick(patterns_[i]); }, "pattern button");
    }
    orderTabs();
}

// The tab order: the frame's buttons, then the pattern buttons in catalogue order; a record with
// a fixed place in the order is moved there.
void Form6::orderTabs() {
    std::vector<QWidget*> chain;
    for (const ButtonRow& b : kButtons) chain.push_back(this->*b.member);
    for (const trend::TrendPattern& p : patterns_)
        if (p.tabIndex < 0) chain.push_back(patternButton(p.control));
    std::vector<const trend::TrendPattern*> fixed;
    for (const trend::TrendPattern& p : patterns_)
        if (p.tabIndex >= 0) fixed.push_back(&p);
    std::sort(fixed.begin(), fixed.end(), [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    for (const trend::TrendPattern* p : fixed)
        chain.insert(chain.begin() + std::min<size_t>(size_t(p->tabIndex), chain.size()), patternButton(p->control));
    for (size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void Form6::buildLinks() { addLinks(this, linkRows(), &Form6::Text1, &Form6::Text2); }

// ---- load, titles, frame handlers

void Form6::Form_Load() {
    step([&] { Module1::TrendMode = Module1::MenuMode - 1000; });
    step([&] { MSFlexGrid1->setRedraw(false); });
    for (const Universe& u : kUniverses) {
        if (u.mode != Module1::TrendMode) continue;
        step([&] { Data1->DatabaseName = Module1::MainDbPath; });
        step([&] { Module1::TrendBaseSql = *u.sql ? QString::fromUtf8(u.sql) : Module1::WatchListSql; });
        step([&] { Data1->RecordSource = Module1::TrendBaseSql; });
        step([&] { setBackColor(u.color); });
        step([&] { setCaption(QString::fromUtf8(u.caption)); });
        if (u.mode == 1 || u.mode == 2) step([&] { Data1->Refresh(); });
    }
    step([&] { Data1->Refresh(); });
    step([&] { MSFlexGrid1->setRedraw(true); });
    step([&] { Data1->Refresh(); });
    step([&] { Data1->Options = 1; });
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
    titleDates();
    step([&] {
        const QString unit = services::periodRecordCell(12);
        for (const UnitTitles& t : kUnitTitles)
            if (unit == QLatin1String(t.unit)) Text3->setText(unit);
    });
    step([&] { hi_title(); });
    step([&] { MSFlexGrid1->setCol(3); });
    step([&] { MSFlexGrid1->Sort(1); });
}

// The two price columns take the newest and the oldest period date of the menu's date record.
void Form6::titleDates() {
    step([&] { MSFlexGrid1->setTextMatrix(0, 6, services::periodRecordCell(2)); });
    step([&] { MSFlexGrid1->setTextMatrix(0, 7, services::periodRecordCell(11)); });
}

void Form6::hi_title() {
    titleDates();
    step([&] {
        const QString unit = services::periodRecordCell(12);
        for (const UnitTitles& t : kUnitTitles) {
            if (unit != QLatin1String(t.unit)) continue;
            for (int n = 1; n <= 9; ++n)
                MSFlexGrid1->setTextMatrix(0, n + 7, QString::number(n) + QString::fromUtf8(t.suffix));
            break;
        }
    });
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

// The hidden boxes follow the current row: after every move, refresh and sort. The header row
// (current after a tinted pattern) holds no stock: the boxes are then empty.
void Form6::MSFlexGrid1_EnterCell() {
    step([&] { Text2->setText(MSFlexGrid1->currentRowText(4)); });
    step([&] { Text1->setText(MSFlexGrid1->currentRowText(3)); });
}

void Form6::Text7_Change() {
    step([&] { Text7->setText(QString::number(MSFlexGrid1->Rows() - 1)); });
}

void Form6::Command5_Click() {
    step([&] { services::showMenu(); });
    step([&] { Unload(); });
    Module1::TrendMode = 0;
}

// ---- patterns

void Form6::patternClick(const trend::TrendPattern& p) {
    trend::PatternScreen screen{Data1, MSFlexGrid1, [this] { hi_title(); }};
    trend::ApplyTrendPattern(p, patternButton(p.control), Module1::TrendBaseSql,
                             trend::AndFormTest(Module1::TrendBaseSql), screen);
}

// ---- searches, restore, sort

// Runs a search condition over the universe. A condition that cannot be valid SQL (an answer
// that is no code) sends no query: the grid keeps its rows, as after a failed query.
void Form6::search(const QString& condition, bool valid) {
    const QString join = trend::AndFormTest(Module1::TrendBaseSql) ? QStringLiteral(" and ") : QStringLiteral("where ");
    trend::searchOrSort(*Data1, *MSFlexGrid1,
                        valid ? std::optional<QString>(Module1::TrendBaseSql + join + condition) : std::nullopt);
    step([&] { hi_title(); });
}

void Form6::Command33_Click() {
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QStringLiteral("検索するコードを入力してください"), QStringLiteral("検索"), QString()); });
    const std::optional<long long> code = platform::sqlWholeNumber(answer.value_or(QString()));
    search(QStringLiteral("[コード]=") + (code ? QString::number(*code) : QString()), code.has_value());
}

void Form6::Command34_Click() {
    std::optional<QString> answer;
    step([&] { answer = ui::InputBox(QStringLiteral("検索する銘柄を入力してください"), QStringLiteral("検索"), QString()); });
    search(QStringLiteral("[銘柄] like '*") + platform::sqlEscaped(answer.value_or(QString())) + QStringLiteral("*'"), true);
}

void Form6::Command10_Click() {
    step([&] { MSFlexGrid1->setRedraw(false); });
    step([&] { Data1->RecordSource = Module1::TrendBaseSql; });
    step([&] { Data1->Refresh(); });
    step([&] { MSFlexGrid1->setRedraw(true); });
    step([&] { MSFlexGrid1->setCol(5); });
    step([&] { MSFlexGrid1->Sort(1); });
    step([&] { hi_title(); });
}

void Form6::Command1_Click() {
    step([&] {
        ui::MsgBox(QStringLiteral("列の見出し（コード or 日付 or 市場 or　株価 or　DP or　情報源）をクリックしてください\r\n"
                                  "昇順に並び替えを行います."),
                   ui::vbOKOnly, QStringLiteral("並び替え"));
    });
}

void Form6::Command13_Click() {
    step([&] {
        const int c = MSFlexGrid1->Col();
        if (c == 3) MSFlexGrid1->Sort(5);
        else if (c >= 1 && c <= 16) MSFlexGrid1->Sort(1);
    });
    step([&] { hi_title(); });
}

// ---- watch-list extraction

// Restricts the universe to the codes in column 2 of a list window's grid (rows 1 to 100).
// A code cell that is not a whole number sends no query: the grid keeps its rows, as after a
// query the database rejects.
void Form6::extract(ui::FlexGrid* listGrid) {
    constexpr int kLimit = 100;
    QString sql = Module1::TrendBaseSql;
    const bool andForm = trend::AndFormTest(sql);
    bool valid = true;
    step([&] {
        const int rows = listGrid->Rows();
        auto code = [&](int r) {
            const std::optional<long long> c = platform::sqlWholeNumber(listGrid->TextMatrix(r, 2));
            if (!c) valid = false;
            return c ? QString::number(*c) : QString();
        };
        QString condition;
        if (rows > 2) {
            condition = QStringLiteral("([コード]=") + code(1);
            for (int r = 2; r < rows && r <= kLimit; ++r) condition += QStringLiteral(" Or  [コード]=") + code(r);
            condition += QStringLiteral(")");
        } else if (rows == 2) {
            condition = QStringLiteral("[コード]=") + code(1);
        } else {
            condition = QStringLiteral("[コード]=1000");
        }
        const QString join = andForm ? QStringLiteral(" and ") : rows > 2 ? QStringLiteral(" where ") : QStringLiteral("where ");
        sql += join + condition;
    });
    if (valid) {
        step([&] { Data1->RecordSource = sql; });
        step([&] { Data1->Refresh(); });
    }
    step([&] { hi_title(); });
    step([&] { MSFlexGrid1->setCol(8); });
    step([&] { MSFlexGrid1->Sort(4); });
}

void Form6::Command16_Click() { extract(Form13::it().MSFlexGrid1); }
void Form6::Command26_Click() { extract(Form17::it().MSFlexGrid1); }

// ---- registration and help

// Registers the stock of the current row into the trend watch list. Only a data row whose code
// is a whole number is registered; the header row (current after every pattern) or a row
// without a code registers nothing.
void Form6::MSFlexGrid1_DblClick() {
    const int r = MSFlexGrid1->Row();
    if (r < 1 || r >= MSFlexGrid1->Rows()) return;
    const std::optional<long long> code = platform::sqlWholeNumber(MSFlexGrid1->TextMatrix(r, 3));
    if (!code) return;
    lists::WatchEntry e{QString::number(*code)};
    step([&] { e.name = MSFlexGrid1->TextMatrix(r, 2); });
    step([&] { e.market = MSFlexGrid1->TextMatrix(r, 4); });
    step([&] { e.unit = MSFlexGrid1->TextMatrix(r, 5); });
    lists::registerIntoList<Form17>([&](platform::DataControl& list) { lists::addWatchEntry(list, e); });
}

void Form6::Command40_Click() { step([&] { Form13::it().Show(); }); }
void Form6::Command52_Click() { step([&] { Form17::it().Show(); }); }

void Form6::Label10_Click() {
    step([&] {
        const QString dash(49, u'-');
        const QString unit = services::periodRecordCell(12);
        QString n, lead;
        if (unit == QLatin1String("week")) n = QStringLiteral("ｎ週前"), lead = QStringLiteral("ｎ週前のＸが");
        else if (unit == QLatin1String("day")) n = QStringLiteral("ｎ日前"), lead = QStringLiteral("ｎ日前が");
        else if (unit == QLatin1String("month")) n = QStringLiteral("ｎ月前"), lead = QStringLiteral("ｎ月前が");
        else return;
        const QStringList lines = {
            n + QStringLiteral("の欄の値を　Ｘ　とすると"),
            dash,
            QStringLiteral("Ｘ=（") + n + QStringLiteral("の株価／直近の株価*100）-100　（％）"),
            dash,
            lead + QStringLiteral("　　２０　ならば　直近より２０％　高い"),
            lead + QStringLiteral("　－２５　ならば　直近より２５％　安い"),
            dash,
        };
        ui::MsgBox(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), ui::vbOKOnly);
    });
}

void Form6::Command78_Click() {
    // An empty title of its own, not the program's name.
    ui::MsgBox(QStringLiteral("移動平均を用いて上昇銘柄をリストアップします"), ui::vbOKOnly, QStringLiteral(""));
}

void Form6::Command72_Click() { step([&] { services::showWindow(QStringLiteral("Form23")); }); }
