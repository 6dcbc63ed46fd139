#include "lists/dictionary.h"
#include <algorithm>
#include "lists/list_core.h"
#include "lists/list_forms.h"
#include "platform/data/sql_text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/module1.h"

namespace lists {

using ui::step;

namespace {
const QString kBase = QStringLiteral("select * from [list-base]");
const QString kTitle = QStringLiteral("検索");
}  // namespace

QString nameSearchPrompt() {
    return QStringLiteral("銘柄をえらびます。  \r\n含まれる文字の１部を入力してください  ");
}
QString searchTitle() { return kTitle; }

std::optional<StockFacts> lookUpCode(const QString& code) {
    const auto n = platform::sqlWholeNumber(code);
    if (!n) return std::nullopt;
    ui::Data* d = Form4::it().Data1;
    d->Refresh();
    platform::Recordset& rs = d->recordset();
    rs.FindFirst(QStringLiteral("コード=") + QString::number(*n));
    if (rs.NoMatch()) return std::nullopt;
    StockFacts f{rs.Fields(QStringLiteral("コード")).toString(), rs.Fields(QStringLiteral("市場")).toString(),
                 rs.Fields(QStringLiteral("単位")).toString(), rs.Fields(QStringLiteral("銘柄")).toString()};
    if (f.code.isEmpty() || f.code == QStringLiteral("1001")) return std::nullopt;
    return f;
}

QString nameSearchSql(const QString& part) {
    return kBase + QStringLiteral(" where ([銘柄] like  '*") + platform::sqlEscaped(part) + QStringLiteral("*')");
}

QString codeSearchSql(const QString& prefix) {
    // The answer is read as every code answer is ("７２" and "72.0" are 72). A code's text never
    // equals the empty text: no stock, as a Like over a code that is no number.
    const auto n = platform::sqlWholeNumber(prefix);
    return kBase + QStringLiteral(" where コード Like'") + (n && *n >= 0 ? QString::number(*n) + u'*' : QString()) + u'\'';
}

void DictionaryCore::load() {
    step([&] { Data1->DatabaseName = Module1::MainDbPath; });
    step([&] { Data1->Options = 1; });
    step([&] { Data1->RecordSource = QStringLiteral("select * from [list]"); });
    step([&] { Data1->Refresh(); });
    const int widths[] = {200, 950, 850, 900};
    for (int c = 0; c < 4; ++c) step([&] { MSFlexGrid1->setColWidth(c, widths[c]); });
    step([&] {
        Command3->setCaption(Module1::MenuMode == 201 ? QStringLiteral("手持ち銘柄の登録")
                                                      : QStringLiteral("特別注目銘柄の登録"));
    });
}

void DictionaryCore::nameSearchClick() {
    const auto answer = ui::InputBox(nameSearchPrompt(), kTitle);
    if (!answer || answer->isEmpty()) return;
    step([&] { Data1->RecordSource = nameSearchSql(*answer); });
    step([&] { Data1->Refresh(); });
}

void DictionaryCore::codeSearchClick() {
    const auto answer = ui::InputBox(QStringLiteral("検索するコードを入力してください"), kTitle);
    if (!answer || answer->isEmpty()) return;
    step([&] { Data1->RecordSource = codeSearchSql(*answer); });
    step([&] { Data1->Refresh(); });
}

void DictionaryCore::gridDblClick() {
    int r = 0;
    step([&] { r = MSFlexGrid1->Row(); });
    if (r < 1) return;   // the header row holds no stock
    const bool holdings = Module1::MenuMode == 201;
    ui::Data* target = nullptr;
    step([&] { target = holdings ? Form12::it().Data1 : Form31::it().Data1; });
    if (target) {
        WatchEntry e;
        step([&] {
            e = {MSFlexGrid1->TextMatrix(r, 3), MSFlexGrid1->TextMatrix(r, 2), MSFlexGrid1->TextMatrix(r, 4),
                 MSFlexGrid1->TextMatrix(r, 5)};
        });
        step([&] { addWatchEntry(*target, e); });
        step([&] { target->Refresh(); });
    }
    step([&] { Data1->RecordSource = kBase; });
    step([&] { Data1->Refresh(); });
    if (!holdings) step([&] { form->Hide(); });
}

void DictionaryCore::holdingsClick() { Form12::it().Show(); }

void DictionaryCore::okClick() { form->Unload(); }

}  // namespace lists

Form4::Form4() : DictionaryForm<Form4>("Form4", 0xC0C0C0) {}
Form20::Form20() : DictionaryForm<Form20>("Form20", 0xC0C0C0) {}
