#include "support/real_workbooks.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testing_support {

namespace {

constexpr quint16 kEof = 0x000A, kBoundSheet = 0x0085, kRk = 0x027E;

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

// Puts bytes in at pos: the sheet entries pointing at pos or beyond (the inserted ones too) move
// with their sheets.
void insertAt(QByteArray& s, qsizetype pos, const QByteArray& bytes) {
    s.insert(pos, bytes);
    for (const Rec& r : records(s))
        if (r.id == kBoundSheet && u32At(s, r.pos + 4) >= quint32(pos)) putU32(s, r.pos + 4, u32At(s, r.pos + 4) + quint32(bytes.size()));
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
    const QByteArray seed = workbookStream(realWorkbook("libreoffice.xls"));
    std::vector<Rec> entries;
    for (const Rec& r : records(seed))
        if (r.id == kBoundSheet) entries.push_back(r);
    if (entries.size() != 2) {
        ADD_FAILURE() << "the seed should list the price sheet and the card sheet";
        return {};
    }
    const qsizetype prices = qsizetype(u32At(seed, entries[0].pos + 4));
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
    return out;
}

}  // namespace testing_support
