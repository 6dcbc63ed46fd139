#pragma once
#include <QString>
#include <functional>
#include <vector>
#include "platform/ui/forms.h"

// The card record editor: one card of mydata at a time in boxes bound to its fields, a
// navigation bar, finds by name, code and card number with NEXT and BACK, delete, registration
// into the watch list, the unit help and the memo pad.
//
// The boxes are bound to the current card: typing changes the card, and the card is stored when
// the editor leaves it (a move, a find, an append, the window's unload). A value a field cannot
// take (a date that is no date, a code that is no number) is reported with the field named; the
// card is then not left and nothing of it is stored.
class Form2 : public ui::DefaultForm<Form2> {
public:
    Form2();

    ui::Label* Label8 = nullptr;              // Data　Base
    ui::Data* Data1 = nullptr;                // the cards, with its navigation bar
    ui::TextBox* Text9 = nullptr;             // ID (numbered by the database)
    ui::TextBox* Text1 = nullptr;             // 情報源
    ui::TextBox* Text2 = nullptr;             // 日付
    ui::TextBox* Text3 = nullptr;             // 銘柄
    ui::TextBox* Text4 = nullptr;             // コード
    ui::TextBox* Text5 = nullptr;             // 市場
    ui::TextBox* Text6 = nullptr;             // 単位
    ui::TextBox* Text8 = nullptr;             // 情報
    ui::CommandButton* Command2 = nullptr;    // OK
    ui::Label* Label7 = nullptr;              // 検索
    ui::CommandButton* Command1 = nullptr;    // 銘柄
    ui::CommandButton* Command5 = nullptr;    // NEXT (name)
    ui::CommandButton* Command9 = nullptr;    // BACK (name)
    ui::CommandButton* Command3 = nullptr;    // コード
    ui::CommandButton* Command6 = nullptr;    // NEXT (code)
    ui::CommandButton* Command10 = nullptr;   // BACK (code)
    ui::CommandButton* Command13 = nullptr;   // カードNoで探す
    ui::CommandButton* Command8 = nullptr;    // 銘柄→コードの変換 (no action)
    ui::CommandButton* Command4 = nullptr;    // 注目銘柄リスト
    ui::CommandButton* Command7 = nullptr;    // 注目銘柄の登録
    ui::CommandButton* Command15 = nullptr;   // 単位株の説明
    ui::CommandButton* Command14 = nullptr;   // メモ帖を開く
    std::vector<ui::LinkLabel*> links;        // HprLnkEx1 to HprLnkEx7
    ui::LinkLabel* HprLnkEx(int n) const { return links.at(size_t(n - 1)); }

    // The criteria of the last name find and the last code find (NEXT and BACK continue them).
    QString NameFindCriterion;
    QString CodeFindCriterion;

    // ---- what other windows do with the editor
    // Stores the current card if it was changed; false (reported) when a field refuses its value.
    bool leaveCard();
    // Leaves the current card and makes the first card meeting the criterion current; a find that
    // meets nothing keeps the card. False when the card could not be left or nothing was found.
    bool findFirst(const QString& criterion);
    // Leaves the current card, makes the card with this number current and shows the editor.
    bool showCard(long long id);
    // Leaves the current card and starts a new one: empty boxes, stored with the next leave.
    bool addNewCard();
    // True while the current card is a new one not stored yet.
    bool addingCard() const { return adding_; }

    // Handlers.
    void Command1_Click();
    void mnu銘柄_Click();
    void Command3_Click();
    void Command13_Click();
    void Command5_Click();
    void Command9_Click();
    void Command6_Click();
    void Command10_Click();
    void mnuレコード削除_Click();
    void Command7_Click();
    void Command4_Click();
    void Command15_Click();
    void Command14_Click();
    void Command2_Click();
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;

private:
    bool filling_ = false;   // the boxes are being filled from the card
    bool dirty_ = false;     // a box was changed since the card was shown
    bool adding_ = false;    // the boxes hold a new card
    void buildFrame();
    void buildMenus();
    void buildNavigation();
    void showCurrent();
    bool storeCard(bool report = true);   // report: tell the person why a card cannot be stored
    void runFind(int row);   // one row of the find table
    void continueFind(const QString& criterion, bool forwards);
};
