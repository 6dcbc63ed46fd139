#include "shell/module1.h"
#include <QStringList>
#include "platform/ui/dialogs.h"

namespace Module1 {

int MenuMode = 0;
int TrendMode = 0;
QString MainDbPath;
QString CardTrendBaseSql;
QString TrendBaseSql;
QString WatchListSql;
QString FavouriteSourceSql;
QString SpecialWatchSql;
QString HoldingsSql;
QString ExtraSql;

void reset() {
    MenuMode = 0;
    TrendMode = 0;
    MainDbPath.clear();
    CardTrendBaseSql.clear();
    TrendBaseSql.clear();
    WatchListSql.clear();
    FavouriteSourceSql.clear();
    SpecialWatchSql.clear();
    HoldingsSql.clear();
    ExtraSql.clear();
}

QString ShowOpenFileDialog(const QWidget* /*owner*/, const QString& filter) {
    QString dialogFilter = filter;
    if (filter.contains(QChar(0))) {
        QStringList parts = filter.split(QChar(0));
        QStringList pairs;
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            if (parts[i].isEmpty() && parts[i + 1].isEmpty()) break;
            pairs << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                         QLatin1Char(')');
        }
        dialogFilter = pairs.join(QStringLiteral(";;"));
    }
    return ui::dialogs().openFile(QStringLiteral("ファイルを開く"), dialogFilter);
}

}  // namespace Module1
