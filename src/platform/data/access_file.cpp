// Access databases as snapshots: every user table of a Jet file becomes a table of an in-memory
// SQLite database, read once with the MDB library (read-only).
#include "platform/data/access_file.h"

#include <mdbtools.h>
#include <sqlite3.h>

#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform::detail {

namespace {

constexpr char kDateFormat[] = "%Y-%m-%d %H:%M:%S";
// The column buffer: the library cuts every value to it (its default of 16,384 bytes holds about
// 5,400 Japanese characters of a memo). This one holds the 65,535 characters Access lets a person
// type into a memo (three bytes of UTF-8 at most for each UTF-16 unit); a value that fills it is
// refused rather than cut.
constexpr std::size_t kBindSize = std::size_t(1) << 18;

struct MdbClose {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// What the library could not read, in the user's words.
struct Unreadable {
    QString what;
};

// A bound column's text as the value the program stores.
QVariant valueOf(const MdbColumn& col, const char* text, int length) {
    if (length <= 0) return {};
    const QString s = QString::fromUtf8(text, length);
    switch (col.col_type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return QVariant(s.toLongLong());
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return storedNumber(s.toDouble());
    case MDB_DATETIME: {
        const QDateTime moment = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return moment.isValid() ? QVariant(serialOf(moment)) : QVariant();
    }
    case MDB_BINARY:
    case MDB_OLE:
        return {};
    default:
        return QVariant(s);
    }
}

MdbColumn* columnAt(MdbTableDef* table, int c, const QString& tableName) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, guint(c)));
    if (!col) throw Unreadable{QStringLiteral("表「%1」の列の定義が壊れています。").arg(tableName)};
    return col;
}

void loadTable(sqlite3* db, MdbCatalogEntry* entry) {
    const QString tableName = QString::fromUtf8(entry->object_name);
    std::unique_ptr<MdbTableDef, TableFree> table(mdb_read_table(entry));
    if (!table) throw Unreadable{QStringLiteral("表「%1」を読めません。").arg(tableName)};
    GPtrArray* columns = mdb_read_columns(table.get());
    if (!columns || !table->columns || table->columns->len != table->num_cols)
        throw Unreadable{QStringLiteral("表「%1」の列の定義が壊れています。").arg(tableName)};
    mdb_rewind_table(table.get());

    const int cols = int(table->num_cols);
    QStringList defs, params;
    std::vector<std::vector<char>> buffers(static_cast<size_t>(cols));
    std::vector<int> lengths(size_t(cols), 0);
    for (int c = 0; c < cols; ++c) {
        MdbColumn* col = columnAt(table.get(), c, tableName);
        defs << quotedName(QString::fromUtf8(col->name)) + (col->col_type == MDB_DATETIME ? QStringLiteral(" DATE") : QString());
        params << QStringLiteral("?%1").arg(c + 1);
        buffers[size_t(c)].assign(kBindSize, '\0');
        if (mdb_bind_column(table.get(), c + 1, buffers[size_t(c)].data(), &lengths[size_t(c)]) != c + 1)
            throw Unreadable{QStringLiteral("表「%1」の列「%2」を読めません。").arg(tableName, QString::fromUtf8(col->name))};
    }
    const QString name = quotedName(tableName);
    if (defs.isEmpty()) defs << QStringLiteral("F1");
    exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(name, defs.join(QStringLiteral(", "))));
    if (cols == 0) return;

    Statement insert(db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(name, params.join(u',')));
    while (mdb_fetch_row(table.get())) {
        for (int c = 0; c < cols; ++c) {
            MdbColumn* col = columnAt(table.get(), c, tableName);
            const int length = lengths[size_t(c)];
            if (length < 0 || std::size_t(length) >= kBindSize - 4)
                throw Unreadable{QStringLiteral("表「%1」の列「%2」に長すぎて読めない値があります。")
                                     .arg(tableName, QString::fromUtf8(col->name))};
            bindValue(insert.get(), c + 1, valueOf(*col, buffers[size_t(c)].data(), length));
        }
        insert.step();
        insert.reset();
    }
}

}  // namespace

bool isAccessFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(32);
    return head.size() >= 19 && (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

namespace {

AccessReadLimits& limits() {
    static AccessReadLimits l;
    return l;
}

DataError refusal(const QString& path, const QString& what) {
    return DataError(QStringLiteral("Access のデータベース %1 を読めません。%2").arg(path, what));
}

// Every user table of the file into db, in this process. Throws DataError.
void readTables(sqlite3* db, const QString& path) {
    std::unique_ptr<MdbHandle, MdbClose> mdb(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!mdb) throw refusal(path, QStringLiteral("ファイルが壊れているか、Access のデータベースではありません。"));
    mdb_set_date_fmt(mdb.get(), kDateFormat);
    mdb_set_shortdate_fmt(mdb.get(), kDateFormat);
    mdb_set_bind_size(mdb.get(), kBindSize);
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE) || !mdb->catalog) throw refusal(path, QStringLiteral("表の一覧が壊れています。"));
    exec(db, QStringLiteral("BEGIN"));
    try {
        for (unsigned i = 0; i < mdb->num_catalog && i < mdb->catalog->len; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (!entry || entry->object_type != MDB_TABLE || mdb_is_system_table(entry)) continue;
            loadTable(db, entry);
        }
    } catch (const Unreadable& e) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw refusal(path, e.what);
    } catch (const DataError& e) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw refusal(path, QStringLiteral("表の定義が壊れています（%1）。").arg(e.text));
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    exec(db, QStringLiteral("COMMIT"));
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// The child's work: the tables read into a database in memory, handed over whole as its bytes
// after a 0, or the reason it could not read them after a 1.
[[noreturn]] void readInChild(int out, const QString& path) {
    // The program's handling of signals is not the child's (its SIGTERM handler would wake the
    // program up and let the child run on): every signal takes its default action, none blocked,
    // so that the end of the program's process group ends the child at once.
    struct sigaction initial {};
    initial.sa_handler = SIG_DFL;
    sigemptyset(&initial.sa_mask);
    for (int s = 1; s < NSIG; ++s)
        if (s != SIGKILL && s != SIGSTOP) sigaction(s, &initial, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    alarm(unsigned(limits().seconds));
    // The library takes a buffer of the bind size for every value it converts: from the heap,
    // not a mapping of its own each time.
    mallopt(M_MMAP_THRESHOLD, int(kBindSize) * 4);
    mallopt(M_TRIM_THRESHOLD, int(kBindSize) * 64);
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    const rlim_t room = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + rlim_t(limits().extraBytes);
    const rlimit cap{room, room};
    setrlimit(RLIMIT_AS, &cap);
    sqlite3* mem = nullptr;
    QByteArray answer;
    try {
        if (sqlite3_open(":memory:", &mem) != SQLITE_OK) throw refusal(path, QStringLiteral("メモリが足りません。"));
        readTables(mem, path);
        sqlite3_int64 size = 0;
        unsigned char* bytes = sqlite3_serialize(mem, "main", &size, 0);
        if (!bytes) throw refusal(path, QStringLiteral("メモリが足りません。"));
        answer.reserve(qsizetype(size) + 1);
        answer.append('\0');
        answer.append(reinterpret_cast<const char*>(bytes), qsizetype(size));
        sqlite3_free(bytes);
    } catch (const DataError& e) {
        answer = QByteArray(1, '\1') + e.text.toUtf8();
    } catch (...) {
        _exit(3);
    }
    _exit(writeAll(out, answer.constData(), std::size_t(answer.size())) ? 0 : 4);
}

}  // namespace

void setAccessReadLimits(const AccessReadLimits& l) { limits() = l; }

void loadAccessFile(sqlite3* db, const QString& path) {
    // The library may crash, loop or eat memory on a damaged file: it reads in a child process
    // with a time and memory limit, and a child that does not end well means a damaged file.
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw refusal(path, QStringLiteral("読み取りの準備ができません。"));
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        throw refusal(path, QStringLiteral("読み取りの準備ができません。"));
    }
    if (child == 0) {
        close(pipeEnds[0]);
        readInChild(pipeEnds[1], path);
    }
    close(pipeEnds[1]);
    QByteArray answer;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(pipeEnds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        answer.append(chunk, qsizetype(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !answer.isEmpty();
    if (!ended && WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        throw refusal(path, QStringLiteral("読み取りが終わりません（ファイルが壊れているか、大きすぎます）。"));
    if (!ended && WIFSIGNALED(status) &&
        (WTERMSIG(status) == SIGTERM || WTERMSIG(status) == SIGHUP || WTERMSIG(status) == SIGINT))
        throw refusal(path, QStringLiteral("読み取りが止められました。"));
    if (!ended) throw refusal(path, QStringLiteral("ファイルが壊れているため読み取りが止まりました。"));
    if (answer[0] == '\1') throw DataError(QString::fromUtf8(answer.constData() + 1, answer.size() - 1));
    const qsizetype size = answer.size() - 1;
    auto* bytes = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(size)));
    if (!bytes) throw refusal(path, QStringLiteral("メモリが足りません。"));
    std::memcpy(bytes, answer.constData() + 1, std::size_t(size));
    if (sqlite3_deserialize(db, "main", bytes, size, size, SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) !=
        SQLITE_OK)
        throw refusal(path, QStringLiteral("読み取った表を受け取れません。"));
}

}  // namespace platform::detail
