// The .xls reader: the OLE2 container is opened with libgsf, the workbook stream is read into
// memory whole, and the few BIFF8 records that carry cells, strings and number formats are decoded
// here. Every record is checked against the stream it sits in, so a cut or damaged file is refused
// as a whole instead of giving part of its rows.
#include "platform/data/xls_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "platform/data/errors.h"
#include "platform/data/sqlite_support.h"

namespace platform::detail {

namespace {

// BIFF8 record ids.
enum : std::uint16_t {
    kBof = 0x0809,
    kEof = 0x000A,
    kFilePass = 0x002F,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kContinue = 0x003C,
    kFormat = 0x041E,
    kXf = 0x00E0,
    kDateMode = 0x0022,
    kNumber = 0x0203,
    kRk = 0x027E,
    kMulRk = 0x00BD,
    kLabelSst = 0x00FD,
    kLabel = 0x0204,
    kRString = 0x00D6,
    kBoolErr = 0x0205,
    kFormula = 0x0006,
    kString = 0x0207,
};
constexpr std::size_t kMaxRecord = 8224;   // the longest record body BIFF8 allows
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kGlobals = 0x0005;
constexpr std::uint16_t kWorksheet = 0x0010;

// What makes a workbook unreadable, in the user's words.
struct Damaged {
    QString what;
};
const QString kCut = QStringLiteral("ファイルが途中で切れているか、壊れています。");

std::uint16_t u16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t u32(const std::uint8_t* p) { return std::uint32_t(u16(p)) | (std::uint32_t(u16(p + 2)) << 16); }
double f64(const std::uint8_t* p) {
    double d;
    std::memcpy(&d, p, 8);
    return d;
}

struct Record {
    std::uint16_t id;
    const std::uint8_t* data;
    std::size_t size;
};

// The records of the workbook stream from a position on; a record that does not fit the stream or
// cannot be one is damage.
class Records {
public:
    Records(const std::vector<std::uint8_t>& bytes, std::size_t pos) : base_(bytes.data()), size_(bytes.size()), pos_(pos) {}
    Record next() {
        if (pos_ + 4 > size_) throw Damaged{kCut};
        const std::uint16_t id = u16(base_ + pos_);
        const std::size_t length = u16(base_ + pos_ + 2);
        if (id == 0 || length > kMaxRecord)
            throw Damaged{QStringLiteral("壊れたレコードがあります（位置 %1）。").arg(pos_)};
        if (pos_ + 4 + length > size_) throw Damaged{kCut};
        const Record r{id, base_ + pos_ + 4, length};
        pos_ += 4 + length;
        return r;
    }
    bool nextIs(std::uint16_t id) const { return pos_ + 4 <= size_ && u16(base_ + pos_) == id; }
    std::size_t position() const { return pos_; }

private:
    const std::uint8_t* base_;
    std::size_t size_;
    std::size_t pos_;
};

// One record's body followed by the bodies of the CONTINUE records after it, read as one run of
// bytes, except that the characters of a string split between two of them start again with an
// option byte in the second.
class Pieces {
public:
    Pieces(Records& records, const Record& first) {
        pieces_.push_back({first.data, first.size});
        while (records.nextIs(kContinue)) {
            const Record c = records.next();
            pieces_.push_back({c.data, c.size});
        }
    }
    std::uint8_t u8() {
        while (i_ < pieces_.size() && at_ == pieces_[i_].second) next();
        if (i_ >= pieces_.size()) throw Damaged{QStringLiteral("文字列が途中で切れています。")};
        return pieces_[i_].first[at_++];
    }
    std::uint16_t u16le() {
        const std::uint16_t lo = u8();
        return std::uint16_t(lo | (u8() << 8));
    }
    std::uint32_t u32le() {
        const std::uint32_t lo = u16le();
        return lo | (std::uint32_t(u16le()) << 16);
    }
    void skip(std::size_t n) {
        while (n > 0) {
            while (i_ < pieces_.size() && at_ == pieces_[i_].second) next();
            if (i_ >= pieces_.size()) throw Damaged{QStringLiteral("文字列が途中で切れています。")};
            const std::size_t k = std::min(n, pieces_[i_].second - at_);
            at_ += k;
            n -= k;
        }
    }
    // n characters, one byte each (Latin-1) or two (UTF-16) as the option byte says.
    QString chars(std::size_t n, bool wide) {
        QString out;
        out.reserve(qsizetype(n));
        while (n > 0) {
            if (i_ >= pieces_.size() || at_ == pieces_[i_].second) {
                next();
                if (i_ >= pieces_.size() || pieces_[i_].second == 0) throw Damaged{QStringLiteral("文字列が途中で切れています。")};
                const std::uint8_t option = pieces_[i_].first[at_++];
                if (option & 0xFE) throw Damaged{QStringLiteral("文字列のつなぎ目が壊れています。")};
                wide = option & 1;
            }
            const std::uint8_t* p = pieces_[i_].first + at_;
            const std::size_t left = pieces_[i_].second - at_;
            if (wide) {
                const std::size_t k = std::min(n, left / 2);
                if (k == 0) throw Damaged{QStringLiteral("文字列のつなぎ目が壊れています。")};
                const qsizetype old = out.size();
                out.resize(old + qsizetype(k));
                std::memcpy(out.data() + old, p, k * 2);   // UTF-16LE on a little-endian host
                at_ += k * 2;
                n -= k;
            } else {
                const std::size_t k = std::min(n, left);
                out += QLatin1String(reinterpret_cast<const char*>(p), qsizetype(k));
                at_ += k;
                n -= k;
            }
        }
        return out;
    }
    bool atEnd() {
        while (i_ < pieces_.size() && at_ == pieces_[i_].second) next();
        return i_ >= pieces_.size();
    }

private:
    void next() {
        ++i_;
        at_ = 0;
    }
    std::vector<std::pair<const std::uint8_t*, std::size_t>> pieces_;
    std::size_t i_ = 0;
    std::size_t at_ = 0;
};

// A BIFF8 string: its length in one or two bytes, an option byte, then the characters, rich-text
// runs and phonetic data (both skipped).
QString readString(Pieces& in, bool shortLength = false) {
    const std::size_t length = shortLength ? in.u8() : in.u16le();
    const std::uint8_t option = in.u8();
    if (option & 0xF2) throw Damaged{QStringLiteral("文字列の形式が壊れています。")};
    const std::size_t runs = (option & 0x08) ? in.u16le() : 0;
    const std::size_t phonetic = (option & 0x04) ? in.u32le() : 0;
    QString s = in.chars(length, option & 0x01);
    in.skip(runs * 4 + phonetic);
    return s;
}

QString readString(Records& records, const Record& r, std::size_t offset, bool shortLength = false) {
    if (offset > r.size) throw Damaged{QStringLiteral("文字列が途中で切れています。")};
    Pieces in(records, Record{r.id, r.data + offset, r.size - offset});
    return readString(in, shortLength);
}

// What a number format shows a number as.
enum class Shown { Number, Date, Time };

// The built-in formats (ids without a FORMAT record of their own), as a Japanese Excel has them.
Shown builtInFormat(int id) {
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58))
        return Shown::Date;
    if ((id >= 18 && id <= 21) || id == 32 || id == 33 || (id >= 45 && id <= 47)) return Shown::Time;
    return Shown::Number;
}

// A format text's first section: quoted texts, escaped characters, fills and brackets (colours,
// locales, conditions) say nothing; y, d, e, g and a lone m make a date, h and s a time.
Shown customFormat(const QString& format) {
    bool date = false, time = false, month = false;
    const QString f = format.toLower();
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == u';') break;
        if (c == u'"') {
            i = f.indexOf(u'"', i + 1);
            if (i < 0) break;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = f.indexOf(u']', i);
            if (end < 0) break;
            const QString inside = f.mid(i + 1, end - i - 1);
            if (!inside.isEmpty() && inside.count(inside[0]) == inside.size() &&
                (inside[0] == u'h' || inside[0] == u'm' || inside[0] == u's'))
                time = true;   // elapsed hours, minutes or seconds
            i = end;
        } else if (f.mid(i, 7) == QLatin1String("general")) {
            i += 6;
        } else if (c == u'e' && i + 1 < f.size() && (f[i + 1] == u'+' || f[i + 1] == u'-')) {
            ++i;   // the exponent of a scientific format
        } else if (c == u'y' || c == u'd' || c == u'e' || c == u'g') {
            date = true;
        } else if (c == u'h' || c == u's') {
            time = true;
        } else if (c == u'm') {
            month = true;
        }
    }
    if (date || (month && !time)) return Shown::Date;
    return time ? Shown::Time : Shown::Number;
}

const char* errorText(std::uint8_t code) {
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    default: return "#N/A";
    }
}

QVariant booleanOrError(std::uint8_t value, bool error) {
    if (error) return QString::fromLatin1(errorText(value));
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

double rkNumber(std::uint32_t rk) {
    double d;
    if (rk & 2) {
        d = double(std::int32_t(rk) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&d, &bits, 8);
    }
    return (rk & 1) ? d / 100 : d;
}

struct SheetEntry {
    QString name;
    std::size_t offset;
    bool worksheet;
    std::size_t bytes = 0;   // the length of its substream, known once it has been walked
};

struct Cell {
    std::uint32_t row;
    std::uint16_t col;
    QVariant value;
};

// Closes a GObject of libgsf on every path.
template <class T>
struct Owned {
    T* p = nullptr;
    ~Owned() {
        if (p) g_object_unref(p);
    }
};

}  // namespace

struct XlsFile::Impl {
    QString path;
    std::vector<std::uint8_t> stream;   // the workbook stream, whole
    std::vector<SheetEntry> sheets;
    std::vector<QString> strings;       // the shared strings
    std::vector<Shown> xfShown;         // per cell format (XF): what its number format shows
    bool date1904 = false;

    [[noreturn]] void refuse(const QString& what) const {
        throw DataError(QStringLiteral("ブック %1 を読めません。%2").arg(path, what));
    }

    void readStream();
    void readGlobals();
    void readSst(Records& records, const Record& first);
    // Walks the substream at offset to its end, collecting its cells when cells is given.
    // Only the columns keep holds are collected (all when keep is null). Gives the length of the
    // substream walked.
    std::size_t walkSheet(std::size_t offset, std::vector<Cell>* cells, const ColumnSet* keep = nullptr) const;
    QVariant number(double v, std::uint16_t xf) const;
};

void XlsFile::Impl::readStream() {
    static const bool initialised = [] {
        gsf_init();
        // A damaged container makes the library complain on the terminal; the reader tells the user.
        for (const char* domain : {"libgsf", "libgsf:msole"})
            g_log_set_handler(domain, GLogLevelFlags(G_LOG_LEVEL_MASK), [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        return true;
    }();
    (void)initialised;
    QFile file(path);
    if (!QFileInfo(path).isFile()) throw DataError(QStringLiteral("ブック %1 が見つかりません。").arg(path));
    if (!file.open(QIODevice::ReadOnly)) refuse(QStringLiteral("ファイルを開けません（読み取りの権限がありません）。"));
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith("PK\x03\x04"))
        refuse(QStringLiteral("Excel 2007 以降の形式（.xlsx）のファイルです。Excel 97-2003 形式（.xls）で保存したブックを選んでください。"));
    if (head != QByteArray::fromHex("D0CF11E0A1B11AE1"))
        refuse(QStringLiteral("Excel 97-2003 形式（.xls）のブックではありません。"));

    GError* error = nullptr;
    Owned<GsfInput> input{gsf_input_stdio_new(QFile::encodeName(path).constData(), &error)};
    if (error) g_error_free(error), error = nullptr;
    if (!input.p) refuse(QStringLiteral("ファイルを開けません。"));
    Owned<GsfInfile> ole{gsf_infile_msole_new(input.p, &error)};
    if (error) g_error_free(error), error = nullptr;
    if (!ole.p) refuse(kCut);
    int found = -1;
    bool older = false;
    for (int i = 0; i < gsf_infile_num_children(ole.p); ++i) {
        const char* name = gsf_infile_name_by_index(ole.p, i);
        if (!name) continue;
        if (qstricmp(name, "Workbook") == 0) found = i;
        if (qstricmp(name, "Book") == 0) older = true;
    }
    if (found < 0) {
        if (older) refuse(QStringLiteral("Excel 5.0/95 以前の形式のブックです。Excel 97-2003 形式で保存し直してください。"));
        refuse(QStringLiteral("ブックの中身（Workbook）がありません。"));
    }
    Owned<GsfInput> book{gsf_infile_child_by_index(ole.p, found)};
    if (!book.p) refuse(kCut);
    const gsf_off_t size = gsf_input_size(book.p);
    if (size <= 0 || size > gsf_off_t(1) << 31) refuse(kCut);
    stream.resize(std::size_t(size));
    if (!gsf_input_read(book.p, stream.size(), stream.data())) refuse(kCut);
}

void XlsFile::Impl::readSst(Records& records, const Record& first) {
    Pieces in(records, first);
    in.u32le();   // references in the workbook
    const std::uint32_t unique = in.u32le();
    strings.reserve(std::min<std::size_t>(unique, stream.size() / 3));
    for (std::uint32_t i = 0; i < unique; ++i) strings.push_back(readString(in));
    if (!in.atEnd()) throw Damaged{QStringLiteral("共有文字列の表が壊れています。")};
}

void XlsFile::Impl::readGlobals() {
    Records records(stream, 0);
    const Record bof = records.next();
    if (bof.id != kBof || bof.size < 4) {
        if ((bof.id & 0xFF) == 0x09) refuse(QStringLiteral("Excel 5.0/95 以前の形式のブックです。Excel 97-2003 形式で保存し直してください。"));
        throw Damaged{kCut};
    }
    if (u16(bof.data) != kBiff8)
        refuse(QStringLiteral("Excel 5.0/95 以前の形式のブックです。Excel 97-2003 形式で保存し直してください。"));
    if (u16(bof.data + 2) != kGlobals) throw Damaged{kCut};
    std::map<int, QString> formats;
    std::vector<std::uint16_t> xfFormats;
    for (;;) {
        const Record r = records.next();
        if (r.id == kEof) break;
        switch (r.id) {
        case kFilePass: refuse(QStringLiteral("パスワードで保護されたブックです。保護を解いて保存し直してください。"));
        case kDateMode:
            if (r.size < 2) throw Damaged{kCut};
            date1904 = u16(r.data) == 1;
            break;
        case kFormat:
            if (r.size < 5) throw Damaged{kCut};
            formats[u16(r.data)] = readString(records, r, 2);
            break;
        case kXf:
            if (r.size < 20) throw Damaged{kCut};
            xfFormats.push_back(u16(r.data + 2));
            break;
        case kBoundSheet: {
            if (r.size < 8) throw Damaged{kCut};
            const QString name = readString(records, r, 6, true);
            sheets.push_back({name, u32(r.data), r.data[5] == 0});
            break;
        }
        case kSst: readSst(records, r); break;
        default: break;
        }
    }
    xfShown.reserve(xfFormats.size());
    for (std::uint16_t id : xfFormats) {
        const auto f = formats.find(id);
        xfShown.push_back(f != formats.end() ? customFormat(f->second) : builtInFormat(id));
    }
}

QVariant XlsFile::Impl::number(double v, std::uint16_t xf) const {
    const Shown shown = xf < xfShown.size() ? xfShown[xf] : Shown::Number;
    if (shown == Shown::Number || !std::isfinite(v) || v < 0) return storedNumber(v);
    const double serial = date1904 ? v + 1462 : v;
    const double day = std::floor(serial);
    int seconds = int(std::lround((serial - day) * 86400));
    if (shown == Shown::Time) return QTime(0, 0).addSecs(seconds % 86400).toString(QStringLiteral("HH:mm:ss"));
    if (serial < 1 || serial >= 2958466) return storedNumber(v);   // no date the spreadsheet shows
    // Day 60 is the 29th of February 1900 the spreadsheet counts; the days before it are one off.
    QDate date = (day < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30)).addDays(qint64(day));
    if (seconds >= 86400) {
        date = date.addDays(1);
        seconds = 0;
    }
    if (seconds == 0) return date;
    return QDateTime(date, QTime(0, 0).addSecs(seconds), Qt::UTC);
}

std::size_t XlsFile::Impl::walkSheet(std::size_t offset, std::vector<Cell>* cells, const ColumnSet* keep) const {
    if (offset >= stream.size()) throw Damaged{kCut};
    Records records(stream, offset);
    const Record bof = records.next();
    if (bof.id != kBof || bof.size < 4) throw Damaged{QStringLiteral("シートの始まりが見つかりません。")};
    const bool decode = cells && u16(bof.data + 2) == kWorksheet;
    int depth = 1;
    long long pendingString = -1;   // the formula cell whose text the next STRING record gives
    // The value is made only for a column that is kept.
    auto add = [&](const Record& r, std::size_t need, std::uint16_t col, auto&& value) {
        if (r.size < need) throw Damaged{QStringLiteral("セルのレコードが壊れています。")};
        if (col > 255) throw Damaged{QStringLiteral("セルの位置が壊れています。")};
        pendingString = -1;
        if (keep && !keep->test(col)) return false;
        cells->push_back({u16(r.data), col, value()});
        return true;
    };
    auto at = [](const Record& r, std::size_t need) {
        if (r.size < need) throw Damaged{QStringLiteral("セルのレコードが壊れています。")};
        return r.data;
    };
    while (depth > 0) {
        const Record r = records.next();
        if (r.id == kBof) {
            ++depth;   // an embedded chart, read past
            continue;
        }
        if (r.id == kEof) {
            --depth;
            continue;
        }
        if (depth > 1 || !decode) continue;
        switch (r.id) {
        case kNumber: {
            const std::uint8_t* p = at(r, 14);
            add(r, 14, u16(p + 2), [&] { return number(f64(p + 6), u16(p + 4)); });
            break;
        }
        case kRk: {
            const std::uint8_t* p = at(r, 10);
            add(r, 10, u16(p + 2), [&] { return number(rkNumber(u32(p + 6)), u16(p + 4)); });
            break;
        }
        case kMulRk: {
            const std::uint8_t* p = at(r, 12);
            const std::size_t n = (r.size - 6) / 6;
            const std::uint16_t first = u16(p + 2);
            if ((r.size - 6) % 6 != 0 || u16(p + r.size - 2) != first + n - 1)
                throw Damaged{QStringLiteral("セルのレコードが壊れています。")};
            for (std::size_t k = 0; k < n; ++k) {
                const std::uint8_t* e = p + 4 + 6 * k;
                add(r, 12, std::uint16_t(first + k), [&] { return number(rkNumber(u32(e + 2)), u16(e)); });
            }
            break;
        }
        case kLabelSst: {
            const std::uint8_t* p = at(r, 10);
            const std::uint32_t index = u32(p + 6);
            if (index >= strings.size())
                throw Damaged{QStringLiteral("共有文字列の番号 %1 が表（%2 件）の範囲外です。").arg(index).arg(strings.size())};
            const QString& s = strings[index];
            add(r, 10, u16(p + 2), [&] { return s.isEmpty() ? QVariant() : QVariant(s); });
            break;
        }
        case kLabel:
        case kRString: {
            const std::uint8_t* p = at(r, 9);
            const QString s = readString(records, r, 6);
            add(r, 9, u16(p + 2), [&] { return s.isEmpty() ? QVariant() : QVariant(s); });
            break;
        }
        case kBoolErr: {
            const std::uint8_t* p = at(r, 8);
            add(r, 8, u16(p + 2), [&] { return booleanOrError(p[6], p[7] != 0); });
            break;
        }
        case kFormula: {
            const std::uint8_t* p = at(r, 20);
            const std::uint8_t* result = p + 6;
            const std::uint16_t col = u16(p + 2);
            if (result[6] != 0xFF || result[7] != 0xFF) {
                add(r, 20, col, [&] { return number(f64(result), u16(p + 4)); });
            } else if (result[0] == 1 || result[0] == 2) {
                add(r, 20, col, [&] { return booleanOrError(result[2], result[0] == 2); });
            } else {
                if (add(r, 20, col, [] { return QVariant(); }) && result[0] == 0) pendingString = (long long)cells->size() - 1;
            }
            break;
        }
        case kString: {
            const QString s = readString(records, r, 0);
            if (pendingString >= 0 && !s.isEmpty()) (*cells)[std::size_t(pendingString)].value = s;
            pendingString = -1;
            break;
        }
        default: break;
        }
    }
    return records.position() - offset;
}

XlsFile::XlsFile(const QString& path) : d(new Impl) {
    d->path = path;
    try {
        d->readStream();
        d->readGlobals();
        std::vector<SheetEntry> listed;
        for (SheetEntry& s : d->sheets) {
            s.bytes = d->walkSheet(s.offset, nullptr);   // every sheet must be whole, not only the one asked for
            if (s.worksheet) listed.push_back(s);
        }
        d->sheets = std::move(listed);
    } catch (const Damaged& e) {
        const QString what = e.what;
        delete d;
        d = nullptr;
        throw DataError(QStringLiteral("ブック %1 を読めません。%2").arg(path, what));
    } catch (...) {
        delete d;
        d = nullptr;
        throw;
    }
}

XlsFile::~XlsFile() { delete d; }

QStringList XlsFile::sheetNames() const {
    QStringList names;
    for (const SheetEntry& s : d->sheets) names << s.name;
    return names;
}

int XlsFile::sheetIndex(const QString& name) const {
    for (std::size_t i = 0; i < d->sheets.size(); ++i)
        if (d->sheets[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

SheetRows XlsFile::sheetRows(int i, const ColumnSet* keep) const {
    std::vector<Cell> cells;
    const SheetEntry& sheet = d->sheets.at(std::size_t(i));
    // A cell takes ten bytes of records at the least (six in a run of numbers): room for them all
    // at once spares the copies and fresh pages of a growing list.
    cells.reserve(sheet.bytes / 10);
    try {
        d->walkSheet(sheet.offset, &cells, keep);
    } catch (const Damaged& e) {
        d->refuse(QStringLiteral("シート「%1」: %2").arg(d->sheets[std::size_t(i)].name, e.what));
    }
    // Cells come in row order; a writer that mixed them up is put right, the last record of a cell counting.
    const auto before = [](const Cell& a, const Cell& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; };
    if (!std::is_sorted(cells.begin(), cells.end(), before)) std::stable_sort(cells.begin(), cells.end(), before);
    std::uint32_t rows = 0;
    for (const Cell& c : cells)
        if (!c.value.isNull()) rows = std::max(rows, c.row + 1);
    SheetRows out(rows);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        Cell& c = cells[k];
        if (c.value.isNull() || c.row >= rows) continue;
        if (k + 1 < cells.size() && cells[k + 1].row == c.row && cells[k + 1].col == c.col) continue;
        std::vector<QVariant>& row = out[c.row];
        if (row.size() <= c.col) row.resize(std::size_t(c.col) + 1);
        row[c.col] = std::move(c.value);
    }
    return out;
}

QString XlsFile::cellText(const QVariant& cell) {
    switch (cell.typeId()) {
    case QMetaType::QDate: return cell.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case QMetaType::QDateTime: return cell.toDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case QMetaType::Double: return numberText(cell.toDouble());
    default: return cell.toString();
    }
}

}  // namespace platform::detail
