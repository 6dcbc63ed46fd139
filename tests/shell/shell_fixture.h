#pragma once
#include <gtest/gtest.h>
#include <QStringList>
#include <map>
#include "platform/ui/forms.h"
#include "support/scripted_dialogs.h"
#include "services/window_registry.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << "{" << l.join(QStringLiteral(" | ")).toStdString() << "}"; }
QT_END_NAMESPACE

namespace shell_test {

// A fresh program folder with both databases, the scripted dialogs, the shared state as at start,
// and no window loaded afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Rewrites the DateRecord: unit word and the ten dates "26/12/01" ... (newest first).
    void setDateRecord(const QString& unit, const QStringList& dates = defaultDates());
    static QStringList defaultDates();

    // Replaces the entries of a list table (column 2 of the list window's grid).
    void fillList(const QString& table, const QStringList& entries);

    // Loads the five list windows (hidden), their grids showing the tables as they are now.
    void loadListWindows();

    // Every window the menu opens is replaced by a recorder: shows and text writes land in `opened`,
    // each show noting whether the menu was already hidden at that moment ("Form16" or "Form20 (menu hidden)").
    void recordLaunches();
    QStringList opened;

    testing_support::ProgramFolderScope folder;
    testing_support::SeamScope seam;

private:
    std::map<QString, services::WindowHooks> savedWindows_;
};

// A whole file's bytes (empty when it cannot be read), and a file made of the given bytes.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// What a plain SQLite connection of its own reads from the database file at path (the first value
// of the statement's first row), or SQLite's message.
QString readRaw(const QString& path, const char* sql);

// Unloads every loaded window.
void unloadAll();

}  // namespace shell_test
