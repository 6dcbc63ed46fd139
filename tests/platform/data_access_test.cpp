#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>

#include "platform/data/access_file.h"
#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/recordset.h"

namespace {

// The sample Access database that scripts/deps.sh fetches.
QString accessSample() {
    return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../.deps/access-sample/fruit.mdb"));
}

bool isAccess(const QString& file) { return platform::detail::isAccessFile(file); }

class AccessFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = accessSample();
        if (!QFileInfo::exists(path)) GTEST_SKIP() << "no sample Access database; run scripts/deps.sh";
    }
    QString path;
};

TEST_F(AccessFile, ATableReadsInOrderByPositionAndByNameAndStaysReadOnly) {
    auto db = platform::Database::open(path, QStringLiteral("Access 2000;"));
    EXPECT_TRUE(db->isSnapshot());
    platform::Recordset rs = db->openRecordset(QStringLiteral("select * from [Fruit]"));
    ASSERT_EQ(rs.fieldCount(), 11);
    EXPECT_EQ(rs.fieldName(0), QStringLiteral("Fruit"));
    ASSERT_GE(rs.recordCount(), 4);
    EXPECT_EQ(rs.text(0, 0), QStringLiteral("Apple"));
    EXPECT_EQ(rs.value(1, 4).toLongLong(), 8);       // Apricot's sugar, a number
    EXPECT_EQ(rs.text(1, rs.fieldIndex(QStringLiteral("Vit A"))), QStringLiteral("420"));
    rs.MoveFirst();
    EXPECT_THROW(rs.AddNew(), platform::DataError);
    // A table name with a slash is read as well.
    EXPECT_GE(db->openRecordset(QStringLiteral("select * from [Muffin/Bread]")).recordCount(), 4);
}

TEST_F(AccessFile, ADataControlOverATableTheFileLacksFails) {
    platform::DataControl data;
    data.DatabaseName = path;
    data.RecordSource = QStringLiteral("select * from mydata");
    EXPECT_THROW(data.Refresh(), platform::DataError);
}

// Damaged copies of the sample (bytes changed, a block zeroed, the file cut): each is read or
// refused in words naming it; none ends the program, and none holds it up longer than its limit.
TEST_F(AccessFile, ADamagedFileIsToldNotACrash) {
    QFile sample(path);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray whole = sample.readAll();
    platform::detail::setAccessReadLimits({3, 512ULL << 20});
    QTemporaryDir dir;
    QRandomGenerator random(20261211);
    int refused = 0;
    for (int n = 0; n < 240; ++n) {
        QByteArray bytes = whole;
        switch (n % 3) {
        case 0:
            for (int k = 0, changes = 1 + int(random.bounded(16)); k < changes; ++k)
                bytes[int(random.bounded(bytes.size()))] = char(random.bounded(256));
            break;
        case 1: {
            const int at = int(random.bounded(bytes.size() / 4096)) * 4096 + int(random.bounded(8)) * 512;
            bytes.replace(at, 512, QByteArray(512, 0));
            break;
        }
        default: bytes.truncate(int(random.bounded(bytes.size())));
        }
        const QString copy = dir.filePath(QStringLiteral("copy%1.mdb").arg(n));
        {
            QFile out(copy);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        std::shared_ptr<platform::Database> db;
        try {
            db = platform::Database::open(copy, QStringLiteral("Access 2000;"));
        } catch (const platform::DataError& e) {
            ++refused;
            if (isAccess(copy)) EXPECT_TRUE(e.text.contains(copy) && e.text.contains(QStringLiteral("読めません"))) << e.text.toStdString();
        }
        if (db) {
            try {
                db->openRecordset(QStringLiteral("select * from [Fruit]"));   // read, or a table it lost
            } catch (const platform::DataError&) {
            }
        }
    }
    platform::detail::setAccessReadLimits({});
    EXPECT_GT(refused, 0);
}

// A SIGTERM to the program's process group (a logout) while an Access file is read: the reading
// child ends at once and the program is told the read was stopped; the child does not take over
// the program's own handling (which writes into the program's wake-up socket). The child is held
// in its read by a named pipe that no one writes. Run in a process group of its own.
TEST(AccessReading, ASignalToTheProcessGroupEndsTheReadingChildAtOnce) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("held.mdb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const pid_t group = ::fork();
    ASSERT_GE(group, 0);
    if (group == 0) {
        ::setpgid(0, 0);
        static int wake[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wake) != 0) ::_exit(10);
        ::fcntl(wake[1], F_SETFL, O_NONBLOCK);
        struct sigaction action {};
        action.sa_handler = [](int) { [[maybe_unused]] const ssize_t n = ::write(wake[1], "x", 1); };
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        if (::fork() == 0) {   // the signal comes while the child reads
            ::signal(SIGTERM, SIG_DFL);
            ::usleep(300 * 1000);
            ::kill(0, SIGTERM);
            ::_exit(0);
        }
        platform::detail::setAccessReadLimits({20, 512ULL << 20});
        const auto start = std::chrono::steady_clock::now();
        QString told;
        try {
            platform::detail::loadAccessFile(nullptr, fifo);
        } catch (const platform::DataError& e) {
            told = e.text;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ::fcntl(wake[0], F_SETFL, O_NONBLOCK);
        char bytes[16];
        const ssize_t woken = ::read(wake[0], bytes, sizeof bytes);
        ::_exit(seconds > 5 ? 1 : woken != 1 ? 2 : !told.contains(QStringLiteral("止められました")) ? 3 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(group, &status, 0), group);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the child ran on; 2: the child woke the program; 3: not told as stopped";
}

}  // namespace
