#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "platform/data/data_control.h"
#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/recordset.h"

namespace {

// The sample Access database that scripts/deps.sh fetches.
QString accessSample() {
    return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../.deps/access-sample/fruit.mdb"));
}

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

}  // namespace
