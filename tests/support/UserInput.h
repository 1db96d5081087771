#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Runs `open`, which shows a popup menu and waits in it, and hands the popup
// to `inspect`, which may trigger an action; the popup is closed afterwards.
// False when no popup opened.
inline bool InspectPopup(const std::function<void()>& open,
                         const std::function<void(QMenu&)>& inspect)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        opened = true;
        inspect(*menu);
        if (menu->isVisible())
            menu->close();
    });
    open();
    return opened;
}

// The user moves onto the link showing `text` in a web view and clicks it.
inline void ClickLink(QTextBrowser* browser, const QString& text)
{
    ASSERT_NE(browser, nullptr);
    QTextCursor cursor = browser->document()->find(text);
    ASSERT_FALSE(cursor.isNull()) << text.toStdString();
    cursor.setPosition(cursor.selectionStart() + 1);
    const QPoint at = browser->cursorRect(cursor).center() + QPoint(2, 0);
    QTest::mouseMove(browser->viewport(), at + QPoint(0, 30));
    QTest::mouseMove(browser->viewport(), at);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
