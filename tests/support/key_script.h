#pragma once
// What a QtTest script of real windows plays the user with: keys sent where the keyboard
// sends them (to the focused control), the wait for a modal window to become active, and
// the guard that closes a window whose script stopped at a failed check.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

// A key press and release sent where the user's keyboard sends it: to the focused control.
inline void press(Qt::Key key, Qt::KeyboardModifiers shift = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClick(target, key, shift);
}

inline void type(const QString &text)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClicks(target, text);
}

// The modal window of that type once it is active; nullptr when none comes.
template <typename Window>
Window *waitForActive()
{
    Window *window = nullptr;
    const bool active = QTest::qWaitFor([&] {
        window = qobject_cast<Window *>(QApplication::activeModalWidget());
        return window && window->isActiveWindow();
    });
    return active ? window : nullptr;
}

// Closes a window whose script stopped at a failed check, so that its modal run ends
// and the test reports the failure instead of waiting for the user.
struct CloseUnlessDone {
    QWidget *window;
    const bool &done;
    ~CloseUnlessDone()
    {
        if (window && !done)
            window->close();
    }
};
