#include "bulk_fixture.h"
#include <QToolButton>
#include "cards/form28.h"
#include "shell/form5.h"

namespace {

class CompletionWindow : public BulkTest {};

TEST_F(CompletionWindow, RunCompletesTheCardsAndSaysSo) {
    auto db = mainDb();
    db->executeRaw(QStringLiteral("UPDATE list SET 市場 = 'マザーズ', 単位 = 'A1' WHERE コード = 7203"));
    for (const char* card : {"s|2024/01/01|A|7203|||", "s|2024/01/01|B|1000|||"}) db->executeRaw(insertCard(QString::fromUtf8(card)));
    Module1::MenuMode = 550;
    Form28::it().Show();
    EXPECT_EQ(Form28::it().MSFlexGrid1->Rows(), 3);   // the cards lacking a market
    Form15& f = Form15::it();
    f.Show();
    EXPECT_GT(f.MSFlexGrid1->Rows(), 100);   // the price table
    f.Command1->doClick();
    EXPECT_EQ(f.Label1->Caption(), QStringLiteral("登録　完了"));
    EXPECT_TRUE(f.isEnabled());
    EXPECT_EQ(storedCards(), (QStringList{"s|2024/01/01|A|7203|マザーズ|A1|", "s|2024/01/01|B|1000|?|?|"}));
    // The card list then shows every card, by code.
    Form28& list = Form28::it();
    EXPECT_EQ(list.Data1->RecordSource, QStringLiteral("select * from [mydata]"));
    ASSERT_EQ(list.MSFlexGrid1->Rows(), 3);
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(1, 5), QStringLiteral("1000"));
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(2, 6), QStringLiteral("マザーズ"));
    // The look-up's data control shows its navigation buttons.
    EXPECT_EQ(f.Data1->findChildren<QToolButton*>().size(), 4);
    f.close();
    EXPECT_TRUE(Form15::isLoaded());
    f.Command2->doClick();
    EXPECT_FALSE(Form15::isLoaded());
}

// A main database that cannot be opened: the load says so and the program goes on; the run then
// reports its failure and changes nothing.
TEST_F(CompletionWindow, AnUnreadableMainDatabaseIsReported) {
    Module1::MainDbPath = dir.filePath(QStringLiteral("gone.mdb"));
    seam->answerMsgBox(ui::vbOK);
    Form15& f = Form15::it();
    EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("株価テーブルを開けませんでした。")));
    seam->answerMsgBox(ui::vbOK);
    f.Command1->doClick();
    EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("市場と売買単位を登録できませんでした。")));
    EXPECT_EQ(f.Label1->Caption(), QStringLiteral("市場 売買単位を　入力します"));
}

class PurgeWindow : public BulkTest {
protected:
    void SetUp() override {
        BulkTest::SetUp();
        auto db = mainDb();
        for (const QString& card : {QStringLiteral("株式分割|%1|一|1301|||old").arg(daysFromToday(-200)),
                                    QStringLiteral("新高値|%1|二|1302|||recent").arg(daysFromToday(-10)),
                                    QStringLiteral("格付|%1|三|1303|||old").arg(daysFromToday(-200)),
                                    QStringLiteral("短信|%1|四|1304|||old").arg(daysFromToday(-200)),
                                    QStringLiteral("株式分割|%1|五|1305|||ahead").arg(daysFromToday(5))})
            db->executeRaw(insertCard(card));
    }
    // The menu's kind word, then the purge window with this answer to its question.
    Form19& open(const QString& word, std::optional<QString> answer) {
        unloadAll();
        Form5::it().Text2->setText(word);
        if (answer != std::nullopt || word != QLatin1String("Text2")) seam->answerInput(answer);
        return Form19::it();
    }
    static int listed(Form19& f) { return f.Text3->Text().toInt(); }
};

// The data control shows its navigation buttons; Text1 follows its moves.
TEST_F(PurgeWindow, TextOneFollowsTheNavigationButtons) {
    Form19& f = open(QStringLiteral("main"), QStringLiteral("-10"));
    ASSERT_EQ(listed(f), 5);
    auto button = [&](const char* name) { return f.Data1->findChild<QToolButton*>(QString::fromUtf8(name)); };
    for (const char* name : {"最初のレコード", "前のレコード", "次のレコード", "最後のレコード"}) ASSERT_TRUE(button(name)) << name;
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("old"));
    button("次のレコード")->click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("recent"));
    button("最後のレコード")->click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("ahead"));
    button("次のレコード")->click();   // stays on the last card
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("ahead"));
    button("最初のレコード")->click();
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("old"));
    // After a complete purge no card is current and Text1 shows no deleted card's note.
    seam->answerMsgBox(ui::vbYes);
    f.Command6->doClick();
    EXPECT_EQ(listed(f), 0);
    EXPECT_EQ(f.Text1->Text(), QString());
}

// A purge while the card list is open: the list then shows no deleted card, and its detail boxes
// show the highlighted row's card.
TEST_F(PurgeWindow, AnOpenCardListShowsNoDeletedCard) {
    Module1::MenuMode = 250;
    Form28& list = Form28::it();
    list.MSFlexGrid1->setRow(1);
    EXPECT_EQ(list.Text2->Text(), QStringLiteral("一"));
    Form5::it().Text2->setText(QStringLiteral("main"));
    seam->answerInput(QStringLiteral("90"));
    Form19& f = Form19::it();
    seam->answerMsgBox(ui::vbYes);
    f.Command6->doClick();
    ASSERT_EQ(list.MSFlexGrid1->Rows(), 3);
    EXPECT_EQ(list.MSFlexGrid1->TextMatrix(1, 4), QStringLiteral("二"));
    EXPECT_EQ(list.Text2->Text(), QStringLiteral("二"));
    EXPECT_EQ(list.Text1->Text(), QStringLiteral("recent"));
    list.Command10_Click();   // the restore sorts by code: the boxes follow the row again
    EXPECT_EQ(list.Text4->Text(), list.MSFlexGrid1->TextMatrix(list.MSFlexGrid1->Row(), 5));
}

// Each kind with its default answer, its question and its banner.
TEST_F(PurgeWindow, EachKindListsItsOldCards) {
    struct Case {
        const char* word;
        const char* prompt;
        const char* days;
        const char* banner;
        int cards;
    };
    const Case cases[] = {
        {"main", "日数を入力してください。この日数分を残し古いカードは削除します。", "90", "古いカードを削除します", 3},
        {"bunkatu", "日数を入力してください。この日数分を残し古いカードは削除します。", "0", "ここにあるカードはすべて削除しますヨ", 1},
        {"takane", "日数を入力してください。この日数分を残し古いカードは削除します。", "0", "ここにあるカードはすべて削除しますヨ", 1},
        {"nifty", "日数を入力してください。この日数分を残しテクニカル情報は削除します。", "0", "古い分割情報を削除します", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        Form19& f = open(QString::fromUtf8(c.word), QString::fromUtf8(c.days));
        const auto& asked = seam->events.back();
        EXPECT_EQ(asked.prompt, QString::fromUtf8(c.prompt));
        EXPECT_EQ(asked.defaultAnswer, QString::fromUtf8(c.days));
        EXPECT_TRUE(asked.title.isEmpty() && !asked.title.isNull());
        EXPECT_EQ(f.Text2->Text(), QString::fromUtf8(c.banner));
        EXPECT_EQ(listed(f), c.cards);
    }
    // A negative number reaches into the future.
    EXPECT_EQ(listed(open(QStringLiteral("bunkatu"), QStringLiteral("-10"))), 2);
    // The survey button right after the start asks nothing and lists nothing.
    Form19& survey = open(QStringLiteral("Text2"), std::nullopt);
    EXPECT_EQ(survey.Text2->Text(), QStringLiteral("Text2"));
    EXPECT_EQ(listed(survey), 0);
}

// Any number of days is taken, part days and full-width digits too; a number far beyond the
// calendar lists every card or none.
TEST_F(PurgeWindow, DecimalAndFullWidthDaysCount) {
    const struct {
        const char* answer;
        int cards;
    } cases[] = {
        {"9.5", 4},   {"９．５", 4},  {"11.5", 3},  {" 90 ", 3},  {"-9223372036854775808", 5},
        {"9223372036854775807", 0}, {"-1e400", -1}, {"99999999999999999999999999", 0}, {"-.5", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        seam->events.clear();
        if (c.cards < 0) seam->answerMsgBox(ui::vbOK);
        Form19& f = open(QStringLiteral("main"), QString::fromUtf8(c.answer));
        EXPECT_EQ(seam->msgBoxPrompts().size(), c.cards < 0 ? 1 : 0);
        EXPECT_EQ(listed(f), std::max(c.cards, 0));
    }
}

// An answer that is no number is refused and lists nothing; Cancel lists nothing. Either way
// "削除実行" deletes no card.
TEST_F(PurgeWindow, AnswersThatAreNoNumberDeleteNothing) {
    for (const char* answer : {"0 or 1=1", "abc", "", "90; delete", "1.5.1", "--5", "1e3"}) {
        SCOPED_TRACE(answer);
        seam->answerMsgBox(ui::vbOK);
        Form19& f = open(QStringLiteral("main"), QString::fromUtf8(answer));
        EXPECT_TRUE(seam->msgBoxPrompts().last().startsWith(QStringLiteral("日数は数字で入力してください。")));
        EXPECT_EQ(listed(f), 0);
        seam->answerMsgBox(ui::vbYes);
        f.Command6->doClick();
        EXPECT_EQ(storedCards().size(), 5);
    }
    Form19& cancelled = open(QStringLiteral("main"), std::nullopt);
    EXPECT_EQ(listed(cancelled), 0);
    seam->answerMsgBox(ui::vbYes);
    cancelled.Command6->doClick();
    EXPECT_EQ(storedCards().size(), 5);
}

// Takes down, at each question, the frame corner its given place is taken from.
class QuestionOrigins : public testing_support::ScriptedDialogs {
public:
    std::vector<QPoint> origins;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& def,
                                    std::optional<QPoint> pos) override {
        origins.push_back(ui::Form::dialogOrigin(ui::Form::dialogOwner()));
        return ScriptedDialogs::inputBox(prompt, title, def, pos);
    }
};

// The days question comes before the purge window shows, and stands by where that window then
// stands, not by the menu.
TEST_F(PurgeWindow, TheDaysQuestionStandsByThePurgeWindow) {
    Form5& menu = Form5::it();
    menu.Show();
    menu.Text2->setText(QStringLiteral("main"));
    auto* questions = new QuestionOrigins;
    questions->answerInput(QStringLiteral("90"));
    auto previous = ui::setDialogs(std::unique_ptr<ui::Dialogs>(questions));
    Form19& f = Form19::it();
    f.Show();
    const std::vector<QPoint> origins = questions->origins;
    ui::setDialogs(std::move(previous));
    ASSERT_EQ(origins.size(), 1u);
    EXPECT_EQ(origins[0], f.frameGeometry().topLeft());
    EXPECT_NE(origins[0], menu.frameGeometry().topLeft());
    EXPECT_EQ(listed(f), 3);
}

// One question covers all listed cards: No deletes nothing, Yes deletes exactly the listed ones.
TEST_F(PurgeWindow, YesDeletesTheListedCardsAndNoKeepsThem) {
    Form19& f = open(QStringLiteral("main"), QStringLiteral("90"));
    f.MSFlexGrid1->setRow(1);
    EXPECT_EQ(f.Text1->Text(), QStringLiteral("old"));
    seam->answerMsgBox(ui::vbNo);
    f.Command6->doClick();
    const auto& asked = seam->events.back();
    EXPECT_EQ(asked.prompt, QStringLiteral("ここにあるカードはすべて削除しますヨ"));
    EXPECT_EQ(asked.title, QStringLiteral("削除"));
    EXPECT_EQ(asked.style, ui::vbYesNo | ui::vbCritical | ui::vbDefaultButton2);
    EXPECT_EQ(listed(f), 3);
    EXPECT_EQ(storedCards().size(), 5);

    seam->answerMsgBox(ui::vbYes);
    f.Command6->doClick();
    EXPECT_EQ(listed(f), 0);
    EXPECT_EQ(storedCards(), (QStringList{QStringLiteral("新高値|%1|二|1302|||recent").arg(daysFromToday(-10)),
                                          QStringLiteral("株式分割|%1|五|1305|||ahead").arg(daysFromToday(5))}));
    f.close();
    EXPECT_TRUE(Form19::isLoaded());
    f.Command5->doClick();
    EXPECT_FALSE(Form19::isLoaded());
    EXPECT_TRUE(Form5::it().isVisible());
}

}  // namespace

namespace {

class MenuLaunches : public BulkTest {};

// The menu's buttons of the import, completion and purge: what each stores and which window it
// opens; the menu stays in view beside the import window only.
TEST_F(MenuLaunches, EachButtonOpensItsWindow) {
    struct Case {
        const char* button;
        const char* window;
        const char* importWord;   // Form25.Text2 afterwards, or null
        const char* purgeWord;    // Form5.Text2 afterwards
        int menuMode;
        bool menuShown;
        bool asks;                // the purge window asks for a number of days
    };
    const Case cases[] = {
        {"Command17", "Form25", "Access", "Text2", 250, true, false},
        {"Command18", "Form25", "Excel", "Text2", 500, true, false},
        {"Command60", "Form25", "kbktable0", "Text2", 0, true, false},
        {"Command62", "Form15", nullptr, "Text2", 550, false, false},
        {"Command7", "Form19", nullptr, "Text2", 0, false, false},
        {"Command19", "Form19", nullptr, "main", 0, false, true},
        {"Command29", "Form19", nullptr, "takane", 0, false, true},
        {"Command36", "Form19", nullptr, "nifty", 0, false, true},
        {"Command39", "Form19", nullptr, "bunkatu", 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        unloadAll();
        Module1::MenuMode = 0;
        Form5& menu = Form5::it();
        menu.Show();
        if (c.asks) seam->answerInput(std::nullopt);
        menu.Command(QString::fromUtf8(c.button))->doClick();
        const QString window = QString::fromUtf8(c.window);
        ui::Form* shown = window == QLatin1String("Form25") ? static_cast<ui::Form*>(&Form25::it())
                          : window == QLatin1String("Form15") ? static_cast<ui::Form*>(&Form15::it())
                                                                 : static_cast<ui::Form*>(&Form19::it());
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(menu.isVisible(), c.menuShown);
        EXPECT_EQ(Module1::MenuMode, c.menuMode);
        EXPECT_EQ(menu.Text2->Text(), QString::fromUtf8(c.purgeWord));
        if (c.importWord) EXPECT_EQ(Form25::it().Text2->Text(), QString::fromUtf8(c.importWord));
    }
}

// A main database whose purge set lists another column before the ID (it passes the start check):
// the listed cards are deleted by their IDs, never a card whose ID equals a listed code.
TEST_F(PurgeWindow, TheListedCardsAreDeletedByTheirIdColumnWhereverItStands) {
    mainDb()->executeRaw(QStringLiteral(
        "INSERT INTO mydata (ID, 情報源, 日付, 銘柄, コード, 情報) VALUES (1301, '新高値', %1, '同じ番号', 9999, 'keep');"
        "DROP VIEW \"sakujo-main\";"
        "CREATE VIEW \"sakujo-main\" AS SELECT \"コード\", \"ID\", \"情報源\", \"日付\", \"銘柄\", \"市場\", \"単位\", \"情報\" "
        "FROM mydata ORDER BY \"ID\";")
                             .arg(QDate::currentDate().toJulianDay() - QDate(1899, 12, 30).toJulianDay()));
    Form19& f = open(QStringLiteral("main"), QStringLiteral("90"));
    EXPECT_EQ(listed(f), 3);
    seam->answerMsgBox(ui::vbYes);
    f.Command6->doClick();
    EXPECT_EQ(storedCards(), (QStringList{QStringLiteral("新高値|%1|二|1302|||recent").arg(daysFromToday(-10)),
                                          QStringLiteral("株式分割|%1|五|1305|||ahead").arg(daysFromToday(5)),
                                          QStringLiteral("新高値|%1|同じ番号|9999|||keep").arg(daysFromToday(0))}));
}

}  // namespace
