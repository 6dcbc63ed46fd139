// What settling a database file's side files needs before it starts: room for its copies, and a
// file and folder this user can write.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/data/trial_needs.h"
#include "support/unprivileged.h"

namespace {

constexpr qint64 kMB = 1024 * 1024;

TEST(TrialNeeds, TheRoomNeededIsTheFileTwiceAndItsSideFilesTwiceToldInWholeMB) {
    struct Case {
        const char* name;
        qint64 file, sides, free;
        const char* told;   // the sizes in the words, or null: room enough
    };
    const Case cases[] = {
        {"plenty", 100 * kMB, 4 * kMB, 10000 * kMB, nullptr},
        {"exactly enough", 100 * kMB, 4 * kMB, 208 * kMB, nullptr},
        {"one byte short", 100 * kMB, 4 * kMB, 208 * kMB - 1, "208 MB の空きが要りますが、207 MB しか"},
        {"about the file once", 100 * kMB, 4 * kMB, 110 * kMB, "208 MB の空きが要りますが、110 MB しか"},
        {"a fraction of a MB: needed up, free down", kMB + 1, 0, kMB + kMB / 2, "3 MB の空きが要りますが、1 MB しか"},
        {"a disk full", 3 * kMB, kMB / 2, 0, "7 MB の空きが要りますが、0 MB しか"},
        {"no side file left", 3 * kMB, 0, 6 * kMB, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto told = platform::shortOfRoom(QStringLiteral("/data/Vostrel"), platform::trialRoomNeeded(c.file, c.sides), c.free);
        ASSERT_EQ(told.has_value(), c.told != nullptr);
        if (c.told) EXPECT_TRUE(told->contains(QString::fromUtf8(c.told))) << told->toStdString();
    }
    EXPECT_EQ(platform::shortOfRoom(QStringLiteral("/data/Vostrel"), 5 * kMB, 2 * kMB),
              QStringLiteral("ディスクの空きが足りません。/data/Vostrel に 5 MB の空きが要りますが、2 MB しかありません。"
                             "どのファイルも書き換えていません。空きを作ってから、もう一度起動してください。"));
}

TEST(TrialNeeds, AFileOrFolderThisUserCannotWriteIsToldWithTheSystemsReason) {
    struct Case {
        const char* name;
        QFileDevice::Permissions file, folder;
        const char* told;   // or null: writable
    };
    const auto rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto rwx = rw | QFileDevice::ExeOwner;
    const Case cases[] = {
        {"both writable", rw, rwx, nullptr},
        {"the file read-only", QFileDevice::ReadOwner, rwx, "このファイルに書き込めないため（Permission denied）"},
        {"the folder read-only", rw, QFileDevice::ReadOwner | QFileDevice::ExeOwner,
         "のフォルダ（%1）に書き込めないため（Permission denied）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("db"));
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/druvolo.mdb");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        ASSERT_TRUE(QFile::setPermissions(path, c.file));
        ASSERT_TRUE(QFile::setPermissions(folder, c.folder));
        std::optional<QString> told;
        {
            testing_support::UnprivilegedFiles asUser({home.path()});
            told = platform::unwritableProblem(path);
        }
        QFile::setPermissions(folder, rwx);
        ASSERT_EQ(told.has_value(), c.told != nullptr);
        if (c.told)
            EXPECT_TRUE(told->contains(QString::fromUtf8(c.told).replace(QStringLiteral("%1"), folder))) << told->toStdString();
    }
}

}  // namespace
