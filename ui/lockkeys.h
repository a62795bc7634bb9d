#pragma once
// The states of Caps Lock and Num Lock, as the keyboard indicators of the window system
// show them (XKB on X11). Qt itself reports neither.

#include <optional>

struct LockKeys {
    bool caps = false;
    bool num = false;
};

// The indicators now; nothing when the platform tells no indicator state (no X11 display,
// as on the offscreen platform). Requires a QGuiApplication.
std::optional<LockKeys> ReadLockKeys();
