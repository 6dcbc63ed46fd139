#include "lists/list_forms.h"

using namespace lists;
using chart::ChartLink;
using chart::Suffix;

namespace {

constexpr unsigned kTitleBack = 0xC0E0FF;   // light orange
constexpr unsigned kGrey = 0x808080;

ControlRow row(Kind k, Role r, ui::ControlSpec s) { return {k, r, std::move(s)}; }

// The controls of Form13, Form17 and Form31 (only the title differs), and of Form14, which has
// another sort caption and no links.
std::vector<ControlRow> watchControls(const QString& title, const QString& sortCaption = QStringLiteral("並び換え"),
                                      bool withLinks = true) {
    std::vector<ControlRow> rows = {
        row(Kind::Label, Role::Title,
            {.name = "Label3", .caption = title, .left = 120, .top = 120, .width = 2760, .height = 420,
             .backColor = kTitleBack, .foreColor = 0xC0, .fontPoints = 12, .bold = true}),
        row(Kind::Text, Role::Count, {.name = "Text9", .left = 3120, .top = 150, .width = 780, .height = 360}),
        row(Kind::Grid, Role::Grid, {.name = "MSFlexGrid1", .left = 120, .top = 660, .width = 4920, .height = 4200}),
        row(Kind::Data, Role::Data,
            {.name = "Data1", .caption = "Data1", .left = 120, .top = 4980, .width = 2400, .height = 360}),
        row(Kind::Button, Role::Sort,
            {.name = "Command3", .caption = sortCaption, .left = 2640, .top = 4980, .width = 1080, .height = 360}),
        row(Kind::Label, Role::DeleteHelp,
            {.name = "Label2", .caption = "削除準備", .left = 120, .top = 5460, .width = 1080, .height = 360,
             .backColor = 0xE0E0E0}),
        row(Kind::Button, Role::Delete,
            {.name = "Command1", .caption = "削除実行", .left = 1320, .top = 5460, .width = 1200, .height = 360}),
        row(Kind::Button, Role::Ok,
            {.name = "Command2", .caption = "OK", .left = 3840, .top = 4980, .width = 1200, .height = 840}),
    };
    if (!withLinks) return rows;
    rows.insert(rows.end(), {
        row(Kind::Label, Role::Caption,
            {.name = "Label4", .caption = "銘柄名をポイント⇒", .left = 120, .top = 6000, .width = 2160, .height = 300,
             .transparent = true}),
        row(Kind::Link, Role::Link, {.name = "HprLnkEx1", .left = 2400, .top = 6000, .width = 1200, .height = 300}),
        row(Kind::Link, Role::Link, {.name = "HprLnkEx2", .left = 3720, .top = 6000, .width = 1200, .height = 300}),
        row(Kind::Text, Role::CodeBox, {.name = "Text2", .visible = false}),
        row(Kind::Text, Role::MarketBox, {.name = "Text1", .visible = false}),
    });
    return rows;
}

const std::vector<int> kWatchWidths = {200, 450, 600, 850, 700, 500, 1100};

// The captions of the link labels come from their links.
void captionLinks(std::vector<ControlRow>& rows, const std::vector<ChartLink>& links) {
    size_t i = 0;
    for (ControlRow& r : rows)
        if (r.role == Role::Link && i < links.size()) r.def.caption = links[i++].caption;
}

ListSpec watchSpec(ListSpec s, const QString& title) {
    s.controls = watchControls(title);
    s.widths = kWatchWidths;
    s.width = 5160;
    s.height = 6420;
    captionLinks(s.controls, s.links);
    return s;
}

const ListSpec& spec13() {
    static const ListSpec s = watchSpec(
        {.name = "Form13", .backColor = kGrey, .table = "checklist", .tellLoadFailure = true,
         .listTitle = QStringLiteral("注目銘柄"),
         .links = {chart::quoteLink("HprLnkEx1", Suffix::QuoteSuffix6M),
                   chart::chartLink("HprLnkEx2", Suffix::ChartSuffix120)}},
        QStringLiteral("注目銘柄"));
    return s;
}

const ListSpec& spec17() {
    static const ListSpec s = watchSpec(
        {.name = "Form17", .backColor = 0xC0, .table = "trend", .tellLoadFailure = true,
         .listTitle = QStringLiteral("トレンド注目銘柄"),
         .links = {chart::quoteLink("HprLnkEx1", Suffix::QuoteSuffix6MFull),
                   chart::chartLink("HprLnkEx2", Suffix::ChartSuffix120)}},
        QStringLiteral("トレンド注目銘柄"));
    return s;
}

const ListSpec& spec31() {
    static const ListSpec s = watchSpec(
        {.name = "Form31", .backColor = 0x00FFFF, .table = "checklist2", .sort = SortRule::ColumnGeneric,
         .ok = OkRule::HideShowMenu, .tellLoadFailure = true, .listTitle = QStringLiteral("特別注目銘柄"),
         .links = {chart::quoteLink("HprLnkEx1", Suffix::QuoteSuffixOtc),
                   chart::chartLink("HprLnkEx2", Suffix::ChartSuffix120Otc)}},
        QStringLiteral("特別注目銘柄"));
    return s;
}

const ListSpec& spec12() {
    static const ListSpec s = [] {
        ChartLink k = chart::chartLink("HprLnkEx2", Suffix::ChartSuffix060);
        k.caption = QStringLiteral("K");
        ListSpec s{
            .name = "Form12", .backColor = kGrey, .table = "mylist",
            .widths = {250, 350, 500, 1400, 800, 1200},
            .width = 5160, .height = 6420,
            .ok = OkRule::UnloadShowMenu, .dblClick = DblClickRule::RememberCode, .del = DeleteRule::Remembered,
            .tellLoadFailure = true, .listTitle = QStringLiteral("保有銘柄"),
            .controls = {
                row(Kind::Label, Role::Title,
                    {.name = "Label1", .caption = "保有銘柄", .left = 120, .top = 120, .width = 2760, .height = 420,
                     .backColor = kTitleBack, .foreColor = 0xFF, .fontPoints = 12, .bold = true}),
                row(Kind::Text, Role::Count, {.name = "Text1", .left = 3120, .top = 150, .width = 780, .height = 360}),
                row(Kind::Grid, Role::Grid,
                    {.name = "MSFlexGrid1", .left = 120, .top = 660, .width = 4920, .height = 4200}),
                row(Kind::Data, Role::Data, {.name = "Data1", .visible = false}),
                row(Kind::Button, Role::Register,
                    {.name = "Command4", .caption = "登録を続ける", .left = 120, .top = 4980, .width = 1500,
                     .height = 360}),
                row(Kind::Button, Role::DeleteHelp,
                    {.name = "Command2", .caption = "削除準備", .left = 120, .top = 5460, .width = 1080,
                     .height = 360}),
                row(Kind::Button, Role::Delete,
                    {.name = "Command5", .caption = "削除実行", .left = 1320, .top = 5460, .width = 1200,
                     .height = 360}),
                row(Kind::Button, Role::Ok,
                    {.name = "Command3", .caption = "OK", .left = 3840, .top = 4980, .width = 1200, .height = 840}),
                row(Kind::Label, Role::Caption,
                    {.name = "Label4", .caption = "銘柄名をポイント⇒", .left = 120, .top = 6000, .width = 2160,
                     .height = 300, .transparent = true}),
                row(Kind::Link, Role::Link,
                    {.name = "HprLnkEx1", .left = 2280, .top = 6000, .width = 1020, .height = 300}),
                row(Kind::Link, Role::Link,
                    {.name = "HprLnkEx2", .left = 3360, .top = 6000, .width = 420, .height = 300}),
                row(Kind::Link, Role::Link,
                    {.name = "HprLnkEx3", .left = 3840, .top = 6000, .width = 1200, .height = 300}),
                row(Kind::Text, Role::CodeBox, {.name = "Text4", .visible = false}),
                row(Kind::Text, Role::MarketBox, {.name = "Text3", .visible = false}),
            },
            .links = {chart::quoteLink("HprLnkEx1", Suffix::QuoteLetters, chart::QuoteParams3M()), k,
                      chart::chartLink("HprLnkEx3", Suffix::ChartSuffix120B3)},
        };
        captionLinks(s.controls, s.links);
        return s;
    }();
    return s;
}

const ListSpec& spec14() {
    static const ListSpec s{
        .name = "Form14", .backColor = kGrey, .table = "情報源リスト",
        .widths = {200, 450, 2500},
        .width = 5160, .height = 5940,
        .sort = SortRule::BySource, .dblClick = DblClickRule::Choose, .del = DeleteRule::CurrentId,
        .controls = watchControls(QStringLiteral("お気に入り情報源"), QStringLiteral("並替"), false),
    };
    return s;
}

}  // namespace

QString Form12::rememberedCriterion;

Form13::Form13() : WatchListForm<Form13>(spec13()) {}
Form17::Form17() : WatchListForm<Form17>(spec17()) {}
Form31::Form31() : WatchListForm<Form31>(spec31()) {}

Form12::Form12()
    : ListForm<Form12>(spec12(), &rememberedCriterion),
      Label1(control<ui::Label>("Label1")),
      MSFlexGrid1(core_.grid),
      Data1(core_.data),
      Text1(core_.count),
      Command4(control<ui::CommandButton>("Command4")),
      Command2(control<ui::CommandButton>("Command2")),
      Command5(control<ui::CommandButton>("Command5")),
      Command3(control<ui::CommandButton>("Command3")),
      Label4(control<ui::Label>("Label4")),
      HprLnkEx1(core_.links.at(0)),
      HprLnkEx2(core_.links.at(1)),
      HprLnkEx3(core_.links.at(2)),
      Text4(core_.codeBox),
      Text3(core_.marketBox) {}

Form14::Form14()
    : ListForm<Form14>(spec14()),
      Label3(control<ui::Label>("Label3")),
      MSFlexGrid1(core_.grid),
      Data1(core_.data),
      Text9(core_.count),
      Command3(control<ui::CommandButton>("Command3")),
      Label2(control<ui::Label>("Label2")),
      Command1(control<ui::CommandButton>("Command1")),
      Command2(control<ui::CommandButton>("Command2")) {}
