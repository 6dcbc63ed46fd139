#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "platform/ui/busy_notice.h"

namespace {

// The texts of the labels of the visible top-level windows.
QStringList shownTexts() {
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            for (const QLabel* label : w->findChildren<QLabel*>()) texts << label->text();
    return texts;
}

TEST(BusyNotice, ShowsItsWindowAndTheBusyPointerWhileItLivesOnly) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        ui::BusyNotice notice;
        EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("データベースを確かめています。しばらくお待ちください。")});
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(shownTexts(), QStringList());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
