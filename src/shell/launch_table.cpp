#include "shell/launch_table.h"
#include "platform/data/sql_text.h"
#include "platform/ui/colors.h"
#include "platform/ui/dialogs.h"
#include "shell/menu_layout.h"
#include "services/module1.h"

namespace shell {

using namespace menu_layout;

namespace {

const QString kCardTrend = QStringLiteral("Form16");
const QString kStockTrend = QStringLiteral("Form6");
const QString kCardsBase = QStringLiteral("select * from [a000-all]");
const QString kStocksBase = QStringLiteral("select * from [list1plus]");
const QString kNoWatchEntry = QStringLiteral("注目銘柄は選択されていません");

LaunchRow cardUniverse(const char* control, const char* caption, int mode, Geo geo) {
    return {.control = QString::fromUtf8(control), .caption = QString::fromUtf8(caption),
            .block = QStringLiteral("絞込み検索"), .color = 0xC0FFC0, .geo = geo, .menuMode = mode,
            .shows = {kCardTrend}};
}

LaunchRow stockUniverse(const char* control, const char* caption, int mode, Geo geo) {
    return {.control = QString::fromUtf8(control), .caption = QString::fromUtf8(caption),
            .block = QStringLiteral("トレンド調査"), .color = 0x80FF80, .geo = geo, .menuMode = mode,
            .shows = {kStockTrend}};
}

LaunchRow purge(const char* control, const char* caption, const char* word, Geo geo) {
    return {.control = QString::fromUtf8(control), .caption = QString::fromUtf8(caption),
            .block = QStringLiteral("カードの削除"), .color = 0xC0C0, .geo = geo, .purgeKind = QString::fromUtf8(word),
            .shows = {QStringLiteral("Form19")}};
}

LaunchRow listUniverse(const char* control, const char* caption, const char* block, unsigned color, Geo geo,
                       int mode, const QString& screen, ListUniverse list) {
    return {.control = QString::fromUtf8(control), .caption = QString::fromUtf8(caption),
            .block = QString::fromUtf8(block), .color = color, .geo = geo, .kind = Launch::List, .menuMode = mode,
            .shows = {screen}, .list = std::move(list)};
}

std::vector<LaunchRow> buildLaunchTable() {
    using namespace Module1;
    return {
        {.control = QStringLiteral("Command1"), .caption = QStringLiteral("収集"), .block = QStringLiteral("カード収集"),
         .color = 0x80C0FF, .geo = menuCell(kCollectRow, kCol1, kFullWidth), .kind = Launch::Collect,
         .shows = {QStringLiteral("Form2"), QStringLiteral("Form1"), QStringLiteral("Form11")}},
        {.control = QStringLiteral("Command18"), .caption = QStringLiteral("エクセルファイルの一括取込"),
         .block = QStringLiteral("強化"), .color = 0xFFC0C0, .geo = menuCell(kExcelRow, kCol1, kFullWidth),
         .kind = Launch::ExcelImport, .menuMode = 500, .importKind = QStringLiteral("Excel"),
         .shows = {QStringLiteral("Form25")}, .menu = MenuAfter::Stays},
        {.control = QStringLiteral("Command10"), .caption = QStringLiteral("株価入力"), .block = QStringLiteral("強化"),
         .color = 0xFFFF80, .geo = menuCell(kPriceEntryRow, kCol1, kFullWidth), .menuMode = 100,
         .shows = {QStringLiteral("Form28"), QStringLiteral("Form18")}},
        {.control = QStringLiteral("Command60"), .caption = QStringLiteral("株価テーブルの更新"),
         .block = QStringLiteral("強化"), .color = 0xFFC0C0, .geo = menuCell(kPriceTableRow, kCol1, kFullWidth),
         .importKind = QStringLiteral("kbktable0"), .clearImportPath = true, .shows = {QStringLiteral("Form25")},
         .menu = MenuAfter::Stays},

        cardUniverse("Command2", "全銘柄", 10, menuCell(kAllCardsRow, kCol1, kColWidth)),
        cardUniverse("Command21", "千株単位", 4, menuCell(kAllCardsRow, kCol2, kColWidth)),
        cardUniverse("Command45", "推奨銘柄", 7, menuCell(kAllCardsRow, kCol3, kColWidth)),
        cardUniverse("Command4", "一部市場", 1, menuCell(kFirstSectionRow, kCol1, kColWidth)),
        cardUniverse("Command8", "百株単位", 5, menuCell(kFirstSectionRow, kCol2, kColWidth)),
        cardUniverse("Command52", "新高値銘柄", 15, menuCell(kFirstSectionRow, kCol3, kColWidth)),
        {.control = QStringLiteral("Command7"), .caption = QStringLiteral("期間内の情報数調査"), .block = QString(),
         .color = 0xFFFF, .geo = beyondRightEdge(kFirstSectionRow, 0, kBeyondWidth),
         .shows = {QStringLiteral("Form19")}},
        cardUniverse("Command5", "二部市場", 2, menuCell(kSecondSectionRow, kCol1, kColWidth)),
        cardUniverse("Command9", "一株単位", 6, menuCell(kSecondSectionRow, kCol2, kColWidth)),
        {.control = QStringLiteral("Command43"), .caption = QStringLiteral("extra"), .block = QStringLiteral("絞込み検索"),
         .color = 0xC0FFC0, .geo = menuCell(kSecondSectionRow, kCol3, kColWidth), .kind = Launch::Extra,
         .menuMode = 16, .shows = {kCardTrend}},
        cardUniverse("Command6", "新興銘柄", 3, menuCell(kEmergingRow, kCol1, kColWidth)),
        cardUniverse("Command38", "東１*２０万", 8, menuCell(kEmergingRow, kCol2, 2 * kColWidth + 2)),

        listUniverse("Command48", "保有銘柄", "絞込み検索", 0xFF00, menuCell(kHoldingsRow, kCol1, 54), 14, kCardTrend,
                     {QStringLiteral("Form12"), ListKind::Codes, 100, &HoldingsSql, kCardsBase, kKeep,
                      OnEmptyList::Stop, QStringLiteral("保有銘柄が選択されていません")}),
        listUniverse("Command46", "注目銘柄", "絞込み検索", 0xFF00, menuCell(kHoldingsRow, kCol1 + 56, 54), 12,
                     kCardTrend,
                     {QStringLiteral("Form13"), ListKind::Codes, 150, &WatchListSql, kCardsBase, kKeep,
                      OnEmptyList::ShowMenu, kNoWatchEntry}),
        listUniverse("Command64", "トレンド注目", "絞込み検索", 0xFF00, menuCell(kHoldingsRow, kCol1 + 112, 66), 12,
                     kCardTrend,
                     {QStringLiteral("Form17"), ListKind::Codes, 150, &WatchListSql, kCardsBase, kKeep,
                      OnEmptyList::ShowMenu, kNoWatchEntry}),
        listUniverse("Command32", "特別注目銘柄", "絞込み検索", 0xFF00, menuCell(kSpecialRow, kCol1, 76), 11, kCardTrend,
                     {QStringLiteral("Form31"), ListKind::Codes, 100, &SpecialWatchSql, kCardsBase, kKeep,
                      OnEmptyList::Stop, QStringLiteral("特別注目銘柄は　ひとつも選択されていません")}),
        listUniverse("Command47", "お気に入情報銘柄", "絞込み検索", 0xFF00, menuCell(kSpecialRow, kCol1 + 78, 100), 13,
                     kCardTrend,
                     {QStringLiteral("Form14"), ListKind::Sources, 150, &FavouriteSourceSql, kCardsBase, kKeep,
                      OnEmptyList::OpenAll, QStringLiteral("情報源が　ひとつも選択されていません。")}),
        {.control = QStringLiteral("Command12"), .caption = QStringLiteral("株価DATAの表示"),
         .block = QStringLiteral("絞込み検索"), .color = 0xFFFF80, .geo = menuCell(kPriceDataRow, kCol1, kFullWidth),
         .menuMode = 100, .shows = {QStringLiteral("Form28")}},

        stockUniverse("Command53", "全市場", 1001, menuCell(kTrendRow1, kCol1, kColWidth)),
        stockUniverse("Command11", "１部", 1002, menuCell(kTrendRow1, kCol2, kColWidth)),
        stockUniverse("Command44", "２部", 1003, menuCell(kTrendRow1, kCol3, kColWidth)),
        stockUniverse("Command55", "新興", 1004, menuCell(kTrendRow2, kCol1, kColWidth)),
        stockUniverse("Command56", "千株", 1005, menuCell(kTrendRow2, kCol2, kColWidth)),
        stockUniverse("Command57", "百株", 1006, menuCell(kTrendRow2, kCol3, kColWidth)),
        stockUniverse("Command58", "一株", 1007, menuCell(kTrendRow3, kCol1, kColWidth)),
        stockUniverse("Command59", "東１低位", 1008, menuCell(kTrendRow3, kCol2, kColWidth)),
        stockUniverse("Command54", "3-50万", 1009, menuCell(kTrendRow3, kCol3, kColWidth)),
        listUniverse("Command27", "注目銘柄", "トレンド調査", 0xC0FFC0, menuCell(kTrendListRow, kCol1, 70), 1023,
                     kStockTrend,
                     {QStringLiteral("Form13"), ListKind::Codes, 150, &WatchListSql, kStocksBase, 23,
                      OnEmptyList::OpenAll, kNoWatchEntry}),
        listUniverse("Command28", "トレンド注目銘柄", "トレンド調査", 0xC0FFC0, menuCell(kTrendListRow, kCol1 + 72, 106),
                     1022, kStockTrend,
                     {QStringLiteral("Form17"), ListKind::Codes, 150, &WatchListSql, kStocksBase, 22,
                      OnEmptyList::OpenAll, kNoWatchEntry}),

        {.control = QStringLiteral("Command14"), .caption = QStringLiteral("保有銘柄の登録・管理"), .block = QString(),
         .color = 0x8BA0F8, .geo = menuCell(kRegisterHoldingsRow, kCol1, kFullWidth), .menuMode = 201,
         .shows = {QStringLiteral("Form12"), QStringLiteral("Form20")}, .menu = MenuAfter::HidesFirst},
        {.control = QStringLiteral("Command49"), .caption = QStringLiteral("特別注目銘柄の登録・管理"), .block = QString(),
         .color = 0x8BA0F8, .geo = menuCell(kRegisterSpecialRow, kCol1, kFullWidth), .menuMode = 202,
         .shows = {QStringLiteral("Form31"), QStringLiteral("Form20")}, .menu = MenuAfter::HidesFirst},

        {.control = QStringLiteral("Command13"), .caption = QStringLiteral("データベースのバックアップ"),
         .block = QStringLiteral("ユーティリティ"), .color = 0xDAC898, .geo = menuCell(kBackupRow, kCol1, kFullWidth),
         .shows = {QStringLiteral("Form8")}, .menu = MenuAfter::Stays},
        {.control = QStringLiteral("Command17"), .caption = QStringLiteral("カードのIMPORT"),
         .block = QStringLiteral("ユーティリティ"), .color = 0xDAC898, .geo = menuCell(kImportRow, kCol1, kFullWidth),
         .menuMode = 250, .importKind = QStringLiteral("Access"), .clearImportPath = true,
         .shows = {QStringLiteral("Form25")}, .menu = MenuAfter::Stays},
        {.control = QStringLiteral("Command20"), .caption = QStringLiteral("メモ帖の表示"),
         .block = QStringLiteral("ユーティリティ"), .color = 0x80FF80, .geo = menuCell(kMemoRow, kCol1, kFullWidth),
         .shows = {QStringLiteral("Form7")}, .menu = MenuAfter::Stays},

        purge("Command19", "カード", "main", menuCell(kPurgeRow, kCol1, 43)),
        purge("Command39", "分割", "bunkatu", menuCell(kPurgeRow, kCol1 + 45, 43)),
        purge("Command36", "格付", "nifty", menuCell(kPurgeRow, kCol1 + 90, 43)),
        purge("Command29", "新高値", "takane", menuCell(kPurgeRow, kCol1 + 135, 43)),
        {.control = QStringLiteral("Command62"), .caption = QStringLiteral("市場　単位の入力"), .block = QString(),
         .color = 0x80FFFF, .geo = menuCell(kMarketUnitRow, kCol1, kFullWidth), .menuMode = 550,
         .shows = {QStringLiteral("Form28"), QStringLiteral("Form15")}},
    };
}

HelpRow help(const char* control, const char* beside, unsigned color, Geo geo, std::optional<QString> title,
             int style, std::initializer_list<const char*> lines) {
    QStringList text;
    for (const char* l : lines) text << QString::fromUtf8(l);
    return {QString::fromUtf8(control), QString::fromUtf8(beside), color, geo, std::move(title), style, text};
}

const std::optional<QString> kProgramTitle;

std::vector<HelpRow> buildHelpTable() {
    using namespace ui;
    return {
        help("Command22", "収集", 0x80C0FF, helpCell(kCollectRow), kProgramTitle, vbOKCancel,
             {"銘柄情報を収集します。", "", "週足単位では使用できません"}),
        help("Command30", "エクセルファイルの一括取込", 0xFFC0C0, helpCell(kExcelRow),
             QStringLiteral("エクセルシートの取り込み"), vbOKOnly | vbInformation,
             {"エクセルのファイルをここから取り込むことができます。", "業績情報　分割情報　をエクセルマクロで加工して　",
              "エクセルのシートとしておく必要があります。　", "そのときのシート名が必要になります。　",
              "週足単位では使用できません。"}),
        help("Command23", "株価入力", 0xFFFF80, helpCell(kPriceEntryRow), QStringLiteral("株価の入力"),
             vbOKCancel | vbExclamation,
             {"カードに株価のデータを登録します。", "", "前もって　owarine**.xls　に　株価データを",
              "登録しておく必要があります。"}),
        help("Command15", "期間内の情報数調査", 0xFFFF, beyondRightEdge(kFirstSectionRow, kBeyondWidth + 2, kHelpWidth),
             QStringLiteral("週間単位での情報量の多い銘柄の表示"), vbOKCancel | vbInformation,
             {"過去１週間　　で情報数の多い銘柄を順に表示します。", "過去２週間", "過去３週間"}),
        help("Command26", "東１*２０万", 0xC0FFC0, helpCell(kEmergingRow), kProgramTitle, vbOKCancel | vbInformation,
             {"以下の分類で検索します。", "　全銘柄　　　　　　売買単位 　千株銘柄", "　一部銘柄　　　　　　　　　　 百株銘柄",
              "　二部銘柄　　　　　　　　　　 一株銘柄", "　新興市場銘柄 (ジャスダック、マザー、ヘラクレス)",
              "　低位銘柄　　　　　300円以下　　　　", "　短期銘柄　　　　　短期の注目銘柄　",
              "　動意銘柄　　      動きのある銘柄", "　Extra　　          追加情報　"}),
        help("Command34", "お気に入情報銘柄", 0xFF00, helpCell(kSpecialRow), kProgramTitle, vbOKCancel | vbInformation,
             {"保有銘柄 　注目銘柄　特別注目銘柄　推奨銘柄は　", "前もってそれぞれのリストに登録しておくことが必要です",
              "推奨銘柄←→銘柄推奨される情報源）", "それらについて　詳細に検索することが出来ます。"}),
        help("Command24", "株価DATAの表示", 0xFFFF80, helpCell(kPriceDataRow), QStringLiteral("*********"),
             vbOKOnly | vbInformation, {"株価データを", "表示します"}),
        help("Command51", "3-50万", 0x80FF80, helpCell(kTrendRow3), QStringLiteral("トレンドの調査"),
             vbOKCancel | vbInformation,
             {"銘柄情報に登録されていない銘柄も含めて", "すべての銘柄について　トレンドを調べます。", "", "",
              "銘柄情報に登録されていない銘柄にも", "興味あるチャートを示すことがあります。"}),
        help("Command68", "保有銘柄の登録・管理", 0x80C0FF, helpCell(kRegisterHoldingsRow),
             QStringLiteral("保有銘柄のリスト作成"), vbOKOnly | vbInformation,
             {"ここで保有銘柄のリストを作ります。", "リストを作っておくと　保有銘柄に", "関する情報を　抽出できます。", "",
              "登録の仕方は　銘柄の一部を入力すると", "絞り込まれますので、　その中から　", "選んでください。"}),
        help("Command69", "特別注目銘柄の登録・管理", 0x80C0FF, helpCell(kRegisterSpecialRow), kProgramTitle,
             vbOKCancel | vbExclamation,
             {"特別に注目している銘柄を登録・管理します。", "注目銘柄は　一寸気になる銘柄とうまく使い分けて",
              "ください。　"}),
        help("Command31", "データベースのバックアップ", 0xF8C4AF, helpCell(kBackupRow),
             QStringLiteral("データベースのバックアップ"), vbOKOnly | vbInformation,
             {"銘柄データベースのバックアップを行います。", "ファイル名は、今日の日付を使います。", "",
              "もし何らかの理由で　ものと　druvlo．mdb", "が壊れたら　ここで作った日付の",
              "ファイルを　Renameして　使ってください。"}),
        help("Command63", "カードのIMPORT", 0xF8C4AF, helpCell(kImportRow), kProgramTitle, vbOKCancel | vbInformation,
             {"別に作られた銘柄情報データベースを", "ここから取り込みます", "", "週足単位では使用できません"}),
        help("Command66", "メモ帖の表示", 0x80FF80, helpCell(kMemoRow), QStringLiteral("memo"),
             vbOKCancel | vbInformation, {"memoです。", "", "自由に何でもメモ代わりに", "書き込んでください。", ""}),
        help("Command67", "カードの削除", 0xC0C0, helpCell(kPurgeRow), QStringLiteral("銘柄情報の削除"),
             vbOKCancel | vbInformation,
             {"カードの数が増えると　動作が鈍くなります。", "", "時々　古いカードは削除しましょう。",
              "指定されている日数以前の", "カードを削除します。"}),
        help("Command33", "市場　単位の入力", 0xFFFF, helpCell(kMarketUnitRow), QStringLiteral(""),
             vbOKCancel | vbInformation,
             {"エクセルファイルとして取り込んだ情報には", "市場、単位がありません", "ここから入力できます"}),
    };
}

struct ExtraUniverse {
    const char* line;
    const char* query;
};

const ExtraUniverse kExtraUniverses[] = {
    {" 1・・・・推奨+短期注目銘柄 ", "a000-suishoutanki"},
    {" 2・・・・短期注目+新高値銘柄　", "a000-tanki"},
    {" 3・・・・動意銘柄", "a000-doui"},
    {" 4・・・・業績修正", "a000-gyouseki"},
    {" 5・・・・格付け情報  ", "a000-kakuduke"},
    {" 6・・・・一部＊百株銘柄  ", "a000-100-t1"},
    {" 7・・・・１０万円 以下 の銘柄", "a000-10sita"},
    {" 8・・・・２０～５０万円の銘柄", "a000-2050"},
    {" 9・・・・５０～１００万円の銘柄", "a000-50100"},
    {" 10・・・・１００万円以上の銘柄", "a000-100ue"},
    {" 11・・・・売買単位<10 50 500>株銘柄　", "a000-tokushutani"},
    {" 12・・・・推奨+短期+新高値銘柄＆東証１部　", "a000-okitan1bu"},
    {" 13・・・・推奨+短期+新高値銘柄＆２部", "a000-okitan2bu"},
    {" 14・・・・推奨+短期+新高値銘柄＆新興市場", "a000-okitansinkou"},
};

}  // namespace

const std::vector<LaunchRow>& launchTable() {
    static const std::vector<LaunchRow> table = buildLaunchTable();
    return table;
}

const std::vector<HelpRow>& helpTable() {
    static const std::vector<HelpRow> table = buildHelpTable();
    return table;
}

QString extraPrompt() {
    const QString separator = QStringLiteral("  ") + QString(29, QLatin1Char('-')) + QString(8, QLatin1Char(' '));
    QStringList lines{QStringLiteral("お好みの条件を選んでください。  "), QString(30, QLatin1Char(' '))};
    for (int i = 0; i < 14; ++i) {
        if (i == 3 || i == 6 || i == 11) lines << separator;
        lines << QString::fromUtf8(kExtraUniverses[i].line);
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// The answer is compared as a number: "3", " 3 ", "3.0" and the full-width "３" all choose 3.
std::optional<QString> extraChoice(const QString& answer) {
    const std::optional<double> n = platform::sqlNumber(answer);
    for (int i = 1; n && i <= 14; ++i)
        if (*n == i)
            return QStringLiteral("select * from [") + QString::fromUtf8(kExtraUniverses[i - 1].query) + QLatin1Char(']');
    return std::nullopt;
}

}  // namespace shell
