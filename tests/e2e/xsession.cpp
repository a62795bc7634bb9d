#include "xsession.h"

#include <QElapsedTimer>
#include <QThread>
#include <stdexcept>

#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void fail(const QString &what) { throw std::runtime_error(what.toStdString()); }

// A window may go between listing it and reading it: such errors are the answer "gone",
// not a reason to end the test.
int ignoreError(Display *, XErrorEvent *) { return 0; }

void sleepFor(std::chrono::milliseconds ms) { QThread::msleep(static_cast<unsigned long>(ms.count())); }

} // namespace

void ChildProcess::start(const QString &program, const QStringList &arguments, const QString &dir,
                         const QProcessEnvironment &env, int keepFd)
{
    std::vector<QByteArray> args{program.toLocal8Bit()};
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> vars;
    for (const QString &v : env.toStringList())
        vars.push_back(v.toLocal8Bit());
    std::vector<char *> envp;
    for (QByteArray &v : vars)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    const QByteArray where = dir.toLocal8Bit();
    const pid_t parent = getpid();

    m_status.reset();
    m_pid = fork();
    if (m_pid < 0)
        fail(QStringLiteral("fork failed"));
    if (m_pid == 0) {
        // The child dies with the test, even when the test is killed.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        setpgid(0, 0);
        for (int fd = 3; fd < 1024; ++fd)
            if (fd != keepFd)
                close(fd);
        if (!where.isEmpty() && chdir(where.constData()) != 0)
            _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
}

bool ChildProcess::running() { return m_pid > 0 && !wait(std::chrono::milliseconds(0)); }

std::optional<int> ChildProcess::wait(std::chrono::milliseconds timeout)
{
    if (m_status || m_pid <= 0)
        return m_status;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_status;
        }
        if (clock.elapsed() >= timeout.count())
            return std::nullopt;
        sleepFor(std::chrono::milliseconds(20));
    }
}

void ChildProcess::kill()
{
    if (m_pid <= 0 || m_status)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_status = 128 + SIGKILL;
}

XSession::XSession()
{
    int fds[2];
    if (pipe(fds) != 0)
        fail(QStringLiteral("pipe failed"));
    const QString server = QStringLiteral("/usr/bin/Xvfb");
    m_server.start(server,
                   {QStringLiteral("-displayfd"), QString::number(fds[1]), QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                   QString(), QProcessEnvironment::systemEnvironment(), fds[1]);
    close(fds[1]);
    // Xvfb writes the display number it took, then a newline, once it accepts clients.
    QByteArray number;
    QElapsedTimer clock;
    clock.start();
    while (!number.endsWith('\n') && clock.elapsed() < 10000) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 200) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1)
                break;
            number.append(c);
        }
    }
    close(fds[0]);
    if (!number.endsWith('\n'))
        fail(QStringLiteral("Xvfb did not start"));
    m_name = u':' + QString::fromLatin1(number.trimmed());
    XSetErrorHandler(ignoreError);
    m_display = XOpenDisplay(m_name.toLatin1().constData());
    if (!m_display)
        fail(QStringLiteral("cannot open display %1").arg(m_name));
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor))
        fail(QStringLiteral("the X server has no XTEST"));
}

XSession::~XSession()
{
    if (m_display)
        XCloseDisplay(m_display);
    m_server.kill();
}

QString XSession::title(XWindow window)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *value = nullptr;
    const Atom name = XInternAtom(m_display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    QString text;
    if (XGetWindowProperty(m_display, window, name, 0, 1024, False, utf8, &type, &format, &items, &after, &value)
            == Success
        && value)
        text = QString::fromUtf8(reinterpret_cast<const char *>(value), int(items));
    if (value)
        XFree(value);
    return text;
}

QStringList XSession::titles()
{
    QStringList found;
    Window root = 0, parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return found;
    // Stacking order, bottom first: the last one found is the newest on top.
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable) {
            const QString t = title(children[i]);
            if (!t.isEmpty())
                found << t;
        }
    }
    if (children)
        XFree(children);
    return found;
}

XWindow XSession::waitForWindow(const QString &wanted, bool prefix, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    do {
        XSync(m_display, False);
        Window root = 0, parent = 0;
        Window *children = nullptr;
        unsigned count = 0;
        XWindow hit = 0;
        if (XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count)) {
            for (unsigned i = count; i-- > 0 && !hit;) {
                XWindowAttributes a;
                if (!XGetWindowAttributes(m_display, children[i], &a) || a.map_state != IsViewable)
                    continue;
                const QString t = title(children[i]);
                if (prefix ? t.startsWith(wanted) : t == wanted)
                    hit = children[i];
            }
            if (children)
                XFree(children);
        }
        if (hit) {
            settle(std::chrono::milliseconds(200));   // let the program finish painting it
            return hit;
        }
        sleepFor(std::chrono::milliseconds(50));
    } while (clock.elapsed() < timeout.count());
    return 0;
}

bool XSession::waitUntilGone(const QString &wanted, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    do {
        XSync(m_display, False);
        if (!titles().contains(wanted))
            return true;
        sleepFor(std::chrono::milliseconds(50));
    } while (clock.elapsed() < timeout.count());
    return false;
}

void XSession::focus(XWindow window)
{
    XRaiseWindow(m_display, window);
    XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
    XSync(m_display, False);
    settle(std::chrono::milliseconds(200));
}

unsigned XSession::keycodeFor(unsigned long keysym, bool *shift)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (!code)
        fail(QStringLiteral("no key for keysym %1").arg(keysym));
    *shift = XkbKeycodeToKeysym(m_display, code, 0, 0) != keysym && XkbKeycodeToKeysym(m_display, code, 0, 1) == keysym;
    return code;
}

void XSession::press(unsigned keycode, bool down)
{
    XTestFakeKeyEvent(m_display, keycode, down ? True : False, CurrentTime);
    XSync(m_display, False);
    sleepFor(std::chrono::milliseconds(15));
}

void XSession::tap(unsigned long keysym)
{
    bool shift = false;
    const unsigned code = keycodeFor(keysym, &shift);
    const unsigned shiftCode = XKeysymToKeycode(m_display, XK_Shift_L);
    if (shift)
        press(shiftCode, true);
    press(code, true);
    press(code, false);
    if (shift)
        press(shiftCode, false);
}

void XSession::key(const char *name, const QStringList &modifiers)
{
    const KeySym sym = XStringToKeysym(name);
    if (sym == NoSymbol)
        fail(QStringLiteral("unknown key %1").arg(QLatin1String(name)));
    std::vector<unsigned> held;
    for (const QString &m : modifiers) {
        const char *modifier = m == QLatin1String("Shift") ? "Shift_L" : m == QLatin1String("Control") ? "Control_L" : "Alt_L";
        bool unused = false;
        held.push_back(keycodeFor(XStringToKeysym(modifier), &unused));
    }
    for (unsigned h : held)
        press(h, true);
    tap(sym);
    for (auto h = held.rbegin(); h != held.rend(); ++h)
        press(*h, false);
    sleepFor(std::chrono::milliseconds(30));
}

void XSession::type(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            fail(QStringLiteral("cannot type %1").arg(c));
        tap(c.unicode());   // Latin-1 keysyms are the characters themselves
    }
    sleepFor(std::chrono::milliseconds(30));
}

void XSession::settle(std::chrono::milliseconds pause)
{
    XSync(m_display, False);
    sleepFor(pause);
}

QImage XSession::grab(XWindow window)
{
    XSync(m_display, False);
    XWindowAttributes a;
    if (!window || !XGetWindowAttributes(m_display, window, &a))
        return QImage();
    XImage *image = XGetImage(m_display, window, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!image)
        return QImage();
    QImage result(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < a.width; ++x)
            line[x] = QRgb(XGetPixel(image, x, y)) | 0xff000000u;
    }
    XDestroyImage(image);
    return result;
}
