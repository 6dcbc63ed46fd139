#pragma once
#include <gtest/gtest.h>
#include <QApplication>
#include <QStringList>
#include <memory>
#include "lists/dictionary.h"
#include "lists/list_forms.h"
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/data/recordset.h"
#include "platform/data/schema.h"
#include "support/scripted_dialogs.h"
#include "shell/form5.h"
#include "services/module1.h"

// A fresh program folder with an empty list database, the scripted dialogs, and every list and
// dictionary window unloaded at the end.
class ListFixture : public ::testing::Test {
protected:
    testing_support::ProgramFolderScope folder;
    testing_support::SeamScope seam;

    void SetUp() override {
        Module1::reset();
        Form12::rememberedCriterion.clear();
        platform::ensureListDatabase(platform::listDatabasePath());
    }

    void TearDown() override {
        unloadAll();
        EXPECT_TRUE(seam->allAnswersUsed());
    }

    // Back to empty lists and no window loaded (between the cases of a table).
    void startOver() {
        unloadAll();
        auto db = listDb();
        for (const char* t : {"checklist", "trend", "checklist2", "mylist", "情報源リスト"})
            db->executeRaw(QStringLiteral("delete from \"%1\"").arg(QString::fromUtf8(t)));
        Form12::rememberedCriterion.clear();
    }

    void unloadAll() {
        unload<Form13>();
        unload<Form17>();
        unload<Form31>();
        unload<Form12>();
        unload<Form14>();
        unload<Form4>();
        unload<Form20>();
        unload<Form5>();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::Database::releaseUnused();
    }

    template <class F>
    static void unload() {
        if (F::isLoaded()) F::it().Unload();
    }

    static std::shared_ptr<platform::Database> listDb() {
        return platform::Database::open(platform::listDatabasePath());
    }

    // Stores entries the way a fixture needs them: codes in this order, ID numbered by the table.
    static void insertStocks(const QString& table, const QStringList& codes, const QString& market = "東証１部") {
        auto db = listDb();
        for (const QString& c : codes)
            db->executeRaw(QStringLiteral("insert into \"%1\" (\"コード\", \"銘柄\", \"市場\", \"単位\", \"date\") "
                                          "values (%2, '銘柄%2', '%3', 'D100', '24/09/30')")
                               .arg(table, c, market));
    }
    static void insertSources(const QStringList& sources) {
        auto db = listDb();
        for (const QString& s : sources)
            db->executeRaw(QStringLiteral("insert into \"情報源リスト\" (\"情報源\", \"date\") values ('%1', '24/09/30')")
                               .arg(s));
    }

    // Column `field` of a table in ID order, as text.
    static QStringList column(const QString& table, const QString& field) {
        auto rs = listDb()->openRecordset(QStringLiteral("select * from [%1] order by ID").arg(table));
        QStringList out;
        const int f = rs.fieldIndex(field);
        for (int r = 0; r < rs.recordCount(); ++r) out << rs.text(r, f);
        return out;
    }

    // Column c of grid rows 1 to Rows - 1.
    static QStringList gridColumn(const ui::FlexGrid* g, int c) {
        QStringList out;
        for (int r = 1; r < g->Rows(); ++r) out << g->TextMatrix(r, c);
        return out;
    }

    // Makes the window the active window again (another activation of it).
    static void activate(ui::Form& f) {
        f.Hide();
        QApplication::processEvents();
        f.Show();
        QApplication::processEvents();
    }
};
