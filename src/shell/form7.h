#pragma once
#include "platform/ui/forms.h"

// The memo pad "メモ帖": one large text box kept in memo.txt between runs.
class Form7 : public ui::DefaultForm<Form7> {
public:
    Form7();
    ui::TextBox* Text1 = nullptr;
    ui::MenuItem* mnuFILE = nullptr;
    ui::MenuItem* mnuOpen = nullptr;
    ui::MenuItem* mnuSave = nullptr;
    ui::MenuItem* mnuEnd = nullptr;

    static QString memoPath();
    // Writes the memo file in UTF-8: the text with CR LF line breaks, followed by one CR LF
    // unless the file read at load ended without a line break. Returns false when the file was
    // not written (the old file then stays as it was); saveProblem() tells why.
    bool saveMemo();
    QString saveProblem() const { return saveProblem_; }

    // The text of a memo file: UTF-8, or else the Japanese Windows code page (CP932, which
    // Shift_JIS memos really are in). Nothing when the bytes are neither.
    static std::optional<QString> decodeMemo(const QByteArray& bytes);

protected:
    void Form_Load() override;

private:
    void mnuSave_Click();
    bool finalBreak_ = true;   // the file read ended with a line break (or there was none)
    bool unreadable_ = false;  // the file read could not be decoded without loss, or not opened
    QString openProblem_;      // why the file could not be opened (empty when it was)
    QString saveProblem_;
};
