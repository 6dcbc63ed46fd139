#include "platform/ui/busy_notice.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace ui {

BusyNotice::BusyNotice() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    window_ = std::make_unique<QFrame>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    auto* frame = static_cast<QFrame*>(window_.get());
    frame->setObjectName(QStringLiteral("BusyNotice"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(new QLabel(QStringLiteral("データベースを確かめています。しばらくお待ちください。"), frame));
    frame->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame->move(screen->availableGeometry().center() - frame->rect().center());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frame->show();
    frame->repaint();
    // Shown and painted now: the work that follows lets no event through until it ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyNotice::~BusyNotice() {
    if (!window_) return;
    window_->hide();
    window_.reset();
    QApplication::restoreOverrideCursor();
}

}  // namespace ui
