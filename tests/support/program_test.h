#pragma once
#include <gtest/gtest.h>
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "services/module1.h"
#include "support/scripted_dialogs.h"

namespace testing_support {

// A fresh program folder with both databases made, the scripted dialogs, and the shared state as
// at start, bound to the folder's main database.
class ProgramTest : public ::testing::Test {
protected:
    ProgramFolderScope folder;
    SeamScope seam;

    void SetUp() override {
        platform::ensureProgramDatabases();
        Module1::reset();
        Module1::MainDbPath = platform::mainDatabasePath();
    }
};

}  // namespace testing_support
