// Access databases as snapshots: every user table of a Jet file becomes a table of an in-memory
// SQLite database, read once with the MDB library (read-only).
#include "platform/data/access_file.h"

#include <mdbtools.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform::detail {

namespace {

constexpr char kDateFormat[] = "%Y-%m-%d %H:%M:%S";

struct MdbClose {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
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

void loadTable(sqlite3* db, MdbCatalogEntry* entry) {
    std::unique_ptr<MdbTableDef, TableFree> table(mdb_read_table(entry));
    if (!table) throw DataError(QStringLiteral("Cannot read the table %1").arg(QString::fromUtf8(entry->object_name)));
    mdb_read_columns(table.get());
    mdb_rewind_table(table.get());

    const int cols = int(table->num_cols);
    QStringList defs, params;
    std::vector<std::vector<char>> buffers(static_cast<size_t>(cols));
    std::vector<int> lengths(size_t(cols), 0);
    for (int c = 0; c < cols; ++c) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        defs << quotedName(QString::fromUtf8(col->name)) + (col->col_type == MDB_DATETIME ? QStringLiteral(" DATE") : QString());
        params << QStringLiteral("?%1").arg(c + 1);
        buffers[size_t(c)].assign(table->entry->mdb->bind_size, '\0');
        mdb_bind_column(table.get(), c + 1, buffers[size_t(c)].data(), &lengths[size_t(c)]);
    }
    const QString name = quotedName(QString::fromUtf8(entry->object_name));
    if (defs.isEmpty()) defs << QStringLiteral("F1");
    exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(name, defs.join(QStringLiteral(", "))));
    if (cols == 0) return;

    Statement insert(db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(name, params.join(u',')));
    while (mdb_fetch_row(table.get())) {
        for (int c = 0; c < cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            bindValue(insert.get(), c + 1, valueOf(*col, buffers[size_t(c)].data(), lengths[size_t(c)]));
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

void loadAccessFile(sqlite3* db, const QString& path) {
    std::unique_ptr<MdbHandle, MdbClose> mdb(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!mdb) throw DataError(QStringLiteral("Cannot read the Access database %1").arg(path));
    mdb_set_date_fmt(mdb.get(), kDateFormat);
    mdb_set_shortdate_fmt(mdb.get(), kDateFormat);
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw DataError(QStringLiteral("Cannot read the tables of %1").arg(path));
    exec(db, QStringLiteral("BEGIN"));
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry)) continue;
        loadTable(db, entry);
    }
    exec(db, QStringLiteral("COMMIT"));
}

}  // namespace platform::detail
