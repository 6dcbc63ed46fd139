#include "platform/data/database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <map>
#include <tuple>

#include "platform/data/access_file.h"
#include "platform/data/errors.h"
#include "platform/data/private_copy.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_support.h"

namespace platform {

namespace {

// What tells one file from another at the same path: a replaced or rewritten file is opened anew.
struct FileIdentity {
    dev_t dev = 0;
    ino_t ino = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

bool identityOf(const QString& path, FileIdentity* id) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    id->dev = st.st_dev;
    id->ino = st.st_ino;
    id->size = st.st_size;
    id->mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

bool isWorkbookConnect(const QString& connect) {
    return connect.trimmed().startsWith(QLatin1String("excel"), Qt::CaseInsensitive);
}

QString normalizedConnect(const QString& connect) {
    QString c = connect.trimmed().toLower();
    c.remove(u' ');
    if (!c.isEmpty() && !c.endsWith(u';')) c += u';';
    if (c.startsWith(QLatin1String("excel")) && !c.contains(QLatin1String("hdr=no"))) return QStringLiteral("excel");
    if (c.startsWith(QLatin1String("excel"))) return QStringLiteral("excel;hdr=no");
    return QStringLiteral("access");
}

// Whether the file holds a table of the program's main or list database.
bool holdsProgramTables(sqlite3* db) {
    detail::Statement st(db, QStringLiteral(
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name IN "
        "('mydata', 'list', '日付', 'checklist', 'trend', 'checklist2', 'mylist', '情報源リスト') LIMIT 1"));
    return st.step();
}

struct Entry {
    std::weak_ptr<Database> db;
    FileIdentity identity;
};

}  // namespace

// The shared connections, one per file and connect text.
class DatabaseRegistry {
public:
    static std::map<std::pair<QString, QString>, Entry>& entries() {
        static std::map<std::pair<QString, QString>, Entry> map;
        return map;
    }

    static std::map<QString, QString>& refused() {
        static std::map<QString, QString> map;
        return map;
    }

    // The files whose replacements are checked, with the file (device, inode) that passed last.
    struct Guard {
        Database::Check check;
        FileIdentity passed;
    };
    static std::map<QString, Guard>& guards() {
        static std::map<QString, Guard> map;
        return map;
    }

    static std::shared_ptr<Database> open(const QString& path, const QString& connect, Database::Access mode) {
        detail::configureEngine();
        if (path.trimmed().isEmpty()) throw DataError(QStringLiteral("No database name"));
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (auto r = refused().find(absolute); r != refused().end())
            throw DataError(QStringLiteral("%1: %2").arg(path, r->second));
        FileIdentity identity;
        if (!identityOf(absolute, &identity))
            throw DataError(QStringLiteral("Cannot find the file %1").arg(path));
        const bool workbook = isWorkbookConnect(connect);
        const bool readOnly = mode == Database::Access::ReadOnly;
        const auto key = std::make_pair(absolute, normalizedConnect(connect) + (readOnly && !workbook ? QStringLiteral("ro") : QString()));
        auto& map = entries();
        auto it = map.find(key);
        if (it != map.end()) {
            if (auto db = it->second.db.lock()) {
                // A snapshot or a private copy is read again when its file changed. A database
                // file only needs a new connection when another file took its place.
                const bool same = db->isSnapshot() || db->copy_ ? it->second.identity == identity
                                                                : it->second.identity.dev == identity.dev &&
                                                                      it->second.identity.ino == identity.ino;
                if (same) return db;
            }
            map.erase(it);
        }
        if (!workbook) passGuard(path, absolute, identity);

        std::shared_ptr<Database> db(new Database);
        db->path_ = absolute;
        db->workbook_ = workbook;
        db->readOnly_ = readOnly || workbook;
        if (workbook) {
            openInMemory(*db);
            db->sheets_ = std::make_shared<detail::WorkbookTables>(absolute, key.second == QLatin1String("excel"));
        } else {
            // SQLite reads the file first: a database file is never opened by anything else while
            // a connection of this process holds it (closing any other descriptor of the file
            // would drop SQLite's locks on it). Only a file SQLite finds to be no database is
            // looked at as an Access file.
            // A file only read is read from a private copy where it cannot be read whole as it
            // lies, unless a connection of this process holds it (a copy would open and close a
            // descriptor of it).
            const int rc = !readOnly             ? detail::openDatabaseFile(absolute, false, &db->db_)
                           : heldHere(identity) ? detail::openDatabaseFile(absolute, true, &db->db_)
                                                : detail::openForReading(absolute, &db->db_, &db->copy_);
            if (rc == SQLITE_NOTADB) {
                const QString message = detail::lastError(db->db_);
                sqlite3_close_v2(db->db_);
                db->db_ = nullptr;
                if (!detail::isAccessFile(absolute))
                    throw DataError(QStringLiteral("Cannot open the database %1: %2").arg(path, message));
                db->access_ = true;
                db->readOnly_ = true;
                openInMemory(*db);
                detail::loadAccessFile(db->db_, absolute);
            } else if (rc != SQLITE_OK) {
                const QString message = db->db_ ? detail::lastError(db->db_) : QString();
                throw DataError(QStringLiteral("Cannot open the database %1: %2").arg(path, message));
            } else {
                detail::registerFunctions(db->db_);
                detail::sizePageCache(db->db_, identity.size);
                if (!readOnly && holdsProgramTables(db->db_)) {
                    useProgramJournal(db->db_);
                    // A main database of an earlier version gets the present layout before its first query.
                    upgradeMainDatabase(db->db_);
                }
            }
        }
        map[key] = Entry{db, identity};
        return db;
    }

    // Whether a connection of this process reads the file itself.
    static bool heldHere(const FileIdentity& identity) {
        for (const auto& [key, entry] : entries())
            if (auto db = entry.db.lock())
                if (!db->isSnapshot() && !db->copy_ && entry.identity.dev == identity.dev && entry.identity.ino == identity.ino)
                    return true;
        return false;
    }

    // The program's journaling: a rollback journal, synced, so that once a write has ended every
    // committed page is in the database file itself and no side file is left beside it; another
    // file put in its place then comes up as that file. A file in write-ahead-log mode (as earlier
    // versions left it) is brought back into its file and switched.
    static void useProgramJournal(sqlite3* db) {
        sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }

    static void openInMemory(Database& db) {
        if (sqlite3_open_v2(":memory:", &db.db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            throw DataError(QStringLiteral("Cannot open an in-memory database"));
        detail::registerFunctions(db.db_);
    }

    // A guarded file that is not the one that passed its check is checked before it is opened.
    static void passGuard(const QString& path, const QString& absolute, const FileIdentity& identity) {
        auto g = guards().find(absolute);
        if (g == guards().end() || (g->second.passed.dev == identity.dev && g->second.passed.ino == identity.ino))
            return;
        if (const auto problem = g->second.check(absolute)) {
            Database::refuse(absolute, *problem);
            throw DataError(QStringLiteral("%1: %2").arg(path, *problem));
        }
        g->second.passed = identity;
    }

    static void releaseUnused() {
        auto& map = entries();
        for (auto it = map.begin(); it != map.end();) {
            if (auto db = it->second.db.lock()) {
                // (a file another program left in write-ahead-log mode)
                if (!db->isReadOnly())
                    sqlite3_exec(db->handle(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
                ++it;
            } else {
                it = map.erase(it);
            }
        }
    }
};

std::shared_ptr<Database> Database::open(const QString& path, const QString& connect, Access access) {
    return DatabaseRegistry::open(path, connect, access);
}

void Database::checkReplacements(const QString& path, Check check) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    FileIdentity identity;
    identityOf(absolute, &identity);
    DatabaseRegistry::guards()[absolute] = {std::move(check), identity};
}

void Database::releaseUnused() { DatabaseRegistry::releaseUnused(); }

bool Database::isRefused(const QString& path) {
    return DatabaseRegistry::refused().count(QFileInfo(path).absoluteFilePath()) > 0;
}

void Database::refuse(const QString& path, const QString& reason) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    DatabaseRegistry::refused()[absolute] = reason;
    for (const char* kind : {"access", "accessro"})
        DatabaseRegistry::entries().erase(std::make_pair(absolute, QString::fromLatin1(kind)));
}

Database::~Database() {
    if (db_) sqlite3_close_v2(db_);
}

Database::ChangeStamp Database::changeStamp() const {
    auto pragma = [this](const char* sql) {
        detail::Statement st(db_, QString::fromLatin1(sql));
        return st.step() ? sqlite3_column_int64(st.get(), 0) : -1;
    };
    ChangeStamp stamp;
    stamp.ownChanges = sqlite3_total_changes64(db_);
    stamp.dataVersion = pragma("PRAGMA data_version");
    stamp.schemaVersion = pragma("PRAGMA schema_version");
    return stamp;
}

void Database::executeRaw(const QString& sqliteSql) { detail::exec(db_, sqliteSql); }

Recordset Database::openRecordset(const QString& source) {
    Recordset none;
    return openRecordset(source, {}, none);
}

Recordset Database::openRecordset(const QString& source, const std::function<void()>& beforeRows, Recordset& spent) {
    if (sheets_) sheets_->loadNamedIn(db_, source);
    return Recordset::open(shared_from_this(), source, beforeRows, &spent);
}

}  // namespace platform
