#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <variant>
#include <vector>
#include "platform/ui/dialogs.h"

namespace testing_support {

// One thing the program showed or did through the seam.
struct SeamEvent {
    QString kind;     // "msgbox", "input", "openfile", "url", "sound", "beep", "clipboard"
    QString prompt;   // prompt, address, sound path or clipboard text
    QString title;
    QString defaultAnswer;
    int style = 0;
};

// The test double of the dialogs seam: answers come from queues; every prompt, title, address
// and sound is recorded. A dialog with no queued answer fails the running test (and answers
// Cancel / OK / nothing so the program goes on).
class ScriptedDialogs : public ui::Dialogs {
public:
    void answerMsgBox(int answer) { msg.push_back(answer); }
    void answerInput(std::optional<QString> answer) { input.push_back(std::move(answer)); }
    void answerOpenFile(const QString& path) { files.push_back(path); }

    std::vector<SeamEvent> events;
    QStringList urls;
    bool browserOpens = true;   // false: openUrl tells that no browser took the address
    bool launchBrowsers = false;   // openUrl hands the address to the desktop's launcher (ui::launchBrowser)
    QStringList sounds;
    int beeps = 0;
    QString clipboard;

    // Prompts of the message boxes shown so far, in order.
    QStringList msgBoxPrompts() const;
    QStringList inputPrompts() const;
    // True when every queued answer was used.
    bool allAnswersUsed() const { return msg.empty() && input.empty() && files.empty(); }

    int msgBox(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& def,
                                    std::optional<QPoint> pos) override;
    QString openFile(const QString& title, const QString& filter) override;
    void openUrl(const QString& url) override;
    void playSound(const QString& path) override;
    void beep() override;
    QString clipboardText() override;
    void setClipboardText(const QString& text) override;

private:
    std::deque<int> msg;
    std::deque<std::optional<QString>> input;
    std::deque<QString> files;
};

// Installs a fresh ScriptedDialogs for the scope of a test and restores the previous seam.
class SeamScope {
public:
    SeamScope();
    ~SeamScope();
    SeamScope(const SeamScope&) = delete;
    SeamScope& operator=(const SeamScope&) = delete;
    ScriptedDialogs& operator*() { return *d_; }
    ScriptedDialogs* operator->() { return d_; }
private:
    ScriptedDialogs* d_;
    std::unique_ptr<ui::Dialogs> previous_;
};

// A fresh program folder for one test: sets XDG_DATA_HOME to a new temporary folder.
class ProgramFolderScope {
public:
    ProgramFolderScope();
    ~ProgramFolderScope();
    ProgramFolderScope(const ProgramFolderScope&) = delete;
    ProgramFolderScope& operator=(const ProgramFolderScope&) = delete;
    QString folder() const;   // .../Vostrel/
private:
    struct Impl;
    Impl* d;
};

// Discards every loaded window when the test ends (without their events), so the next test
// starts from windows that are not loaded.
class WindowsScope {
public:
    WindowsScope() = default;
    ~WindowsScope();
    WindowsScope(const WindowsScope&) = delete;
    WindowsScope& operator=(const WindowsScope&) = delete;
};

}  // namespace testing_support
