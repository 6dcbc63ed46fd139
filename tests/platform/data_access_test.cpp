#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

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

}  // namespace
