-- List database (kabulist.mdb): the five personal lists. Entries are numbered by the database;
-- date is the day of registration as "yy/mm/dd".
--
-- The watch list checklist; the program gives the other stock lists, trend (trend watch list),
-- checklist2 (special watch list) and mylist (holdings), the same layout.
CREATE TABLE "checklist" (
    "ID"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "コード" INTEGER,
    "銘柄"   TEXT,
    "市場"   TEXT,
    "単位"   TEXT,
    "date"   TEXT
);

-- Favourite information sources.
CREATE TABLE "情報源リスト" (
    "ID"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "情報源" TEXT,
    "date"   TEXT
);
