#include "support/real_workbooks.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testing_support {

namespace {

constexpr quint16 kEof = 0x000A, kBoundSheet = 0x0085, kRk = 0x027E, kIndex = 0x020B, kDbCell = 0x00D7, kXf = 0x00E0;

void initialiseGsf() {
    static const bool done = (gsf_init(), true);
    (void)done;
}

quint16 u16At(const QByteArray& b, qsizetype p) { return quint16(quint8(b[p]) | (quint8(b[p + 1]) << 8)); }
quint32 u32At(const QByteArray& b, qsizetype p) { return u16At(b, p) | (quint32(u16At(b, p + 2)) << 16); }
void putU16(QByteArray& b, qsizetype p, quint16 v) {
    b[p] = char(v & 0xFF);
    b[p + 1] = char(v >> 8);
}
void putU32(QByteArray& b, qsizetype p, quint32 v) {
    putU16(b, p, quint16(v & 0xFFFF));
    putU16(b, p + 2, quint16(v >> 16));
}

struct Rec {
    qsizetype pos;
    quint16 id;
    quint16 length;
};

// Every record of the stream, up to the zeros that may fill its end.
std::vector<Rec> records(const QByteArray& s) {
    std::vector<Rec> out;
    for (qsizetype p = 0; p + 4 <= s.size();) {
        const Rec r{p, u16At(s, p), u16At(s, p + 2)};
        if (r.id == 0) break;
        out.push_back(r);
        p += 4 + r.length;
    }
    return out;
}

QByteArray record(quint16 id, const QByteArray& body) {
    QByteArray r(4, '\0');
    putU16(r, 0, id);
    putU16(r, 2, quint16(body.size()));
    return r + body;
}

// Takes out `removed` bytes at pos and puts bytes in their place, as a writer would have written the
// stream: the pointers into the stream after pos move with what they point at (the sheet entries,
// the sheets' indexes of their blocks; on insertion, those pointing at pos move too), and a block
// whose records change keeps pointing back at its first row.
void splice(QByteArray& s, qsizetype pos, qsizetype removed, const QByteArray& bytes = {}) {
    const qint64 delta = bytes.size() - removed;
    auto moved = [&](quint32 p) { return p >= quint64(pos + removed) ? quint32(p + delta) : p; };
    for (const Rec& r : records(s)) {
        if (r.id == kBoundSheet) putU32(s, r.pos + 4, moved(u32At(s, r.pos + 4)));
        if (r.id == kIndex)
            for (qsizetype k = 16; k + 4 <= r.length; k += 4) putU32(s, r.pos + 4 + k, moved(u32At(s, r.pos + 4 + k)));
        if (r.id == kDbCell && r.pos >= pos + removed && r.pos - qsizetype(u32At(s, r.pos + 4)) < pos)
            putU32(s, r.pos + 4, quint32(u32At(s, r.pos + 4) + delta));
    }
    s.replace(pos, removed, bytes);
}

void insertAt(QByteArray& s, qsizetype pos, const QByteArray& bytes) { splice(s, pos, 0, bytes); }

// A record made shorter by n bytes at its end (longer by -n zeros), its length with it.
void shorten(QByteArray& s, const Rec& r, int n) {
    putU16(s, r.pos + 2, quint16(r.length - n));
    if (n >= 0) splice(s, r.pos + 4 + r.length - n, n);
    else splice(s, r.pos + 4 + r.length, 0, QByteArray(-n, '\0'));
}

// The cell record at row and col of the sheet that begins at from.
Rec cellAt(const QByteArray& s, qsizetype from, quint16 row, quint16 col) {
    for (const Rec& r : records(s))
        if (r.pos >= from && (r.id == 0x0203 || r.id == kRk || r.id == 0x00FD || r.id == 0x0205 || r.id == 0x0006) &&
            u16At(s, r.pos + 4) == row && u16At(s, r.pos + 6) == col)
            return r;
    ADD_FAILURE() << "no cell at " << row << "," << col;
    return {};
}

// The n-th record (from 0) of the kind id.
Rec nth(const QByteArray& s, quint16 id, int n) {
    for (const Rec& r : records(s))
        if (r.id == id && n-- == 0) return r;
    ADD_FAILURE() << "no record " << id;
    return {};
}

// The first cell record (a number, RK or shared-string cell) of row row at or after from.
Rec firstCellOfRow(const QByteArray& s, qsizetype from, quint16 row) {
    for (const Rec& r : records(s))
        if (r.pos >= from && (r.id == 0x0203 || r.id == kRk || r.id == 0x00FD) && u16At(s, r.pos + 4) == row) return r;
    ADD_FAILURE() << "no cell in row " << row;
    return {};
}

}  // namespace

QString realWorkbook(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../fixtures/xls/")) + QString::fromUtf8(name);
}

QByteArray workbookStream(const QString& xls) {
    initialiseGsf();
    QByteArray out;
    GError* error = nullptr;
    GsfInput* input = gsf_input_stdio_new(QFile::encodeName(xls).constData(), &error);
    if (error) g_error_free(error), error = nullptr;
    if (!input) return out;
    if (GsfInfile* ole = gsf_infile_msole_new(input, &error)) {
        if (GsfInput* book = gsf_infile_child_by_name(ole, "Workbook")) {
            out.resize(qsizetype(gsf_input_size(book)));
            if (!gsf_input_read(book, size_t(out.size()), reinterpret_cast<guint8*>(out.data()))) out.clear();
            g_object_unref(book);
        }
        g_object_unref(ole);
    }
    if (error) g_error_free(error);
    g_object_unref(input);
    EXPECT_FALSE(out.isEmpty()) << xls.toStdString();
    return out;
}

void writeWorkbookStream(const QString& xls, const QByteArray& stream) {
    initialiseGsf();
    QFile::remove(xls);
    GError* error = nullptr;
    GsfOutput* file = gsf_output_stdio_new(QFile::encodeName(xls).constData(), &error);
    ASSERT_TRUE(file) << (error ? error->message : "");
    GsfOutfile* ole = gsf_outfile_msole_new(file);
    GsfOutput* book = gsf_outfile_new_child(ole, "Workbook", FALSE);
    EXPECT_TRUE(gsf_output_write(book, size_t(stream.size()), reinterpret_cast<const guint8*>(stream.constData())));
    gsf_output_close(book);
    g_object_unref(book);
    gsf_output_close(GSF_OUTPUT(ole));   // closes the file too
    g_object_unref(ole);
    g_object_unref(file);
}

std::vector<DamagedWorkbook> writeDamagedWorkbooks(const QString& folder) {
    const QByteArray seed = workbookStream(realWorkbook("gnumeric.xls"));
    std::vector<Rec> entries;
    for (const Rec& r : records(seed))
        if (r.id == kBoundSheet) entries.push_back(r);
    if (entries.size() != 2) {
        ADD_FAILURE() << "the seed should list the price sheet and the card sheet";
        return {};
    }
    const qsizetype prices = qsizetype(u32At(seed, entries[0].pos + 4)), cards = qsizetype(u32At(seed, entries[1].pos + 4));
    const Rec row10 = firstCellOfRow(seed, prices, 10);
    std::vector<DamagedWorkbook> out;
    auto write = [&](const char* name, const char* damage, const QString& says, const QByteArray& stream) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(name));
        writeWorkbookStream(path, stream);
        out.push_back({path, damage, says});
    };

    QByteArray strayEof = seed;
    insertAt(strayEof, row10.pos, record(kEof, {}));
    write("stray-eof.xls", "an end record inside the price sheet", QStringLiteral("シート「s261210」が次のシート「cards」の始まりで終わっていません"),
          strayEof);

    // An RK cell of row 5 made 14 bytes longer: it takes in the next cell, and the records after
    // it are read in step again.
    QByteArray length = seed;
    const Rec rk = firstCellOfRow(seed, prices, 5);
    EXPECT_EQ(rk.id, kRk);
    putU16(length, rk.pos + 2, quint16(rk.length + 14));
    write("length.xls", "one record length changed", QStringLiteral("セルのレコードが壊れています"), length);

    QByteArray into = seed;
    putU32(into, entries[1].pos + 4, quint32(row10.pos));
    write("into-sheet.xls", "the card sheet's entry pointing into the price sheet",
          QStringLiteral("シート「cards」の位置が別のシートの中を指しています"), into);

    // 20,000 more entries for the price sheet (a crafted file once held the program that long).
    QByteArray copies;
    const QByteArray entry = seed.mid(entries[0].pos + 4, 6);
    for (int i = 0; i < 20000; ++i) {
        const QByteArray name = "d" + QByteArray::number(i);
        copies += record(kBoundSheet, entry + char(name.size()) + '\0' + name);
    }
    QByteArray duplicated = seed;
    insertAt(duplicated, entries[1].pos + 4 + entries[1].length, copies);
    write("duplicated.xls", "20,000 entries more for the price sheet", QStringLiteral("シート「d0」の位置が別のシートの中を指しています"),
          duplicated);

    QByteArray early = seed;
    insertAt(early, entries[0].pos, record(kEof, {}));
    write("globals-end.xls", "an end record before the sheet entries", QStringLiteral("シートの一覧がありません"), early);

    // One bit of a record number flipped: numbers no record of a worksheet has.
    const Rec price1 = cellAt(seed, prices, 1, 2), code2 = cellAt(seed, prices, 2, 0);
    QByteArray priceNumber = seed;
    putU16(priceNumber, price1.pos, 0x026E);
    write("price-number.xls", "a price cell's record number with a bit flipped (RK 027E to 026E)",
          QStringLiteral("シート「s261210」: ワークシートでは使われないレコード（番号 026E"), priceNumber);
    QByteArray codeNumber = seed;
    putU16(codeNumber, code2.pos, 0x007E);
    write("code-number.xls", "a code cell's record number with a bit flipped (RK 027E to 007E)",
          QStringLiteral("ワークシートでは使われないレコード（番号 007E"), codeNumber);

    // A cell record taken out of the last sheet, nothing else changed: its index no longer meets
    // its block's DBCELL record.
    QByteArray removed = seed;
    const Rec card = cellAt(seed, cards, 1, 1);
    removed.remove(card.pos, 4 + card.length);
    write("removed-last.xls", "a cell record deleted in the last sheet", QStringLiteral("シート「cards」: シートの索引（INDEX）"), removed);

    QByteArray rowMoved = seed;
    putU16(rowMoved, price1.pos + 4, 2);
    write("row-moved.xls", "a price cell's row number changed by one", QStringLiteral("セル C3 のレコードが二つあります"), rowMoved);

    // The sixth cell format's record number flipped to a worksheet's (00E0 to 00A0): the formats
    // after it would shift and a date read as a number.
    QByteArray xfNumber = seed;
    putU16(xfNumber, nth(seed, kXf, 5).pos, 0x00A0);
    write("xf-number.xls", "a cell format's record number flipped (XF 00E0 to 00A0)",
          QStringLiteral("ブックの先頭部分に、そこでは使われないレコード（番号 00A0"), xfNumber);

    int formats = 0;
    for (const Rec& r : records(seed)) formats += r.id == kXf;
    QByteArray xfIndex = seed;
    putU16(xfIndex, price1.pos + 8, quint16(formats));
    write("xf-index.xls", "a cell's format index one beyond the cell formats",
          QStringLiteral("セル C2 の書式の番号 %1 が、ブックにある書式（%1 件）の範囲外です").arg(formats), xfIndex);

    // The formula note of row 22, whose last value is a text: its STRING record (and the CONTINUE
    // record of its end) taken out, or the formula's value made a number.
    const Rec note = cellAt(seed, prices, 21, 3);
    QByteArray noString = seed;
    {
        const std::vector<Rec> all = records(seed);
        const auto at = std::find_if(all.begin(), all.end(), [&](const Rec& r) { return r.pos == note.pos; });
        qsizetype end = at[1].pos;
        EXPECT_EQ(at[1].id, 0x0207);
        for (auto r = at + 1; r != all.end() && (r->id == 0x0207 || r->id == 0x003C); ++r) end = r->pos + 4 + r->length;
        splice(noString, at[1].pos, end - at[1].pos);
    }
    write("formula-without-string.xls", "a formula's text value without its STRING record",
          QStringLiteral("セル D22 の計算式の文字列のレコードがありません"), noString);
    QByteArray lone = seed;
    lone.replace(note.pos + 10, 8, QByteArray(8, '\0'));
    write("string-without-formula.xls", "a STRING record after a formula whose value is a number",
          QStringLiteral("計算式のない文字列のレコードがあります"), lone);

    // Records shorter (or longer) than the format makes them, the stream otherwise as a writer
    // would have written it.
    const struct {
        const char* name;
        const char* damage;
        Rec record;
        int bytes;   // taken off its end; below zero, zeros put there
        QString says;
    } shorter[] = {
        {"short-number.xls", "a NUMBER cell 2 bytes short", cellAt(seed, prices, 2, 2), 2, QStringLiteral("セルのレコードが壊れています")},
        {"short-boolerr.xls", "a BOOLERR cell of 7 bytes", cellAt(seed, prices, 21, 2), 1, QStringLiteral("セルのレコードが壊れています")},
        {"short-formula.xls", "a FORMULA one byte short", cellAt(seed, prices, 22, 3), 1, QStringLiteral("セルのレコードが壊れています")},
        {"short-font.xls", "a FONT 6 bytes short", nth(seed, 0x0031, 0), 6, QStringLiteral("フォントのレコードが壊れています")},
        {"short-xf.xls", "a cell format (XF) 2 bytes short", nth(seed, kXf, 5), 2, QStringLiteral("セルの書式のレコードが壊れています")},
        {"short-format.xls", "a number format one byte short", nth(seed, 0x041E, 0), 1, QStringLiteral("表示形式のレコードが壊れています")},
        {"long-font.xls", "a FONT with 2 bytes after its name", nth(seed, 0x0031, 0), -2, QStringLiteral("フォントのレコードが壊れています")},
        {"long-format.xls", "a number format with a byte after its text", nth(seed, 0x041E, 0), -1,
         QStringLiteral("表示形式のレコードが壊れています")},
    };
    for (const auto& c : shorter) {
        QByteArray s = seed;
        shorten(s, c.record, c.bytes);
        write(c.name, c.damage, c.says, s);
    }

    // The price of row 2 as a run of numbers (MULRK) of one cell whose last column says two.
    QByteArray mulrk = seed;
    splice(mulrk, price1.pos, 4 + price1.length, record(0x00BD, seed.mid(price1.pos + 4, 10) + QByteArray("\x03\x00", 2)));
    write("mulrk-last-column.xls", "a MULRK whose last column is one off", QStringLiteral("セルのレコードが壊れています"), mulrk);
    return out;
}

QString writeColumnWidthWorkbook(const QString& folder) {
    QByteArray s = workbookStream(realWorkbook("writeexcel.xls"));
    const qsizetype sheet = qsizetype(u32At(s, nth(s, kBoundSheet, 0).pos + 4));
    Rec dimensions{};
    for (const Rec& r : records(s))
        if (r.pos > sheet && r.id == 0x0200) {
            dimensions = r;
            break;
        }
    // columns A to A, 12 characters wide (3254/256), cell format 15, no options, one reserved byte:
    // the bytes Spreadsheet::WriteExcel writes for set_column(0, 0, 12)
    insertAt(s, dimensions.pos, QByteArray::fromHex("7d000b0000000000b60c0f00000000"));
    const QString path = QDir(folder).filePath(QStringLiteral("column-width.xls"));
    writeWorkbookStream(path, s);
    return path;
}

QString writeReorderedWorkbook(const QString& folder) {
    QByteArray s = workbookStream(realWorkbook("gnumeric.xls"));
    const qsizetype prices = qsizetype(u32At(s, nth(s, kBoundSheet, 0).pos + 4));
    const Rec code = cellAt(s, prices, 1, 0), name = cellAt(s, prices, 1, 1);
    EXPECT_EQ(name.pos, code.pos + 4 + code.length);
    const QByteArray first = s.mid(code.pos, 4 + code.length), second = s.mid(name.pos, 4 + name.length);
    s.replace(code.pos, first.size() + second.size(), second + first);
    const QString path = QDir(folder).filePath(QStringLiteral("reordered.xls"));
    writeWorkbookStream(path, s);
    return path;
}

}  // namespace testing_support
