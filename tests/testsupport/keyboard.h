#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Keys as a real keyboard sends them: each press and each release goes to the widget that has
// the focus at that moment, so a widget that takes the focus halfway gets the rest.
// Delete carries the character 127 on X11, which Qt Test leaves out.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (key == Qt::Key_Delete) {
        const QString text(QChar(127));
        QTest::sendKeyEvent(QTest::Press, static_cast<QWidget*>(nullptr), key, text, modifiers);
        QTest::sendKeyEvent(QTest::Release, static_cast<QWidget*>(nullptr), key, text, modifiers);
        return;
    }
    QTest::keyPress(static_cast<QWidget*>(nullptr), key, modifiers);
    QTest::keyRelease(static_cast<QWidget*>(nullptr), key, modifiers);
}

inline void TypeKeys(const QString& text) {
    for (const QChar c : text) {
        QTest::keyPress(static_cast<QWidget*>(nullptr), c.toLatin1());
        QTest::keyRelease(static_cast<QWidget*>(nullptr), c.toLatin1());
    }
}

// Shows the window and makes it the active one, as a click on it would.
inline bool Activate(QWidget* window) {
    window->show();
    window->activateWindow();
    // The platform window becomes active before the application follows (a tool window's opener
    // can stay the active window a little longer): wait for both.
    return QTest::qWaitForWindowActive(window) &&
           QTest::qWaitFor([window] { return window->isActiveWindow(); });
}

// A mouse click in the middle of a list item.
template <typename View, typename Item> void ClickItem(View* view, Item* item) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualItemRect(item).center());
}
