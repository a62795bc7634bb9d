#pragma once
// A private X server (Xvfb) for tests that run the built program as a separate process
// and work it as a user does: by keys sent through the XTEST extension to the window
// that has the keyboard. Without a window manager nothing hands the keyboard to a new
// window, so the session does it, as a window manager would, before each key sequence.
// Every wait is bounded; the server and the program die with the test process.

#include <QImage>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <sys/types.h>

using XWindow = unsigned long;
struct _XDisplay;

// A child process that is killed (SIGKILL) when the test process dies, by whatever means.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess() { kill(); }

    // Starts program with arguments in directory dir (empty: this one) and the given
    // environment; keepFd stays open in the child (−1: none). Throws std::runtime_error.
    void start(const QString &program, const QStringList &arguments, const QString &dir,
               const QProcessEnvironment &env, int keepFd = -1);
    bool running();
    // Waits up to timeout for the process to end; its exit status, or nothing.
    std::optional<int> wait(std::chrono::milliseconds timeout);
    void kill();
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

class XSession {
public:
    // Starts Xvfb on a display number it chooses itself (-displayfd), 1280×1024×24.
    // Throws std::runtime_error when it does not come up within 10 seconds.
    XSession();
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    QString displayName() const { return m_name; }   // ":N"

    // The first viewable top-level window whose title is title (or starts with it when
    // prefix), waited for up to timeout; 0 when none appears.
    XWindow waitForWindow(const QString &title, bool prefix = false,
                          std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits until no viewable top-level window has the title; false on timeout.
    bool waitUntilGone(const QString &title, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // The titles of the viewable top-level windows (for messages of failed checks).
    QStringList titles();
    // The title of a window as the window system has it.
    QString title(XWindow window);

    // Gives the window the keyboard and waits a moment for the program to take it.
    void focus(XWindow window);
    // A key by its X keysym name ("F2", "Return", "Tab", "Escape", "Down", "space"),
    // with modifiers held: any of "Shift", "Control", "Alt".
    void key(const char *name, const QStringList &modifiers = {});
    // Types ASCII text key by key (capitals with Shift).
    void type(const QString &text);
    // Lets the program process what it was sent.
    void settle(std::chrono::milliseconds pause = std::chrono::milliseconds(300));

    // The window's content as the screen shows it.
    QImage grab(XWindow window);

private:
    void press(unsigned keycode, bool down);
    // Presses and releases the key of a keysym, with Shift when the keysym needs it.
    void tap(unsigned long keysym);
    unsigned keycodeFor(unsigned long keysym, bool *shift);

    ChildProcess m_server;
    QString m_name;
    _XDisplay *m_display = nullptr;
};
