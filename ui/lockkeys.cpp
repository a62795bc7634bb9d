#include "lockkeys.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace {

// The state of the named XKB indicator ("Caps Lock", "Num Lock"); false when the
// keyboard has no such indicator.
bool indicator(Display *display, const char *name)
{
    Bool on = False;
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
}

} // namespace

std::optional<LockKeys> ReadLockKeys()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    return LockKeys{indicator(display, "Caps Lock"), indicator(display, "Num Lock")};
}
