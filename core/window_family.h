#pragma once
// The windows a command opens, one family at a time.
//
// Each family of windows (the document editors, the pickers, the file dialogs, the
// windows of a report run, ...) has a small interface of its own, declared beside the
// commands that open those windows and derived from WindowFamily. The program installs
// the real windows of every family at start-up; a test installs windows that play the
// user with a script, a batch job only the few it answers. A command reaches the
// installed windows through Family::current().

#include <stdexcept>

template <typename Family>
class WindowFamily {
public:
    virtual ~WindowFamily() = default;

    // The installed windows of the family. Requires them to be installed
    // (std::logic_error otherwise).
    static Family &current()
    {
        if (!s_installed)
            throw std::logic_error("no window layer is installed to open windows");
        return *s_installed;
    }
    // The installed windows, or nullptr when none are (a batch job shows no windows).
    static Family *installed() { return s_installed; }
    // Installs windows (not owned); nullptr removes them.
    static void install(Family *windows) { s_installed = windows; }

private:
    inline static Family *s_installed = nullptr;
};

// Installs one object as the windows of each of Families for the guard's lifetime; on
// destruction none of them is installed.
template <typename... Families>
class InstalledWindows {
public:
    template <typename Windows>
    explicit InstalledWindows(Windows &windows)
    {
        (Families::install(&windows), ...);
    }
    ~InstalledWindows() { (Families::install(nullptr), ...); }

    InstalledWindows(const InstalledWindows &) = delete;
    InstalledWindows &operator=(const InstalledWindows &) = delete;
};
