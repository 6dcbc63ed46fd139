#pragma once
#include <chrono>
#include <deque>
#include <QString>
#include "platform/ui/dialogs.h"

// What the benchmarks share besides the raw side.
namespace benchsupport {

// The dialogs while a benchmark runs: every message box is answered OK at once, an input box with
// the next queued answer or else its default answer; nothing else is shown or played.
class AnsweringDialogs : public ui::Dialogs {
public:
    std::deque<QString> answers;
    int msgBox(const QString&, int, const QString&) override { return ui::vbOK; }
    std::optional<QString> inputBox(const QString&, const QString&, const QString& def, std::optional<QPoint>) override {
        if (answers.empty()) return def;
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    bool openUrl(const QString&) override { return true; }
    void playSound(const QString&) override {}
    void beep() override {}
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString&) override {}
};

inline double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace benchsupport
