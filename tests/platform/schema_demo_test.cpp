#include "schema_fixture.h"

#include "demo/demo_data.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

using schema_fixture::Sqlite;

namespace {

demo::Options options(std::uint32_t seed, int stocks = 0)
{
    demo::Options o;
    o.seed = seed;
    o.totalStocks = stocks;
    o.today = QDate(2024, 10, 6);  // a Sunday
    o.workbooks = false;
    return o;
}

// Everything the generator stores, as one text.
QString dump(const QString& folder)
{
    QString out;
    for (const auto& [file, tables] : {std::pair{QStringLiteral("druvolo.mdb"), QStringList{"list", "hojyo", "日付", "mydata"}},
                                       std::pair{QStringLiteral("kabulist.mdb"),
                                                 QStringList{"checklist", "trend", "checklist2", "mylist", "情報源リスト"}}}) {
        Sqlite db(QDir(folder).filePath(file));
        for (const QString& table : tables)
            for (const auto& row : db.rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(table))) {
                for (const QVariant& v : row) out += v.toString() + QLatin1Char('|');
                out += QLatin1Char('\n');
            }
    }
    return out;
}

TEST(DemoData, SameSeedSameDataAndEveryUniverseHasMembers)
{
    QTemporaryDir a, b, c;
    const demo::Summary s = demo::generate(a.path(), options(7));
    demo::generate(b.path(), options(7));
    demo::generate(c.path(), options(8));
    const QString first = dump(s.folder);
    EXPECT_EQ(first, dump(QDir(b.path()).filePath("Vostrel")));
    EXPECT_NE(first, dump(QDir(c.path()).filePath("Vostrel")));

    Sqlite db(QDir(s.folder).filePath("druvolo.mdb"));
    EXPECT_EQ(s.cards, 2000);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"mydata\"").toInt(), 2000);
    EXPECT_GT(s.stocks, 3768);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"list1plus\"").toInt(), s.stocks);
    EXPECT_EQ(db.value("SELECT \"コード\" FROM \"list\" ORDER BY \"ID\" LIMIT 1").toInt(), 1001);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"hojyo\""), db.value("SELECT count(*) FROM \"list\""));
    for (const QStringList* group : {&schema_fixture::kTrendQueries, &schema_fixture::kCardTrendQueries, &schema_fixture::kCardQueries})
        for (const QString& q : *group)
            EXPECT_GT(db.value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(q)).toInt(), 0) << q.toStdString();
    // Ten weekdays back from the Friday before the given Sunday, newest first.
    const auto record = db.rows("SELECT \"kabuka1\", \"kabuka2\", \"kabuka10\", \"kabuka11\", \"kabuka12\" FROM \"日付\"");
    ASSERT_EQ(record.size(), 1u);
    EXPECT_EQ(record[0][0].toString(), QStringLiteral("24/10/04"));
    EXPECT_EQ(record[0][1].toString(), QStringLiteral("24/10/03"));
    EXPECT_EQ(record[0][2].toString(), QStringLiteral("24/09/23"));
    EXPECT_EQ(record[0][3].toString(), QStringLiteral("day"));
    EXPECT_FALSE(record[0][4].toString().isEmpty());
    // Trends the patterns look for: risen over the last three periods after a flat stretch.
    EXPECT_GT(db.value("SELECT count(*) FROM \"list1plus\" WHERE \"ratio3\" BETWEEN -25 AND -4 AND "
                       "\"ratio9\" - \"ratio3\" BETWEEN -2 AND 2 AND \"ratio6\" - \"ratio3\" BETWEEN -2 AND 2").toInt(), 10);
    // Cards old enough for the purge, and a list entry of every list.
    EXPECT_GT(db.value("SELECT count(*) FROM \"sakujo-main\" WHERE \"日付\" < julianday('2024-10-06') - 2415018.5 - 90").toInt(), 0);
    Sqlite lists(QDir(s.folder).filePath("kabulist.mdb"));
    for (const char* table : {"checklist", "trend", "checklist2", "mylist", "情報源リスト"})
        EXPECT_GT(lists.value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QString::fromUtf8(table))).toInt(), 0) << table;
}

TEST(DemoData, AskedForANumberOfStocksPricesExactlyThatMany)
{
    QTemporaryDir dir;
    const demo::Summary s = demo::generate(dir.path(), options(1, 4000));
    EXPECT_EQ(s.stocks, 4000);
    Sqlite db(QDir(s.folder).filePath("druvolo.mdb"));
    EXPECT_EQ(db.value("SELECT count(*) FROM \"list1plus\"").toInt(), 4000);
    EXPECT_EQ(db.value("SELECT count(*) FROM \"list\"").toInt(), 4001);
    EXPECT_EQ(db.value("SELECT count(DISTINCT \"コード\") FROM \"list\"").toInt(), 4001);
}

TEST(DemoData, RefusesAFolderWithDatabasesOfItsOwn)
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("Vostrel");
    platform::ensureMainDatabase(QDir(folder).filePath("druvolo.mdb"));
    EXPECT_THROW(demo::generate(dir.path(), options(1)), platform::DataError);
    Sqlite db(QDir(folder).filePath("druvolo.mdb"));
    EXPECT_EQ(db.value("SELECT count(*) FROM \"mydata\"").toInt(), 0);
    // A folder the generator made is replaced on the next run.
    QTemporaryDir demoDir;
    demo::generate(demoDir.path(), options(1));
    EXPECT_NO_THROW(demo::generate(demoDir.path(), options(2)));
}

// The files of a folder, subfolders included, as paths relative to it.
QStringList filesUnder(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(DemoData, RefusesAFolderARunningProgramHolds)
{
    QTemporaryDir dir;
    demo::generate(dir.path(), options(1));
    const QString folder = QDir(dir.path()).filePath("Vostrel");
    const QString before = dump(folder);
    // Another process holds the folder's lock, as the running program does.
    QProcess holder;
    holder.start("/usr/bin/python3", {"-c", "import fcntl, sys, time\n"
                                            "f = open(sys.argv[1], 'a')\n"
                                            "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                            "print('held', flush=True)\n"
                                            "time.sleep(60)\n",
                                      QDir(folder).filePath(platform::FolderLock::lockFileName())});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(platform::FolderLock(folder).state(), platform::FolderLock::State::HeldByOther);
    try {
        demo::generate(dir.path(), options(2));
        ADD_FAILURE() << "a folder in use was replaced";
    } catch (const platform::DataError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("running program")) << e.what();
    }
    EXPECT_EQ(dump(folder), before);
    holder.kill();
    holder.waitForFinished();
    EXPECT_NO_THROW(demo::generate(dir.path(), options(2)));
    EXPECT_NE(dump(folder), before);
    // The generator lets the lock go when it is done.
    EXPECT_EQ(platform::FolderLock(folder).state(), platform::FolderLock::State::Held);
}

TEST(DemoData, AFreshDemoLeavesNoFileOfTheOldOne)
{
    QTemporaryDir dir, clean;
    const QString folder = QDir(dir.path()).filePath("Vostrel");
    demo::generate(dir.path(), options(1));
    const QStringList demoFiles = filesUnder(folder);
    // The program was killed over the demo: its log of committed work stays beside the database.
    QProcess killed;
    killed.start("/usr/bin/python3",
                 {"-c", "import os, sqlite3, sys\n"
                        "c = sqlite3.connect(sys.argv[1])\n"
                        "c.execute('pragma journal_mode=wal')\n"
                        "c.execute('create table leftover (a)')\n"
                        "c.executemany('insert into leftover values (?)', [(i,) for i in range(5000)])\n"
                        "c.execute('update list set 銘柄 = 銘柄 || 1')\n"
                        "c.commit()\n"
                        "os._exit(0)\n",
                  QDir(folder).filePath("druvolo.mdb")});
    ASSERT_TRUE(killed.waitForFinished(60000));
    ASSERT_EQ(killed.exitCode(), 0) << killed.readAllStandardError().toStdString();
    ASSERT_TRUE(QFileInfo::exists(QDir(folder).filePath("druvolo.mdb-wal")));
    // And what the program and the person left there.
    for (const char* f : {"kabulist.mdb-journal", "memo.txt", "Mdb/druvolo20240930.mdb", "kabu240930.xls", "x.mdb-shm"})
        writeFile(QDir(folder).filePath(f), "old");

    demo::generate(dir.path(), options(2));
    EXPECT_EQ(filesUnder(folder), demoFiles);
    for (const char* file : {"druvolo.mdb", "kabulist.mdb"}) {
        Sqlite db(QDir(folder).filePath(file));
        EXPECT_EQ(db.value("PRAGMA integrity_check").toString(), "ok") << file;
    }
    demo::generate(clean.path(), options(2));
    EXPECT_EQ(dump(folder), dump(QDir(clean.path()).filePath("Vostrel")));

    // A folder the generator did not make loses only the logs of databases it no longer holds.
    QTemporaryDir other;
    const QString otherFolder = QDir(other.path()).filePath("Vostrel");
    for (const char* f : {"druvolo.mdb-wal", "kabulist.mdb-shm", "memo.txt", "Mdb/druvolo20240930.mdb"})
        writeFile(QDir(otherFolder).filePath(f), "old");
    demo::generate(other.path(), options(2));
    const QStringList kept = filesUnder(otherFolder);
    EXPECT_TRUE(kept.contains("memo.txt") && kept.contains("Mdb/druvolo20240930.mdb"));
    EXPECT_FALSE(kept.contains("druvolo.mdb-wal") || kept.contains("kabulist.mdb-shm"));
    EXPECT_EQ(dump(otherFolder), dump(QDir(clean.path()).filePath("Vostrel")));
}

}  // namespace
