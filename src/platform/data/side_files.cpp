#include "platform/data/side_files.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "platform/data/errors.h"
#include "platform/data/interrupted_set_aside.h"
#include "platform/data/private_copy.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_support.h"
#include "platform/data/trial_needs.h"

namespace platform {

namespace {

using detail::FileLock;
using detail::PrivateCopy;
using detail::sideFilesOf;

// Moves the file to the first free name "<base>.<n>.orphan": an earlier one is never replaced.
// Returns the new name, or nothing when it could not be moved.
std::optional<QString> setAside(const QString& file, const QString& base) {
    const QByteArray from = QFile::encodeName(file);
    for (int n = 1; n < 100000; ++n) {
        const QString orphan = base + QStringLiteral(".%1.orphan").arg(n);
        const QByteArray to = QFile::encodeName(orphan);
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return orphan;
        }
        if (errno == EEXIST) continue;
        // (a file system without hard links; QFile::rename replaces no file either)
        if (QFileInfo::exists(orphan)) continue;
        if (QFile::rename(file, orphan)) return orphan;
        return std::nullopt;
    }
    return std::nullopt;
}

// Every side file set aside; the index of a log set aside goes with it (SQLite makes it anew).
QStringList setAsideAll(const QString& path, const QStringList& sides) {
    QStringList moved;
    for (const QString& side : sides)
        if (const auto orphan = setAside(side, side)) moved << *orphan;
    if (!QFileInfo::exists(path + QStringLiteral("-wal"))) QFile::remove(path + QStringLiteral("-shm"));
    return moved;
}

// What SQLite's integrity check and the stored changes of a main database find amiss in the
// database file at path, or nothing. Only for a copy in a private folder that SQLite has already
// recovered; it calls back nothing, so it may run on a thread of its own.
std::optional<QString> damageOf(const QString& path) {
    sqlite3* db = nullptr;
    std::optional<QString> damage;
    // A private copy needs no sync; a cache that holds most of the file spares the checks
    // reading its pages again and again.
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA cache_size=-65536", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        damage = db ? detail::lastError(db) : QStringLiteral("out of memory");
    } else {
        try {
            detail::Statement check(db, QStringLiteral("PRAGMA integrity_check(20)"));
            QStringList found;
            while (check.step()) found << detail::readColumn(check.get(), 0).toString();
            if (found != QStringList{QStringLiteral("ok")}) damage = found.join(QStringLiteral(" / "));
            else damage = storedChangesProblem(db);
        } catch (const DataError& e) {
            damage = e.text;
        } catch (const std::exception& e) {
            damage = QString::fromLocal8Bit(e.what());
        }
    }
    sqlite3_close_v2(db);
    return damage;
}

QString unfinishedWrite(const QStringList& sides, const QString& what) {
    QStringList names;
    for (const QString& side : sides) names << QFileInfo(side).fileName();
    return QStringLiteral("前回の実行が書き込みの途中で残したファイル（%1）があります。%2")
        .arg(names.join(QStringLiteral("、")), what);
}

// Whether two files hold the same bytes.
bool sameBytes(const QString& a, const QString& b) {
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size()) return false;
    while (!fa.atEnd())
        if (fa.read(1 << 20) != fb.read(1 << 20)) return false;
    return true;
}

// The first bytes of a rollback journal that SQLite plays back; any other header plays back nothing.
const QByteArray kJournalMark("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);

// What the side files are, read from their headers and the file's own (through the held lock's
// descriptor: no other descriptor of the file is opened), nothing copied.
SideFacts plainFacts(const QString& path, const FileLock& lock) {
    SideFacts facts;
    QFile journal(path + QStringLiteral("-journal"));
    facts.journalHot = journal.open(QIODevice::ReadOnly) && journal.read(kJournalMark.size()) == kJournalMark;
    if (QFileInfo(path + QStringLiteral("-wal")).size() > 0) {
        char header[20] = {};
        const bool rollbackMode = ::pread(lock.descriptor(), header, sizeof header, 0) == ssize_t(sizeof header) &&
                                  std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 1 && header[19] == 1;
        (rollbackMode ? facts.strayLog : facts.log) = true;
    }
    return facts;
}

// The copies the trial made and checked, in a private folder removed with the object.
struct Trial {
    PrivateCopy folder;
    QString recovered, asItStands;
    std::optional<QString> recoveredProblem, asItStandsProblem;
};

// SQLite recovers a copy of the file with its side files (a stray log left out), and that copy and
// a copy of the file as it stands are checked and compared; the facts filled in. Throws DataError.
void tryOnCopies(Trial* trial, const QString& path, const FileLock& lock, const FileProblem& problem, SideFacts* facts) {
    trial->recovered = trial->folder.copy(path, lock, QStringLiteral("recovered"), true, !facts->strayLog);
    trial->asItStands = trial->folder.copy(path, lock, QStringLiteral("as-it-stands"), false);
    // SQLite recovers the copy as it would recover the file itself.
    QString why;
    if (detail::recoverDatabase(trial->recovered, &why) != SQLITE_OK) trial->recoveredProblem = why;
    // (the same bytes when the write was killed before it reached the file)
    const bool same = !trial->recoveredProblem && sameBytes(trial->recovered, trial->asItStands);
    // The two checks read a file each: the file as it stands is checked on a thread of its own.
    std::thread standing;
    if (!same) standing = std::thread([&trial] { trial->asItStandsProblem = damageOf(trial->asItStands); });
    if (!trial->recoveredProblem) trial->recoveredProblem = damageOf(trial->recovered);
    if (standing.joinable()) standing.join();
    if (problem && !trial->recoveredProblem) trial->recoveredProblem = problem(trial->recovered);
    if (same) trial->asItStandsProblem = trial->recoveredProblem;
    else if (problem && !trial->asItStandsProblem) trial->asItStandsProblem = problem(trial->asItStands);
    facts->recoveredSound = !trial->recoveredProblem;
    facts->asItStandsSound = !trial->asItStandsProblem;
    facts->sameRows = same || (facts->recoveredSound && facts->asItStandsSound && sameRows(trial->recovered, trial->asItStands));
}

// The tables of a database file, each with whether it keeps rows without a rowid.
std::vector<std::pair<QString, bool>> tablesOf(sqlite3* db) {
    std::vector<std::pair<QString, bool>> tables;
    detail::Statement list(db, QStringLiteral("SELECT name, wr FROM pragma_table_list WHERE schema = 'main' AND type = 'table' "
                                              "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    while (list.step()) tables.emplace_back(detail::readColumn(list.get(), 0).toString(), sqlite3_column_int(list.get(), 1) != 0);
    return tables;
}

// The definitions a database file holds (tables, indexes, views, triggers), whatever their pages.
QStringList schemaOf(sqlite3* db) {
    QStringList schema;
    detail::Statement list(db, QStringLiteral("SELECT type || ' ' || name || ' ' || ifnull(sql, '') FROM sqlite_master "
                                              "ORDER BY type, name"));
    while (list.step()) schema << detail::readColumn(list.get(), 0).toString();
    return schema;
}

bool sameValue(sqlite3_stmt* a, sqlite3_stmt* b, int col) {
    const int type = sqlite3_column_type(a, col);
    if (type != sqlite3_column_type(b, col)) return false;
    switch (type) {
    case SQLITE_NULL: return true;
    case SQLITE_INTEGER: return sqlite3_column_int64(a, col) == sqlite3_column_int64(b, col);
    case SQLITE_FLOAT: return sqlite3_column_double(a, col) == sqlite3_column_double(b, col);
    default: {
        const void* pa = sqlite3_column_blob(a, col);
        const void* pb = sqlite3_column_blob(b, col);
        const int n = sqlite3_column_bytes(a, col);
        return n == sqlite3_column_bytes(b, col) && (n == 0 || std::memcmp(pa, pb, std::size_t(n)) == 0);
    }
    }
}

// Whether the table holds the same rows in both files: both read in the order of the key.
bool sameTable(sqlite3* a, sqlite3* b, const QString& table, bool withoutRowid) {
    QString sql;
    {
        detail::Statement columns(a, QStringLiteral("SELECT count(*) FROM pragma_table_info(?1)"));
        sqlite3_bind_text(columns.get(), 1, table.toUtf8().constData(), -1, SQLITE_TRANSIENT);
        const int n = columns.step() ? sqlite3_column_int(columns.get(), 0) : 0;
        QStringList order;
        for (int i = 1; i <= n; ++i) order << QString::number(i);
        const QString quoted = u'"' + QString(table).replace(u'"', QStringLiteral("\"\"")) + u'"';
        sql = withoutRowid ? QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(quoted, order.join(u','))
                           : QStringLiteral("SELECT _rowid_, * FROM %1 ORDER BY _rowid_").arg(quoted);
    }
    detail::Statement ra(a, sql), rb(b, sql);
    const int columns = sqlite3_column_count(ra.get());
    if (columns != sqlite3_column_count(rb.get())) return false;
    for (;;) {
        const bool more = ra.step();
        if (more != rb.step()) return false;
        if (!more) return true;
        for (int c = 0; c < columns; ++c)
            if (!sameValue(ra.get(), rb.get(), c)) return false;
    }
}

}  // namespace

SideVerdict sideVerdict(const SideFacts& f) {
    if (!f.journalHot && !f.log) return f.strayLog ? SideVerdict::Keep : SideVerdict::AsItStands;
    if (!f.recoveredSound && !f.asItStandsSound) return SideVerdict::Damaged;
    if (!f.asItStandsSound) return SideVerdict::Recover;
    if (!f.recoveredSound) return SideVerdict::Keep;
    // Both whole: nothing is lost either way when they hold the same rows.
    return f.sameRows ? SideVerdict::Recover : SideVerdict::Ask;
}

bool sameRows(const QString& a, const QString& b) {
    sqlite3* da = nullptr;
    sqlite3* db = nullptr;
    bool same = false;
    if (sqlite3_open_v2(QFile::encodeName(a).constData(), &da, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_open_v2(QFile::encodeName(b).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        try {
            const auto tables = tablesOf(da);
            same = tables == tablesOf(db) && schemaOf(da) == schemaOf(db);
            for (std::size_t i = 0; same && i < tables.size(); ++i)
                same = sameTable(da, db, tables[i].first, tables[i].second);
        } catch (const DataError&) {
            same = false;
        }
    }
    sqlite3_close_v2(da);
    sqlite3_close_v2(db);
    return same;
}

SideFilesOutcome settleSideFiles(const QString& path, const FileProblem& problem, const DescribeFile& describe,
                                 const ChooseRecovery& chooseRecovery, const TrialBegins& trialBegins) {
    SideFilesOutcome outcome;
    outcome.setAside = finishInterruptedSetAsides(path);
    const QStringList sides = sideFilesOf(path);
    if (sides.isEmpty()) return outcome;
    const QFileInfo file(path);
    if (!file.exists() || (file.isFile() && file.size() == 0)) {
        // Nothing of a database is left for them; the program makes the file anew.
        outcome.setAside += setAsideAll(path, sides);
        return outcome;
    }
    if (const auto unwritable = unwritableProblem(path)) {
        outcome.damage = unfinishedWrite(sides, *unwritable);
        return outcome;
    }
    {
        // Held while the facts are found and until the side files are set aside: no other process
        // may begin to read or write the file meanwhile.
        FileLock lock(path, FileLock::Kind::Sole);
        if (!lock.held()) return outcome;   // another process is at work on it
        SideFacts facts = plainFacts(path, lock);
        std::unique_ptr<Trial> trial;
        if (facts.journalHot || facts.log) {
            try {
                trial = std::make_unique<Trial>();
                if (const auto room = trialRoomProblem(trial->folder.folder(), path, sides)) {
                    outcome.damage = unfinishedWrite(sides, *room);
                    return outcome;
                }
                if (trialBegins) trialBegins();
                tryOnCopies(trial.get(), path, lock, problem, &facts);
            } catch (const DataError& e) {
                outcome.damage = unfinishedWrite(sides, QStringLiteral("試しに戻す場所を用意できません: ") + e.text);
                return outcome;
            }
        }
        SideVerdict verdict = sideVerdict(facts);
        bool recoveryChosen = false;   // over a whole file as it stands, which is then kept
        if (verdict == SideVerdict::Ask) {
            // No check tells whether the killed write had reached the file whole or a file was put
            // in place after the kill; the person chooses, and the file not chosen is kept.
            recoveryChosen = chooseRecovery && chooseRecovery(sides, describe ? describe(trial->recovered) : QString(),
                                                             describe ? describe(trial->asItStands) : QString());
            verdict = recoveryChosen ? SideVerdict::Recover : SideVerdict::Keep;
        }
        switch (verdict) {
        case SideVerdict::AsItStands:
            return outcome;
        case SideVerdict::Damaged:
            outcome.damage = unfinishedWrite(
                sides, QStringLiteral("それを戻したファイルも、今のままのファイルも検査を通りません（%1）。どちらのファイルも書き換えていません。")
                           .arg(trial->recoveredProblem.value_or(QString())));
            return outcome;
        case SideVerdict::Keep:
            outcome.setAside += setAsideAll(path, sides);
            return outcome;
        case SideVerdict::Recover:
        case SideVerdict::Ask:   // (answered above)
            if (facts.strayLog) outcome.setAside += setAsideAll(path, {path + QStringLiteral("-wal")});
            if (recoveryChosen) {
                const auto kept = setAside(trial->asItStands, path);
                if (!kept) {
                    outcome.damage = unfinishedWrite(sides, QStringLiteral("今のままのファイルを別の名前で残せません。"));
                    return outcome;
                }
                outcome.keptAsItStood = *kept;
            }
            break;
        }
    }
    // SQLite recovers the file itself as it recovered the copy, once no descriptor of this
    // process's own holds it.
    QString message;
    if (detail::recoverDatabase(path, &message) != SQLITE_OK)
        outcome.damage = unfinishedWrite(sides, QStringLiteral("それを戻せません: ") + message);
    return outcome;
}

}  // namespace platform
