#include "platform/data/side_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform {

namespace {

quint32 bigEndian32(const unsigned char* p) {
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// The first bytes of a file; fewer when it is shorter. Used only on a file no connection of this
// process holds.
QByteArray head(const QString& path, qint64 size) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(size) : QByteArray();
}

// Whether any process holds one of SQLite's locks on the database file (a reader or writer is at work).
bool lockedByAnyone(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x40000000;   // SQLite's pending, reserved and shared lock bytes
    lock.l_len = 2 + 510;
    const bool locked = ::fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

constexpr int kChangeCounter = 24;   // file change counter in the database header (page 1)

// The change counter of page 1 as the rollback journal saved it before the killed transaction
// changed it; -1 when the journal holds no such page (or nothing SQLite would play back).
qint64 journalledChangeCounter(const QString& journal) {
    QFile f(journal);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray header = f.read(28);
    static const unsigned char magic[] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
    if (header.size() < 28 || std::memcmp(header.constData(), magic, 8) != 0) return -1;
    const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
    quint32 records = bigEndian32(h + 8);
    const quint32 sector = bigEndian32(h + 20), page = bigEndian32(h + 24);
    if (sector < 32 || sector > 65536 || page < 512 || page > 65536) return -1;
    const qint64 recordSize = qint64(page) + 8;
    if (records == 0xffffffffu) records = quint32((f.size() - sector) / recordSize);
    for (quint32 r = 0; r < records; ++r) {
        if (!f.seek(sector + qint64(r) * recordSize)) return -1;
        const QByteArray number = f.read(4);
        if (number.size() < 4) return -1;
        if (bigEndian32(reinterpret_cast<const unsigned char*>(number.constData())) != 1) continue;
        const QByteArray page1 = f.read(kChangeCounter + 4);
        if (page1.size() < kChangeCounter + 4) return -1;
        return bigEndian32(reinterpret_cast<const unsigned char*>(page1.constData()) + kChangeCounter);
    }
    return -1;
}

bool setAside(const QString& side) {
    const QString orphan = side + QStringLiteral(".orphan");
    QFile::remove(orphan);
    return QFile::rename(side, orphan);
}

}  // namespace

QStringList settleSideFiles(const QString& path) {
    QStringList moved;
    const QFileInfo file(path);
    if (!file.isFile() || file.size() < 100 || lockedByAnyone(path)) return moved;
    const QByteArray header = head(path, 100);
    if (header.size() < 100 || !header.startsWith("SQLite format 3")) return moved;
    const auto* h = reinterpret_cast<const unsigned char*>(header.constData());

    // A log beside a file in rollback mode: the file was put in place after the run that wrote
    // the log (a file leaves write-ahead-log mode only with its log written back and removed).
    const QString wal = path + QStringLiteral("-wal");
    if (h[18] == 1 && h[19] == 1 && QFileInfo(wal).size() > 0 && setAside(wal)) {
        moved << wal;
        QFile::remove(path + QStringLiteral("-shm"));
    }
    // A journal to be played back holds page 1 as it was before the killed transaction: the
    // file it belongs to has that page's change counter, or the next one once the transaction
    // began writing the file. Any other counter: another file.
    const QString journal = path + QStringLiteral("-journal");
    const qint64 before = QFileInfo(journal).size() > 0 ? journalledChangeCounter(journal) : -1;
    const qint64 now = bigEndian32(h + kChangeCounter);
    if (before >= 0 && now != before && now != ((before + 1) & 0xffffffff) && setAside(journal)) moved << journal;
    if (QFileInfo(journal).size() > 0) {
        // SQLite plays a journal back at the first read of a connection that may write.
        try {
            detail::Connection db(path);
            db.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        } catch (const DataError&) {
            // the check that follows reports a file that cannot be read
        }
    }
    return moved;
}

}  // namespace platform
