#include "services/module1.h"
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
    return ui::dialogs().openFile(QStringLiteral("ファイルを開く"), filter);
}

}  // namespace Module1
