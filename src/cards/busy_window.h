#pragma once
#include <QApplication>
#include <QCoreApplication>
#include "platform/ui/forms.h"

namespace cards {

// While a bulk run goes on its window takes no input (so it cannot be started twice) and the
// pointer shows that the program is working; a progress line, if given, tells how far it has come.
// Everything is put back when the run ends, however it ends.
class BusyWindow {
public:
    explicit BusyWindow(ui::Form& form, ui::Label* line = nullptr)
        : form_(form), line_(line), caption_(line ? line->Caption() : QString()) {
        form_.setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyWindow() {
        QApplication::restoreOverrideCursor();
        if (line_) line_->setCaption(caption_);
        form_.setEnabled(true);
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    void progress(long long done, long long total) {
        if (line_) line_->setCaption(QStringLiteral("登録中　%1 / %2 枚").arg(done).arg(total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    ui::Form& form_;
    ui::Label* line_;
    QString caption_;
};

}  // namespace cards
