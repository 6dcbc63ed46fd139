#include "schema_fixture.h"

#include "demo/demo_data.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"

#include <QCryptographicHash>
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

// Every entry under a folder (subfolders included), a file with the SHA-256 of its bytes.
QStringList snapshot(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString entry = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            entry += u'/';
        } else {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
            entry += u' ' + QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
        }
        out << entry;
    }
    out.sort();
    return out;
}

// The entry of a snapshot for one file or folder.
QString entryOf(const QStringList& snap, const QString& name)
{
    for (const QString& e : snap)
        if (e == name + u'/' || e.startsWith(name + u' '))
            return e;
    return {};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What a person makes in a program folder in a day's work: the memo, a card, a backup of the main
// database in Mdb/ (and a folder of their own there), a workbook of their own.
void workIn(const QString& folder)
{
    writeFile(QDir(folder).filePath("memo.txt"), "買い候補: 7203\n");
    writeFile(QDir(folder).filePath("Mdb/old/notes.txt"), "mine");
    ASSERT_TRUE(QFile::copy(QDir(folder).filePath("druvolo.mdb"), QDir(folder).filePath("Mdb/druvolo20241004.mdb")));
    writeFile(QDir(folder).filePath("kabu241015.xls"), "a workbook of my own");
    Sqlite db(QDir(folder).filePath("druvolo.mdb"));
    db.exec("INSERT INTO mydata (情報源, 日付, 銘柄, コード, 情報) VALUES ('自分で集めた', 45569, 'トヨタ自動車', 7203, 'メモ')");
}

int handCards(const QString& folder)
{
    return Sqlite(QDir(folder).filePath("druvolo.mdb")).value("SELECT count(*) FROM mydata WHERE 情報源 = '自分で集めた'").toInt();
}

// The demo maker as the README runs it to try the program.
std::pair<int, QString> runDemoMaker(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUENARA_DEMO), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

// Over a folder that holds the program's data (a demo worked in, or a program folder of its own,
// one made by an earlier demo maker among them) nothing changes, not even a lock file, and the
// README's command goes on to start the program.
TEST(DemoData, LeavesAProgramFolderAsItIs)
{
    QTemporaryDir used, own;
    demo::generate(used.path(), options(1, 60));
    const QString own_folder = QDir(own.path()).filePath("Vostrel");
    platform::ensureMainDatabase(QDir(own_folder).filePath("druvolo.mdb"));
    platform::ensureListDatabase(QDir(own_folder).filePath("kabulist.mdb"));
    writeFile(QDir(own_folder).filePath("demo-folder.txt"),
              "Demo data made by quenara-demo; running it again replaces everything here.\n");
    for (const QString home : {used.path(), own.path()}) {
        SCOPED_TRACE(home.toStdString());
        const QString folder = QDir(home).filePath("Vostrel");
        workIn(folder);
        const auto before = snapshot(folder);

        const demo::Summary s = demo::generate(home, options(2, 60));
        EXPECT_FALSE(s.made);
        const auto [code, said] = runDemoMaker({home});
        EXPECT_EQ(code, 0) << said.toStdString();
        EXPECT_TRUE(said.contains("nothing changed")) << said.toStdString();

        EXPECT_EQ(snapshot(folder), before);
        EXPECT_EQ(handCards(folder), 1);
    }
}

// Where there is no program folder, or an empty one, the demo is made, and its list names exactly
// the files it made.
TEST(DemoData, MakesADemoWhereThereIsNone)
{
    QTemporaryDir none, empty;
    ASSERT_TRUE(QDir(empty.path()).mkdir("Vostrel"));
    for (const QString home : {none.path() + QStringLiteral("/home"), empty.path()}) {
        SCOPED_TRACE(home.toStdString());
        demo::Options o = options(1, 60);
        o.workbooks = true;
        const demo::Summary s = demo::generate(home, o);
        EXPECT_TRUE(s.made);
        EXPECT_EQ(s.workbooks, 11);
        QStringList made{"druvolo.mdb", "kabulist.mdb"};
        for (const char* day : {"240923", "240924", "240925", "240926", "240927", "240930", "241001", "241002",
                                "241003", "241004", "241007"})
            made << QStringLiteral("kabu%1.xls").arg(QString::fromLatin1(day));
        QStringList listed;
        QFile list(QDir(s.folder).filePath("demo-folder.txt"));
        ASSERT_TRUE(list.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(list.readAll()).split('\n', Qt::SkipEmptyParts))
            if (!line.startsWith('#'))
                listed << line.section('\t', 0, 0);
        listed.sort();
        made.sort();
        EXPECT_EQ(listed, made);
        made << "demo-folder.txt" << "quenara.lock";
        made.sort();
        EXPECT_EQ(filesUnder(s.folder), made);
    }
}

// "--fresh" asks for a new demo: the files the earlier demo made go (its databases with the card
// a person added there), and only they: the memo, Mdb/ and a workbook of the person's own stay,
// as does a demo workbook changed since. A changed workbook the new demo would write over, a log
// beside the databases, or a folder the demo maker did not make is refused with nothing changed.
TEST(DemoData, AFreshDemoRemovesOnlyWhatTheDemoMade)
{
    QTemporaryDir dir, clean;
    const QString folder = QDir(dir.path()).filePath("Vostrel");
    demo::Options first = options(1, 60);
    first.workbooks = true;
    first.today = QDate(2024, 10, 4);
    demo::generate(dir.path(), first);
    workIn(folder);
    writeFile(QDir(folder).filePath("kabu240923.xls"), "changed by hand");   // the earlier demo's oldest day

    demo::Options next = options(2, 60);
    next.workbooks = true;
    next.fresh = true;
    next.today = QDate(2024, 10, 11);
    // Refused, nothing changed: a demo workbook changed since that the new demo would write ...
    writeFile(QDir(folder).filePath("kabu241004.xls"), "changed by hand");
    auto before = snapshot(folder);
    EXPECT_THROW(demo::generate(dir.path(), next), platform::DataError);
    EXPECT_EQ(snapshot(folder), before);
    QFile::remove(QDir(folder).filePath("kabu241004.xls"));
    // ... and the log of a program killed over the demo (it would be played onto the new database).
    writeFile(QDir(folder).filePath("druvolo.mdb-journal"), "log");
    before = snapshot(folder);
    EXPECT_THROW(demo::generate(dir.path(), next), platform::DataError);
    EXPECT_EQ(snapshot(folder), before);
    QFile::remove(QDir(folder).filePath("druvolo.mdb-journal"));

    // A list edited by hand names a folder and paths into and out of it: none of them goes.
    QFile list(QDir(folder).filePath("demo-folder.txt"));
    ASSERT_TRUE(list.open(QIODevice::Append));
    list.write("Mdb\nMdb/old/notes.txt\n../outside.txt\n");
    list.close();
    writeFile(QDir(dir.path()).filePath("outside.txt"), "beside the folder");

    before = snapshot(folder);
    const demo::Summary s = demo::generate(dir.path(), next);
    ASSERT_TRUE(s.made);
    EXPECT_EQ(s.kept, (QStringList{"kabu240923.xls", "Mdb"}));
    EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath("outside.txt")));
    const auto after = snapshot(folder);
    for (const char* mine : {"memo.txt", "Mdb", "Mdb/druvolo20241004.mdb", "Mdb/old", "Mdb/old/notes.txt",
                             "kabu241015.xls", "kabu240923.xls"}) {
        EXPECT_FALSE(entryOf(before, mine).isEmpty()) << mine;
        EXPECT_EQ(entryOf(after, mine), entryOf(before, mine));
    }
    for (const char* gone : {"kabu240924.xls", "kabu240927.xls"})
        EXPECT_EQ(entryOf(after, gone), QString()) << gone;
    EXPECT_EQ(handCards(folder), 0);
    // The new demo is the one a clean folder gets.
    demo::Options same = next;
    same.fresh = false;
    same.workbooks = false;
    demo::generate(clean.path(), same);
    EXPECT_EQ(dump(folder), dump(QDir(clean.path()).filePath("Vostrel")));
    for (const char* file : {"druvolo.mdb", "kabulist.mdb"})
        EXPECT_EQ(Sqlite(QDir(folder).filePath(file)).value("PRAGMA integrity_check").toString(), "ok") << file;

    // A folder the demo maker did not make (an earlier version's marker lists nothing) is refused.
    QTemporaryDir own;
    const QString ownFolder = QDir(own.path()).filePath("Vostrel");
    platform::ensureMainDatabase(QDir(ownFolder).filePath("druvolo.mdb"));
    writeFile(QDir(ownFolder).filePath("demo-folder.txt"),
              "Demo data made by quenara-demo; running it again replaces everything here.\n");
    workIn(ownFolder);
    platform::FolderLock{ownFolder};   // its lock file, as a program that ran there leaves it
    before = snapshot(ownFolder);
    const auto [code, said] = runDemoMaker({"--fresh", own.path()});
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(said.contains("druvolo.mdb")) << said.toStdString();
    EXPECT_EQ(snapshot(ownFolder), before);
}

TEST(DemoData, RefusesAFolderARunningProgramHolds)
{
    QTemporaryDir dir, empty;
    demo::generate(dir.path(), options(1));
    const QString folder = QDir(dir.path()).filePath("Vostrel");
    const QString emptyFolder = QDir(empty.path()).filePath("Vostrel");
    ASSERT_TRUE(QDir().mkpath(emptyFolder));
    const QString before = dump(folder);
    demo::Options fresh = options(2);
    fresh.fresh = true;
    // Another process holds the folder's lock, as the running program does.
    for (const QString& held : {folder, emptyFolder}) {
        SCOPED_TRACE(held.toStdString());
        QProcess holder;
        holder.start("/usr/bin/python3", {"-c", "import fcntl, sys, time\n"
                                                "f = open(sys.argv[1], 'a')\n"
                                                "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                                "print('held', flush=True)\n"
                                                "time.sleep(60)\n",
                                          QDir(held).filePath(platform::FolderLock::lockFileName())});
        ASSERT_TRUE(holder.waitForReadyRead(10000));
        ASSERT_EQ(platform::FolderLock(held).state(), platform::FolderLock::State::HeldByOther);
        try {
            demo::generate(QFileInfo(held).path(), fresh);
            ADD_FAILURE() << "a folder in use was written";
        } catch (const platform::DataError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains("running program")) << e.what();
        }
        holder.kill();
        holder.waitForFinished();
    }
    EXPECT_EQ(dump(folder), before);
    EXPECT_EQ(filesUnder(emptyFolder), QStringList{platform::FolderLock::lockFileName()});
    EXPECT_TRUE(demo::generate(dir.path(), fresh).made);
    EXPECT_NE(dump(folder), before);
    // The generator lets the lock go when it is done.
    EXPECT_EQ(platform::FolderLock(folder).state(), platform::FolderLock::State::Held);
}

}  // namespace
