#include "demo/demo_data.h"

#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>
#include <vector>

namespace demo {
namespace {

using platform::DataError;

constexpr int kPeriods = 10;
const char* const kMarker = "demo-folder.txt";

// Deterministic on every platform (the standard distributions are not).
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 0x9e3779b9u) {}
    std::uint32_t next()
    {
        // xorshift32; never zero
        std::uint32_t x = state_ ? state_ : 0x6d2b79f5u;
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        state_ = x;
        return x;
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    double unit() { return next() / 4294967296.0; }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    bool chance(double p) { return unit() < p; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    std::uint32_t state_;
};

struct Stock {
    QString name;
    int code = 0;
    QString market;
    QString unit;
    std::array<std::optional<int>, kPeriods> prices;  // newest first
};

const char* const kMarkets[] = {"東証１部", "東証２部", "名古１部", "名古２部", "名証１部", "名証２部", "大証１部",
                                "大証２部", "ジャスダック", "ナスダック", "ヘラクレス", "マザーズ", "マザー", "店頭"};
struct Unit { const char* code; int shares; };
constexpr Unit kUnits[] = {{"A1", 1}, {"B10", 10}, {"C50", 50}, {"D100", 100}, {"E500", 500}, {"F1000", 1000}};
const char* const kNameHeads[] = {"東和", "西邦", "北斗", "南海", "大和田", "新光", "日東", "中央", "平和",
                                  "富士見", "三和", "光洋", "旭日", "明星", "昭栄", "太陽", "丸善", "星野"};
const char* const kNameTails[] = {"精工", "電機", "化学", "製薬", "建設", "商事", "物産", "興業", "工業",
                                  "電子", "食品", "運輸", "不動産", "技研", "産業", "通信"};

// The sources of the cards: each names the kind of card it brings by one of the kind words.
const char* const kSources[] = {"株式新聞・推奨", "日経マネー推奨銘柄", "短期注目・夕刊", "証券会社短期注目",
                                "新高値銘柄速報", "新高値ブレイク", "動意株ウォッチ", "業績修正速報",
                                "上方修正ニュース", "アナリスト格付", "レーティング情報", "株式分割のお知らせ",
                                "会社四季報メモ"};
const char* const kNotes[] = {"目標株価を引き上げ。", "出来高が急増している。", "受注が好調で上値余地あり。",
                              "新製品の発売が材料視される。", "増配を発表。", "上場来高値を更新。",
                              "信用取組が好転。", "海外売上が伸びる。", "会社計画を上回る進捗。",
                              "押し目買いの好機。"};

// Ten closing prices, oldest first, shaped like one of the trends the screens look for.
std::array<double, kPeriods> trendShape(Random& r)
{
    std::array<double, kPeriods> price{};
    const int shape = r.below(10);
    const int turn = kPeriods - r.between(1, 4);  // the last periods from here on make the move
    const double pace = r.between(0.015, 0.05);
    for (int d = 0; d < kPeriods; ++d) {
        const bool late = d >= turn;
        double change = r.between(-0.015, 0.015);  // plain noise
        switch (shape) {
        case 0:  // flat stretch, then a rise
            change = late ? pace * r.between(0.7, 1.3) : r.between(-0.002, 0.002);
            break;
        case 1:  // a fall, then a rebound
            change = late ? pace * r.between(0.5, 1.2) : d >= turn - 4 ? -pace * r.between(0.5, 1.2) : r.between(-0.005, 0.005);
            break;
        case 2:  // steady climb
            change = pace * r.between(0.2, 0.6);
            break;
        case 3:  // falling
            change = -pace * r.between(0.2, 0.8);
            break;
        case 4:  // two-stage rise: up, rest, up
            change = d < 3 ? pace : late ? pace * r.between(0.7, 1.3) : r.between(-0.004, 0.004);
            break;
        case 5:  // rise, then a small pullback
            change = late ? -pace * r.between(0.2, 0.5) : pace * r.between(0.3, 0.8);
            break;
        case 6:  // very flat
            change = r.between(-0.003, 0.003);
            break;
        default:
            break;
        }
        price[d] = d == 0 ? 1.0 : price[d - 1] * (1.0 + change);
    }
    return price;
}

// Prices for a stock whose trading unit costs about unitPrice yen at the start.
void setPrices(Stock& s, Random& r, double unitPrice, int shares)
{
    const std::array<double, kPeriods> shape = trendShape(r);  // oldest first
    const double base = std::max(1.0, unitPrice / shares);
    // Now and then a stock listed recently: its oldest periods have no price.
    const int listedFor = r.chance(0.02) ? r.between(3, kPeriods - 1) : kPeriods;
    for (int d = 0; d < kPeriods; ++d) {
        const int slot = kPeriods - 1 - d;  // d counts from the oldest period
        if (d < kPeriods - listedFor)
            s.prices[slot].reset();
        else
            s.prices[slot] = std::max(1, int(std::lround(base * shape[d])));
    }
}

double logUniform(Random& r, double lo, double hi) { return std::exp(r.between(std::log(lo), std::log(hi))); }

struct Stocks {
    std::vector<Stock> all;
    int madeUpFrom = 0;  // all[madeUpFrom] on are made up
};

Stocks makeStocks(const Options& o, Random& r)
{
    const std::vector<platform::ListedStock> listed = platform::bundledStocks();
    const int listedCount = int(listed.size());
    int madeUp = 300;
    int fromList = listedCount;
    if (o.totalStocks > 0) {
        madeUp = std::max(o.totalStocks - listedCount, o.totalStocks / 10);
        fromList = o.totalStocks - madeUp;
    }
    Stocks result;
    result.madeUpFrom = fromList;
    std::vector<Stock>& stocks = result.all;
    stocks.reserve(std::size_t(fromList + madeUp));
    std::set<int> used{1000, 1001};
    for (int i = 0; i < fromList; ++i) {
        const platform::ListedStock& l = listed[std::size_t(i)];
        Stock s{l.name, l.code, l.market, QStringLiteral("D100"), {}};
        setPrices(s, r, logUniform(r, 15000, 3000000), 100);
        stocks.push_back(s);
        used.insert(l.code);
    }
    int nextCode = 1002;
    for (int i = 0; i < madeUp; ++i) {
        while (used.count(nextCode)) ++nextCode;
        used.insert(nextCode);
        const Unit& unit = kUnits[i % std::size(kUnits)];
        QString name = QString::fromUtf8(r.pick(kNameHeads)) + QString::fromUtf8(r.pick(kNameTails));
        if (i >= int(std::size(kNameHeads) * std::size(kNameTails)) / 2)
            name += QString::number(i);
        Stock s{name, nextCode, QString::fromUtf8(kMarkets[(i / std::size(kUnits)) % std::size(kMarkets)]),
                QString::fromUtf8(unit.code), {}};
        setPrices(s, r, logUniform(r, 30000, 3000000), unit.shares);
        stocks.push_back(s);
    }
    // In the full demo a few stocks have no price yet (not listed in the universes).
    if (o.totalStocks == 0)
        for (int i = 0; i < 12; ++i)
            stocks[std::size_t(r.below(int(stocks.size())))].prices.fill(std::nullopt);
    return result;
}

// The ten newest weekdays on or before today, newest first.
std::vector<QDate> tradingDays(QDate day)
{
    std::vector<QDate> days;
    while (int(days.size()) < kPeriods) {
        if (day.dayOfWeek() <= 5)
            days.push_back(day);
        day = day.addDays(-1);
    }
    return days;
}

QString workbookName(const QDate& day) { return QStringLiteral("kabu") + day.toString(QStringLiteral("yyMMdd")); }

using platform::detail::Connection;
using platform::detail::Statement;

// A price, or NULL when there is none.
QVariant priceValue(std::optional<int> price) { return price ? QVariant(*price) : QVariant(); }

void writeStocks(Connection& db, const std::vector<Stock>& stocks)
{
    db.exec(QStringLiteral("DELETE FROM \"list\"; DELETE FROM \"hojyo\"; DELETE FROM sqlite_sequence WHERE name IN ('list', 'hojyo')"));
    Statement insert(db.get(),
                     QStringLiteral("INSERT INTO \"list\" (\"銘柄\", \"コード\", \"市場\", \"単位\", \"kabuka1\", \"kabuka2\", \"kabuka3\", "
                                    "\"kabuka4\", \"kabuka5\", \"kabuka6\", \"kabuka7\", \"kabuka8\", \"kabuka9\", \"kabuka10\") "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const auto row = [&](const Stock& s) {
        QVariantList values{s.name, s.code, s.market, s.unit};
        for (const std::optional<int>& p : s.prices) values << priceValue(p);
        insert.run(values);
    };
    row(Stock{QString(), 1001, QString(), QString(), {}});
    for (const Stock& s : stocks) row(s);
    db.exec(QStringLiteral("INSERT INTO \"hojyo\" SELECT * FROM \"list\""));
}

// The one period record of the database takes the ten dates, the unit and the workbook names.
void writeDateRecord(Connection& db, const std::vector<QDate>& days)
{
    Statement update(db.get(),
                     QStringLiteral("UPDATE \"日付\" SET \"kabuka1\" = ?, \"kabuka2\" = ?, \"kabuka3\" = ?, \"kabuka4\" = ?, "
                                    "\"kabuka5\" = ?, \"kabuka6\" = ?, \"kabuka7\" = ?, \"kabuka8\" = ?, \"kabuka9\" = ?, "
                                    "\"kabuka10\" = ?, \"kabuka11\" = ?, \"kabuka12\" = ?, \"kabuka13\" = ?, \"kabuka14\" = ?, "
                                    "\"kabuka15\" = ?, \"kabuka16\" = ?, \"kabuka17\" = ?, \"kabuka18\" = ?, \"kabuka19\" = ?, "
                                    "\"kabuka20\" = ?, \"kabuka21\" = ?"));
    QVariantList values;
    for (const QDate& d : days) values << d.toString(QStringLiteral("yy/MM/dd"));
    values << QStringLiteral("day");
    for (const QDate& d : days) values << workbookName(d);
    update.run(values);
}

int writeCards(Connection& db, const Options& o, Random& r, const Stocks& all)
{
    const std::vector<Stock>& stocks = all.all;
    const int madeUpFrom = all.madeUpFrom;
    Statement insert(db.get(),
                     QStringLiteral("INSERT INTO \"mydata\" (\"情報源\", \"日付\", \"銘柄\", \"コード\", \"市場\", \"単位\", \"情報\") "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    const QDate epoch(1899, 12, 30);
    const int madeUp = int(stocks.size()) - madeUpFrom;
    for (int i = 0; i < o.cards; ++i) {
        // One card in five is about a made-up stock, so that every market and unit has cards.
        const Stock& s = madeUp > 0 && r.chance(0.2) ? stocks[std::size_t(madeUpFrom + r.below(madeUp))]
                                                     : stocks[std::size_t(r.below(int(stocks.size())))];
        const QString source = QString::fromUtf8(kSources[i % std::size(kSources)]);
        const QDate day = o.today.addDays(-r.between(0, 200));
        // A few cards still lack market and unit, waiting for the completion.
        const bool complete = !r.chance(0.03);
        QString note = QString::fromUtf8(r.pick(kNotes));
        if (s.prices[0])
            note += QStringLiteral("\n株価 %1円").arg(*s.prices[0]);
        insert.run({source, double(epoch.daysTo(day)), s.name, s.code, complete ? s.market : QString(),
                    complete ? s.unit : QString(), note});
    }
    return o.cards;
}

void writeLists(const QString& path, Random& r, const std::vector<Stock>& stocks, const QDate& today)
{
    Connection db(path);
    db.exec(QStringLiteral("BEGIN"));
    const char* const tables[] = {"checklist", "trend", "checklist2", "mylist"};
    for (const char* table : tables) {
        Statement insert(db.get(), QStringLiteral("INSERT INTO \"%1\" (\"コード\", \"銘柄\", \"市場\", \"単位\", \"date\") "
                                                  "VALUES (?, ?, ?, ?, ?)").arg(QString::fromUtf8(table)));
        const int count = r.between(4, 7);
        for (int i = 0; i < count; ++i) {
            const Stock& s = stocks[std::size_t(r.below(int(stocks.size())))];
            insert.run({s.code, s.name, s.market, s.unit,
                        today.addDays(-r.between(0, 60)).toString(QStringLiteral("yy/MM/dd"))});
        }
    }
    Statement sources(db.get(), QStringLiteral("INSERT INTO \"情報源リスト\" (\"情報源\", \"date\") VALUES (?, ?)"));
    for (int i = 0; i < 4; ++i)
        sources.run({QString::fromUtf8(kSources[(i * 3) % std::size(kSources)]),
                     today.addDays(-r.between(0, 60)).toString(QStringLiteral("yy/MM/dd"))});
    db.exec(QStringLiteral("COMMIT"));
}

// A CSV field, quoted.
QString csvField(const QString& text) { return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

// The days of the price workbooks: the ten periods', newest first, then the weekday after the
// newest period, so that a period insertion and "next" can be tried.
std::vector<QDate> workbookDays(const std::vector<QDate>& days)
{
    std::vector<QDate> out = days;
    QDate next = days.front().addDays(1);
    while (next.dayOfWeek() > 5) next = next.addDays(1);
    out.push_back(next);
    return out;
}

QStringList workbookFiles(const std::vector<QDate>& days)
{
    QStringList files;
    for (const QDate& d : workbookDays(days)) files << workbookName(d) + QStringLiteral(".xls");
    return files;
}

// The price workbooks of workbookDays, one sheet "s" + yymmdd each: code, name, close.
int writeWorkbooks(const QString& folder, const std::vector<Stock>& stocks, const std::vector<QDate>& days,
                   std::uint32_t seed)
{
    std::vector<WorkbookRow> rows;
    const auto sheetOf = [](const QDate& d) { return QStringLiteral("s") + d.toString(QStringLiteral("yyMMdd")); };
    for (int k = 0; k < kPeriods; ++k) {
        const QDate& day = days[std::size_t(k)];
        for (const Stock& s : stocks)
            if (s.prices[std::size_t(k)])
                rows.push_back({workbookName(day), sheetOf(day), QString::number(s.code), s.name,
                                QString::number(*s.prices[std::size_t(k)])});
    }
    const QDate next = workbookDays(days).back();
    Random r(seed ^ 0x5bd1e995u);
    for (const Stock& s : stocks)
        if (s.prices[0])
            rows.push_back({workbookName(next), sheetOf(next), QString::number(s.code), s.name,
                            QString::number(std::max(1, int(std::lround(*s.prices[0] * r.between(0.97, 1.03)))))});
    writePriceWorkbooks(folder, rows);
    return kPeriods + 1;
}

// The files SQLite keeps beside a database while it is open or after a crash: a log left there
// would be replayed onto a new file of the same name.
const char* const kSideFiles[] = {"-wal", "-shm", "-journal"};
const QStringList kDatabases{QStringLiteral("druvolo.mdb"), QStringLiteral("kabulist.mdb")};

// The list of the files a demo made, kept in the folder (kMarker): one name a line, a workbook
// with the SHA-256 of its bytes as written. Only the files named there are ever removed, and a
// workbook only while its bytes are unchanged; the databases go by name (the demo is used).
const QString kManifestHead = QStringLiteral(
    "# Files made by quenara-demo in this folder. \"quenara-demo --fresh\" removes these (a workbook only\n"
    "# while it is unchanged) and nothing else: the memo, the backups and every other file stay.\n");

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex();
}

// Name -> digest (empty for a database, or for a file listed before it was written).
using Manifest = std::vector<std::pair<QString, QByteArray>>;

Manifest readManifest(const QDir& dir)
{
    QFile f(dir.filePath(QString::fromUtf8(kMarker)));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    if (!text.startsWith(kManifestHead))   // a marker of an earlier version lists nothing
        return {};
    Manifest files;
    for (const QString& line : text.mid(kManifestHead.size()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u'\t');
        const QString& name = parts[0];
        // Only plain names of this folder: never a path into a subfolder or out of it.
        if (name.isEmpty() || name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        files.emplace_back(name, parts.size() > 1 ? parts[1].toLatin1() : QByteArray());
    }
    return files;
}

void writeManifest(const QDir& dir, const Manifest& files)
{
    QSaveFile f(dir.filePath(QString::fromUtf8(kMarker)));
    QByteArray text = kManifestHead.toUtf8();
    for (const auto& [name, sum] : files)
        text += name.toUtf8() + (sum.isEmpty() ? QByteArray() : "\t" + sum) + '\n';
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
        throw DataError(QStringLiteral("cannot write %1").arg(f.fileName()));
}

bool exists(const QDir& dir, const QString& name)
{
    const QFileInfo entry(dir.filePath(name));
    return entry.exists() || entry.isSymLink();
}

// What a run does to the program folder, decided before anything changes: the files of the
// earlier demo that go (fresh only), and the files the new demo writes. A run that would write
// over a file it did not make, or make a database beside a log left there, is refused whole.
struct Plan {
    QStringList remove;
    QStringList kept;   // with fresh: files of the earlier demo changed since (or a folder now), left as they are
    QStringList write;
};

Plan plan(const QDir& dir, const QStringList& workbooks, bool fresh)
{
    Plan p;
    if (fresh)
        for (const auto& [name, sum] : readManifest(dir)) {
            const QFileInfo entry(dir.filePath(name));
            if (!entry.exists() && !entry.isSymLink())
                continue;
            if (entry.isDir() && !entry.isSymLink())   // a folder is never the demo's
                p.kept << name;
            else if (sum.isEmpty() || digest(entry.filePath()) == sum)
                p.remove << name;
            else
                p.kept << name;
        }
    p.write = kDatabases + workbooks;
    QStringList foreign, logs;
    for (const QString& name : p.write)
        if (exists(dir, name) && !p.remove.contains(name))
            foreign << name;
    for (const QString& db : kDatabases)
        for (const char* side : kSideFiles)
            if (exists(dir, db + QString::fromLatin1(side)))
                logs << db + QString::fromLatin1(side);
    if (!foreign.isEmpty())
        throw DataError(QStringLiteral("%1 holds %2, which the demo would write over (not made by it, or changed "
                                       "since). Nothing was changed; choose another folder.")
                            .arg(dir.path(), foreign.join(QStringLiteral(", "))));
    if (!logs.isEmpty())
        throw DataError(QStringLiteral("%1 holds %2, the log of a program ended by force. Nothing was changed; start "
                                       "the program on this folder once and end it (it plays the log back), then "
                                       "run this again.")
                            .arg(dir.path(), logs.join(QStringLiteral(", "))));
    return p;
}

bool holdsProgramData(const QDir& dir)
{
    return std::any_of(kDatabases.begin(), kDatabases.end(), [&](const QString& f) { return exists(dir, f); });
}

}  // namespace

void writePriceWorkbooks(const QString& folder, const std::vector<WorkbookRow>& rows)
{
    const QString script = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("make_workbooks.py"));
    if (!QFileInfo::exists(script))
        throw DataError(QStringLiteral("workbook script not found: %1").arg(script));
    QTemporaryDir scratch;
    const QString csvPath = scratch.filePath(QStringLiteral("prices.csv"));
    QFile csv(csvPath);
    if (!scratch.isValid() || !csv.open(QIODevice::WriteOnly | QIODevice::Text))
        throw DataError(QStringLiteral("cannot write %1").arg(csvPath));
    QTextStream out(&csv);
    out << "workbook,sheet,code,name,close\n";
    for (const WorkbookRow& row : rows)
        out << QStringList{csvField(row.workbook), csvField(row.sheet), csvField(row.code), csvField(row.name),
                           csvField(row.close)}.join(u',')
            << '\n';
    out.flush();
    csv.close();
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {script, csvPath, folder});
    if (!python.waitForFinished(120000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        throw DataError(QStringLiteral("writing the workbooks failed: %1")
                            .arg(QString::fromUtf8(python.readAllStandardError()).trimmed()));
}

Summary generate(const QString& xdgDataHome, const Options& options)
{
    Summary summary;
    summary.folder = QDir(xdgDataHome).filePath(QStringLiteral("Vostrel"));
    QDir dir(summary.folder);
    if (!options.fresh && holdsProgramData(dir))
        return summary;
    if (!dir.mkpath(QStringLiteral(".")))
        throw DataError(QStringLiteral("cannot make %1").arg(summary.folder));
    const platform::FolderLock lock(summary.folder);   // held until the demo is whole
    if (lock.state() == platform::FolderLock::State::HeldByOther)
        throw DataError(QStringLiteral("%1 is in use by a running program; end it first").arg(summary.folder));
    if (lock.state() != platform::FolderLock::State::Held)
        throw DataError(QStringLiteral("cannot lock %1: %2").arg(summary.folder, lock.reason()));
    if (!options.fresh && holdsProgramData(dir))   // made meanwhile
        return summary;

    const std::vector<QDate> days = tradingDays(options.today);
    const Plan p = plan(dir, options.workbooks ? workbookFiles(days) : QStringList(), options.fresh);
    for (const QString& name : p.remove)
        if (!QFile::remove(dir.filePath(name)))
            throw DataError(QStringLiteral("cannot remove %1").arg(dir.filePath(name)));
    summary.removed = p.remove;
    summary.kept = p.kept;
    // Listed before they are written, so that a run cut short leaves nothing it made unlisted.
    Manifest made;
    for (const QString& name : p.write) made.emplace_back(name, QByteArray());
    writeManifest(dir, made);
    summary.made = true;

    const QString mainPath = dir.filePath(QStringLiteral("druvolo.mdb"));
    const QString listPath = dir.filePath(QStringLiteral("kabulist.mdb"));
    platform::ensureMainDatabase(mainPath);
    platform::ensureListDatabase(listPath);

    Random r(options.seed);
    const Stocks all = makeStocks(options, r);
    const std::vector<Stock>& stocks = all.all;
    {
        Connection db(mainPath);
        db.exec(QStringLiteral("BEGIN"));
        writeStocks(db, stocks);
        writeDateRecord(db, days);
        summary.cards = writeCards(db, options, r, all);
        db.exec(QStringLiteral("COMMIT"));
    }
    writeLists(listPath, r, stocks, options.today);
    summary.stocks = int(std::count_if(stocks.begin(), stocks.end(), [](const Stock& s) { return s.prices[0].value_or(0) > 0; }));
    if (options.workbooks)
        summary.workbooks = writeWorkbooks(summary.folder, stocks, days, options.seed);
    for (auto& [name, sum] : made)
        if (!kDatabases.contains(name))
            sum = digest(dir.filePath(name));
    writeManifest(dir, made);
    return summary;
}

}  // namespace demo
