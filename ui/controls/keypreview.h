#pragma once
// A window that sees its key presses before the focused control does: every key press
// aimed at a widget of the window (the focused one, or the window itself when nothing
// has the focus) is first offered to the window's handler, while the window is not
// covered by a modal window of its own. A press the handler takes goes no further; Enter
// that it leaves, aimed at a focused push button, clicks the button.

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

class KeyPreview : public QObject {
    Q_OBJECT
public:
    // handler: true when it took the key. Requires a QApplication; the preview lives as
    // a child of window and watches the application until then.
    KeyPreview(QWidget *window, std::function<bool(QKeyEvent *)> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<bool(QKeyEvent *)> m_handler;
};
