// The .xls reader: the OLE2 container is opened with libgsf, the workbook stream is read into
// memory whole, and the few BIFF8 records that carry cells, strings and number formats are decoded
// here. Every record is checked against the stream it sits in, the sheets against each other and
// the records of known size against that size, so a cut or damaged file is refused as a whole
// instead of giving part of its rows.
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
#include <bitset>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>

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
    kBlank = 0x0201,
    kMulBlank = 0x00BE,
    kRow = 0x0208,
    kDimensions = 0x0200,
    kFont = 0x0031,
    kIndex = 0x020B,
    kDbCell = 0x00D7,
    kShrFmla = 0x04BC,
    kArray = 0x0221,
    kTable = 0x0236,
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

// Every kind of record of the format has a number whose high byte is one of these (cells 0x02,
// charts 0x10, later additions 0x08): any other number is bytes read out of step with the records.
bool plausible(std::uint16_t id) {
    switch (id >> 8) {
    case 0x00: return id != 0;
    case 0x01:
    case 0x02:
    case 0x04:
    case 0x08:
    case 0x10: return true;
    default: return false;
    }
}

// Where BIFF8 uses each record number: in the workbook's own part (before the sheets), in a
// worksheet, or in both; some worksheet records belong to a pivot table or to the drawing layer and
// stand only after the record that opens it. A number the format does not use in the part it is
// read in is a damaged record number or bytes read out of step with the records.
// kWatched: a worksheet record that the walk checks against the records around it.
enum : std::uint8_t { kInGlobals = 1, kInSheet = 2, kAfterPivot = 4, kAfterDrawing = 8, kWatched = 16 };
constexpr std::size_t kRecordNumbers = 0x1100;

std::array<std::uint8_t, kRecordNumbers> recordPlaces() {
    std::array<std::uint8_t, kRecordNumbers> places{};
    // the workbook's own records: file and protection settings, window, formats, sheet list,
    // names and links, shared strings, drawing group, pivot caches, older toolbars and menus
    for (std::uint16_t id : {0x0086, 0x002F, 0x0060, 0x00E1, 0x00C1, 0x00E2, 0x005C, 0x005B, 0x0042, 0x01B9, 0x0161,
                             0x01C0, 0x013D, 0x00D3, 0x01BD, 0x009C, 0x009A, 0x0018, 0x00DE, 0x01AF, 0x01BC, 0x003D,
                             0x0040, 0x008D, 0x0022, 0x000E, 0x01B7, 0x00DA, 0x0031, 0x041E, 0x00E0, 0x0293, 0x0092,
                             0x00D5, 0x00E3, 0x00B8, 0x00B9, 0x01A9, 0x0160, 0x0085, 0x008C, 0x01AE, 0x0023, 0x0017,
                             0x0059, 0x005A, 0x01C1, 0x00EB, 0x00FC, 0x00FF, 0x0016, 0x0087, 0x00BF, 0x00C0, 0x00C2,
                             0x00C3, 0x105C})
        places[id] |= kInGlobals;
    // a worksheet's records: settings, page setup, columns, rows and cells, drawings, window,
    // merged cells, queries, scenarios, filters, conditional formats and validation
    for (std::uint16_t id : {0x005E, 0x020B, 0x000D, 0x000C, 0x000F, 0x0011, 0x0010, 0x005F, 0x002A, 0x002B, 0x0082,
                             0x0080, 0x0225, 0x0081, 0x0097, 0x001B, 0x001A, 0x0014, 0x0015, 0x0083, 0x0084, 0x0026,
                             0x0027, 0x0028, 0x0029, 0x004D, 0x00A1, 0x00E9, 0x0418, 0x043C, 0x0055, 0x007D, 0x0200,
                             0x0208, 0x0201, 0x00BE, 0x027E, 0x00BD, 0x0205, 0x0203, 0x00FD, 0x0204, 0x00D6, 0x0006,
                             0x0221, 0x04BC, 0x0236, 0x0207, 0x01C2, 0x00D7, 0x00EC, 0x007F, 0x001C, 0x01B8, 0x00EF,
                             0x023E, 0x00A0, 0x0041, 0x001D, 0x01AA, 0x01AB, 0x0099, 0x00E5, 0x015F, 0x01AD, 0x00B0,
                             0x0050, 0x00AE, 0x00AF, 0x0090, 0x009D, 0x009E, 0x009B, 0x01B0, 0x01B1, 0x01B2, 0x01BE,
                             0x000E})
        places[id] |= kInSheet;
    // pivot table records, after the pivot view's first record (0x00B0)
    for (std::uint16_t id : {0x00B1, 0x00B2, 0x00B4, 0x00B5, 0x00B6, 0x00C5, 0x00CD, 0x00F0, 0x00F1, 0x00F2, 0x00F4,
                             0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FB, 0x0100, 0x0103})
        places[id] |= kInSheet | kAfterPivot;
    // objects of the drawing layer, after its first drawing record (0x00EC)
    for (std::uint16_t id : {0x005D, 0x01B6, 0x00ED}) places[id] |= kInSheet | kAfterDrawing;
    // in both: the substream's bounds, continuations, protection (some writers put the sheet's
    // protection in the workbook's part and the other way round), code names, data
    // consolidation and queries, print records, and the later additions (0x0800 to 0x08A3)
    for (std::uint16_t id : {0x0809, 0x000A, 0x003C, 0x0012, 0x0013, 0x0019, 0x0063, 0x00DD, 0x01BA, 0x0051, 0x0052,
                             0x01B5, 0x00DC, 0x0098})
        places[id] |= kInGlobals | kInSheet;
    for (std::uint16_t id = 0x0800; id <= 0x08A3; ++id) places[id] |= kInGlobals | kInSheet;
    // pivot view, drawing, formula, its text, index and block ends
    for (std::uint16_t id : {0x00B0, 0x00EC, 0x0006, 0x0207, 0x020B, 0x00D7}) places[id] |= kWatched;
    return places;
}

QString recordNumber(std::uint16_t id) { return QStringLiteral("%1").arg(id, 4, 16, QChar(u'0')).toUpper(); }

// A cell's name as the spreadsheet shows it ("C3").
QString cellName(std::uint32_t row, std::uint16_t col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

// A sheet's cells not in row and column order: they are walked again, each one marked.
struct OutOfOrder {};

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
        if (!plausible(id) || length > kMaxRecord)
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
    void skip(std::size_t n) { take(n, nullptr); }
    // The next n bytes as one run, whatever records they lie in.
    QByteArray bytes(std::size_t n) {
        QByteArray out(qsizetype(n), Qt::Uninitialized);
        take(n, reinterpret_cast<std::uint8_t*>(out.data()));
        return out;
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
    std::size_t size() const {
        std::size_t n = 0;
        for (const auto& p : pieces_) n += p.second;
        return n;
    }
    // How many records the bytes lie in, and the bytes of the first.
    std::size_t records() const { return pieces_.size(); }
    std::size_t firstSize() const { return pieces_.front().second; }
    // The bytes not read yet.
    QByteArray rest() {
        std::size_t n = pieces_.size() > i_ ? pieces_[i_].second - at_ : 0;
        for (std::size_t k = i_ + 1; k < pieces_.size(); ++k) n += pieces_[k].second;
        return bytes(n);
    }
    // Back to the first byte, to read the same bytes again another way.
    void rewind() {
        i_ = 0;
        at_ = 0;
    }

private:
    void next() {
        ++i_;
        at_ = 0;
    }
    void take(std::size_t n, std::uint8_t* to) {
        while (n > 0) {
            while (i_ < pieces_.size() && at_ == pieces_[i_].second) next();
            if (i_ >= pieces_.size()) throw Damaged{QStringLiteral("文字列が途中で切れています。")};
            const std::size_t k = std::min(n, pieces_[i_].second - at_);
            if (to) to = std::copy_n(pieces_[i_].first + at_, k, to);
            at_ += k;
            n -= k;
        }
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

// The string that fills a record from offset on (with the CONTINUE records after it).
QString readString(Records& records, const Record& r, std::size_t offset, bool shortLength = false) {
    if (offset > r.size) throw Damaged{QStringLiteral("文字列が途中で切れています。")};
    Pieces in(records, Record{r.id, r.data + offset, r.size - offset});
    QString s = readString(in, shortLength);
    if (!in.atEnd()) throw Damaged{QStringLiteral("文字列の後に読めないバイトがあります。")};
    return s;
}

// What follows a text's characters in its record: nothing (a formula's text, a label), or a rich
// label's formatting runs (their count, then four bytes each).
enum class Tail { None, Runs };

// The one length check of every reading: the bytes after the characters are exactly what follows them.
bool restIs(QByteArrayView rest, Tail tail) {
    if (rest.isEmpty()) return true;   // a rich label whose runs were counted before its characters
    return tail == Tail::Runs && rest.size() >= 2 && rest.size() == 2 + 4 * qsizetype(u16(reinterpret_cast<const std::uint8_t*>(rest.data())));
}

// n characters from p, two bytes each (UTF-16) or one (Latin-1).
QString characters(const char* p, qsizetype n, bool wide) {
    if (wide) return QString(reinterpret_cast<const QChar*>(p), n);   // UTF-16LE on a little-endian host
    return QString::fromLatin1(p, n);
}

// The start of a text: its length, the width of its characters, where they begin in the bytes
// and how many bytes of runs and phonetic data follow them.
struct Header {
    qsizetype length;
    bool wide;
    qsizetype start;
    qsizetype after;
};
std::optional<Header> header(const QByteArray& all) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(all.constData());
    if (all.size() < 3 || (b[2] & 0xF2)) return std::nullopt;
    Header h{u16(b), (b[2] & 1) != 0, 3, 0};
    if (b[2] & 0x08) {
        if (all.size() < h.start + 2) return std::nullopt;
        h.after += 4 * qsizetype(u16(b + h.start));
        h.start += 2;
    }
    if (b[2] & 0x04) {
        if (all.size() < h.start + 4) return std::nullopt;
        h.after += qsizetype(u32(b + h.start));
        h.start += 4;
    }
    return h;
}

// The format's own layout: where the characters go on in a CONTINUE record, an option byte there
// says their width again. why: what is wrong when they do not read this way.
std::optional<QString> withOptionBytes(Pieces& in, Tail tail, QString& why) {
    in.rewind();
    try {
        QString s = readString(in);
        if (restIs(in.rest(), tail)) return s;
        why.clear();
    } catch (const Damaged& e) {
        why = e.what;
    }
    return std::nullopt;
}

// Gnumeric's way with a formula's text it saves again as it was: the option byte stands at every
// 8,223rd byte of the bodies taken together (the last byte of the first record, then ever earlier
// in the CONTINUE records), each one the same as the first, and as many bytes are lost at the end:
// the text is read up to its last whole character.
std::optional<QString> optionByteEarly(const QByteArray& all, const Header& h, Tail tail) {
    if (tail != Tail::None || h.start != 3) return std::nullopt;   // a plain text, no runs
    constexpr qsizetype kEvery = 8223;
    QByteArray bytes;
    qsizetype lost = 0;
    qsizetype from = h.start;
    for (qsizetype at = kEvery; at < all.size(); at += kEvery, ++lost) {
        if (all[at] != all[2]) return std::nullopt;
        bytes += QByteArrayView(all).sliced(from, at - from);
        from = at + 1;
    }
    if (lost == 0) return std::nullopt;   // one record: the format's own layout
    bytes += QByteArrayView(all).sliced(from);
    const qsizetype width = h.wide ? 2 : 1;
    if (bytes.size() > h.length * width || bytes.size() < h.length * width - lost) return std::nullopt;
    return characters(bytes.constData(), bytes.size() / width, h.wide);
}

// Gnumeric's way with a text it computes or a rich label it saves (and Spreadsheet::WriteExcel's
// inside its FORMULA record): the characters go on in the CONTINUE records with no option byte,
// a character of two bytes perhaps split between two records.
std::optional<QString> withoutOptionBytes(const QByteArray& all, const Header& h, Tail tail) {
    const qsizetype end = h.start + h.length * (h.wide ? 2 : 1);
    if (end + h.after > all.size() || !restIs(QByteArrayView(all).sliced(end + h.after), tail)) return std::nullopt;
    return characters(all.constData() + h.start, h.length, h.wide);
}

// How many of a reading's characters after the first seam of its records never stand before it
// (a control character always counting): the text goes on alike across the seam, while characters
// read out of step with their bytes are mostly ones the text had nowhere before. before: how many
// characters the first record holds, the same in every layout.
qsizetype strangers(const QString& s, qsizetype before) {
    std::bitset<0x10000> seen;
    before = std::min(before, s.size());
    for (qsizetype k = 0; k < before; ++k) seen.set(s[k].unicode());
    qsizetype count = 0;
    for (qsizetype k = before; k < s.size(); ++k) {
        const char16_t c = s[k].unicode();
        if (!seen.test(c) || (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')) ++count;
    }
    return count;
}

// A text (its length, option byte, characters and what follows them) that fills in (a record and
// its CONTINUE records), read in the first of the layouts above that its bytes fit. A text in one record
// has one reading; where it goes on in CONTINUE records more than one layout may fit (an option
// byte 0 or 1 looks like data, data like an option byte), and the reading that goes on the most
// alike across the seam is taken, the layouts' order deciding a tie. Nothing: no layout fits
// (why: what the format's own reading found wrong, or empty when its length does not fit).
std::optional<QString> readText(Pieces& in, Tail tail, QString& why) {
    std::optional<QString> own = withOptionBytes(in, tail, why);
    if (in.records() == 1) return own;
    in.rewind();
    const QByteArray all = in.bytes(in.size());
    const std::optional<Header> h = header(all);
    if (!h) return own;   // the other layouts read the same start
    std::optional<QString> readings[] = {std::move(own), optionByteEarly(all, *h, tail), withoutOptionBytes(all, *h, tail)};
    const qsizetype before = (qsizetype(in.firstSize()) - h->start) / (h->wide ? 2 : 1);
    std::optional<QString>* best = nullptr;
    qsizetype fewest = -1;
    for (auto& r : readings) {
        if (!r) continue;
        if (!best) {
            best = &r;
            continue;
        }
        if (fewest < 0) fewest = strangers(**best, before);
        if (const qsizetype n = strangers(*r, before); n < fewest) best = &r, fewest = n;
    }
    return best ? std::move(*best) : std::nullopt;
}

// What a number format shows a number as. Elapsed: a duration in hours past 24 ([h]:mm).
enum class Shown { Number, Date, Time, Elapsed };

// The built-in formats (ids without a FORMAT record of their own), as a Japanese Excel has them.
Shown builtInFormat(int id) {
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58))
        return Shown::Date;
    if (id == 46) return Shown::Elapsed;   // [h]:mm:ss
    if ((id >= 18 && id <= 21) || id == 32 || id == 33 || id == 45 || id == 47) return Shown::Time;
    return Shown::Number;
}

// What a run of one letter is as a code of a format: years, days, era names (g, gg, ggg), era
// years (e, ee) and weekdays (aaa, aaaa) make a date; m a month, or minutes beside hours and
// seconds; h and s a time. Any other run is no code.
enum class Code { None, Date, Month, Time };
Code codeOf(char16_t letter, qsizetype run) {
    switch (letter) {
    case u'y':
    case u'd': return Code::Date;
    case u'g': return run <= 3 ? Code::Date : Code::None;
    case u'e': return run <= 2 ? Code::Date : Code::None;
    case u'a': return run == 3 || run == 4 ? Code::Date : Code::None;
    case u'm': return Code::Month;
    case u'h':
    case u's': return Code::Time;
    default: return Code::None;
    }
}

bool asciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
char16_t lowered(QChar c) { return c >= u'A' && c <= u'Z' ? char16_t(c.unicode() + 32) : c.unicode(); }

// What a custom format shows a number as, decided on its first section as the spreadsheet does:
// quoted texts, escaped characters (\x, and the x of _x and *x), bracketed sections (colours,
// conditions, locales, DBNum) and the general format's word (General, G/標準) say nothing, nor
// does the exponent of a scientific format (E+, E-). Of the words of letters left, only one made
// of codes alone counts (so "EUR" or "yen" is text); [h], [m] and [s] make an elapsed time.
Shown customFormat(const QString& format) {
    static const QString kWords[] = {QStringLiteral("general"), QStringLiteral("g/標準"), QStringLiteral("g/通用格式"),
                                     QStringLiteral("g/표준")};
    bool date = false, month = false, time = false, elapsed = false;
    const qsizetype n = format.size();
    auto startsAt = [&](qsizetype i, QStringView word) {
        return QStringView(format).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        if (c == u';') break;
        if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            if (end < 0) break;
            i = end + 1;
            continue;
        }
        if (c == u'\\' || c == u'_' || c == u'*') {
            i += 2;
            continue;
        }
        if (c == u'[') {
            const qsizetype end = format.indexOf(u']', i);
            if (end < 0) break;
            const QStringView inside = QStringView(format).mid(i + 1, end - i - 1);
            if (!inside.isEmpty() && inside.count(inside[0]) == inside.size() && QStringView(u"hHmMsS").contains(inside[0]))
                elapsed = true;
            i = end + 1;
            continue;
        }
        if (const auto w = std::find_if(std::begin(kWords), std::end(kWords), [&](const QString& word) { return startsAt(i, word); });
            w != std::end(kWords)) {
            i += w->size();
            continue;
        }
        if ((c == u'e' || c == u'E') && i + 1 < n && (format[i + 1] == u'+' || format[i + 1] == u'-')) {
            i += 2;
            continue;
        }
        if (startsAt(i, u"am/pm") || startsAt(i, u"a/p")) {
            time = true;
            i += startsAt(i, u"am/pm") ? 5 : 3;
            continue;
        }
        if (!asciiLetter(c)) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && asciiLetter(format[end])) ++end;
        bool codes = true, wordDate = false, wordMonth = false, wordTime = false;
        for (qsizetype k = i; k < end && codes;) {
            const char16_t letter = lowered(format[k]);
            qsizetype run = k;
            while (run < end && lowered(format[run]) == letter) ++run;
            switch (codeOf(letter, run - k)) {
            case Code::None: codes = false; break;
            case Code::Date: wordDate = true; break;
            case Code::Month: wordMonth = true; break;
            case Code::Time: wordTime = true; break;
            }
            k = run;
        }
        if (codes) {
            date |= wordDate;
            month |= wordMonth;
            time |= wordTime;
        }
        i = end;
    }
    if (date || (month && !time && !elapsed)) return Shown::Date;
    if (elapsed) return Shown::Elapsed;
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
    std::uint8_t type;       // 0 worksheet (or dialog), 1 macro sheet, 2 chart, 6 module
    std::size_t bytes = 0;   // the length of its substream, known once it has been walked
    bool worksheet() const { return type == 0; }
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

// The sizes of the records of a worksheet that the format fixes (its cells, rows and extent, and
// the settings before them): a record of another length means that the records from there on are
// not read as they were written (a damaged length throws the walk out of step with them), so its
// cells cannot be trusted. 0: no fixed size.
std::size_t fixedSize(std::uint16_t id) {
    switch (id) {
    case kNumber: return 14;
    case kRk:
    case kLabelSst: return 10;
    case kBlank: return 6;
    case kRow: return 16;
    case kDimensions: return 14;
    case 0x000C: case 0x000D: case 0x000E: case 0x000F: case 0x0011: case 0x005F:   // calculation settings
    case 0x002A: case 0x002B: case 0x0082: case 0x0083: case 0x0084:                 // printing switches
    case 0x0081: case 0x0055: return 2;                                               // sheet flags, column width
    case 0x0010: case 0x0080: case 0x0026: case 0x0027: case 0x0028: case 0x0029: return 8;   // delta, outline, margins
    case 0x0225: return 4;   // default row height
    case 0x00A1: return 34;  // page setup
    case 0x023E: return 18;  // window
    case 0x00A0: return 4;   // zoom
    case 0x0041: return 10;  // panes
    case 0x0012: case 0x0013: case 0x0019: case 0x0063: case 0x00DD: return 2;   // protection
    default: return 0;
    }
}

// Where a record number is used and the size a worksheet's record of that number has (0: none
// fixed), looked up at once for each record.
struct RecordKind {
    std::uint8_t places;
    std::uint8_t size;
};
const std::array<RecordKind, kRecordNumbers> kRecordKinds = [] {
    const std::array<std::uint8_t, kRecordNumbers> places = recordPlaces();
    std::array<RecordKind, kRecordNumbers> kinds{};
    for (std::size_t id = 0; id < kRecordNumbers; ++id) kinds[id] = {places[id], std::uint8_t(fixedSize(std::uint16_t(id)))};
    return kinds;
}();
RecordKind kindOf(std::uint16_t id) { return id < kRecordNumbers ? kRecordKinds[id] : RecordKind{0, 0}; }

// The same for the records of the workbook's own part.
std::size_t globalFixedSize(std::uint16_t id) {
    switch (id) {
    case kXf: return 20;
    case 0x003D: return 18;   // window
    case 0x008C: return 4;    // country
    case kDateMode:
    case 0x000E: case 0x0012: case 0x0013: case 0x0019: case 0x0040: case 0x0042: case 0x0063: case 0x008D:
    case 0x009C: case 0x00C1: case 0x00DA: case 0x00E1: case 0x0160: case 0x0161: case 0x01AF: case 0x01B7:
    case 0x01BC: return 2;
    case 0x01C1: return 8;    // recalculation id
    default: return 0;
    }
}
// Records whose length the format fixes at zero: their body is empty.
bool emptyGlobal(std::uint16_t id) { return id == 0x00E2 || id == 0x01C0; }

// A record of the workbook's own part that is not as long as the format makes it.
QString globalDamaged(std::uint16_t id) {
    switch (id) {
    case kFont: return QStringLiteral("フォントのレコードが壊れています。");
    case kFormat: return QStringLiteral("表示形式のレコードが壊れています。");
    case kXf: return QStringLiteral("セルの書式のレコードが壊れています。");
    case kBoundSheet: return QStringLiteral("シートの一覧のレコードが壊れています。");
    default: return QStringLiteral("ブックの先頭部分のレコード（番号 %1）が壊れています。").arg(recordNumber(id));
    }
}

// A FORMULA record whose last value is a text that a STRING record of its own gives after it (not
// one inside it, as Spreadsheet::WriteExcel writes it).
bool awaitsString(const Record& r) {
    if (r.size < 22) return false;
    const std::uint8_t* result = r.data + 6;
    if (result[0] != 0 || result[6] != 0xFF || result[7] != 0xFF) return false;
    const std::size_t inner = 22u + u16(r.data + 20);
    return !(r.size >= inner + 4 && u16(r.data + inner) == kString);
}

const QString kCellDamaged = QStringLiteral("セルのレコードが壊れています。");
const QString kTextDamaged = QStringLiteral("計算式の文字列のレコードが壊れています。");

// A formula's text: one that no layout gives refuses the workbook rather than leave its cell empty.
QString formulaText(Pieces& in) {
    QString why;
    std::optional<QString> text = readText(in, Tail::None, why);
    if (!text) throw Damaged{kTextDamaged};
    return std::move(*text);
}

}  // namespace

struct XlsFile::Impl {
    QString path;
    std::vector<std::uint8_t> stream;   // the workbook stream, whole
    std::size_t globalsEnd = 0;         // where the workbook's own records end
    std::vector<SheetEntry> sheets;
    std::vector<QString> strings;       // the shared strings
    std::vector<Shown> xfShown;         // per cell format (XF): what its number format shows
    bool date1904 = false;

    // Where a record's header stands in the stream.
    std::size_t positionOf(const Record& r) const { return std::size_t(r.data - stream.data()) - 4; }

    [[noreturn]] void refuse(const QString& what) const {
        throw DataError(QStringLiteral("ブック %1 を読めません。%2").arg(path, what));
    }

    void readStream();
    void readGlobals();
    void readSst(Records& records, const Record& first);
    void checkSheets();
    // Walks the substream at offset to its end, checking every record of a worksheet that holds
    // cells; collects its cells when cells is given, only those of the columns keep holds (all
    // when keep is null). Gives the length of the substream walked.
    std::size_t walkSheet(std::size_t offset, std::vector<Cell>* cells, const ColumnSet* keep = nullptr) const;
    // The walk itself. Cells that come in row and column order cannot repeat one another; a sheet
    // whose cells come otherwise is walked again marking every cell (mixed is true), the first
    // walk ending with OutOfOrder.
    std::size_t walkRecords(std::size_t offset, std::vector<Cell>* cells, const ColumnSet* keep, bool mixed) const;
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
    // A name that does not fill its record exactly is a damaged record.
    auto whole = [&](const Record& r, std::size_t offset, bool shortLength) {
        try {
            return readString(records, r, offset, shortLength);
        } catch (const Damaged&) {
            throw Damaged{globalDamaged(r.id)};
        }
    };
    for (;;) {
        const Record r = records.next();
        if (!(kindOf(r.id).places & kInGlobals))
            throw Damaged{QStringLiteral("ブックの先頭部分に、そこでは使われないレコード（番号 %1、位置 %2）があります。")
                              .arg(recordNumber(r.id))
                              .arg(positionOf(r))};
        if (const std::size_t size = globalFixedSize(r.id); (size != 0 || emptyGlobal(r.id)) && r.size != size)
            throw Damaged{globalDamaged(r.id)};
        if (r.id == kEof) {
            if (r.size != 0) throw Damaged{kCut};
            break;
        }
        switch (r.id) {
        case kFilePass: refuse(QStringLiteral("パスワードで保護されたブックです。保護を解いて保存し直してください。"));
        case kDateMode: date1904 = u16(r.data) == 1; break;
        case kFont:
            // 14 bytes of size, style and colour, then the name: its length, its option byte, its characters
            if (r.size < 16 || r.size != 16u + r.data[14] * ((r.data[15] & 1) ? 2u : 1u)) throw Damaged{globalDamaged(r.id)};
            break;
        case kFormat: {
            if (r.size < 5) throw Damaged{globalDamaged(r.id)};
            formats[u16(r.data)] = whole(r, 2, false);
            break;
        }
        case kXf: xfFormats.push_back(u16(r.data + 2)); break;
        case kBoundSheet: {
            if (r.size < 8) throw Damaged{kCut};
            const QString name = whole(r, 6, true);
            sheets.push_back({name, u32(r.data), r.data[5]});
            break;
        }
        case kSst: readSst(records, r); break;
        default: break;
        }
    }
    globalsEnd = records.position();
    xfShown.reserve(xfFormats.size());
    for (std::uint16_t id : xfFormats) {
        const auto f = formats.find(id);
        xfShown.push_back(f != formats.end() ? customFormat(f->second) : builtInFormat(id));
    }
}

// The sheets lie one after the other behind the workbook's own records, each exactly where the
// one before it ends, the last one up to the end of the stream or to zeros filling it. A sheet
// entry pointing anywhere else (into another sheet, at a sheet another entry names, past the
// records) or records left between the sheets (a stray end record cut a sheet short) mean the
// workbook cannot be read as it was written. Each sheet is walked once, in stream order.
void XlsFile::Impl::checkSheets() {
    std::vector<SheetEntry*> order;
    for (SheetEntry& s : sheets)
        if (s.type != 6) order.push_back(&s);   // a module sheet has no records here
    if (order.empty()) throw Damaged{QStringLiteral("シートの一覧がありません（ブックの先頭部分が壊れています）。")};
    std::stable_sort(order.begin(), order.end(), [](const SheetEntry* a, const SheetEntry* b) { return a->offset < b->offset; });
    std::size_t at = globalsEnd;
    const SheetEntry* before = nullptr;
    for (SheetEntry* s : order) {
        if (s->offset < at) throw Damaged{QStringLiteral("シート「%1」の位置が別のシートの中を指しています。").arg(s->name)};
        if (s->offset > at)
            throw Damaged{before ? QStringLiteral("シート「%1」が次のシート「%2」の始まりで終わっていません。").arg(before->name, s->name)
                                 : QStringLiteral("シート「%1」の前に読めないレコードがあります。").arg(s->name)};
        try {
            s->bytes = walkSheet(s->offset, nullptr);
        } catch (const Damaged& e) {
            throw Damaged{QStringLiteral("シート「%1」: %2").arg(s->name, e.what)};
        }
        at += s->bytes;
        before = s;
    }
    if (std::any_of(stream.begin() + std::ptrdiff_t(at), stream.end(), [](std::uint8_t b) { return b != 0; }))
        throw Damaged{QStringLiteral("シート「%1」の後に読めないレコードがあります。").arg(before->name)};
}

QVariant XlsFile::Impl::number(double v, std::uint16_t xf) const {
    const Shown shown = xf < xfShown.size() ? xfShown[xf] : Shown::Number;
    if (shown == Shown::Number || !std::isfinite(v) || v < 0) return storedNumber(v);
    if (shown == Shown::Elapsed) {
        if (v >= 1e9) return storedNumber(v);
        const long long seconds = std::llround(v * 86400);
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600, 2, 10, QChar(u'0'))
            .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
            .arg(seconds % 60, 2, 10, QChar(u'0'));
    }
    const double serial = date1904 ? v + 1462 : v;
    double day = std::floor(serial);
    int seconds = int(std::lround((serial - day) * 86400));
    if (seconds >= 86400) {
        day += 1;
        seconds = 0;
    }
    const QTime time = QTime(0, 0).addSecs(seconds);
    if (shown == Shown::Time) return time.toString(QStringLiteral("HH:mm:ss"));
    if (day < 1 || day >= 2958466) return storedNumber(v);   // no date the spreadsheet shows
    // Day 60 is the 29th of February 1900, which the spreadsheet counts though the year had none:
    // it is kept as the text the spreadsheet shows. The days before it are one off.
    if (day == 60) return QStringLiteral("1900/02/29") + (seconds ? u' ' + time.toString(QStringLiteral("HH:mm:ss")) : QString());
    const QDate date = (day < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30)).addDays(qint64(day));
    if (seconds == 0) return date;
    return QDateTime(date, time, Qt::UTC);
}

std::size_t XlsFile::Impl::walkSheet(std::size_t offset, std::vector<Cell>* cells, const ColumnSet* keep) const {
    try {
        return walkRecords(offset, cells, keep, false);
    } catch (const OutOfOrder&) {   // only the checking walk (no cells collected) minds the order
        return walkRecords(offset, cells, keep, true);
    }
}

std::size_t XlsFile::Impl::walkRecords(std::size_t offset, std::vector<Cell>* cells, const ColumnSet* keep, bool mixed) const {
    if (offset >= stream.size()) throw Damaged{kCut};
    Records records(stream, offset);
    const Record bof = records.next();
    if (bof.id != kBof || bof.size < 4) throw Damaged{QStringLiteral("シートの始まりが見つかりません。")};
    const bool worksheet = u16(bof.data + 2) == kWorksheet;
    const bool decode = cells && worksheet;
    int depth = 1;
    long long pendingString = -1;   // the formula cell whose text the next STRING record gives
    auto damaged = [] { return Damaged{kCellDamaged}; };
    // Each cell record names its cell and its cell format: a column past IV, a format the workbook
    // does not have, or a second record for a cell already given mean the records are not read as
    // they were written. In order, each cell comes after the one before; otherwise the rows seen
    // so far are kept, a bit a column.
    long long last = -1;   // the cell before, row * 256 + column
    std::vector<std::bitset<256>> given;
    auto check = [&](std::uint32_t row, std::uint16_t col, std::uint16_t xf, long long key) {
        if (col > 255) throw Damaged{QStringLiteral("セルの位置が壊れています。")};
        if (xf >= xfShown.size())
            throw Damaged{QStringLiteral("セル %1 の書式の番号 %2 が、ブックにある書式（%3 件）の範囲外です。")
                              .arg(cellName(row, col))
                              .arg(xf)
                              .arg(xfShown.size())};
        if (!mixed && key <= last) throw OutOfOrder{};
        if (row >= given.size()) given.resize(row + 1);
        if (given[row].test(col)) throw Damaged{QStringLiteral("セル %1 のレコードが二つあります。").arg(cellName(row, col))};
        given[row].set(col);
    };
    // The walk that collects cells follows the one that checked the same bytes when the workbook
    // was opened: it checks the position alone.
    const std::size_t formats = xfShown.size();
    auto place = [&](std::uint32_t row, std::uint16_t col, std::uint16_t xf) {
        if (cells) {
            if (col > 255) check(row, col, xf, 0);
            return;
        }
        const long long key = (long long)row << 8 | col;
        if (col > 255 || xf >= formats || key <= last || mixed) check(row, col, xf, key);
        last = key;
    };
    // A cell's value is made only for a column that is kept.
    auto add = [&](const std::uint8_t* p, std::uint16_t col, std::uint16_t xf, auto&& value) {
        place(u16(p), col, xf);
        pendingString = -1;
        if (!decode || (keep && !keep->test(col))) return false;
        cells->push_back({u16(p), col, value()});
        return true;
    };
    // A formula whose last value is a text is followed by the STRING record holding it (its shared
    // or array formula between them), and a STRING record follows only such a formula.
    long long textOf = -1;   // the formula cell (row * 256 + column) whose STRING record is due
    // Where the sheet has an index, it gives the position of every block's DBCELL record: a
    // record taken out of the sheet or put into it moves the blocks after it.
    std::vector<std::uint32_t> blocks;
    std::size_t block = 0;
    bool pivot = false, drawing = false;
    while (depth > 0) {
        const Record r = records.next();
        if (r.id == kBof) {
            ++depth;   // an embedded chart, read past
            continue;
        }
        if (r.id == kEof) {
            if (r.size != 0) throw damaged();
            --depth;
            continue;
        }
        if (depth > 1 || !worksheet) continue;
        const RecordKind kind = kindOf(r.id);
        if (kind.size != 0 && r.size != kind.size) throw damaged();
        // Most records are a worksheet's own, with nothing to check against the records around them.
        if (const std::uint8_t where = kind.places & ~kInGlobals; where != kInSheet || textOf >= 0) {
            if (!(where & kInSheet) || ((where & kAfterPivot) && !pivot) || ((where & kAfterDrawing) && !drawing))
                throw Damaged{QStringLiteral("ワークシートでは使われないレコード（番号 %1、位置 %2）があります。").arg(recordNumber(r.id)).arg(positionOf(r))};
            pivot |= r.id == 0x00B0;
            drawing |= r.id == 0x00EC;
            if (textOf >= 0 && r.id != kString && r.id != kShrFmla && r.id != kArray && r.id != kTable)
                throw Damaged{QStringLiteral("セル %1 の計算式の文字列のレコードがありません。").arg(cellName(std::uint32_t(textOf >> 8), std::uint16_t(textOf & 0xFF)))};
            if (r.id == kString) {
                if (textOf < 0) throw Damaged{QStringLiteral("計算式のない文字列のレコードがあります（位置 %1）。").arg(positionOf(r))};
                textOf = -1;
            }
            if (r.id == kFormula && awaitsString(r)) textOf = (long long)(u16(r.data)) << 8 | u16(r.data + 2);
            if (r.id == kIndex) {
                // reserved, first row, row after the last, DEFCOLWIDTH's position, then one position a block
                if (r.size < 16 || (r.size - 16) % 4 != 0) throw damaged();
                blocks.clear();
                for (std::size_t k = 16; k < r.size; k += 4) blocks.push_back(u32(r.data + k));
            }
            if (r.id == kDbCell && !blocks.empty() && (block >= blocks.size() || blocks[block++] != positionOf(r)))
                throw Damaged{QStringLiteral("シートの索引（INDEX）とセルの区切り（DBCELL）の位置が合いません。レコードが欠けているか、増えています。")};
        }
        const std::uint8_t* p = r.data;
        switch (r.id) {
        case kNumber: add(p, u16(p + 2), u16(p + 4), [&] { return number(f64(p + 6), u16(p + 4)); }); break;
        case kRk: add(p, u16(p + 2), u16(p + 4), [&] { return number(rkNumber(u32(p + 6)), u16(p + 4)); }); break;
        case kMulRk:
        case kMulBlank: {
            // the row, the first column, one entry per cell (six bytes of format and number, or
            // two of format), the last column
            const std::size_t entry = r.id == kMulRk ? 6 : 2;
            if (r.size < 6 + entry || (r.size - 6) % entry != 0) throw damaged();
            const std::size_t n = (r.size - 6) / entry;
            const std::uint16_t first = u16(p + 2);
            if (u16(p + r.size - 2) != first + n - 1) throw damaged();
            if (first + n - 1 > 255) throw Damaged{QStringLiteral("セルの位置が壊れています。")};
            if (r.id == kMulBlank) {
                if (!cells)
                    for (std::size_t k = 0; k < n; ++k) place(u16(p), std::uint16_t(first + k), u16(p + 4 + 2 * k));
                break;
            }
            for (std::size_t k = 0; k < n; ++k) {
                const std::uint8_t* e = p + 4 + 6 * k;
                add(p, std::uint16_t(first + k), u16(e), [&] { return number(rkNumber(u32(e + 2)), u16(e)); });
            }
            break;
        }
        case kLabelSst: {
            const std::uint32_t index = u32(p + 6);
            if (index >= strings.size())
                throw Damaged{QStringLiteral("共有文字列の番号 %1 が表（%2 件）の範囲外です。").arg(index).arg(strings.size())};
            const QString& s = strings[index];
            add(p, u16(p + 2), u16(p + 4), [&] { return s.isEmpty() ? QVariant() : QVariant(s); });
            break;
        }
        case kLabel:
        case kRString: {
            if (r.size < 9) throw damaged();
            // A label's string fills its record; formatting runs follow a rich one's.
            Pieces in(records, Record{r.id, r.data + 6, r.size - 6});
            QString why;
            std::optional<QString> s = readText(in, r.id == kRString ? Tail::Runs : Tail::None, why);
            if (!s) throw Damaged{why.isEmpty() ? kCellDamaged : why};
            add(p, u16(p + 2), u16(p + 4), [&] { return s->isEmpty() ? QVariant() : QVariant(std::move(*s)); });
            break;
        }
        case kBoolErr:
            if (r.size != 8 && r.size != 9) throw damaged();   // LibreOffice adds a byte
            add(p, u16(p + 2), u16(p + 4), [&] { return booleanOrError(p[6], p[7] != 0); });
            break;
        case kBlank: add(p, u16(p + 2), u16(p + 4), [] { return QVariant(); }); break;
        case kFormula: {
            // the cell, its last value (8 bytes), flags, a reserved word, the formula's length
            // and its tokens, perhaps data of its constants
            if (r.size < 22 || 22u + u16(p + 20) > r.size) throw damaged();
            const std::uint8_t* result = p + 6;
            const std::uint16_t col = u16(p + 2);
            if (result[6] != 0xFF || result[7] != 0xFF) {
                add(p, col, u16(p + 4), [&] { return number(f64(result), u16(p + 4)); });
                break;
            }
            if (result[0] == 1 || result[0] == 2) {
                add(p, col, u16(p + 4), [&] { return booleanOrError(result[2], result[0] == 2); });
                break;
            }
            const bool kept = add(p, col, u16(p + 4), [] { return QVariant(); });
            if (result[0] != 0) break;
            // A text: in the STRING record that follows, or, as Spreadsheet::WriteExcel has it, in a
            // STRING record inside this one beyond the formula, going on in the CONTINUE records after it.
            const std::size_t inner = 22u + u16(p + 20);
            if (r.size >= inner + 4 && u16(p + inner) == kString) {
                Pieces in(records, Record{kString, p + inner + 4, r.size - inner - 4});
                if (in.size() == u16(p + inner + 2)) {
                    QString text = formulaText(in);
                    if (kept && !text.isEmpty()) cells->back().value = std::move(text);
                    break;
                }
            }
            if (kept) pendingString = (long long)cells->size() - 1;
            break;
        }
        case kString: {
            Pieces in(records, r);
            QString text = formulaText(in);
            if (pendingString >= 0 && !text.isEmpty()) (*cells)[std::size_t(pendingString)].value = std::move(text);
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
        d->checkSheets();   // every sheet must be whole, not only the one asked for
        std::erase_if(d->sheets, [](const SheetEntry& s) { return !s.worksheet(); });
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
    // Cells come in row order; a writer that mixed them up is put right. No cell has two records:
    // the check on opening refused those.
    const auto before = [](const Cell& a, const Cell& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; };
    if (!std::is_sorted(cells.begin(), cells.end(), before)) std::stable_sort(cells.begin(), cells.end(), before);
    std::uint32_t rows = 0;
    for (const Cell& c : cells)
        if (!c.value.isNull()) rows = std::max(rows, c.row + 1);
    SheetRows out(rows);
    for (Cell& c : cells) {
        if (c.value.isNull() || c.row >= rows) continue;
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
