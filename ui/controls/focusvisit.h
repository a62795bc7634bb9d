#pragma once
// When a control is really entered and left. Qt also moves the focus away when the window
// is deactivated or a popup opens, and lends it for a moment to a neighbour while a control
// that refused to be left takes it back; none of these may run a control's exit checks.

#include <QString>
#include <functional>

class QFocusEvent;
class QWidget;

class FocusVisit {
public:
    // True when the focus-in starts a visit (a control already in a visit stays in it).
    bool entered(const QFocusEvent *e);
    // True when the focus-out ends the visit because another control of the window takes
    // the focus; false for a window deactivation, a popup, no visit, or a lent focus.
    bool left(const QFocusEvent *e);
    // True between entered() and left().
    bool active() const { return m_active; }

private:
    bool m_active = false;
};

// Gives the focus back to control after it refused to be left, when it can take the
// focus (enabled and visible). The control that had the focus meanwhile is not left.
void ReturnFocus(QWidget *control);

// Runs a window's event handler. A failure it raises (an AppError or another exception)
// is shown as a message with its text; the result is then false.
bool RunHandler(const std::function<void()> &handler);
