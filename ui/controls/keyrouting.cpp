#include "keyrouting.h"

#include <QCoreApplication>
#include <QWidget>

bool IsEnterKey(const QKeyEvent *e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

void SendTabFor(QWidget *w, const QKeyEvent *enter)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, enter->modifiers() & Qt::ShiftModifier);
    QCoreApplication::sendEvent(w, &tab);
}

std::optional<QChar> TypedCharacter(const QKeyEvent *e)
{
    const int key = e->key();
    if (key == Qt::Key_Backspace)
        return QChar(u'\b');
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape || IsEnterKey(e)
        || key == Qt::Key_Delete)
        return std::nullopt;
    const Qt::KeyboardModifiers mods = e->modifiers();
    // Ctrl+Alt is AltGr on some keyboards: it types ordinary characters.
    const bool control = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (control) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QChar(char16_t(key - Qt::Key_A + 1));
        return std::nullopt;
    }
    const QString text = e->text();
    if (text.size() != 1)
        return std::nullopt;
    return text.front();
}

QKeyEvent KeyTyping(const QKeyEvent *e, QChar c)
{
    return QKeyEvent(e->type(), e->key(), e->modifiers(), QString(c), e->isAutoRepeat(), ushort(e->count()));
}

void TabExitState::noteKeyPress(const QKeyEvent *e)
{
    m_shift = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool tab = e->key() == Qt::Key_Backtab || e->key() == Qt::Key_Tab;
    if (tab && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        m_flag = true;
}
