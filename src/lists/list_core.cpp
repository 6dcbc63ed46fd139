#include "lists/list_core.h"
#include <QDate>
#include <QKeyEvent>
#include <set>
#include "lists/dictionary.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/sql_text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "services/window_registry.h"

namespace lists {

using ui::step;

QString todayText() { return QDate::currentDate().toString(QStringLiteral("yy/MM/dd")); }

namespace {

// Each field is its own step: a value the table refuses leaves that field alone.
void setFields(platform::Recordset& rs, const std::vector<std::pair<const char*, QVariant>>& fields) {
    for (const auto& [name, value] : fields)
        if (value.isValid()) step([&] { rs.setField(QString::fromUtf8(name), value); });
}

QVariant wholeNumber(const QString& text) {
    if (auto n = platform::sqlWholeNumber(text)) return QVariant(*n);
    return {};
}

const QString kDeleteHelp = QStringLiteral(
    "削除しの準備をします\r\n"
    "　銘柄の見出し部分をダブルクリックします.\r\n"
    "　その後　削除ボタンをクリックしてください。\r\n\r\n");

}  // namespace

void addWatchEntry(platform::DataControl& data, const WatchEntry& e) {
    platform::Recordset& rs = data.recordset();
    rs.AddNew();
    setFields(rs, {{"コード", wholeNumber(e.code)},
                   {"銘柄", e.name},
                   {"市場", e.market},
                   {"単位", e.unit},
                   {"date", todayText()}});
    rs.Update();
}

void addSourceEntry(platform::DataControl& data, const QString& source) {
    platform::Recordset& rs = data.recordset();
    rs.AddNew();
    setFields(rs, {{"情報源", source}, {"date", todayText()}});
    rs.Update();
}

QString rowSource(const QString& table) { return QStringLiteral("select * from [%1]").arg(table); }

ListCore::ListCore(const ListSpec& s, ui::Form* f, QString* remembered)
    : def(s), form(f), remembered_(remembered ? remembered : &ownCriterion_) {}

void ListCore::adopt(const ControlRow& row, ui::Control* c) {
    byName_[QString::fromLatin1(row.def.name)] = c;
    switch (row.role) {
    case Role::Grid: grid = dynamic_cast<ui::FlexGrid*>(c); break;
    case Role::Data: data = dynamic_cast<ui::Data*>(c); break;
    case Role::Count: count = dynamic_cast<ui::TextBox*>(c); break;
    case Role::CodeBox: codeBox = dynamic_cast<ui::TextBox*>(c); break;
    case Role::MarketBox: marketBox = dynamic_cast<ui::TextBox*>(c); break;
    case Role::Link: links.push_back(dynamic_cast<ui::LinkLabel*>(c)); break;
    default: break;
    }
    if ((row.role == Role::Grid || row.role == Role::Data) && grid && data) grid->bind(data);
}

ui::Control* ListCore::control(const char* name) const {
    auto it = byName_.find(QString::fromLatin1(name));
    return it == byName_.end() ? nullptr : it->second;
}

void ListCore::writeCount() {
    step([&] { count->setText(QString::number(grid->Rows() - 1)); });
}

// Said once a run for the list database, and not at all when the start already named the file.
void ListCore::tellUnreadable(const QString& why) {
    static std::set<QString> told;
    const QString path = platform::listDatabasePath();
    if (platform::Database::isRefused(path) || !told.insert(path).second) return;
    ui::MsgBox(QStringLiteral("%1のリストを読めません。\r\n%2").arg(def.listTitle, path) +
                   (why.isEmpty() ? QString() : QStringLiteral("\r\n\r\n") + why),
               ui::vbExclamation);
}

void ListCore::load() {
    step([&] { data->DatabaseName = platform::listDatabasePath(); });
    step([&] { data->Options = 1; });
    step([&] { data->RecordSource = rowSource(def.table); });
    if (def.tellLoadFailure) {
        // A list that cannot be read leaves the window with an empty list; the person is told.
        try {
            data->Refresh();
        } catch (const platform::DataError& e) {
            tellUnreadable(e.text);
        } catch (...) {
            tellUnreadable(QString());
        }
    } else {
        step([&] { data->Refresh(); });
    }
    writeCount();
    for (size_t c = 0; c < def.widths.size(); ++c) step([&] { grid->setColWidth(int(c), def.widths[c]); });
}

bool ListCore::deleteFirst(const QString& criterion) {
    bool deleted = false;
    step([&] {
        platform::Recordset& rs = data->recordset();
        rs.FindFirst(criterion);
        if (!rs.NoMatch()) {
            rs.Delete();
            deleted = true;
        }
    });
    return deleted;
}

// Sorts by column 2 and deletes the lower row of the first adjacent pair with equal texts there:
// one repeat per activation.
void ListCore::activate() {
    const int n = grid->Rows();
    step([&] { grid->setCol(2); });
    step([&] { grid->Sort(1); });
    for (int i = 1; i <= n - 2; ++i) {
        if (grid->TextMatrix(i, 2) != grid->TextMatrix(i + 1, 2)) continue;
        if (auto id = platform::sqlWholeNumber(grid->TextMatrix(i + 1, 1))) {
            const QString criterion = QStringLiteral("ID =") + QString::number(*id);
            deleteFirst(criterion);
            if (def.del == DeleteRule::Remembered) *remembered_ = criterion;
        }
        step([&] { data->Refresh(); });
        break;
    }
    writeCount();
}

void ListCore::sortClick() {
    int c = 0;
    step([&] {
        if (def.sort == SortRule::BySource) grid->setCol(2);
        c = grid->Col();
    });
    const bool asText = def.sort == SortRule::ColumnDateAsText && c == 6;
    step([&] { grid->Sort(asText ? 7 : 1); });
}

void ListCore::deleteHelpClick() {
    ui::MsgBox(kDeleteHelp, ui::vbOKCancel + ui::vbInformation, QStringLiteral("マイ　リストの削除"));
}

// A cell that is not there (a list that could not be read) reads as empty.
QString ListCore::cell(int r, int c) const {
    QString text;
    step([&] { text = grid->TextMatrix(r, c); });
    return text;
}

void ListCore::gridDblClick() {
    const int r = grid->Row();
    switch (def.dblClick) {
    case DblClickRule::Select:
        break;
    case DblClickRule::RememberCode: {
        writeCount();
        // Only a whole-number code makes a criterion; any other cell text chooses nothing.
        auto code = platform::sqlWholeNumber(cell(r, 2));
        *remembered_ = code ? QStringLiteral("コード=") + QString::number(*code) : QString();
        break;
    }
    case DblClickRule::Choose:
        writeCount();
        break;
    }
}

void ListCore::deleteClick() {
    const int r = grid->Row();
    QString criterion;
    switch (def.del) {
    case DeleteRule::SelectedCode:
        if (auto code = platform::sqlWholeNumber(cell(r, 2)))
            criterion = QStringLiteral("コード =") + QString::number(*code);
        break;
    case DeleteRule::Remembered:
        criterion = *remembered_;
        break;
    case DeleteRule::CurrentId:
        if (r >= 1)
            if (auto id = platform::sqlWholeNumber(cell(r, 1)))
                criterion = QStringLiteral("ID =") + QString::number(*id);
        break;
    }
    if (!criterion.isEmpty()) deleteFirst(criterion);
    step([&] { data->Refresh(); });
    writeCount();
}

void ListCore::okClick() {
    switch (def.ok) {
    case OkRule::Hide:
        form->Hide();
        break;
    case OkRule::HideShowMenu:
        form->Hide();
        services::showMenu();
        break;
    case OkRule::UnloadShowMenu:
        form->Unload();
        services::showMenu();
        break;
    }
}

void ListCore::registerClick() { Form4::it().Show(); }

void ListCore::countChange() { writeCount(); }

// The header row holds no stock: a link from it opens nothing.
void ListCore::linkClick(size_t i) {
    const chart::ChartLink& link = def.links[i];
    int r = 0;
    step([&] { r = grid->Row(); });
    if (r < 1) {
        links[i]->Address.clear();
        return;
    }
    step([&] { marketBox->setText(grid->TextMatrix(r, 4)); });
    step([&] { codeBox->setText(grid->TextMatrix(r, 2)); });
    step([&] { links[i]->Address = link.address(codeBox->Text(), marketBox->Text()); });
}

}  // namespace lists
