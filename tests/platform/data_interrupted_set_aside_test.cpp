// A side file whose setting aside was cut short between its new name's link and its old name's
// removal: the same file under both names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/data/interrupted_set_aside.h"

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void link(const QString& from, const QString& to) {
    ASSERT_EQ(::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()), 0);
}

TEST(InterruptedSetAside, ASideFileThatIsAlsoOneOfItsNumberedNamesLosesItsOldNameOnly) {
    struct Case {
        const char* name;
        const char* side;        // the side file's ending
        QStringList linked;      // numbered names made as hard links of the side file
        QStringList others;      // names beside it holding other bytes
        QStringList finished;    // names returned
        QStringList remaining;   // names left, with their bytes (the side file's or "other")
    };
    const Case cases[] = {
        {"journal linked as its first number", "-journal", {"druvolo.mdb-journal.1.orphan"}, {},
         {"druvolo.mdb-journal.1.orphan"}, {"druvolo.mdb-journal.1.orphan"}},
        {"journal linked after an earlier orphan", "-journal", {"druvolo.mdb-journal.2.orphan"}, {"druvolo.mdb-journal.1.orphan"},
         {"druvolo.mdb-journal.2.orphan"}, {"druvolo.mdb-journal.1.orphan", "druvolo.mdb-journal.2.orphan"}},
        {"only other orphans beside it", "-journal", {}, {"druvolo.mdb-journal.1.orphan"}, {},
         {"druvolo.mdb-journal", "druvolo.mdb-journal.1.orphan"}},
        {"a link under a name of another pattern", "-journal", {"druvolo.mdb-journal.bak", "druvolo.mdb-journal.1.orphan.old"}, {}, {},
         {"druvolo.mdb-journal", "druvolo.mdb-journal.1.orphan.old", "druvolo.mdb-journal.bak"}},
        {"a log linked, its index goes too", "-wal", {"druvolo.mdb-wal.1.orphan"}, {"druvolo.mdb-shm"},
         {"druvolo.mdb-wal.1.orphan"}, {"druvolo.mdb-wal.1.orphan"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("druvolo.mdb"));
        const QString side = db + QLatin1String(c.side);
        write(db, QByteArray(4096, 'd'));
        write(side, "side file");
        for (const QString& name : c.linked) link(side, dir.filePath(name));
        for (const QString& name : c.others) write(dir.filePath(name), "other");

        QStringList finished = platform::finishInterruptedSetAsides(db);

        for (QString& name : finished) name = QFileInfo(name).fileName();
        EXPECT_EQ(finished, c.finished);
        QStringList left = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        left.removeAll(QStringLiteral("druvolo.mdb"));
        EXPECT_EQ(left, c.remaining);
        for (const QString& name : c.remaining)
            EXPECT_EQ(read(dir.filePath(name)), c.others.contains(name) ? QByteArray("other") : QByteArray("side file"))
                << name.toStdString();
        EXPECT_EQ(read(db), QByteArray(4096, 'd'));
    }
}

}  // namespace
