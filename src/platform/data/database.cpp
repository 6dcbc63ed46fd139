#include "platform/data/database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <map>
#include <tuple>

#include "platform/data/access_file.h"
#include "platform/data/errors.h"
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

    static std::shared_ptr<Database> open(const QString& path, const QString& connect) {
        detail::configureEngine();
        if (path.trimmed().isEmpty()) throw DataError(QStringLiteral("No database name"));
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (auto r = refused().find(absolute); r != refused().end())
            throw DataError(QStringLiteral("%1: %2").arg(path, r->second));
        FileIdentity identity;
        if (!identityOf(absolute, &identity))
            throw DataError(QStringLiteral("Cannot find the file %1").arg(path));
        const bool workbook = isWorkbookConnect(connect);
        const bool access = !workbook && detail::isAccessFile(absolute);
        const auto key = std::make_pair(absolute, normalizedConnect(connect));
        auto& map = entries();
        auto it = map.find(key);
        if (it != map.end()) {
            if (auto db = it->second.db.lock()) {
                // A workbook is a snapshot: a changed file is read again. A database file only
                // needs a new connection when another file took its place.
                const bool same = workbook || access ? it->second.identity == identity
                                           : it->second.identity.dev == identity.dev &&
                                                 it->second.identity.ino == identity.ino;
                if (same) return db;
            }
            map.erase(it);
        }

        std::shared_ptr<Database> db(new Database);
        db->path_ = absolute;
        db->workbook_ = workbook;
        db->access_ = access;
        if (workbook || access) {
            if (sqlite3_open_v2(":memory:", &db->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
                throw DataError(QStringLiteral("Cannot open an in-memory database"));
            detail::registerFunctions(db->db_);
            if (access)
                detail::loadAccessFile(db->db_, absolute);
            else
                detail::loadWorkbook(db->db_, absolute, key.second == QLatin1String("excel"));
        } else {
            if (sqlite3_open_v2(QFile::encodeName(absolute).constData(), &db->db_, SQLITE_OPEN_READWRITE, nullptr) !=
                SQLITE_OK) {
                const QString message = db->db_ ? detail::lastError(db->db_) : QString();
                throw DataError(QStringLiteral("Cannot open the database %1: %2").arg(path, message));
            }
            sqlite3_busy_timeout(db->db_, 5000);
            detail::registerFunctions(db->db_);
            detail::sizePageCache(db->db_, identity.size);
            // Fails here rather than at the first query when the file is no database.
            detail::exec(db->db_, QStringLiteral("SELECT count(*) FROM sqlite_master"));
            // The screens write row by row (a price import edits every stock): with a write-ahead
            // log a commit needs no disk flush and the file stays consistent after a power cut.
            // The log goes back into the file when the last connection closes (and in releaseUnused).
            // Another program's file (an import source, a file offered as the main database) is
            // left exactly as it is: the journal mode is kept in the file itself.
            if (holdsProgramTables(db->db_)) {
                sqlite3_exec(db->db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
                sqlite3_exec(db->db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
                // A main database of an earlier version gets the present layout before its first query.
                upgradeMainDatabase(db->db_);
            }
        }
        map[key] = Entry{db, identity};
        return db;
    }

    static void releaseUnused() {
        auto& map = entries();
        for (auto it = map.begin(); it != map.end();) {
            if (auto db = it->second.db.lock()) {
                if (!db->isSnapshot())
                    sqlite3_exec(db->handle(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
                ++it;
            } else {
                it = map.erase(it);
            }
        }
    }
};

std::shared_ptr<Database> Database::open(const QString& path, const QString& connect) {
    return DatabaseRegistry::open(path, connect);
}

void Database::releaseUnused() { DatabaseRegistry::releaseUnused(); }

bool Database::isRefused(const QString& path) {
    return DatabaseRegistry::refused().count(QFileInfo(path).absoluteFilePath()) > 0;
}

void Database::refuse(const QString& path, const QString& reason) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    DatabaseRegistry::refused()[absolute] = reason;
    DatabaseRegistry::entries().erase(std::make_pair(absolute, QStringLiteral("access")));
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

Recordset Database::openRecordset(const QString& source) { return Recordset::open(shared_from_this(), source); }

}  // namespace platform
