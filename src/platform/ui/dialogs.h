#pragma once
#include <QPoint>
#include <QString>
#include <array>
#include <memory>
#include <initializer_list>
#include <optional>

namespace ui {

// Message box buttons, icons, default button and answers, by their platform values.
enum MsgStyle : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum MsgAnswer : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Everything that talks to the person or the desktop goes through here; tests install a
// scripted double.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style: buttons + icon + default button. No title (a null text) shows the program's name;
    // an empty, non-null title stays empty.
    virtual int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) = 0;
    // Returns the answer, or nothing when the person cancels. pos: the box's top-left corner in
    // twips within the window it belongs to, if given.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title = {},
                                            const QString& defaultAnswer = {},
                                            std::optional<QPoint> posTwips = std::nullopt) = 0;
    // The open-file dialog, opening in the program folder; an empty text when nothing was chosen.
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    // Opens a web address in the browser, as it stands (already encoded), and returns at once:
    // nothing waits for the browser. When no browser could take the address the person is told
    // (tellUnopenedLink), which may come after this returns.
    virtual void openUrl(const QString& url) = 0;
    // Plays a .wav file and returns when it has ended; a missing file or no sound device is silence.
    virtual void playSound(const QString& path) = 0;
    virtual void beep() = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString& text) = 0;
};

// Qt's own texts (the file dialog, the editing menus, standard buttons) in Japanese, from Qt's
// translations of the system, and Qt's formats of dates and sizes as in Japan; false when the
// translations are not installed. Once per run, at start.
bool loadJapaneseQtTexts();

// Hands an address to the desktop's browser launcher (xdg-open, else Qt's own search of the
// desktop) and returns at once; when the launcher reports that no browser took the address, the
// person is told through the seam. A launcher still running when the program ends is let go: it is
// neither killed nor waited for, and nothing is said of it. What the Qt seam's openUrl does.
void launchBrowser(const QString& url);
// Tells the person, in a message box through the seam, that no browser could open an address.
void tellUnopenedLink(const QString& url);

// The seam in force (the Qt implementation unless a test installed another).
Dialogs& dialogs();
// Installs d and returns the one it replaces.
std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> d);

// A filter as callers write it ("Access (*.mdb)|*.mdb", description and pattern pairs separated by
// '|' or NUL characters) in the form of Qt's file dialogs ("Access (*.mdb)"; a description without
// its patterns gets them: "Excel|*.xls" is "Excel (*.xls)"). A filter that is already in Qt's form
// is returned as it stands.
QString qtFileFilter(const QString& filter);

// The widths in pixels of the open-file dialog's file list columns 名前, サイズ, タイプ and 更新日, from
// the widest text each shows (its heading included) and the room of the list: サイズ, タイプ and 更新日
// each show their widest text whole; the name takes the room left, at least leastName (the list
// then scrolls sideways rather than cut a size or a date).
std::array<int, 4> fileListColumnWidths(int room, const std::array<int, 4>& widest, int leastName);

// A message's lines joined by line breaks (CR LF), with no break after the last.
QString lines(std::initializer_list<const char*> parts);

// Shorthands.
inline int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) {
    return dialogs().msgBox(prompt, style, title);
}
inline std::optional<QString> InputBox(const QString& prompt, const QString& title = {}, const QString& def = {},
                                       std::optional<QPoint> posTwips = std::nullopt) {
    return dialogs().inputBox(prompt, title, def, posTwips);
}

}  // namespace ui
