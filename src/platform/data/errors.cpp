#include "platform/data/errors.h"
#include "platform/data/workbook.h"

#include <QRegularExpression>

namespace platform {

namespace {

bool inUsersWords(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x3000) return true;   // the messages of the program's readers are Japanese
    return false;
}

}  // namespace

QString userText(const DataError& e, const QString& path) {
    const QString& t = e.text;
    if (inUsersWords(t)) return t;
    static const QRegularExpression noTable(QStringLiteral("no such table: (.*)$"));
    if (const auto m = noTable.match(t); m.hasMatch()) {
        const QString table = m.captured(1).trimmed();
        if (const QString sheet = sheetOfTable(table); sheet != table)
            return QStringLiteral("ブック %1 にシート「%2」がありません。").arg(path, sheet);
        return QStringLiteral("ファイル %1 に表「%2」がありません。").arg(path, table);
    }
    if (t.startsWith(QLatin1String("Cannot find the file")) || t == QLatin1String("No database name"))
        return QStringLiteral("ファイル %1 が見つかりません。").arg(path);
    if (t.contains(QLatin1String("database is locked")) || t.contains(QLatin1String("busy")))
        return QStringLiteral("ファイル %1 はほかの処理が使っているため、今は使えません。しばらくしてからもう一度お試しください。").arg(path);
    if (t.contains(QLatin1String("not a database")) || t.contains(QLatin1String("malformed")) ||
        t.contains(QLatin1String("Cannot open the database")))
        return QStringLiteral("ファイル %1 はデータベースではないか、壊れています。").arg(path);
    if (t.contains(QLatin1String("readonly")) || t.contains(QLatin1String("read-only")))
        return QStringLiteral("ファイル %1 に書き込めません（読み取り専用です）。").arg(path);
    if (t.contains(QLatin1String("disk")) || t.contains(QLatin1String("full")))
        return QStringLiteral("ファイル %1 に書き込めません（ディスクの空きが足りないか、ディスクの誤りです）。（%2）").arg(path, t);
    return QStringLiteral("ファイル %1 を扱えませんでした。（%2）").arg(path, t);
}

}  // namespace platform
