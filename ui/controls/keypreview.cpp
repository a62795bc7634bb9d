#include "keypreview.h"

#include "keyrouting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *window, std::function<bool(QKeyEvent *)> handler)
    : QObject(window)
    , m_window(window)
    , m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    // A key press that its receiver ignores travels on to the parents and passes the
    // filter again: only the first receiver is the one the key was aimed at.
    QWidget *focus = QApplication::focusWidget();
    if (watched != (focus ? focus : QApplication::activeWindow()))
        return false;
    auto *receiver = static_cast<QWidget *>(watched);
    if (receiver->window() != m_window)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (m_handler(key))
        return true;
    // A focused button reacts to Enter as to Space (a button without the focus never does).
    auto *button = qobject_cast<QPushButton *>(receiver);
    if (button && IsEnterKey(key) && !(key->modifiers() & ~Qt::KeypadModifier) && button->isEnabled()) {
        button->click();
        return true;
    }
    return false;
}
