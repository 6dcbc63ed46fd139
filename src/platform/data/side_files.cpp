#include "platform/data/side_files.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

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

// What keeps the database file at path from being sound after SQLite recovered it: the recovery
// itself failing, SQLite's integrity check, the stored changes of a main database, and what keeps
// it from serving as the program's database. Only for a copy in a private folder.
std::optional<QString> unsoundness(const QString& path, const FileProblem& problem) {
    sqlite3* db = nullptr;
    std::optional<QString> unsound;
    // A private copy needs no sync; a cache that holds most of the file spares the checks
    // reading its pages again and again.
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA cache_size=-65536", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        unsound = db ? detail::lastError(db) : QStringLiteral("out of memory");
    } else {
        try {
            detail::Statement check(db, QStringLiteral("PRAGMA integrity_check(20)"));
            QStringList found;
            while (check.step()) found << detail::readColumn(check.get(), 0).toString();
            if (found != QStringList{QStringLiteral("ok")}) unsound = found.join(QStringLiteral(" / "));
            else unsound = storedChangesProblem(db);
        } catch (const DataError& e) {
            unsound = e.text;
        }
    }
    sqlite3_close_v2(db);
    if (!unsound && problem) unsound = problem(path);
    return unsound;
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

}  // namespace

SideFilesOutcome settleSideFiles(const QString& path, const FileProblem& problem, const ChooseRecovery& chooseRecovery,
                                 const TrialBegins& trialBegins) {
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
    std::optional<QString> recovered;
    {
        // Held while the trial runs and until the side files are set aside: no other process
        // may begin to read or write the file meanwhile.
        FileLock lock(path, FileLock::Kind::Sole);
        if (!lock.held()) return outcome;   // another process is at work on it
        bool keepAsItStands = false;
        try {
            PrivateCopy trial;
            if (const auto room = trialRoomProblem(trial.folder(), path, sides)) {
                outcome.damage = unfinishedWrite(sides, *room);
                return outcome;
            }
            if (trialBegins) trialBegins();
            const QString recoveredCopy = trial.copy(path, lock, QStringLiteral("recovered"), true);
            const QString asItStandsCopy = trial.copy(path, lock, QStringLiteral("as-it-stands"), false);
            recovered = unsoundness(recoveredCopy, problem);
            // (the same bytes when the write was killed before it reached the file)
            const bool same = sameBytes(recoveredCopy, asItStandsCopy);
            const std::optional<QString> asItStands = same ? recovered : unsoundness(asItStandsCopy, problem);
            if (recovered && !asItStands) {
                keepAsItStands = true;
            } else if (!recovered && !asItStands && !same) {
                // Both are whole: the killed write had reached the file whole (or in parts that
                // are whole each), or a file was put in place after the kill over which the
                // recovery happens to be whole too. No check tells which; the person chooses,
                // and the file not chosen is kept.
                if (chooseRecovery && !chooseRecovery(sides)) {
                    keepAsItStands = true;
                } else {
                    const auto kept = setAside(asItStandsCopy, path);
                    if (!kept) throw DataError(QStringLiteral("cannot keep the file as it stands beside it"));
                    outcome.keptAsItStood = *kept;
                }
            }
        } catch (const DataError& e) {
            outcome.damage = unfinishedWrite(sides, QStringLiteral("試しに戻す場所を用意できません: ") + e.text);
            return outcome;
        }
        if (keepAsItStands) {
            outcome.setAside += setAsideAll(path, sides);
            return outcome;
        }
    }
    if (recovered) {
        outcome.damage = unfinishedWrite(
            sides, QStringLiteral("それを戻したファイルも、今のままのファイルも検査を通りません（%1）。どちらのファイルも書き換えていません。")
                       .arg(*recovered));
        return outcome;
    }
    QString message;
    if (detail::recoverDatabase(path, &message) != SQLITE_OK)
        outcome.damage = unfinishedWrite(sides, QStringLiteral("それを戻せません: ") + message);
    return outcome;
}

}  // namespace platform
