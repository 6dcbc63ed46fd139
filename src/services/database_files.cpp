#include "services/database_files.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/schema.h"
#include "platform/data/side_files.h"
#include "platform/data/sqlite_support.h"
#include "platform/ui/busy_notice.h"
#include "platform/ui/dialogs.h"

namespace services {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

std::optional<QString> problemOf(DatabaseKind kind, const QString& path) {
    return kind == DatabaseKind::Main ? platform::mainDatabaseProblem(path) : platform::listDatabaseProblem(path);
}

// The first value of each statement, in order; nothing for a statement that fails.
QStringList firstValues(const QString& path, const QStringList& statements) {
    QStringList values;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        for (const QString& sql : statements) {
            try {
                platform::detail::Statement st(db, sql);
                values << (st.step() ? platform::detail::readColumn(st.get(), 0).toString() : QString());
            } catch (const platform::DataError&) {
                values << QString();
            }
        }
    }
    sqlite3_close_v2(db);
    return values;
}

// Whether the side files a killed run left are to be played back into the database when both
// ways give a whole file holding different rows. The default keeps the file as it stands: it is
// whole, and what is not used is kept either way.
bool applySideFiles(const QString& path, const QStringList& sides, const QString& recovered, const QString& asItStands) {
    return ui::MsgBox(QStringLiteral("前回の実行が書き込みの途中で止まり、次のファイルが残っています:") + kCrLf +
                          QDir::toNativeSeparators(sides.join(kCrLf)) + kCrLf + kCrLf +
                          QStringLiteral("これをデータベース ") + QDir::toNativeSeparators(path) +
                          QStringLiteral(" に反映しますか？") + kCrLf + kCrLf +
                          QStringLiteral("はい: 反映します（") + recovered + QStringLiteral("）。") + kCrLf +
                          QStringLiteral("いいえ: 今のファイルをそのまま使います（") + asItStands + QStringLiteral("）。") + kCrLf +
                          kCrLf +
                          QStringLiteral("止まった書き込みのあとでバックアップなどをこの場所に書き戻したときは「いいえ」です。") +
                          kCrLf + QStringLiteral("どちらを選んでも、使わなかったほうは消さずに番号付きの名前で残します。"),
                      ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2) == ui::vbYes;
}

}  // namespace

QString describeDatabase(DatabaseKind kind, const QString& path) {
    if (kind == DatabaseKind::Main) {
        const QStringList v = firstValues(
            path, {QStringLiteral("SELECT count(*) FROM \"mydata\""),
                   QStringLiteral("SELECT \"kabuka1\" FROM \"日付\" ORDER BY \"ID\" LIMIT 1")});
        return QStringLiteral("カード %1 件、最新の日付 %2")
            .arg(v.value(0, QStringLiteral("?")), v.value(1).isEmpty() ? QStringLiteral("なし") : v.value(1));
    }
    const QStringList lists = {QStringLiteral("checklist"), QStringLiteral("trend"), QStringLiteral("checklist2"),
                               QStringLiteral("mylist"), QStringLiteral("情報源リスト")};
    QStringList statements;
    for (const QString& list : lists) statements << QStringLiteral("SELECT count(*) FROM \"%1\"").arg(list);
    const QStringList counts = firstValues(path, statements);
    QStringList parts;
    for (int i = 0; i < lists.size(); ++i)
        parts << QStringLiteral("%1 %2 件").arg(lists[i], counts.value(i).isEmpty() ? QStringLiteral("?") : counts[i]);
    return parts.join(QStringLiteral("、"));
}

std::optional<QString> settleDatabase(DatabaseKind kind, const QString& path) {
    std::optional<ui::BusyNotice> busy;   // while the trial runs, until a question is asked
    const platform::SideFilesOutcome settled = platform::settleSideFiles(
        path, [kind](const QString& file) { return problemOf(kind, file); },
        [kind](const QString& file) { return describeDatabase(kind, file); },
        [&](const QStringList& sides, const QString& recovered, const QString& asItStands) {
            busy.reset();
            return applySideFiles(path, sides, recovered, asItStands);
        },
        [&] { busy.emplace(); });
    busy.reset();
    if (!settled.setAside.isEmpty())
        ui::MsgBox(QStringLiteral("前回の実行が残したファイルは、このデータベースには使いません。") + kCrLf +
                       QDir::toNativeSeparators(path) + kCrLf + kCrLf + QStringLiteral("次の名前で残してあります:") +
                       kCrLf + QDir::toNativeSeparators(settled.setAside.join(kCrLf)),
                   ui::vbInformation);
    if (!settled.keptAsItStood.isEmpty())
        ui::MsgBox(QStringLiteral("前回の実行が残したファイルをデータベースに反映しました。") + kCrLf +
                       QDir::toNativeSeparators(path) + kCrLf + kCrLf +
                       QStringLiteral("反映する前のファイルは次の名前で残してあります:") + kCrLf +
                       QDir::toNativeSeparators(settled.keptAsItStood),
                   ui::vbInformation);
    return settled.damage;
}

std::optional<QString> checkDatabase(DatabaseKind kind, const QString& path) {
    if (auto problem = problemOf(kind, path)) return problem;
    if (kind == DatabaseKind::Main) platform::keepCodeChangeInStep(path);
    return std::nullopt;
}

void checkReplacements(DatabaseKind kind, const QString& path) {
    platform::Database::checkReplacements(path, [kind](const QString& replaced) {
        if (auto unsettled = settleDatabase(kind, replaced)) return unsettled;
        return checkDatabase(kind, replaced);
    });
}

}  // namespace services
