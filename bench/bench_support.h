#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <QCoreApplication>
#include <QString>
#include <memory>
#include "platform/data/database.h"
#include "demo/demo_data.h"
#include "platform/ui/dialogs.h"
#include "shell/form5.h"

// What the benchmarks share besides the raw side.
namespace benchsupport {

// Fills the program folder under dir with n priced stocks of demo data (fixed seed), without cards
// or workbooks.
inline void demoStocks(const QString& dir, int n) {
    demo::Options options;
    options.seed = 6;
    options.totalStocks = n;
    options.cards = 0;
    options.workbooks = false;
    demo::generate(dir, options);
}

// Fills the program folder under dir with n priced stocks and the given number of cards of demo
// data (seed as given), without workbooks.
inline void demoCards(const QString& dir, std::uint32_t seed, int stocks, int cards) {
    demo::Options options;
    options.seed = seed;
    options.totalStocks = stocks;
    options.cards = cards;
    options.workbooks = false;
    demo::generate(dir, options);
}

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
    void openUrl(const QString&) override {}
    void playSound(const QString&) override {}
    void beep() override {}
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString&) override {}
};

inline double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

template <class F>
double timedMs(F f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return msSince(t0);
}

// Unloads window F if it is loaded, and lets it go as the event loop does once the handler
// returns: a window unloaded in a benchmark otherwise keeps its rows until the benchmark ends.
template <class F>
void unload() {
    if (F::isLoaded()) F::it().Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A benchmark over the program folder of dataHome, with answering dialogs; at its end the menu
// goes, the connections are released, and the dialogs and XDG_DATA_HOME are put back.
class ScreenScope {
public:
    explicit ScreenScope(const QString& dataHome) { qputenv("XDG_DATA_HOME", dataHome.toUtf8()); }
    ~ScreenScope() {
        if (Form5::isLoaded()) Form5::it().Unload();
        QCoreApplication::processEvents();
        platform::Database::releaseUnused();
        ui::setDialogs(std::move(previous_));
        qputenv("XDG_DATA_HOME", dataHome_);
    }
    ScreenScope(const ScreenScope&) = delete;
    ScreenScope& operator=(const ScreenScope&) = delete;
    AnsweringDialogs* const answers = new AnsweringDialogs;

private:
    QByteArray dataHome_ = qgetenv("XDG_DATA_HOME");
    std::unique_ptr<ui::Dialogs> previous_ = ui::setDialogs(std::unique_ptr<ui::Dialogs>(answers));
};

}  // namespace benchsupport
