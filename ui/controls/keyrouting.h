#pragma once
// Key handling shared by the edit controls: Enter taken as Tab, the Tab-exit flag with
// the shift keys of the last key press, and the character a key press types.

#include <QChar>
#include <QKeyEvent>
#include <Qt>
#include <optional>

class QWidget;

// True for Return and the keypad's Enter.
bool IsEnterKey(const QKeyEvent *e);

// Sends w a press of Tab (Shift+Tab when Shift is held with the Enter) in place of the
// Enter press e, so that the focus moves on exactly as Tab moves it.
void SendTabFor(QWidget *w, const QKeyEvent *enter);

// The character a key press types, as the edit controls filter it: Ctrl with a letter
// gives its control character (Ctrl+C is 3); Backspace is 8. Nothing for keys that type
// no character (arrows, Delete, Home) and for Tab, Enter and Escape, which the window handles.
std::optional<QChar> TypedCharacter(const QKeyEvent *e);

// The key press e as typing c instead of its own character, for the control's own
// handling of typed characters.
QKeyEvent KeyTyping(const QKeyEvent *e, QChar c);

// What a control remembers between key presses and leaving: whether Tab (or Enter taken
// as Tab) is moving the focus on, and the shift keys held at the last key press.
class TabExitState {
public:
    // Notes a key press: remembers its shift keys; Tab and Shift+Tab set the flag.
    void noteKeyPress(const QKeyEvent *e);
    // True after Tab or Enter taken as Tab, until clear().
    bool flag() const { return m_flag; }
    // Shift, Ctrl and Alt as held at the last key press.
    Qt::KeyboardModifiers shift() const { return m_shift; }
    // After it, flag() is false.
    void clear() { m_flag = false; }

private:
    bool m_flag = false;
    Qt::KeyboardModifiers m_shift;
};
