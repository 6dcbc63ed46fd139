#include "platform/data/sqlite_support.h"

#include <sqlite3.h>

#include <algorithm>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <vector>

#include "platform/data/dialect.h"
#include "platform/data/errors.h"
#include "platform/data/private_copy.h"

namespace platform::detail {

void configureEngine() {
    static const bool configured = [] {
        // Both fail harmlessly when something used the engine first: it then keeps its defaults.
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}

namespace {
const bool engineConfigured = (configureEngine(), true);
}  // namespace

QByteArray readOnlyUri(const QString& path) {
    return "file:" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/") + "?mode=ro";
}

namespace {

int openAndRead(const QByteArray& name, int flags, sqlite3** db) {
    int rc = sqlite3_open_v2(name.constData(), db, flags | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_busy_timeout(*db, 5000);
    return sqlite3_exec(*db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

}  // namespace

int openDatabaseFile(const QString& path, bool readOnly, sqlite3** db) {
    configureEngine();
    *db = nullptr;
    if (!readOnly) return openAndRead(QFile::encodeName(path), SQLITE_OPEN_READWRITE, db);
    return openAndRead(readOnlyUri(path), SQLITE_OPEN_READONLY, db);
}

Connection::Connection(const QString& path, Mode mode) {
    configureEngine();
    const int rc = mode == Mode::ReadOnly
                       ? openForReading(path, &db_, &copy_)
                       : sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db_ ? lastError(db_) : QStringLiteral("out of memory");
        sqlite3_close(db_);
        throw DataError(QStringLiteral("cannot open %1: %2").arg(path, message));
    }
}

Connection::~Connection() { sqlite3_close(db_); }

void Connection::exec(const QString& sql) { detail::exec(db_, sql); }

Statement::Statement(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr) != SQLITE_OK) {
        const QString message = lastError(db);
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw DataError(message);
    }
    if (!stmt_) throw DataError(QStringLiteral("Empty SQL statement"));
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const QString message = lastError(db_);
    sqlite3_reset(stmt_);
    throw DataError(message);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::run(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i) bindValue(stmt_, i + 1, values[i]);
    while (step()) {
    }
    reset();
}

QString lastError(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

void exec(sqlite3* db, const QString& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString message = err ? QString::fromUtf8(err) : lastError(db);
        sqlite3_free(err);
        throw DataError(message);
    }
}

QString numberText(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

QVariant storedNumber(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.0e15) return QVariant(qlonglong(v));
    return QVariant(v);
}

QString quotedName(const QString& name) {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

double serialOf(const QDateTime& moment) {
    const QDate d = moment.date();
    return dateSerial(d.year(), d.month(), d.day()) + moment.time().msecsSinceStartOfDay() / 86400000.0;
}

QVariant readColumn(sqlite3_stmt* stmt, int col) {
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, col)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, col));
    case SQLITE_TEXT: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, col)));
    }
    case SQLITE_BLOB: {
        const char* blob = static_cast<const char*>(sqlite3_column_blob(stmt, col));
        return QVariant(QByteArray(blob, sqlite3_column_bytes(stmt, col)));
    }
    default:
        return QVariant();
    }
}

Storage storageOf(const QVariant& v) {
    if (v.isNull() || !v.isValid()) return Storage::Null;
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return Storage::Integer;
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return Storage::Real;
    case QMetaType::QByteArray:
        return Storage::Blob;
    case QMetaType::QDate:
        return Storage::Date;
    case QMetaType::QDateTime:
        return Storage::Moment;
    default:
        return Storage::Text;
    }
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& v) {
    switch (storageOf(v)) {
    case Storage::Null:
        sqlite3_bind_null(stmt, index);
        return;
    case Storage::Integer:
        sqlite3_bind_int64(stmt, index, v.toLongLong());
        return;
    case Storage::Real:
        sqlite3_bind_double(stmt, index, v.toDouble());
        return;
    case Storage::Blob: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    case Storage::Date:
        sqlite3_bind_double(stmt, index, serialOf(QDateTime(v.toDate(), QTime(0, 0))));
        return;
    case Storage::Moment:
        sqlite3_bind_double(stmt, index, serialOf(v.toDateTime()));
        return;
    case Storage::Text: {
        const QByteArray utf8 = v.toString().toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

namespace {

// One element of a compiled Like pattern.
struct PatternElement {
    enum Type { AnyRun, AnyChar, Digit, Literal, Set } type;
    char32_t ch = 0;                                  // Literal (case-folded)
    std::vector<std::pair<char32_t, char32_t>> ranges; // Set (case-folded)
    bool negated = false;
};

char32_t fold(char32_t c) { return QChar::toCaseFolded(c); }

std::vector<PatternElement> compilePattern(const std::u32string& p) {
    std::vector<PatternElement> out;
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        PatternElement e;
        if (c == U'*') {
            if (!out.empty() && out.back().type == PatternElement::AnyRun) continue;
            e.type = PatternElement::AnyRun;
        } else if (c == U'?') {
            e.type = PatternElement::AnyChar;
        } else if (c == U'#') {
            e.type = PatternElement::Digit;
        } else if (c == U'[' && p.find(U']', i + 1) != std::u32string::npos) {
            const size_t close = p.find(U']', i + 1);
            size_t j = i + 1;
            e.type = PatternElement::Set;
            if (j < close && p[j] == U'!') {
                e.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                if (j + 2 < close && p[j + 1] == U'-') {
                    e.ranges.push_back({fold(p[j]), fold(p[j + 2])});
                    j += 2;
                } else {
                    e.ranges.push_back({fold(p[j]), fold(p[j])});
                }
            }
            i = close;
        } else {
            e.type = PatternElement::Literal;
            e.ch = fold(c);
        }
        out.push_back(std::move(e));
    }
    return out;
}

bool elementMatches(const PatternElement& e, char32_t c) {
    switch (e.type) {
    case PatternElement::AnyChar:
        return true;
    case PatternElement::Digit:
        return c >= U'0' && c <= U'9';
    case PatternElement::Literal:
        return e.ch == c;
    case PatternElement::Set: {
        bool in = false;
        for (const auto& r : e.ranges) {
            if (c >= r.first && c <= r.second) {
                in = true;
                break;
            }
        }
        return in != e.negated;
    }
    case PatternElement::AnyRun:
        break;
    }
    return false;
}

bool patternMatches(const std::vector<PatternElement>& pat, const std::u32string& s) {
    size_t p = 0, i = 0, starP = SIZE_MAX, starI = 0;
    while (i < s.size()) {
        if (p < pat.size() && pat[p].type == PatternElement::AnyRun) {
            starP = p++;
            starI = i;
        } else if (p < pat.size() && elementMatches(pat[p], s[i])) {
            ++p;
            ++i;
        } else if (starP != SIZE_MAX) {
            p = starP + 1;
            i = ++starI;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p].type == PatternElement::AnyRun) ++p;
    return p == pat.size();
}

std::u32string foldedText(const QString& s) {
    std::u32string out;
    out.reserve(s.size());
    for (char32_t c : s.toUcs4()) out.push_back(fold(c));
    return out;
}

// The value as Like compares it: numbers by their text.
QString valueText(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_FLOAT) return numberText(sqlite3_value_double(v));
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// Valid UTF-8 decoded and case-folded into out, as foldedText(QString::fromUtf8(...)) makes it;
// false (out undefined) for bytes that are no valid UTF-8 or begin with a byte order mark.
bool foldedUtf8(const unsigned char* p, size_t n, std::u32string& out) {
    out.clear();
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return false;
    auto follows = [&](size_t i) { return i < n && (p[i] & 0xC0) == 0x80; };
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out.push_back(b >= 'A' && b <= 'Z' ? char32_t(b + 32) : char32_t(b));
            ++i;
            continue;
        }
        char32_t c;
        size_t len;
        if (b >= 0xC2 && b <= 0xDF) c = b & 0x1F, len = 2;
        else if (b >= 0xE0 && b <= 0xEF) c = b & 0x0F, len = 3;
        else if (b >= 0xF0 && b <= 0xF4) c = b & 0x07, len = 4;
        else return false;
        for (size_t k = 1; k < len; ++k) {
            if (!follows(i + k)) return false;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are no valid UTF-8.
        if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out.push_back(fold(c));
        i += len;
    }
    return true;
}

// The value as Like compares it, folded, into out (reused from row to row).
void foldedValue(sqlite3_value* v, std::u32string& out) {
    if (sqlite3_value_type(v) != SQLITE_FLOAT) {
        const unsigned char* text = sqlite3_value_text(v);
        if (foldedUtf8(text, size_t(sqlite3_value_bytes(v)), out)) return;
    }
    out = foldedText(valueText(v));
}

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    using Pattern = std::vector<PatternElement>;
    thread_local std::u32string subject;
    foldedValue(argv[1], subject);
    if (auto* cached = static_cast<Pattern*>(sqlite3_get_auxdata(ctx, 0))) {
        sqlite3_result_int(ctx, patternMatches(*cached, subject) ? 1 : 0);
        return;
    }
    auto* compiled = new Pattern(compilePattern(foldedText(valueText(argv[0]))));
    sqlite3_result_int(ctx, patternMatches(*compiled, subject) ? 1 : 0);
    // Kept for the next rows of the same statement; SQLite may free it at once.
    sqlite3_set_auxdata(ctx, 0, compiled, [](void* p) { delete static_cast<Pattern*>(p); });
}

void nowFunction(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, serialOf(QDateTime::currentDateTime()));
}

}  // namespace

void sizePageCache(sqlite3* db, long long fileBytes) {
    const long long kib = std::clamp(fileBytes / 8 / 1024, 2000LL, 32LL * 1024);
    exec(db, QStringLiteral("PRAGMA cache_size = -%1").arg(kib));
}

struct LikePattern::Impl {
    std::vector<PatternElement> elements;
};

LikePattern::LikePattern(const QString& pattern) : d(std::make_unique<Impl>()) {
    d->elements = compilePattern(foldedText(pattern));
}
LikePattern::~LikePattern() = default;

bool LikePattern::matches(const QString& value) const { return patternMatches(d->elements, foldedText(value)); }

void registerFunctions(sqlite3* db) {
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                            nullptr);
    // The current time of one run of a statement is one value: registered as deterministic, now()
    // is a constant of the statement that SQLite computes once per run, not once per row (each
    // reading of the clock may look at the system's time zone file again).
    sqlite3_create_function(db, "now", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nowFunction, nullptr, nullptr);
}

}  // namespace platform::detail
