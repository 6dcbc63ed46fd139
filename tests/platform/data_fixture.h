#pragma once
#include <QFile>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <vector>

#include "platform/data/database.h"
#include "platform/data/recordset.h"

namespace data_fixture {

// A small database of stocks, cards, a source list and a price sheet in a temporary folder, with the saved queries the
// screens write through (INSTEAD OF triggers) and dates as day serials.
class StockDb {
public:
    StockDb() {
        path = dir.filePath(QStringLiteral("fixture.mdb"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);   // an empty file is an empty SQLite database
        f.close();
        db = platform::Database::open(path);
        db->executeRaw(QStringLiteral(R"sql(
CREATE TABLE list (ID INTEGER PRIMARY KEY, 銘柄 TEXT, コード INTEGER, 市場 TEXT,
                   ratio1 REAL, ratio2 REAL, ratio3 REAL, ratio4 REAL);
INSERT INTO list VALUES (1, '見本', 1001, NULL, NULL, NULL, NULL, NULL);
INSERT INTO list VALUES (2, '日立電機', 7203, '東証１部', -10, -10.5, -11.5, -3);
INSERT INTO list VALUES (3, 'ABCD産業', 7211, '東証２部', 5, 2, 1, 0);
INSERT INTO list VALUES (4, '電機工業', 6501, 'マザーズ', -400, -600, -2, -2);
INSERT INTO list VALUES (5, 'Sony', 6758, '東証１部', 0, 0, 0, 0);
CREATE INDEX list_code ON list (コード);
CREATE VIEW list1plus AS SELECT * FROM list WHERE コード <> 1001 ORDER BY 銘柄;

CREATE TABLE 情報源リスト (ID INTEGER PRIMARY KEY, 情報源 TEXT);
INSERT INTO 情報源リスト VALUES (5, 'ABCD通信'), (15, '四季報'), (123, 'xyz abcd');
CREATE TABLE s240930 (kodo INTEGER, meigara TEXT, owari REAL);
INSERT INTO s240930 VALUES (7203, '日立電機', 2500), (6758, 'Sony', 13000);

CREATE TABLE mydata (ID INTEGER PRIMARY KEY, 情報源 TEXT, 日付 DATE, 銘柄 TEXT, コード INTEGER,
                     市場 TEXT, 単位 TEXT, 情報 TEXT);
INSERT INTO mydata VALUES (1, 'ABCD通信', 45301, '日立電機', 7203, '東証１部', 'D100', 'a');
INSERT INTO mydata VALUES (2, 'xyz abcd', 45311, 'Sony', 6758, NULL, NULL, 'b');
INSERT INTO mydata VALUES (3, '四季報', julianday('now', 'localtime') - 2415018.5 - 10, 'ABCD産業', 7211, NULL, 'D100', 'c');
INSERT INTO mydata VALUES (4, '四季報', julianday('now', 'localtime') - 2415018.5 - 200, '電機工業', 6501, 'マザーズ', NULL, 'd');

CREATE VIEW "a000-1bu" AS SELECT * FROM mydata WHERE 市場 = '東証１部';
CREATE VIEW "sakujo-main" AS SELECT * FROM mydata;
CREATE TRIGGER "sakujo-main-delete" INSTEAD OF DELETE ON "sakujo-main"
BEGIN DELETE FROM mydata WHERE ID = OLD.ID; END;

CREATE VIEW "mydata-nosijo" AS SELECT * FROM mydata WHERE 市場 IS NULL OR 市場 = '';
CREATE TRIGGER "mydata-nosijo-update" INSTEAD OF UPDATE ON "mydata-nosijo"
BEGIN UPDATE mydata SET 情報源 = NEW.情報源, 日付 = NEW.日付, 銘柄 = NEW.銘柄, コード = NEW.コード,
      市場 = NEW.市場, 単位 = NEW.単位, 情報 = NEW.情報 WHERE ID = OLD.ID; END;
CREATE TRIGGER "mydata-nosijo-insert" INSTEAD OF INSERT ON "mydata-nosijo"
BEGIN INSERT INTO mydata (情報源, 日付, 銘柄, コード, 市場, 単位, 情報)
      VALUES (NEW.情報源, NEW.日付, NEW.銘柄, NEW.コード, NEW.市場, NEW.単位, NEW.情報); END;
)sql"));
    }

    // The first field of every row a row source delivers, in delivery order.
    std::vector<long long> keys(const QString& source) const {
        platform::Recordset rs = db->openRecordset(source);
        std::vector<long long> out;
        for (int r = 0; r < rs.recordCount(); ++r) out.push_back(rs.value(r, 0).toLongLong());
        return out;
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<platform::Database> db;
};

}  // namespace data_fixture
