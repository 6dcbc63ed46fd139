#include "bulk_fixture.h"
#include <QDir>
#include <QFileInfo>
#include "cards/form28.h"
#include "shell/form5.h"
#include "support/cell_workbooks.h"
#include "support/real_workbooks.h"

namespace {

class ImportWindows : public BulkTest {
protected:
    // The file choice as the menu leaves it: the kind word written, a stale path, shown.
    Form25& openChoice(const QString& word) {
        Form25& f = Form25::it();
        f.Text2->setText(word);
        f.Text1->setText(QStringLiteral("stale"));
        f.Show();
        return f;
    }
    // Imports the sheet "cards" of a workbook of tests/fixtures/xls through the choice and the
    // preview, which must show rows cards.
    void importCardSheet(const char* book, int rows) {
        seam->answerOpenFile(testing_support::realWorkbook(book));
        seam->answerInput(QStringLiteral("cards"));
        Form25& f = openChoice(QStringLiteral("Excel"));
        f.Command1->doClick();
        f.Command2->doClick();
        ASSERT_EQ(Form22::it().Text7->Text(), QString::number(rows));
        seam->answerMsgBox(ui::vbOK);
        Form22::it().Command3->doClick();
    }
    int openFileDialogs() {
        return int(std::count_if(seam->events.begin(), seam->events.end(),
                                 [](const auto& e) { return e.kind == QLatin1String("openfile"); }));
    }
};

// What each kind word makes the two buttons do.
TEST_F(ImportWindows, EveryKindWordActsAsItsRowSays) {
    const QString cardsDb = programDatabase(QStringLiteral("cards.mdb"), {QStringLiteral("s|2024/01/01|一|1301|||")});
    const QString workbook = cardWorkbook(QStringLiteral("cards.xls"), QStringLiteral("Sheet3"), {QStringLiteral("1|s|2024/01/01|一|1301|||")});
    struct Case {
        const char* word;
        QString file;          // what the open-file dialog answers; empty: no dialog expected
        bool sheetPrompt;
        // After "ここをクリック": choice window shown, preview loaded, preview shown, menu's database.
        bool choiceShown1, previewLoaded1, previewShown1, switched;
        // After "確認　→次へ": choice window shown, preview shown.
        bool choiceShown2, previewShown2;
    };
    const Case cases[] = {
        {"Access", cardsDb, false, false, true, true, false, false, true},
        {"Excel", workbook, true, true, true, false, false, false, true},
        {"search", cardsDb, false, false, false, false, true, false, false},
        {"kbktable", {}, false, true, false, false, false, false, false},
        {"kbktable0", {}, false, true, false, false, false, true, false},
        {"access", {}, false, true, false, false, false, true, false},
        {"Ａccess", {}, false, true, false, false, false, true, false},
        {"Excel ", {}, false, true, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        unloadAll();
        Module1::MainDbPath = platform::mainDatabasePath();
        Form5::it().Show();
        const int dialogsBefore = openFileDialogs();
        if (!c.file.isEmpty()) seam->answerOpenFile(c.file);
        if (c.sheetPrompt) seam->answerInput(QStringLiteral("Sheet3"));
        Form25& f = openChoice(QString::fromUtf8(c.word));
        f.Command1->doClick();
        EXPECT_EQ(openFileDialogs() - dialogsBefore, c.file.isEmpty() ? 0 : 1);
        EXPECT_EQ(f.Text1->Text(), c.file);
        EXPECT_EQ(f.Command2->BackColor(), 0x76EEC6u);
        EXPECT_EQ(f.isVisible(), c.choiceShown1);
        EXPECT_EQ(Form22::isLoaded(), c.previewLoaded1);
        EXPECT_EQ(Form22::isLoaded() && Form22::it().isVisible(), c.previewShown1);
        EXPECT_EQ(Module1::MainDbPath, c.switched ? c.file : platform::mainDatabasePath());
        if (c.previewLoaded1) EXPECT_EQ(Form22::it().Text7->Text(), QStringLiteral("1"));

        if (c.choiceShown1) {
            f.Command2->doClick();
            EXPECT_EQ(f.isVisible(), c.choiceShown2);
            EXPECT_EQ(Form22::isLoaded() && Form22::it().isVisible(), c.previewShown2);
            if (!c.choiceShown2) EXPECT_EQ(f.Text1->Text(), QString());
        }
    }
}

// A database import into a filled card table: every row becomes a new card, the count is told.
// The preview's count box cannot be edited, and its "OK" leaves without importing.
TEST_F(ImportWindows, ADatabaseImportAddsEveryCardOfThePreview) {
    mainDb()->executeRaw(insertCard(QStringLiteral("元|2020/01/01|既存|1301|東証１部|D100|")));
    const QString source = programDatabase(QStringLiteral("cards.mdb"), {
        QStringLiteral("四季報|2024/09/30|日立|7203|東証１部|D100|増額"), QStringLiteral("新聞|no date|Sony|abc|東証２部|A1|"),
        QStringLiteral("誌|2024/10/01|三|6501|||")});
    Module1::MenuMode = 250;
    seam->answerOpenFile(source);
    openChoice(QStringLiteral("Access")).Command1->doClick();
    Form22& preview = Form22::it();
    EXPECT_EQ(preview.Text7->Text(), QStringLiteral("3"));
    preview.Text7->setText(QStringLiteral("99"));
    EXPECT_EQ(preview.Text7->Text(), QStringLiteral("3"));
    preview.MSFlexGrid1->setRow(2);
    EXPECT_EQ(preview.Text2->Text(), QStringLiteral("Sony"));
    EXPECT_EQ(preview.Text6->Text(), QStringLiteral("新聞"));

    seam->answerMsgBox(ui::vbOK);
    preview.Command3->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().last(), QStringLiteral("登録が　終了しました。"));
    EXPECT_EQ(seam->events.back().style, ui::vbInformation);
    EXPECT_FALSE(Form22::isLoaded());
    EXPECT_EQ(storedCards(), (QStringList{"元|2020/01/01|既存|1301|東証１部|D100|", "四季報|2024/09/30|日立|7203|東証１部|D100|増額",
                                          "新聞||Sony||東証２部|A1|", "誌|2024/10/01|三|6501|||"}));
    // The card list shows every card, the newest first.
    Form28& list = Form28::it();
    EXPECT_TRUE(list.isVisible());
    ASSERT_EQ(list.MSFlexGrid1->Rows(), 5);
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(1, 4), QStringLiteral("三"));
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(4, 4), QStringLiteral("既存"));
    // Its detail boxes show the highlighted row's card, the newest.
    EXPECT_EQ(list.MSFlexGrid1->Row(), 1);
    EXPECT_EQ(list.Text2->Text(), QStringLiteral("三"));
    EXPECT_EQ(list.Text4->Text(), QStringLiteral("6501"));
    EXPECT_EQ(list.Text6->Text(), QStringLiteral("誌"));

    // Leaving the preview with "OK" imports nothing and closes both windows.
    seam->answerOpenFile(source);
    openChoice(QStringLiteral("Access")).Command1->doClick();
    Form22::it().Command5->doClick();
    EXPECT_FALSE(Form22::isLoaded());
    EXPECT_FALSE(Form25::isLoaded());
    EXPECT_EQ(storedCards().size(), 4);
}

// A workbook sheet: market and unit stay empty whatever the sheet holds; cells that are no date or
// no code leave those fields empty.
TEST_F(ImportWindows, AWorkbookImportLeavesMarketAndUnitEmpty) {
    mainDb()->executeRaw(insertCard(QStringLiteral("元|2020/01/01|既存|1301|東証１部|D100|")));
    const QString workbook = cardWorkbook(QStringLiteral("cards.xls"), QStringLiteral("cards"), {
        QStringLiteral("1|四季報|2024/09/30|日立|7203|東証１部|D100|増額"), QStringLiteral("2|新聞|someday|Sony|x6758|東証２部|A1|メモ")});
    seam->answerOpenFile(workbook);
    seam->answerInput(QStringLiteral("cards"));
    Form25& f = openChoice(QStringLiteral("Excel"));
    f.Command1->doClick();
    EXPECT_EQ(seam->inputPrompts().last(), QStringLiteral("シートの名前(番号)を入力してください"));
    f.Command2->doClick();
    // A menu launch while the preview is open rewrites the kind word; the sheet is still a sheet.
    f.Text2->setText(QStringLiteral("Access"));
    seam->answerMsgBox(ui::vbOK);
    Form22::it().Command3->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().last(), QStringLiteral("登録が　終了しました。"));
    EXPECT_EQ(storedCards(), (QStringList{"元|2020/01/01|既存|1301|東証１部|D100|", "四季報|2024/09/30|日立|7203|||増額",
                                          "新聞||Sony||||メモ"}));
}

// A file the preview cannot read is reported, and nothing is imported from it: "登録→実行" tells the
// refusal again and says nothing of an import. So is a sheet the workbook lacks. A sheet name that
// cannot be one is refused.
TEST_F(ImportWindows, AnUnreadableSourceIsReportedAndImportsNothing) {
    const QString foreign = foreignDatabase();
    const QByteArray before = bytesOf(foreign);
    seam->answerOpenFile(foreign);
    seam->answerMsgBox(ui::vbOK);
    openChoice(QStringLiteral("Access")).Command1->doClick();
    platform::Database::releaseUnused();
    EXPECT_EQ(bytesOf(foreign), before);
    EXPECT_FALSE(QFileInfo::exists(foreign + QStringLiteral("-wal")));
    const QString refusal = seam->msgBoxPrompts().last();
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("取り込むファイルを読めませんでした。")));
    EXPECT_EQ(Form22::it().Text7->Text(), QStringLiteral("0"));
    const int told = int(seam->msgBoxPrompts().size());
    seam->answerMsgBox(ui::vbOK);
    Form22::it().Command3->doClick();
    EXPECT_EQ(seam->msgBoxPrompts().mid(told), QStringList{refusal});
    EXPECT_TRUE(Form22::isLoaded());
    EXPECT_TRUE(storedCards().isEmpty());

    unloadAll();
    const QString workbook = cardWorkbook(QStringLiteral("cards.xls"), QStringLiteral("cards"), {QStringLiteral("1|s|2024/01/01|一|1301|||")});
    for (const char* sheet : {"Sheet3", "a]b"}) {
        seam->answerOpenFile(workbook);
        seam->answerInput(QString::fromUtf8(sheet));
        seam->answerMsgBox(ui::vbOK);
        openChoice(QStringLiteral("Excel")).Command1->doClick();
    }
    const QStringList prompts = seam->msgBoxPrompts();
    EXPECT_EQ(prompts[prompts.size() - 2],
              QStringLiteral("取り込むファイルを読めませんでした。\r\nブック %1 にシート「Sheet3」がありません。").arg(workbook));
    EXPECT_TRUE(prompts.last().startsWith(QStringLiteral("シートの名前に使えない文字があります。")));
}

// An empty sheet answer is told for what it is, once; a cancelled one says nothing. Either way
// "確認　→次へ" then shows an empty preview without a further message.
TEST_F(ImportWindows, AnEmptyOrCancelledSheetAnswerIsToldOnce) {
    const QString workbook = cardWorkbook(QStringLiteral("cards.xls"), QStringLiteral("cards"), {QStringLiteral("1|s|2024/01/01|一|1301|||")});
    for (const std::optional<QString>& answer : {std::optional<QString>(QString()), std::optional<QString>(QStringLiteral("　")),
                                                 std::optional<QString>()}) {
        SCOPED_TRACE(answer.value_or(QStringLiteral("(cancel)")).toStdString());
        unloadAll();
        seam->events.clear();
        seam->answerOpenFile(workbook);
        seam->answerInput(answer);
        if (answer) seam->answerMsgBox(ui::vbOK);
        Form25& f = openChoice(QStringLiteral("Excel"));
        f.Command1->doClick();
        f.Command2->doClick();
        const QStringList prompts = seam->msgBoxPrompts();
        ASSERT_EQ(prompts.size(), answer ? 1 : 0);
        if (answer) EXPECT_TRUE(prompts.first().startsWith(QStringLiteral("シートの名前が入っていません。")));
        EXPECT_EQ(Form22::it().Text7->Text(), QStringLiteral("0"));
        EXPECT_TRUE(seam->allAnswersUsed());
    }
}

// A sheet the workbook lacks is told once: at "ここをクリック", not again when "確認　→次へ"
// shows the preview over it.
TEST_F(ImportWindows, AMissingSheetIsToldOnce) {
    const QString workbook = cardWorkbook(QStringLiteral("cards.xls"), QStringLiteral("cards"), {QStringLiteral("1|s|2024/01/01|一|1301|||")});
    seam->answerOpenFile(workbook);
    seam->answerInput(QStringLiteral("Sheet3"));
    seam->answerMsgBox(ui::vbOK);
    Form25& f = openChoice(QStringLiteral("Excel"));
    f.Command1->doClick();
    const int told = int(seam->msgBoxPrompts().size());
    f.Command2->doClick();
    EXPECT_TRUE(Form22::it().isVisible());
    EXPECT_EQ(Form22::it().Text7->Text(), QStringLiteral("0"));
    EXPECT_EQ(int(seam->msgBoxPrompts().size()), told);
}

// The cells of a real sheet come in as the preview shows them: texts as typed, a date in a text
// column as its date text, a number beside dates as the number, booleans and errors as no code,
// a formula's last value, a long note whole.
TEST_F(ImportWindows, AWorkbookImportStoresTheTextsThePreviewShows) {
    ASSERT_TRUE(testing_support::writeCellWorkbooks(dir.path()));
    seam->answerOpenFile(dir.filePath(QStringLiteral("cards.xls")));
    seam->answerInput(QStringLiteral("cards"));
    Form25& f = openChoice(QStringLiteral("Excel"));
    f.Command1->doClick();
    f.Command2->doClick();
    Form22& preview = Form22::it();
    ASSERT_EQ(preview.Text7->Text(), QStringLiteral("4"));
    EXPECT_EQ(preview.MSFlexGrid1->TextMatrix(2, 2), QStringLiteral("2024/09/30"));
    EXPECT_EQ(preview.MSFlexGrid1->TextMatrix(2, 3), QStringLiteral("7203"));
    EXPECT_EQ(preview.MSFlexGrid1->TextMatrix(1, 2), QStringLiteral("0123"));
    seam->answerMsgBox(ui::vbOK);
    preview.Command3->doClick();
    const QString note = QString(QStringLiteral("株価の覚え書き")).repeated(1715) + QStringLiteral("終");
    EXPECT_EQ(storedCards(), (QStringList{"0123|2024/09/30|日立|7203|||007", "2024/09/30||トヨタ||||" + note,
                                          "1e3|2024/10/01|nan|123|||1234.5", "#N/A|2024/10/02|誤り|6758|||"}));
}

// A card sheet that a spreadsheet program wrote comes in whole: its dates as the preview shows
// them, a note that a formula made, 4,200 characters long.
TEST_F(ImportWindows, ACardSheetOfASpreadsheetProgramComesInWhole) {
    importCardSheet("libreoffice.xls", 2);
    EXPECT_EQ(storedCards(), (QStringList{QStringLiteral("四季報|2024/09/30|トヨタ|7203|||増額"),
                                          QStringLiteral("日経|2024/10/01|ソニー|6758|||") + QString(QStringLiteral("覚え")).repeated(2100)}));
}

// A card whose 情報 is a long rich text that LibreOffice wrote and Gnumeric saved again comes in
// with all of it.
TEST_F(ImportWindows, ARichNoteGnumericSavedAgainComesInWhole) {
    importCardSheet("gnumeric-rich.xls", 1);
    EXPECT_EQ(storedCards(), (QStringList{QStringLiteral("日経|2024/10/01|トヨタ|7203|||") +
                                          QString(QStringLiteral("Toyota 株価上昇")).repeated(381) + QStringLiteral("Toyota 株価")}));
}

// A damaged workbook is refused before anything is imported, in words naming it, also when the
// damage lies in a sheet other than the one asked for; "登録→実行" over it tells the refusal again
// and ends there, never saying the import finished.
TEST_F(ImportWindows, ADamagedWorkbookImportsNothing) {
    ASSERT_TRUE(testing_support::writeCellWorkbooks(dir.path()));
    std::vector<std::pair<QString, QString>> books{{dir.filePath(QStringLiteral("zeroed.xls")), QStringLiteral("s261210")},
                                                   {dir.filePath(QStringLiteral("past_end.xls")), QStringLiteral("s261210")}};
    for (const auto& d : testing_support::writeDamagedWorkbooks(dir.path())) books.emplace_back(d.file, QStringLiteral("cards"));
    for (const auto& [path, sheet] : books) {
        SCOPED_TRACE(path.toStdString());
        unloadAll();
        seam->answerOpenFile(path);
        seam->answerInput(sheet);
        seam->answerMsgBox(ui::vbOK);
        Form25& f = openChoice(QStringLiteral("Excel"));
        f.Command1->doClick();
        const QString refusal = seam->msgBoxPrompts().last();
        EXPECT_TRUE(refusal.startsWith(QStringLiteral("取り込むファイルを読めませんでした。\r\nブック %1 を読めません。").arg(path))) << refusal.toStdString();
        f.Command2->doClick();
        EXPECT_EQ(Form22::it().Text7->Text(), QStringLiteral("0"));
        const int told = int(seam->msgBoxPrompts().size());
        seam->answerMsgBox(ui::vbOK);
        Form22::it().Command3->doClick();
        EXPECT_EQ(seam->msgBoxPrompts().mid(told), QStringList{refusal});
        EXPECT_TRUE(storedCards().isEmpty());
    }
}

// An Access file of another program: read through the MDB library; without a card table it is
// reported like any other file the preview cannot read.
TEST_F(ImportWindows, AnAccessFileWithoutACardTableIsReported) {
    const QString sample =
        QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../.deps/access-sample/fruit.mdb"));
    if (!QFileInfo::exists(sample)) GTEST_SKIP() << "no sample Access database; run scripts/deps.sh";
    seam->answerOpenFile(sample);
    seam->answerMsgBox(ui::vbOK);
    openChoice(QStringLiteral("Access")).Command1->doClick();
    EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("取り込むファイルを読めませんでした。")));
    EXPECT_EQ(Form22::it().Text7->Text(), QStringLiteral("0"));
}

// The database fails part-way: no card is added, the person is told, the preview stays.
TEST_F(ImportWindows, AFailurePartWayIsReportedAndAddsNoCard) {
    const QString source = programDatabase(QStringLiteral("cards.mdb"), {
        QStringLiteral("a|2024/09/30|一|1301|||"), QStringLiteral("b|2024/09/30|boom|1302|||")});
    mainDb()->executeRaw(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON mydata WHEN NEW.銘柄 = 'boom' "
                                        "BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));
    seam->answerOpenFile(source);
    openChoice(QStringLiteral("Access")).Command1->doClick();
    seam->answerMsgBox(ui::vbOK);
    Form22::it().Command3->doClick();
    EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("登録できませんでした。カードは１枚も登録されていません。")));
    EXPECT_TRUE(seam->msgBoxPrompts().last().contains(QStringLiteral("disk full")));
    EXPECT_TRUE(Form22::isLoaded());
    EXPECT_TRUE(Form22::it().isEnabled());
    EXPECT_TRUE(storedCards().isEmpty());
}

// "search": only a database of this program becomes the main database; the menu then shows its
// period record, also after the menu loads again, and its code_change is made good where another
// program's REPLACE on its list left it behind. Anything else is refused; Cancel changes nothing.
TEST_F(ImportWindows, SearchSwitchesOnlyToADatabaseOfThisProgram) {
    const QString chosen = programDatabase(QStringLiteral("other.mdb"), {});
    platform::Database::open(chosen)->executeRaw(QStringLiteral("update [日付] set kabuka11='month', kabuka1='26/11/30'"));
    const QString stale = QStringLiteral("SELECT count(*) FROM code_change c WHERE c.ID IS NOT "
                                         "(SELECT min(l.ID) FROM list l WHERE l.コード = c.コード)");
    platform::Database::open(chosen)->executeRaw(
        QStringLiteral("INSERT OR REPLACE INTO list (ID, 銘柄, コード) SELECT max(ID), 'z', 9999 FROM list"));
    ASSERT_GT(platform::Database::open(chosen)->openRecordset(stale).value(0, 0).toInt(), 0);
    struct Case {
        QString file;
        bool accepted;
        bool told;
    };
    const QString foreign = foreignDatabase();
    const QByteArray foreignBytes = bytesOf(foreign);
    const Case cases[] = {{foreign, false, true}, {textFile(), false, true}, {QString(), false, false},
                          {chosen, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        Form5::it().Show();
        const int shown = int(seam->msgBoxPrompts().size());
        seam->answerOpenFile(c.file);
        if (c.told) seam->answerMsgBox(ui::vbOK);
        Form25& f = openChoice(QStringLiteral("search"));
        f.Command1->doClick();
        EXPECT_EQ(int(seam->msgBoxPrompts().size()) - shown, c.told ? 1 : 0);
        EXPECT_EQ(Module1::MainDbPath, c.accepted ? chosen : platform::mainDatabasePath());
        EXPECT_EQ(Form5::it().dateRecordCell(12), c.accepted ? QStringLiteral("month") : QStringLiteral("day"));
        EXPECT_EQ(f.isVisible(), !c.accepted);
    }
    EXPECT_EQ(bytesOf(foreign), foreignBytes);
    EXPECT_EQ(Form5::it().Text1(0)->Text(), QStringLiteral("month"));
    Form5::it().Unload();
    EXPECT_EQ(Form5::it().dateRecordCell(2), QStringLiteral("26/11/30"));
    EXPECT_EQ(Module1::MainDbPath, chosen);
    EXPECT_EQ(platform::Database::open(chosen)->openRecordset(stale).value(0, 0).toInt(), 0);
}

// The close box lets the file choice go; the preview refuses it.
TEST_F(ImportWindows, OnlyTheFileChoiceClosesFromItsCloseBox) {
    Form25& f = openChoice(QStringLiteral("Access"));
    f.close();
    QApplication::processEvents();
    EXPECT_FALSE(Form25::isLoaded());
    Form22::it().Show();
    Form22::it().close();
    EXPECT_TRUE(Form22::isLoaded());
}

}  // namespace
