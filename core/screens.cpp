#include "core/screens.h"

#include <stdexcept>

namespace {

Screens *g_screens = nullptr;

} // namespace

void FormCommands::CloseWith(int result)
{
    ModalResult = result;
    emit closeRequested(result);
}

void FormCommands::FocusControl(int control)
{
    emit focusRequested(control);
}

Screens &screens()
{
    if (!g_screens)
        throw std::logic_error("no window layer is installed to open windows");
    return *g_screens;
}

void setScreens(Screens *s)
{
    g_screens = s;
}

Screens *installedScreens()
{
    return g_screens;
}

QString Screens::GetOpenFileName(const QString &, const QString &, const QString &)
{
    throw std::logic_error("this window layer opens no file dialog");
}

int Screens::ShowFakturaDodavatele(TFakturaDodavatele &)
{
    throw std::logic_error("this window layer shows no supplier invoice");
}
