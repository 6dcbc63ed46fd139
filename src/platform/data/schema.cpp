#include "platform/data/schema.h"

#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/sqlite_support.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <initializer_list>
#include <map>

static void initSchemaResources() { Q_INIT_RESOURCE(resources); }

namespace platform {
namespace {

using detail::Connection;
using detail::Statement;
using detail::quotedName;

// The domestic markets of the bundled stock list, as the program names them.
struct MarketName { const char* listed; const char* program; };
constexpr MarketName kMarketNames[] = {
    {"プライム（内国株式）", "東証１部"},
    {"スタンダード（内国株式）", "東証２部"},
    {"グロース（内国株式）", "マザーズ"},
};

// Saved queries made from the base views of the main database. Each layout fixes the columns a
// query delivers and the view it reads; a query adds its own condition.
enum class Layout { Trend, CardTrend, Card };

const char* const kTrendColumns =
    "\"ID\", \"銘柄\", \"コード\", \"市場\", \"単位\", \"kabuka1\", \"kabuka10\", "
    "\"ratio1\", \"ratio2\", \"ratio3\", \"ratio4\", \"ratio5\", \"ratio6\", \"ratio7\", \"ratio8\", \"ratio9\"";
const char* const kCardColumns = "\"ID\", \"情報源\", \"日付\", \"銘柄\", \"コード\", \"市場\", \"単位\", \"情報\"";
const char* const kRatioColumns =
    "\"kabuka1\", \"ratio1\", \"ratio2\", \"ratio3\", \"ratio4\", \"ratio5\", \"ratio6\", \"ratio7\", "
    "\"ratio8\", \"ratio9\"";

struct SavedQuery {
    const char* name;
    Layout layout;
    const char* condition;  // SQLite condition over the base view, or empty
    const char* kinds;      // card kinds (card_kind.kind, comma separated) the card must have, or empty
};

constexpr SavedQuery kSavedQueries[] = {
    // Listed-stock universes: every stock but the placeholder with a latest price above 0, and parts of them.
    {"list1plus", Layout::Trend, "", ""},
    {"list1plus-1bu", Layout::Trend, "\"market_group\" = '1部'", ""},
    {"list1plus-2bu", Layout::Trend, "\"market_group\" = '2部'", ""},
    {"list1plus-tentou", Layout::Trend, "\"market_group\" = '新興'", ""},
    {"list1plus-1000U", Layout::Trend, "\"単位\" = 'F1000'", ""},
    {"list1plus-100U", Layout::Trend, "\"単位\" = 'D100'", ""},
    {"list1plus-001U", Layout::Trend, "\"単位\" = 'A1'", ""},
    {"list1plus-to1low", Layout::Trend, "\"市場\" = '東証１部' AND \"unit_price\" <= 200000", ""},
    {"list1plus-30", Layout::Trend, "\"unit_price\" BETWEEN 300000 AND 500000", ""},
    // Card universes, each card with the latest price and changes of its stock.
    {"a000", Layout::CardTrend, "", ""},
    {"a000-all", Layout::CardTrend, "", ""},
    {"a000-1bu", Layout::CardTrend, "\"market_group\" = '1部'", ""},
    {"a000-2bu", Layout::CardTrend, "\"market_group\" = '2部'", ""},
    {"a000-tentou", Layout::CardTrend, "\"market_group\" = '新興'", ""},
    {"a000-1000U", Layout::CardTrend, "\"単位\" = 'F1000'", ""},
    {"a000-100U", Layout::CardTrend, "\"単位\" = 'D100'", ""},
    {"a000-001U", Layout::CardTrend, "\"単位\" = 'A1'", ""},
    {"a000-20t1", Layout::CardTrend, "\"市場\" = '東証１部' AND \"unit_price\" <= 200000", ""},
    {"a000-okiniiri", Layout::CardTrend, "", "推奨"},
    {"a000-takane", Layout::CardTrend, "", "新高値"},
    // The extra choices.
    {"a000-suishoutanki", Layout::CardTrend, "", "推奨,短期注目"},
    {"a000-tanki", Layout::CardTrend, "", "短期注目,新高値"},
    {"a000-doui", Layout::CardTrend, "", "動意"},
    {"a000-gyouseki", Layout::CardTrend, "", "業績修正"},
    {"a000-kakuduke", Layout::CardTrend, "", "格付け"},
    {"a000-100-t1", Layout::CardTrend, "\"市場\" = '東証１部' AND \"単位\" = 'D100'", ""},
    {"a000-10sita", Layout::CardTrend, "\"unit_price\" <= 100000", ""},
    {"a000-2050", Layout::CardTrend, "\"unit_price\" BETWEEN 200000 AND 500000", ""},
    {"a000-50100", Layout::CardTrend, "\"unit_price\" BETWEEN 500000 AND 1000000", ""},
    {"a000-100ue", Layout::CardTrend, "\"unit_price\" >= 1000000", ""},
    {"a000-tokushutani", Layout::CardTrend, "\"単位\" IN ('B10', 'C50', 'E500')", ""},
    {"a000-okitan1bu", Layout::CardTrend, "\"market_group\" = '1部'", "推奨,短期注目,新高値"},
    {"a000-okitan2bu", Layout::CardTrend, "\"market_group\" = '2部'", "推奨,短期注目,新高値"},
    {"a000-okitansinkou", Layout::CardTrend, "\"market_group\" = '新興'", "推奨,短期注目,新高値"},
    // Cards that lack a market (the completion fills them in through this query).
    {"mydata-nosijo", Layout::Card, "\"市場\" IS NULL OR trim(\"市場\") = ''", ""},
    // Purge sets: every card, and the cards of one kind.
    {"sakujo-main", Layout::Card, "", ""},
    {"sakujo-bunkatu", Layout::Card, "", "分割"},
    {"sakujo-takane", Layout::Card, "", "新高値"},
    {"sakujo-nifty", Layout::Card, "", "格付け"},
};

// Saved queries the program writes through, with the table that takes the writes.
struct WritableView { const char* view; const char* table; const char* columns; };
constexpr WritableView kWritableViews[] = {
    {"mydata-nosijo", "mydata", kCardColumns},
    {"sakujo-main", "mydata", kCardColumns},
    {"sakujo-bunkatu", "mydata", kCardColumns},
    {"sakujo-takane", "mydata", kCardColumns},
    {"sakujo-nifty", "mydata", kCardColumns},
    {"list-base", "list", "\"ID\", \"銘柄\", \"コード\", \"市場\", \"単位\""},
};

QString readResource(const QString& name)
{
    initSchemaResources();
    QFile file(QStringLiteral(":/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("missing resource %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

// The SQL with further tables that repeat the columns of one of its tables.
QString withLayoutCopies(const QString& sql, const char* table, std::initializer_list<const char*> copies)
{
    const QString head = QStringLiteral("CREATE TABLE ") + quotedName(QString::fromUtf8(table));
    const qsizetype start = sql.indexOf(head);
    const qsizetype end = start < 0 ? -1 : sql.indexOf(QStringLiteral(");"), start);
    if (end < 0)
        throw DataError(QStringLiteral("database layout without table %1").arg(QString::fromUtf8(table)));
    const QString columns = sql.mid(start + head.size(), end + 2 - start - head.size());
    QString out = sql;
    for (const char* copy : copies)
        out += QStringLiteral("\nCREATE TABLE ") + quotedName(QString::fromUtf8(copy)) + columns + QLatin1Char('\n');
    return out;
}

QString savedQuerySql(const SavedQuery& q)
{
    QString columns, base;
    QStringList conditions;
    switch (q.layout) {
    case Layout::Trend:
        columns = QString::fromUtf8(kTrendColumns);
        base = QStringLiteral("stock_trend");
        conditions << QStringLiteral("\"コード\" <> 1001 AND \"kabuka1\" > 0");
        break;
    case Layout::CardTrend:
        columns = QString::fromUtf8(kCardColumns) + QStringLiteral(", ") + QString::fromUtf8(kRatioColumns);
        base = QStringLiteral("card_trend");
        break;
    case Layout::Card:
        columns = QString::fromUtf8(kCardColumns);
        base = QStringLiteral("mydata");
        break;
    }
    if (*q.condition)
        conditions << QString::fromUtf8(q.condition);
    if (*q.kinds) {
        QStringList kinds;
        for (const QString& kind : QString::fromUtf8(q.kinds).split(QLatin1Char(',')))
            kinds << QLatin1Char('\'') + kind + QLatin1Char('\'');
        conditions << QStringLiteral("\"ID\" IN (SELECT \"ID\" FROM \"card_kind_of\" WHERE \"kind\" IN (%1))")
                          .arg(kinds.join(QStringLiteral(", ")));
    }
    QString sql = QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %3").arg(quotedName(QString::fromUtf8(q.name)), columns, quotedName(base));
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE (") + conditions.join(QStringLiteral(") AND (")) + QLatin1Char(')');
    return sql + QStringLiteral(" ORDER BY \"ID\";\n");
}

// INSTEAD OF triggers that carry inserts, edits and deletions through a view to its table, by ID.
QString writeThroughTriggers(const WritableView& v)
{
    const QString view = quotedName(QString::fromUtf8(v.view));
    const QString table = quotedName(QString::fromUtf8(v.table));
    const QString stem = QString::fromUtf8(v.view);
    const QStringList columns = QString::fromUtf8(v.columns).split(QStringLiteral(", "));

    QStringList values, sets;
    for (const QString& c : columns) {
        values << QStringLiteral("NEW.") + c;
        if (c != QStringLiteral("\"ID\""))
            sets << c + QStringLiteral(" = NEW.") + c;
    }
    QString sql;
    sql += QStringLiteral("CREATE TRIGGER %1 INSTEAD OF INSERT ON %2 BEGIN INSERT INTO %3 (%4) VALUES (%5); END;\n")
               .arg(quotedName(stem + QStringLiteral(" insert")), view, table, columns.join(QStringLiteral(", ")),
                    values.join(QStringLiteral(", ")));
    sql += QStringLiteral("CREATE TRIGGER %1 INSTEAD OF UPDATE ON %2 BEGIN UPDATE %3 SET %4 WHERE \"ID\" = OLD.\"ID\"; END;\n")
               .arg(quotedName(stem + QStringLiteral(" update")), view, table, sets.join(QStringLiteral(", ")));
    sql += QStringLiteral("CREATE TRIGGER %1 INSTEAD OF DELETE ON %2 BEGIN DELETE FROM %3 WHERE \"ID\" = OLD.\"ID\"; END;\n")
               .arg(quotedName(stem + QStringLiteral(" delete")), view, table);
    return sql;
}

// The version of the main database's layout, kept in its user_version. Version 1 keeps the nine
// changes of every stock in list_change; files made before hold them only as view expressions.
// Version 2 also keeps each code's latest price and changes in code_change, which the cards read.
constexpr int kMainLayoutVersion = 2;

// Change N of a row of list (NEW. or a table alias): the price N periods back against the latest.
QString changeExpression(const QString& row, int n)
{
    return QStringLiteral("(NULLIF(%1.\"kabuka%2\", 0) - %1.\"kabuka1\") * 100.0 / NULLIF(%1.\"kabuka1\", 0)")
        .arg(row)
        .arg(n + 1);
}

// The columns of list_change, or with `code` those of code_change.
QString changeColumns(bool code = false)
{
    QStringList columns{QStringLiteral("\"ID\"")};
    if (code) columns = QStringList{QStringLiteral("\"コード\""), QStringLiteral("\"ID\""), QStringLiteral("\"kabuka1\"")};
    for (int n = 1; n <= 9; ++n) columns << QStringLiteral("\"ratio%1\"").arg(n);
    return columns.join(QStringLiteral(", "));
}

// The values of a row of list (NEW. or a table alias) in the order of changeColumns(code).
QString changeValues(const QString& row, bool code = false)
{
    QStringList values{row + QStringLiteral(".\"ID\"")};
    if (code) values = QStringList{row + QStringLiteral(".\"コード\""), row + QStringLiteral(".\"ID\""), row + QStringLiteral(".\"kabuka1\"")};
    for (int n = 1; n <= 9; ++n) values << changeExpression(row, n);
    return values.join(QStringLiteral(", "));
}

// The columns of list whose change moves the stored changes.
QString watchedColumns()
{
    QStringList watched{QStringLiteral("\"ID\"")};
    for (int k = 1; k <= 10; ++k) watched << QStringLiteral("\"kabuka%1\"").arg(k);
    return watched.join(QStringLiteral(", "));
}

// Statements that make code_change's row of the code `code` (an expression) anew from the first
// row of list with that code, or remove it when no row has it.
QString storeCodeChange(const QString& code)
{
    return QStringLiteral("DELETE FROM \"code_change\" WHERE \"コード\" = %1; "
                          "INSERT OR REPLACE INTO \"code_change\" (%2) SELECT %3 FROM \"list\" l "
                          "WHERE l.\"ID\" = (SELECT min(x.\"ID\") FROM \"list\" x WHERE x.\"コード\" = %1);")
        .arg(code, changeColumns(true), changeValues(QStringLiteral("l"), true));
}

// The first row of list of each code (the smallest ID among those of the code), as code_change keeps it.
QString codeFirstRows()
{
    return QStringLiteral("SELECT %1 FROM \"list\" l WHERE l.\"ID\" = "
                          "(SELECT min(x.\"ID\") FROM \"list\" x WHERE x.\"コード\" = l.\"コード\")")
        .arg(changeValues(QStringLiteral("l"), true));
}

// Fills an empty code_change from list.
QString fillCodeChange()
{
    return QStringLiteral("INSERT INTO \"code_change\" (%1) %2;\n").arg(changeColumns(true), codeFirstRows());
}

// Triggers of list that keep code_change in step with list, as changeTriggers() keeps list_change.
// A price change of a row whose ID and code stay writes the code's row in place when the row is
// the code's first; a new row takes the code's row when it comes first; any other change makes the
// rows of the codes it touches anew.
QString codeChangeTriggers()
{
    const QString oldCode = QStringLiteral("OLD.\"コード\""), newCode = QStringLiteral("NEW.\"コード\"");
    const QString kept = QStringLiteral("OLD.\"ID\" IS NEW.\"ID\" AND OLD.\"コード\" IS NEW.\"コード\"");
    QStringList prices;
    for (int k = 1; k <= 10; ++k) prices << QStringLiteral("\"kabuka%1\"").arg(k);
    QStringList sets{QStringLiteral("\"kabuka1\" = NEW.\"kabuka1\"")};
    for (int n = 1; n <= 9; ++n) sets << QStringLiteral("\"ratio%1\" = %2").arg(n).arg(changeExpression(QStringLiteral("NEW"), n));
    QString sql;
    sql += QStringLiteral("CREATE TRIGGER \"code change insert\" AFTER INSERT ON \"list\" BEGIN "
                          "INSERT OR REPLACE INTO \"code_change\" (%1) SELECT %2 WHERE NEW.\"ID\" = "
                          "(SELECT min(x.\"ID\") FROM \"list\" x WHERE x.\"コード\" = NEW.\"コード\"); END;\n")
               .arg(changeColumns(true), changeValues(QStringLiteral("NEW"), true));
    sql += QStringLiteral("CREATE TRIGGER \"code change prices\" AFTER UPDATE OF %1 ON \"list\" WHEN %2 BEGIN "
                          "UPDATE \"code_change\" SET %3 WHERE \"コード\" = NEW.\"コード\" AND \"ID\" = NEW.\"ID\"; END;\n")
               .arg(prices.join(QStringLiteral(", ")), kept, sets.join(QStringLiteral(", ")));
    sql += QStringLiteral("CREATE TRIGGER \"code change update\" AFTER UPDATE OF \"ID\", \"コード\" ON \"list\" "
                          "WHEN NOT (%1) BEGIN %2 %3 END;\n")
               .arg(kept, storeCodeChange(oldCode), storeCodeChange(newCode));
    sql += QStringLiteral("CREATE TRIGGER \"code change delete\" AFTER DELETE ON \"list\" BEGIN %1 END;\n")
               .arg(storeCodeChange(oldCode));
    return sql;
}

// Triggers of list that keep list_change in step with every insert, deletion and price change, so
// that whatever writes prices writes nothing else.
QString changeTriggers()
{
    const QString store = QStringLiteral("INSERT OR REPLACE INTO \"list_change\" (%1) VALUES (%2);")
                              .arg(changeColumns(), changeValues(QStringLiteral("NEW")));
    QString sql;
    sql += QStringLiteral("CREATE TRIGGER \"list change insert\" AFTER INSERT ON \"list\" BEGIN %1 END;\n").arg(store);
    sql += QStringLiteral("CREATE TRIGGER \"list change update\" AFTER UPDATE OF %1 ON \"list\" BEGIN "
                          "DELETE FROM \"list_change\" WHERE \"ID\" = OLD.\"ID\"; %2 END;\n")
               .arg(watchedColumns(), store);
    sql += QStringLiteral("CREATE TRIGGER \"list change delete\" AFTER DELETE ON \"list\" BEGIN "
                          "DELETE FROM \"list_change\" WHERE \"ID\" = OLD.\"ID\"; END;\n");
    return sql;
}

// The statement of sql that begins with head, up to and including its closing ";".
QString statementOf(const QString& sql, const QString& head)
{
    const qsizetype start = sql.indexOf(head);
    const qsizetype end = start < 0 ? -1 : sql.indexOf(QStringLiteral(";\n"), start);
    if (end < 0) throw DataError(QStringLiteral("database layout without %1").arg(head));
    return sql.mid(start, end + 1 - start) + QLatin1Char('\n');
}

int layoutVersion(sqlite3* db)
{
    Statement st(db, QStringLiteral("PRAGMA user_version"));
    return st.step() ? sqlite3_column_int(st.get(), 0) : 0;
}

bool hasObject(sqlite3* db, const char* type, const char* name)
{
    Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = ?1 AND name = ?2"));
    detail::bindValue(st.get(), 1, QString::fromUtf8(type));
    detail::bindValue(st.get(), 2, QString::fromUtf8(name));
    return st.step();
}

// The placeholder, then every stock of the bundled list, without prices; hojyo gets the same rows.
void fillStocks(Connection& db)
{
    Statement insert(db.get(), QStringLiteral("INSERT INTO \"list\" (\"銘柄\", \"コード\", \"市場\", \"単位\") VALUES (?, ?, ?, ?)"));
    insert.run({QString(), 1001, QString(), QString()});
    for (const ListedStock& stock : bundledStocks())
        insert.run({stock.name, stock.code, stock.market, QStringLiteral("D100")});
    db.exec(QStringLiteral("INSERT INTO \"hojyo\" SELECT * FROM \"list\""));
}

void fillDateRecord(Connection& db)
{
    db.exec(QStringLiteral(
        "INSERT INTO \"日付\" (\"kabuka1\", \"kabuka2\", \"kabuka3\", \"kabuka4\", \"kabuka5\", \"kabuka6\", "
        "\"kabuka7\", \"kabuka8\", \"kabuka9\", \"kabuka10\", \"kabuka11\", \"kabuka12\", \"kabuka13\", "
        "\"kabuka14\", \"kabuka15\", \"kabuka16\", \"kabuka17\", \"kabuka18\", \"kabuka19\", \"kabuka20\", "
        "\"kabuka21\") VALUES ('', '', '', '', '', '', '', '', '', '', 'day', '', '', '', '', '', '', '', '', '', '')"));
}

// A file of zero bytes holds no database: it counts as missing.
bool isMissing(const QFileInfo& file)
{
    return !file.exists() || (file.isFile() && file.size() == 0);
}

// Builds the database in a side file of its own (no other process uses its name) and moves it
// into place once complete, so that a failure never leaves a half-made database behind. A file
// that another process put in place meanwhile is left as it is.
template <typename Fill>
void createDatabase(const QString& path, Fill fill)
{
    const QFileInfo target(path);
    if (!isMissing(target))
        return;
    const QString folder = target.absolutePath();
    if (!QDir().mkpath(folder))
        throw DataError(QStringLiteral("cannot make the folder %1").arg(folder));
    QString side;
    {
        QTemporaryFile file(path + QStringLiteral(".XXXXXX.new"));
        file.setAutoRemove(false);
        if (!file.open())
            throw DataError(QStringLiteral("cannot create a file in %1: %2").arg(folder, file.errorString()));
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
        side = file.fileName();
    }
    try {
        {
            Connection db(side);
            db.exec(QStringLiteral("BEGIN"));
            fill(db);
            db.exec(QStringLiteral("COMMIT"));
        }
        const QByteArray from = QFile::encodeName(side), to = QFile::encodeName(path);
        // The side files of the file that was there belong to no database any more: SQLite would
        // lay them over the new one.
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        if (target.exists()) {
            // Only the empty file is replaced.
            if (QFileInfo(path).size() == 0 && ::rename(from.constData(), to.constData()) != 0)
                throw DataError(QStringLiteral("cannot move %1 into place: %2")
                                    .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        } else if (::link(from.constData(), to.constData()) != 0 && errno != EEXIST && !QFile::rename(side, path) &&
                   !QFileInfo::exists(path)) {
            // (a folder without hard links takes a rename, which never replaces a file either)
            throw DataError(QStringLiteral("cannot move %1 into place").arg(path));
        }
        QFile::remove(side);
    } catch (...) {
        QFile::remove(side);
        throw;
    }
}

// The tables and saved queries of a database, each with its column names.
struct Object {
    QString name;
    QStringList columns;
};
using Objects = std::map<QString, Object>;   // by lower-case name

Objects objectsOf(Connection& db)
{
    QStringList names;
    {
        Statement list(db.get(), QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                                "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY name"));
        while (list.step())
            names << detail::readColumn(list.get(), 0).toString();
    }
    Objects objects;
    for (const QString& name : names) {
        QStringList columns;
        Statement info(db.get(), QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(name)));
        while (info.step())
            columns << detail::readColumn(info.get(), 1).toString();
        objects[name.toLower()] = {name, columns};
    }
    return objects;
}

// What the program needs of a database: the objects its own schema makes.
const Objects& neededObjects(const QString& schemaSql)
{
    static std::map<QString, Objects> cache;
    auto it = cache.find(schemaSql);
    if (it == cache.end()) {
        Connection db(QStringLiteral(":memory:"));
        detail::registerFunctions(db.get());
        db.exec(schemaSql);
        it = cache.emplace(schemaSql, objectsOf(db)).first;
    }
    return it->second;
}

// What the opening of a file of an earlier layout supplies: the tables it makes (a file without
// one of them is of an earlier layout) and the views it makes anew. Such a file is not asked for
// them (tables absent, views with the columns of that layout).
struct Upgrade {
    QStringList made, remade;
};

std::optional<QString> schemaProblem(const QString& path, const QString& schemaSql, const Upgrade& upgrade = {})
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("ファイルがありません");
    if (!file.isFile())
        return QStringLiteral("ファイルではありません");
    if (file.size() == 0)
        return QStringLiteral("ファイルが空です（0 バイト）");
    Objects present;
    try {
        Connection db(path, Connection::Mode::ReadOnly);
        detail::registerFunctions(db.get());
        present = objectsOf(db);
    } catch (const DataError& e) {
        return QStringLiteral("データベースとして読めません: ") + e.text;
    }
    // The layout before the changes were kept in a table: the upgrade on opening supplies the rest.
    const bool earlier = std::any_of(upgrade.made.begin(), upgrade.made.end(),
                                     [&](const QString& table) { return !present.count(table.toLower()); });
    QStringList missing, incomplete;
    for (const auto& [key, needed] : neededObjects(schemaSql)) {
        if (earlier && (upgrade.made.contains(needed.name, Qt::CaseInsensitive) ||
                        (upgrade.remade.contains(needed.name, Qt::CaseInsensitive) && present.count(key))))
            continue;
        auto it = present.find(key);
        if (it == present.end()) {
            missing << needed.name;
            continue;
        }
        for (const QString& c : needed.columns)
            if (!it->second.columns.contains(c, Qt::CaseInsensitive))
                incomplete << needed.name + QStringLiteral(".") + c;
    }
    auto shortList = [](const QStringList& names) {
        return names.size() <= 8 ? names.join(QStringLiteral(", "))
                                 : names.mid(0, 8).join(QStringLiteral(", ")) + QStringLiteral(", ... (%1)").arg(names.size());
    };
    QStringList problems;
    if (!missing.isEmpty())
        problems << QStringLiteral("必要なテーブル・クエリがありません: ") + shortList(missing);
    if (!incomplete.isEmpty())
        problems << QStringLiteral("必要な列がありません: ") + shortList(incomplete);
    if (problems.isEmpty())
        return std::nullopt;
    return problems.join(QStringLiteral("\r\n"));
}

}  // namespace

std::vector<ListedStock> bundledStocks()
{
    std::vector<ListedStock> stocks;
    const QStringList lines = readResource(QStringLiteral("listed-stocks.csv")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {  // line 0: the header
        const QStringList fields = lines[i].trimmed().split(QLatin1Char(','));
        if (fields.size() != 3)
            continue;
        for (const MarketName& m : kMarketNames)
            if (fields[2] == QString::fromUtf8(m.listed))
                stocks.push_back({fields[0].toInt(), fields[1], QString::fromUtf8(m.program)});
    }
    return stocks;
}

QString mainSchemaSql()
{
    QString sql = withLayoutCopies(readResource(QStringLiteral("main.sql")), "list", {"hojyo"});
    for (const SavedQuery& q : kSavedQueries)
        sql += savedQuerySql(q);
    for (const WritableView& v : kWritableViews)
        sql += writeThroughTriggers(v);
    sql += changeTriggers();
    sql += codeChangeTriggers();
    return sql + QStringLiteral("PRAGMA user_version = %1;\n").arg(kMainLayoutVersion);
}

QString listSchemaSql()
{
    return withLayoutCopies(readResource(QStringLiteral("list.sql")), "checklist", {"trend", "checklist2", "mylist"});
}

void ensureMainDatabase(const QString& path)
{
    createDatabase(path, [](Connection& db) {
        db.exec(mainSchemaSql());
        fillDateRecord(db);
        fillStocks(db);
    });
}

bool upgradeMainDatabase(sqlite3* db)
{
    if (layoutVersion(db) >= kMainLayoutVersion || !hasObject(db, "table", "list") ||
        !hasObject(db, "view", "stock_trend"))
        return false;
    // Version 0 lacks both tables; version 1 has list_change and reads the cards' changes through it.
    const bool changes = !hasObject(db, "table", "list_change");
    if (hasObject(db, "table", "code_change") || (!changes && layoutVersion(db) < 1))
        return false;
    const QString layout = readResource(QStringLiteral("main.sql"));
    QString sql = QStringLiteral("BEGIN IMMEDIATE;\n");
    if (changes) {
        sql += statementOf(layout, QStringLiteral("CREATE TABLE \"list_change\""));
        sql += QStringLiteral("INSERT INTO \"list_change\" (%1) SELECT %2 FROM \"list\" l;\n")
                   .arg(changeColumns(), changeValues(QStringLiteral("l")));
        sql += changeTriggers();
    }
    sql += statementOf(layout, QStringLiteral("CREATE TABLE \"code_change\""));
    sql += fillCodeChange();
    sql += codeChangeTriggers();
    for (const char* view : {"stock_trend", "card_trend"}) {
        if (!changes && QLatin1String(view) == QLatin1String("stock_trend")) continue;
        sql += QStringLiteral("DROP VIEW IF EXISTS %1;\n").arg(quotedName(QString::fromUtf8(view)));
        sql += statementOf(layout, QStringLiteral("CREATE VIEW ") + quotedName(QString::fromUtf8(view)));
    }
    sql += QStringLiteral("PRAGMA user_version = %1;\nCOMMIT;\n").arg(kMainLayoutVersion);
    try {
        detail::exec(db, sql);
    } catch (const DataError&) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return true;
}

namespace {

// A code as SQLite compares codes: numbers by their value, texts and blobs by their bytes.
struct Code {
    int type = SQLITE_NULL;
    qint64 whole = 0;
    double number = 0;
    QByteArray bytes;

    static Code of(sqlite3_stmt* st, int column)
    {
        Code c;
        c.type = sqlite3_column_type(st, column);
        if (c.type == SQLITE_INTEGER) c.whole = sqlite3_column_int64(st, column);
        if (c.type == SQLITE_INTEGER || c.type == SQLITE_FLOAT) c.number = sqlite3_column_double(st, column);
        if (c.type == SQLITE_TEXT || c.type == SQLITE_BLOB)
            c.bytes = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, column)), sqlite3_column_bytes(st, column));
        return c;
    }
    bool operator==(const Code& o) const
    {
        if (type == SQLITE_INTEGER && o.type == SQLITE_INTEGER) return whole == o.whole;
        const bool numeric = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
        if (numeric || o.type == SQLITE_INTEGER || o.type == SQLITE_FLOAT)
            return numeric && (o.type == SQLITE_INTEGER || o.type == SQLITE_FLOAT) && number == o.number;
        return type == o.type && bytes == o.bytes;
    }
};

// Whether code_change holds one row for each code of list and no other, each naming its code's
// first row. Both are read once in the order of their keys (the index of list by code and ID).
bool codeChangeInStep(sqlite3* db)
{
    Statement firsts(db, QStringLiteral("SELECT \"コード\", \"ID\" FROM \"list\" WHERE \"コード\" IS NOT NULL "
                                        "ORDER BY \"コード\", \"ID\""));
    Statement kept(db, QStringLiteral("SELECT \"コード\", \"ID\" FROM \"code_change\" ORDER BY \"コード\""));
    Code previous;
    while (firsts.step()) {
        const Code code = Code::of(firsts.get(), 0);
        if (previous.type != SQLITE_NULL && code == previous) continue;
        previous = code;
        if (!kept.step() || !(Code::of(kept.get(), 0) == code) ||
            sqlite3_column_int64(kept.get(), 1) != sqlite3_column_int64(firsts.get(), 1))
            return false;
    }
    return !kept.step();
}

// Rows of the stored changes (c) that differ from those computed from their row of list (l), and
// rows of either table without their row in the other. Each table is read once, each row of list
// looked up by its key.
long long changesDiffering(sqlite3* db, const QString& stored, const QString& key, bool code)
{
    QStringList differs;
    if (code) differs << QStringLiteral("c.\"kabuka1\" IS NOT l.\"kabuka1\"") << QStringLiteral("c.\"コード\" IS NOT l.\"コード\"");
    for (int n = 1; n <= 9; ++n)
        differs << QStringLiteral("c.\"ratio%1\" IS NOT %2").arg(n).arg(changeExpression(QStringLiteral("l"), n));
    Statement count(db, QStringLiteral("SELECT (SELECT count(*) FROM %1 c), (SELECT count(*) FROM %2), "
                                       "(SELECT count(*) FROM %1 c JOIN \"list\" l ON l.\"ID\" = c.\"ID\"), "
                                       "(SELECT count(*) FROM %1 c JOIN \"list\" l ON l.\"ID\" = c.\"ID\" WHERE %3)")
                            .arg(stored, key, differs.join(QStringLiteral(" OR "))));
    if (!count.step()) return 0;
    const auto at = [&](int i) { return sqlite3_column_int64(count.get(), i); };
    return at(0) - at(2) + at(1) - at(2) + at(3);
}

}  // namespace

bool keepCodeChangeInStep(const QString& path)
{
    sqlite3* db = nullptr;
    bool remade = false;
    if (detail::openDatabaseFile(path, false, &db) == SQLITE_OK) {
        try {
            if (hasObject(db, "table", "code_change") && hasObject(db, "table", "list") && !codeChangeInStep(db)) {
                detail::exec(db, QStringLiteral("BEGIN IMMEDIATE; DELETE FROM \"code_change\"; %1COMMIT;").arg(fillCodeChange()));
                remade = true;
            }
        } catch (const DataError&) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_close_v2(db);
    return remade;
}

std::optional<QString> storedChangesProblem(sqlite3* db)
{
    if (!hasObject(db, "table", "list")) return std::nullopt;
    QStringList problems;
    if (hasObject(db, "table", "list_change")) {
        const long long n = changesDiffering(db, QStringLiteral("\"list_change\""), QStringLiteral("\"list\""), false);
        if (n > 0) problems << QStringLiteral("list_change の %1 行が list の株価と合いません").arg(n);
    }
    // Where each code's row names its first row of list (checked in one pass), it must hold that
    // row's prices. A code_change that names other rows is what another program's REPLACE on list
    // leaves (it fires no delete trigger), and the start makes it anew from list: no sign of damage.
    if (hasObject(db, "table", "code_change") && codeChangeInStep(db) &&
        changesDiffering(db, QStringLiteral("\"code_change\""),
                         QStringLiteral("(SELECT DISTINCT \"コード\" FROM \"list\" WHERE \"コード\" IS NOT NULL)"), true) > 0)
        problems << QStringLiteral("code_change が list の株価と合いません");
    if (problems.isEmpty()) return std::nullopt;
    return problems.join(QStringLiteral("、"));
}

void ensureListDatabase(const QString& path)
{
    createDatabase(path, [](Connection& db) { db.exec(listSchemaSql()); });
}

std::optional<QString> mainDatabaseProblem(const QString& path)
{
    return schemaProblem(path, mainSchemaSql(),
                         {{QStringLiteral("list_change"), QStringLiteral("code_change")},
                          {QStringLiteral("stock_trend"), QStringLiteral("card_trend")}});
}

std::optional<QString> listDatabaseProblem(const QString& path)
{
    return schemaProblem(path, listSchemaSql());
}

void ensureProgramDatabases()
{
    ensureMainDatabase(mainDatabasePath());
    ensureListDatabase(listDatabasePath());
}

}  // namespace platform
