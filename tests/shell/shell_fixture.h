#pragma once
#include <gtest/gtest.h>
#include <QStringList>
#include <map>
#include "platform/ui/forms.h"
#include "support/scripted_dialogs.h"
#include "shell/window_registry.h"

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

    // Loads the five list windows, their grids showing the tables as they are now (a list window
    // that has no grid of its own yet gets a bound one).
    void loadListWindows();

    // Every window the menu opens is replaced by a recorder: shows and text writes land in `opened`,
    // each show noting whether the menu was visible at that moment ("Form16" or "Form16 (menu shown)").
    void recordLaunches();
    QStringList opened;

    testing_support::ProgramFolderScope folder;
    testing_support::SeamScope seam;

private:
    std::map<QString, shell::WindowHooks> savedWindows_;
};

// Unloads every loaded window.
void unloadAll();

}  // namespace shell_test
