#include "focusvisit.h"

#include "core/errors.h"
#include "core/prompter.h"

#include <QFocusEvent>
#include <QWidget>
#include <exception>

namespace {

int g_returning = 0;   // > 0 while a control takes its focus back

bool movesWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::MenuBarFocusReason;
}

} // namespace

bool FocusVisit::entered(const QFocusEvent *)
{
    if (m_active)
        return false;
    m_active = true;
    return true;
}

bool FocusVisit::left(const QFocusEvent *e)
{
    if (!m_active || !movesWithinWindow(e->reason()))
        return false;
    m_active = false;
    return g_returning == 0;
}

void ReturnFocus(QWidget *control)
{
    if (!control->isEnabled() || !control->isVisible())
        return;
    ++g_returning;
    control->setFocus(Qt::OtherFocusReason);
    --g_returning;
}

bool RunHandler(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const AppError &e) {
        prompter().ShowMessage(e.text());
    } catch (const std::exception &e) {
        prompter().ShowMessage(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
