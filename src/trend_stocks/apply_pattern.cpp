#include "trend_stocks/apply_pattern.h"
#include "platform/ui/controls.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/guard.h"

namespace trend {

namespace {

// Calls f(word, depth) for every bare word of sql, skipping bracketed names and quoted text.
template <class F>
void forEachWord(const QString& sql, F&& f) {
    int depth = 0;
    const int n = int(sql.size());
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == u'[') {
            const int close = int(sql.indexOf(u']', i + 1));
            i = close < 0 ? n : close + 1;
        } else if (c == u'\'' || c == u'"') {
            const int close = int(sql.indexOf(c, i + 1));
            i = close < 0 ? n : close + 1;
        } else if (c == u'(') {
            ++depth, ++i;
        } else if (c == u')') {
            --depth, ++i;
        } else if (c.isLetter() || c == u'_') {
            int j = i;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == u'_')) ++j;
            // A word glued to a number ("-5and") still counts as a word.
            f(sql.mid(i, j - i), depth);
            i = j;
        } else if (c.isDigit()) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.')) ++i;
        } else {
            ++i;
        }
    }
}

bool anyWord(const QString& sql, const QString& word, bool topLevelOnly) {
    bool found = false;
    forEachWord(sql, [&](const QString& w, int depth) {
        if ((!topLevelOnly || depth == 0) && w.compare(word, Qt::CaseInsensitive) == 0) found = true;
    });
    return found;
}

}  // namespace

bool AndFormTest(const QString& baseSql) { return anyWord(baseSql, QStringLiteral("where"), false); }

bool hasTopLevelOr(const QString& sql) { return anyWord(sql, QStringLiteral("or"), true); }

QString patternSqlText(const TrendPattern& p, bool andForm) {
    QString text;
    if (!p.condition.isEmpty()) {
        const QString cond = renderCondition(p.condition);
        if (!andForm) {
            text = QStringLiteral(" where ") + cond;
        } else {
            text = QStringLiteral(" and ") + (hasTopLevelOr(cond) ? QStringLiteral("(") + cond + QStringLiteral(")") : cond);
        }
    } else if (!andForm) {
        text = p.leadWhere;
    } else if (!p.leadAnd.isEmpty()) {
        text = p.leadAnd;
    } else {
        text = p.leadWhere;
        const int at = int(text.indexOf(QStringLiteral(" where"), 0, Qt::CaseInsensitive));
        if (at >= 0) text.replace(at, 6, QStringLiteral(" and"));
    }
    for (const QString& f : p.fragments) text += f;
    return text;
}

void ApplyTrendPattern(const TrendPattern& p, ui::CommandButton* markTarget, const QString& baseSql,
                       bool andForm, const PatternScreen& screen) {
    // Each step runs under the guard when the record has it; otherwise a failure goes up.
    auto run = [&](auto&& f) {
        if (p.errorTrap) ui::step(f);
        else f();
    };
    ui::FlexGrid* grid = screen.grid;
    run([&] { if (markTarget) markTarget->setBackColor(PatternMarkColor); });
    const QString sql = patternQuery(baseSql, p, andForm);
    run([&] { screen.data->RecordSource = sql; });
    run([&] { screen.data->Refresh(); });
    auto sort = [&] {
        run([&] { grid->setCol(p.sortCol); });
        run([&] { grid->Sort(p.sortOrder); });
    };
    if (p.sortBeforeTitle) sort();
    run([&] { if (screen.hiTitle) screen.hiTitle(); });
    if (!p.sortBeforeTitle) sort();
    if (p.tints.empty()) return;
    run([&] { grid->setRow(0); });
    for (const HeaderTint& t : p.tints) {
        run([&] { grid->setCol(t.col); });
        run([&] { grid->setCellBackColor(t.color); });
    }
}

void searchOrSort(ui::Data& data, ui::FlexGrid& grid, const std::optional<QString>& sql) {
    ui::step([&] { grid.setCol(5); });
    bool replaced = false;
    if (sql) {
        ui::step([&] { data.RecordSource = *sql; });
        ui::step([&] {
            data.Refresh();
            replaced = true;
        });
    }
    if (!replaced) ui::step([&] { grid.Sort(1); });
}

}  // namespace trend
