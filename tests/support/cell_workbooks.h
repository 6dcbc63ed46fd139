#pragma once
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace testing_support {

// Runs the Python that has xlwt with args; returns false (with a test failure) when it fails.
inline bool runPython(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << p.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

// Writes the workbooks of make_cell_workbooks.py (cells.xls, cells1904.xls, prices.xls, cards.xls)
// into folder; returns false (with a test failure) when the script fails.
inline bool writeCellWorkbooks(const QString& folder) {
    return runPython({QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("make_cell_workbooks.py")), folder});
}

// Writes an .xls (xlwt) whose sheet "formats" holds, one row each, a number format's text in
// column A and a number shown in that format in column B.
inline bool writeFormatWorkbook(const QString& path, const std::vector<std::pair<QString, double>>& cells) {
    const QString script = QStringLiteral(R"py(
import sys, xlwt
wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('formats')
args = sys.argv[2:]
for r in range(0, len(args), 2):
    ws.write(r // 2, 0, args[r])
    ws.write(r // 2, 1, float(args[r + 1]), xlwt.easyxf(num_format_str=args[r]))
wb.save(sys.argv[1])
)py");
    QStringList args{QStringLiteral("-c"), script, path};
    for (const auto& [format, value] : cells) args << format << QString::number(value, 'g', 17);
    return runPython(args);
}

// Copies a file, then changes its bytes: cut to length (when >= 0), or count bytes from offset set to zero.
inline void damagedCopy(const QString& from, const QString& to, qint64 cutTo, qint64 zeroAt = 0, qint64 zeroCount = 0) {
    QFile in(from);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    if (cutTo >= 0) bytes.truncate(cutTo);
    for (qint64 i = zeroAt; i < zeroAt + zeroCount && i < bytes.size(); ++i) bytes[i] = 0;
    QFile::remove(to);
    QFile out(to);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

}  // namespace testing_support
