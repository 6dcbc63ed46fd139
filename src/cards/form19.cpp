#include "cards/form19.h"
#include <QPoint>
#include <algorithm>
#include <cmath>
#include "cards/busy_window.h"
#include "cards/card_bulk.h"
#include "cards/card_list_use.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/sql_text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/module1.h"
#include "services/window_registry.h"

using ui::step;

namespace {

const int kColWidths[] = {200, 550, 1300, 1000, 1200, 600, 600, 600, 1300};

// The purge kinds: the word the menu leaves in its Text2, the saved query, the question, its
// default answer and the banner.
struct PurgeKind {
    const char* word;
    const char* base;
    const char* prompt;
    const char* defaultDays;
    const char* banner;
};
constexpr char kCardPrompt[] = "日数を入力してください。この日数分を残し古いカードは削除します。";
const PurgeKind kKinds[] = {
    {"main", "select * from [sakujo-main]", kCardPrompt, "90", "古いカードを削除します"},
    {"bunkatu", "select * from [sakujo-bunkatu]", kCardPrompt, "0", "ここにあるカードはすべて削除しますヨ"},
    {"takane", "select * from [sakujo-takane]", kCardPrompt, "0", "ここにあるカードはすべて削除しますヨ"},
    {"nifty", "select * from [sakujo-nifty]", "日数を入力してください。この日数分を残しテクニカル情報は削除します。", "0",
     "古い分割情報を削除します"},
};

const PurgeKind* kindOf(const QString& word) {
    for (const PurgeKind& k : kKinds)
        if (word == QLatin1String(k.word)) return &k;
    return nullptr;
}

// The cards of the base dated before now less the number of days (a negative number reaches
// into the future; part days count). Beyond ten million days (27,000 years) every card lies on
// one side of the limit, so a larger number goes in as ten million.
QString purgeSource(const PurgeKind& k, double days) {
    const double kFar = 1e7;
    const double d = std::clamp(days, -kFar, kFar);
    const QString amount = QString::number(std::fabs(d), 'f', 6);
    const QString limit = (d >= 0 ? QStringLiteral("now()-") : QStringLiteral("now()+")) + amount;
    return QString::fromUtf8(k.base) + QStringLiteral(" where [日付] < ") + limit;
}

}  // namespace

Form19::Form19() : ui::DefaultForm<Form19>(QStringLiteral("Form19")) {
    setCaption(QStringLiteral("Form19"));
    Move(600, 600, 9000, 7200);
    Command5 = addButton({.name = "Command5", .caption = QStringLiteral("OK"), .left = 120, .top = 120, .width = 615,
                          .height = 375, .backColor = 0xFFFFFF});
    Text2 = addText({.name = "Text2", .caption = QStringLiteral("Text2"), .left = 960, .top = 120, .width = 4215,
                     .height = 375, .backColor = 0xC0C0FF});
    Command6 = addButton({.name = "Command6", .caption = QStringLiteral("削除実行"), .left = 5280, .top = 120,
                          .width = 1215, .height = 375, .backColor = 0xC0C0FF});
    Label1 = addLabel({.name = "Label1", .caption = QStringLiteral("対象のカードの個数"), .left = 6600, .top = 180,
                       .width = 1815, .height = 255, .transparent = true});
    Text3 = addText({.name = "Text3", .caption = QString(), .left = 8400, .top = 120, .width = 495, .height = 300});
    MSFlexGrid1 = addGrid({.name = "MSFlexGrid1", .left = 120, .top = 600, .width = 8775, .height = 4935});
    Text1 = addText({.name = "Text1", .left = 120, .top = 5640, .width = 6255, .height = 1335, .multiLine = true});
    Data1 = addData({.name = "Data1", .caption = QStringLiteral("Data1"), .left = 6480, .top = 5640, .width = 2415,
                     .height = 375});
    MSFlexGrid1->bind(Data1);
    Data1->Reposition = [this] { showCurrentInfo(); };
    Data1->showNavigation();
    on(MSFlexGrid1->EnterCell, [this] { MSFlexGrid1_EnterCell(); }, "MSFlexGrid1_EnterCell");
    on(Command6->Click, [this] { Command6_Click(); }, "Command6_Click");
    on(Command5->Click, [this] { Command5_Click(); }, "Command5_Click");
}

// The number of days must be a number (part days count); anything else is refused and lists no
// card, and Cancel lists none either.
void Form19::Form_Load() {
    step([&] { Data1->DatabaseName = Module1::MainDbPath; });
    step([&] { Data1->Options = 1; });
    QString word;
    step([&] { word = services::windowText(QStringLiteral("Form5"), QStringLiteral("Text2")); });
    if (const PurgeKind* kind = kindOf(word)) {
        // The question comes before the window shows: it stands by where the window will stand.
        placeBeforeShow();
        const auto answer = ui::InputBox(QString::fromUtf8(kind->prompt), QLatin1String(""), QString::fromUtf8(kind->defaultDays),
                                         QPoint(100, 100));
        if (answer) {
            if (const auto days = platform::sqlNumber(*answer))
                step([&] { Data1->RecordSource = purgeSource(*kind, *days); });
            else
                ui::MsgBox(QStringLiteral("日数は数字で入力してください。カードは表示も削除もしません。\r\n") + *answer,
                           ui::vbExclamation);
        }
        step([&] { Text2->setText(QString::fromUtf8(kind->banner)); });
    }
    if (!Data1->RecordSource.isEmpty()) step([&] { Data1->Refresh(); });
    for (int c = 0; c < int(std::size(kColWidths)); ++c) step([&] { MSFlexGrid1->setColWidth(c, kColWidths[c]); });
    showCount();
}

void Form19::showCount() {
    step([&] { Text3->setText(QString::number(std::max(0, MSFlexGrid1->Rows() - 1))); });
    showCurrentInfo();
}

// Text1 shows the 情報 of the data control's current card, and nothing when there is none.
void Form19::showCurrentInfo() {
    step([&] {
        const bool current = Data1->hasRecordset() && !Data1->recordset().atEOF() && !Data1->recordset().atBOF();
        Text1->setText(current ? Data1->recordset().Fields(QStringLiteral("情報")).toString() : QString());
    });
}

void Form19::MSFlexGrid1_EnterCell() { step([&] { Text1->setText(MSFlexGrid1->currentRowText(8)); }); }

// One question covers every listed card; Yes deletes exactly the cards the grid lists, by their
// ID, all of them or (when the database fails) none.
void Form19::Command6_Click() {
    const int answer = ui::MsgBox(QStringLiteral("ここにあるカードはすべて削除しますヨ"),
                                  ui::vbYesNo | ui::vbCritical | ui::vbDefaultButton2, QStringLiteral("削除"));
    // The card ID is the grid's column headed "ID", wherever the saved query puts it.
    int idColumn = -1;
    for (int c = 0; c < MSFlexGrid1->Cols() && idColumn < 0; ++c)
        if (MSFlexGrid1->TextMatrix(0, c).compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0) idColumn = c;
    if (answer == ui::vbYes && idColumn < 0 && MSFlexGrid1->Rows() > 1) {
        ui::MsgBox(QStringLiteral("削除できませんでした。カードは１枚も削除されていません。\r\n一覧に ID の列がありません。"),
                   ui::vbCritical);
    } else if (answer == ui::vbYes) {
        const int n = MSFlexGrid1->Rows() - 1;
        std::vector<long long> ids;
        ids.reserve(size_t(std::max(n, 0)));
        for (int i = 1; i <= n; ++i)
            if (const auto id = platform::sqlWholeNumber(MSFlexGrid1->TextMatrix(i, idColumn))) ids.push_back(*id);
        if (!ids.empty()) {
            cards::BulkOutcome outcome;
            {
                cards::BusyWindow busy(*this);
                try {
                    auto db = platform::Database::open(Data1->DatabaseName);
                    outcome = cards::deleteCards(*db, ids);
                } catch (const platform::DataError& e) {
                    outcome.error = e.text;
                }
            }
            if (!outcome.ok)
                ui::MsgBox(QStringLiteral("削除できませんでした。カードは１枚も削除されていません。\r\n") + outcome.error,
                           ui::vbCritical);
            else
                cards::refreshCardList();   // an open card list shows no deleted card
        }
    }
    if (!Data1->RecordSource.isEmpty()) step([&] { Data1->Refresh(); });
    showCount();
}

void Form19::Command5_Click() {
    step([&] { Unload(); });
    step([&] { services::showMenu(); });
}
