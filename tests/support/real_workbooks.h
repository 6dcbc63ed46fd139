#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

namespace testing_support {

// A workbook of tests/fixtures/xls, written by a spreadsheet program (make_fixtures.sh there):
// "libreoffice.xls", "gnumeric.xls", "writeexcel.xls", "writeexcel-small.xls",
// "gnumeric-computed.xls", "gnumeric-rich.xls". The LibreOffice and Gnumeric ones hold a price
// sheet "s261210" (kodo, 銘柄, owari, note: codes 1301 to 1320 priced 1000, 1007.5, 1015, ...;
// 7203 with TRUE, 7267 with a date, 9984 with 123456789) and a card sheet "cards";
// gnumeric-computed.xls a price sheet "s261210" (1301 to 1303 priced 1000, 1007.5, 1015, long
// notes computed by formulas), gnumeric-rich.xls a card sheet "cards" of one card.
QString realWorkbook(const char* name);

// The workbook stream of an .xls file, and a new .xls holding the stream given.
QByteArray workbookStream(const QString& xls);
void writeWorkbookStream(const QString& xls, const QByteArray& stream);

// The damaged copies of gnumeric.xls (a writer that indexes its sheets' blocks) that the reader
// must refuse, each with a part of the message that says why, written into folder: records
// lengthened, shortened, moved and taken out, record numbers, rows and cell formats changed, a
// formula's text without its STRING record and the other way round.
struct DamagedWorkbook {
    QString file;        // its path
    const char* damage;  // what was done to it
    QString says;        // a part of the refusal
};
std::vector<DamagedWorkbook> writeDamagedWorkbooks(const QString& folder);

// A sound copy of writeexcel.xls whose first sheet sets the width of column A as
// Spreadsheet::WriteExcel 2.40 does (set_column): in a COLINFO record of 11 bytes, one short of
// the format's 12.
QString writeColumnWidthWorkbook(const QString& folder);

// A sound copy of gnumeric.xls whose price sheet gives the code of row 2 (A2) after its name (B2),
// written into folder: cells out of row and column order.
QString writeReorderedWorkbook(const QString& folder);

}  // namespace testing_support
