#include "platform/data/paths.h"

#include <QDir>

namespace platform {

QString programFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = QDir::cleanPath(base + QStringLiteral("/Vostrel")) + u'/';
    QDir().mkpath(folder);
    return folder;
}

QString programFile(const QString& name) { return programFolder() + name; }

QString mainDatabasePath() { return programFile(QStringLiteral("druvolo.mdb")); }

QString listDatabasePath() { return programFile(QStringLiteral("kabulist.mdb")); }

}  // namespace platform
