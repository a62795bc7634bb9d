#pragma once
// For tests that run the program in-process: once the event loop runs, the title of the
// window the program shows is taken and that window closed, so that the program ends.

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

// Arranges for `title` to receive the title of the visible top-level window(s) and for
// them to be closed, as soon as the event loop next runs.
inline void takeTitleAndCloseShownWindow(QString &title)
{
    QTimer::singleShot(0, [&title] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible()) {
                title = w->windowTitle();
                w->close();
            }
    });
}
