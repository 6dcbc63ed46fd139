#pragma once

namespace testing_support {

// Turns a main database of the present layout into the layout of the previous version: the
// changes kept in list_change, and the cards joined to their stock through the code's first row
// of list.
inline constexpr const char* kPreviousLayout = R"sql(
DROP TRIGGER "code change insert"; DROP TRIGGER "code change update"; DROP TRIGGER "code change prices";
DROP TRIGGER "code change delete";
DROP VIEW "card_trend"; DROP TABLE "code_change";
CREATE VIEW "card_trend" AS
SELECT m."ID" AS "ID", m."情報源" AS "情報源", m."日付" AS "日付", m."銘柄" AS "銘柄", m."コード" AS "コード",
       m."市場" AS "市場", m."単位" AS "単位", m."情報" AS "情報",
       l."kabuka1" AS "kabuka1",
       c."ratio1" AS "ratio1", c."ratio2" AS "ratio2", c."ratio3" AS "ratio3", c."ratio4" AS "ratio4",
       c."ratio5" AS "ratio5", c."ratio6" AS "ratio6", c."ratio7" AS "ratio7", c."ratio8" AS "ratio8",
       c."ratio9" AS "ratio9",
       (SELECT g."grp" FROM "market_group" g WHERE g."market" = m."市場") AS "market_group",
       l."kabuka1" * (SELECT u."shares" FROM "trading_unit" u WHERE u."unit" = m."単位") AS "unit_price"
FROM "mydata" m
LEFT JOIN "list" l ON l."ID" = (SELECT min(x."ID") FROM "list" x WHERE x."コード" = m."コード")
LEFT JOIN "list_change" c ON c."ID" = l."ID";
PRAGMA user_version = 1;
)sql";

// Turns a main database of the present layout into the layout of earlier versions, before the
// changes were kept in a table: the two change views computed the changes themselves.
inline constexpr const char* kEarlierChangeLayout = R"sql(
DROP TRIGGER "code change insert"; DROP TRIGGER "code change update"; DROP TRIGGER "code change prices";
DROP TRIGGER "code change delete"; DROP TABLE "code_change";
DROP TRIGGER "list change insert"; DROP TRIGGER "list change update"; DROP TRIGGER "list change delete";
DROP VIEW "stock_trend"; DROP VIEW "card_trend"; DROP TABLE "list_change";
CREATE VIEW "stock_trend" AS
SELECT l."ID" AS "ID", l."銘柄" AS "銘柄", l."コード" AS "コード", l."市場" AS "市場", l."単位" AS "単位",
       l."kabuka1" AS "kabuka1", l."kabuka10" AS "kabuka10",
       (NULLIF(l."kabuka2", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio1",
       (NULLIF(l."kabuka3", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio2",
       (NULLIF(l."kabuka4", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio3",
       (NULLIF(l."kabuka5", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio4",
       (NULLIF(l."kabuka6", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio5",
       (NULLIF(l."kabuka7", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio6",
       (NULLIF(l."kabuka8", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio7",
       (NULLIF(l."kabuka9", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio8",
       (NULLIF(l."kabuka10", 0) - l."kabuka1") * 100.0 / NULLIF(l."kabuka1", 0) AS "ratio9",
       (SELECT g."grp" FROM "market_group" g WHERE g."market" = l."市場") AS "market_group",
       l."kabuka1" * (SELECT u."shares" FROM "trading_unit" u WHERE u."unit" = l."単位") AS "unit_price"
FROM "list" l;
CREATE VIEW "card_trend" AS
SELECT m."ID" AS "ID", m."情報源" AS "情報源", m."日付" AS "日付", m."銘柄" AS "銘柄", m."コード" AS "コード",
       m."市場" AS "市場", m."単位" AS "単位", m."情報" AS "情報",
       s."kabuka1" AS "kabuka1",
       s."ratio1" AS "ratio1", s."ratio2" AS "ratio2", s."ratio3" AS "ratio3", s."ratio4" AS "ratio4",
       s."ratio5" AS "ratio5", s."ratio6" AS "ratio6", s."ratio7" AS "ratio7", s."ratio8" AS "ratio8",
       s."ratio9" AS "ratio9",
       (SELECT g."grp" FROM "market_group" g WHERE g."market" = m."市場") AS "market_group",
       s."kabuka1" * (SELECT u."shares" FROM "trading_unit" u WHERE u."unit" = m."単位") AS "unit_price"
FROM "mydata" m
LEFT JOIN "stock_trend" s ON s."ID" = (SELECT min(x."ID") FROM "list" x WHERE x."コード" = m."コード");
PRAGMA user_version = 0;
)sql";

}  // namespace testing_support
