#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/data/paths.h"

namespace {

// Sets an environment variable for one scope.
class EnvScope {
public:
    EnvScope(const char* name, const QByteArray* value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value) qputenv(name, *value);
        else qunsetenv(name);
    }
    ~EnvScope() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(Paths, TheProgramFolderFollowsXdgDataHomeAndIsMadeOnFirstUse) {
    QTemporaryDir home;
    const QByteArray dataHome = QFile::encodeName(home.filePath(QStringLiteral("data")));
    {
        EnvScope xdg("XDG_DATA_HOME", &dataHome);
        EXPECT_EQ(platform::mainDatabasePath(), home.filePath(QStringLiteral("data/Vostrel/druvolo.mdb")));
        EXPECT_EQ(platform::listDatabasePath(), home.filePath(QStringLiteral("data/Vostrel/kabulist.mdb")));
        EXPECT_EQ(platform::programFile(QStringLiteral("Mdb/")), home.filePath(QStringLiteral("data/Vostrel/Mdb/")));
        EXPECT_TRUE(QDir(home.filePath(QStringLiteral("data/Vostrel"))).exists());
    }
    const QByteArray homeDir = QFile::encodeName(home.path());
    EnvScope user("HOME", &homeDir);
    EnvScope xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(platform::programFolder(), home.filePath(QStringLiteral(".local/share/Vostrel/")));
}

}  // namespace
