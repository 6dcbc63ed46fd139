-- Main database (druvolo.mdb): cards, the period record, the price table and every saved query.
--
-- Dates of cards are stored as day serials (days since 1899-12-30, a REAL) in columns declared DATE.
-- Every table begins with an integer key; every view delivers its base table's key as its first
-- column, so a record set can write back through the view by that key.

-- Cards.
CREATE TABLE "mydata" (
    "ID"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "情報源" TEXT,
    "日付"   DATE,
    "銘柄"   TEXT,
    "コード" INTEGER,
    "市場"   TEXT,
    "単位"   TEXT,
    "情報"   TEXT
);
CREATE INDEX "mydata_code" ON "mydata" ("コード");

-- The period record: ten dates ("yy/mm/dd", newest first), the unit word, ten workbook names.
CREATE TABLE "日付" (
    "ID"       INTEGER PRIMARY KEY AUTOINCREMENT,
    "kabuka1"  TEXT, "kabuka2"  TEXT, "kabuka3"  TEXT, "kabuka4"  TEXT, "kabuka5"  TEXT,
    "kabuka6"  TEXT, "kabuka7"  TEXT, "kabuka8"  TEXT, "kabuka9"  TEXT, "kabuka10" TEXT,
    "kabuka11" TEXT,
    "kabuka12" TEXT, "kabuka13" TEXT, "kabuka14" TEXT, "kabuka15" TEXT, "kabuka16" TEXT,
    "kabuka17" TEXT, "kabuka18" TEXT, "kabuka19" TEXT, "kabuka20" TEXT, "kabuka21" TEXT
);

-- The price table: one row per listed stock, closing prices of the ten periods in whole yen.
-- The first row is the placeholder with code 1001. The program gives the scratch table of the period
-- insertion, hojyo, the same layout; it holds at least as many rows as list.
CREATE TABLE "list" (
    "ID"       INTEGER PRIMARY KEY AUTOINCREMENT,
    "銘柄"     TEXT,
    "コード"   INTEGER,
    "市場"     TEXT,
    "単位"     TEXT,
    "kabuka1"  INTEGER, "kabuka2"  INTEGER, "kabuka3"  INTEGER, "kabuka4"  INTEGER, "kabuka5"  INTEGER,
    "kabuka6"  INTEGER, "kabuka7"  INTEGER, "kabuka8"  INTEGER, "kabuka9"  INTEGER, "kabuka10" INTEGER
);
CREATE INDEX "list_code" ON "list" ("コード", "ID");

-- Market groups the universes name: 1部, 2部 and the emerging markets (新興).
CREATE TABLE "market_group" (
    "ID"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "market" TEXT NOT NULL UNIQUE,
    "grp"    TEXT NOT NULL
);
INSERT INTO "market_group" ("market", "grp") VALUES
    ('東証１部', '1部'), ('名古１部', '1部'), ('名証１部', '1部'), ('大証１部', '1部'),
    ('東証２部', '2部'), ('名古２部', '2部'), ('名証２部', '2部'), ('大証２部', '2部'),
    ('ジャスダック', '新興'), ('ナスダック', '新興'), ('ヘラクレス', '新興'), ('マザーズ', '新興'),
    ('マザー', '新興'), ('店頭', '新興');

-- Trading units: shares per unit.
CREATE TABLE "trading_unit" (
    "ID"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "unit"   TEXT NOT NULL UNIQUE,
    "shares" INTEGER NOT NULL
);
INSERT INTO "trading_unit" ("unit", "shares") VALUES
    ('A1', 1), ('B10', 10), ('C50', 50), ('D100', 100), ('E500', 500), ('F1000', 1000);

-- Card kinds: a card is of a kind when its 情報源 contains one of the kind's words.
-- Add rows to teach the database further words.
CREATE TABLE "card_kind" (
    "ID"   INTEGER PRIMARY KEY AUTOINCREMENT,
    "kind" TEXT NOT NULL,
    "word" TEXT NOT NULL
);
INSERT INTO "card_kind" ("kind", "word") VALUES
    ('推奨', '推奨'),
    ('短期注目', '短期注目'),
    ('新高値', '新高値'),
    ('動意', '動意'),
    ('業績修正', '業績修正'),
    ('業績修正', '上方修正'),
    ('業績修正', '下方修正'),
    ('格付け', '格付'),
    ('格付け', 'レーティング'),
    ('分割', '分割');

-- Row source of the stock dictionary: the first five fields of list.
CREATE VIEW "list-base" AS
SELECT "ID" AS "ID", "銘柄" AS "銘柄", "コード" AS "コード", "市場" AS "市場", "単位" AS "単位"
FROM "list" ORDER BY "ID";

-- The nine changes of every stock of list, kept by the triggers of list (made by the program with
-- the saved queries) whenever a stock is added, deleted or its prices change, so that reading a
-- change costs a column read. For N = 1 to 9:
-- ratioN = (price N periods back / latest price - 1) * 100, computed as (back - latest) * 100 / latest so that
-- whole-percent moves come out exact; Null when either price is missing or 0.
-- The columns carry no type, so each change is kept exactly as computed.
CREATE TABLE "list_change" (
    "ID" INTEGER PRIMARY KEY,
    "ratio1", "ratio2", "ratio3", "ratio4", "ratio5", "ratio6", "ratio7", "ratio8", "ratio9"
);

-- The latest price and the nine changes of each code's first stock (the row of list with the
-- smallest ID among those of the code), kept by the triggers of list like list_change, so that a
-- card finds its stock's prices by its own code in one look-up. Codes that compare equal share a row.
CREATE TABLE "code_change" (
    "コード" INTEGER NOT NULL PRIMARY KEY,
    "ID" INTEGER NOT NULL,
    "kabuka1" INTEGER,
    "ratio1", "ratio2", "ratio3", "ratio4", "ratio5", "ratio6", "ratio7", "ratio8", "ratio9"
) WITHOUT ROWID;

-- Every stock with its nine changes, its market group and what one trading unit costs.
CREATE VIEW "stock_trend" AS
SELECT l."ID" AS "ID", l."銘柄" AS "銘柄", l."コード" AS "コード", l."市場" AS "市場", l."単位" AS "単位",
       l."kabuka1" AS "kabuka1", l."kabuka10" AS "kabuka10",
       c."ratio1" AS "ratio1", c."ratio2" AS "ratio2", c."ratio3" AS "ratio3", c."ratio4" AS "ratio4",
       c."ratio5" AS "ratio5", c."ratio6" AS "ratio6", c."ratio7" AS "ratio7", c."ratio8" AS "ratio8",
       c."ratio9" AS "ratio9",
       (SELECT g."grp" FROM "market_group" g WHERE g."market" = l."市場") AS "market_group",
       l."kabuka1" * (SELECT u."shares" FROM "trading_unit" u WHERE u."unit" = l."単位") AS "unit_price"
FROM "list" l
LEFT JOIN "list_change" c ON c."ID" = l."ID";

-- Every card with the latest price and the nine changes of its stock (cards without prices kept),
-- its market group and what one trading unit of its stock costs (market and unit are unique in
-- their tables: a card meets one row of each at most).
CREATE VIEW "card_trend" AS
SELECT m."ID" AS "ID", m."情報源" AS "情報源", m."日付" AS "日付", m."銘柄" AS "銘柄", m."コード" AS "コード",
       m."市場" AS "市場", m."単位" AS "単位", m."情報" AS "情報",
       t."kabuka1" AS "kabuka1",
       t."ratio1" AS "ratio1", t."ratio2" AS "ratio2", t."ratio3" AS "ratio3", t."ratio4" AS "ratio4",
       t."ratio5" AS "ratio5", t."ratio6" AS "ratio6", t."ratio7" AS "ratio7", t."ratio8" AS "ratio8",
       t."ratio9" AS "ratio9",
       g."grp" AS "market_group",
       t."kabuka1" * u."shares" AS "unit_price"
FROM "mydata" m
LEFT JOIN "code_change" t ON t."コード" = m."コード"
LEFT JOIN "market_group" g ON g."market" = m."市場"
LEFT JOIN "trading_unit" u ON u."unit" = m."単位";

-- The kinds of one card, by the words of card_kind found in its 情報源.
CREATE VIEW "card_kind_of" AS
SELECT DISTINCT m."ID" AS "ID", k."kind" AS "kind"
FROM "mydata" m JOIN "card_kind" k ON k."word" <> '' AND instr(m."情報源", k."word") > 0;

-- The saved queries over these (the listed-stock universes list1plus*, the card universes a000*,
-- the cards without a market mydata-nosijo and the purge sets sakujo-*) are made by the program
-- from its table of saved queries, each with its columns in the order the screens read them.
