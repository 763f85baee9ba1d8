// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

class QProcess;

// A real X desktop of the test's own: an Xvfb server on a free display, optionally the
// Openbox window manager on it, and the programs the test starts there. Input goes in
// through the XTEST extension (xdotool), as a keyboard and a mouse would send it; window
// state is read back with xprop. Everything started here runs in a process group of its
// own and is stopped, group and all, when the session ends.
class DesktopSession
{
public:
    enum class WindowManager { None, Openbox };
    using WindowId = quint32;

    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession &) = delete;
    DesktopSession &operator=(const DesktopSession &) = delete;

    // The programs a session with this window manager needs that are not installed.
    static QStringList missingTools(WindowManager manager);

    // Starts the X server and, when asked, the window manager, and waits until each is
    // ready. On failure errorString() says what went wrong.
    bool start(WindowManager manager = WindowManager::Openbox);
    QString errorString() const { return m_error; }
    QString display() const { return m_display; }
    // A folder that lives as long as the session.
    QString scratchPath() const { return m_scratch.path(); }
    // The environment for a program on this desktop: DISPLAY, the xcb platform, and
    // runtime, cache and configuration folders in the scratch folder.
    QProcessEnvironment environment() const;

    // Starts a program on the desktop; it is stopped with its whole process group when
    // the session ends. The session owns the returned process.
    QProcess *launch(const QString &program, const QStringList &arguments,
                     const QString &workingDirectory = QString(),
                     const QProcessEnvironment &environment = QProcessEnvironment());
    // Stops a launched program and everything it started, now.
    void stop(QProcess *process);

    // Runs an X tool on this display to its end; its standard output, trimmed.
    QString run(const QString &tool, const QStringList &arguments, bool *ok = nullptr) const;

    // Key presses go to whichever window has the keyboard focus, as from a keyboard;
    // keys are xdotool key names, one press each, apart by spaces ("alt+a ctrl+a Return").
    bool key(const QString &keys) const;
    bool type(const QString &text) const;
    // Moves the pointer to the middle of a rectangle given in the window's own
    // coordinates and clicks the left button there.
    bool click(WindowId window, const QRect &rect) const;

    // Visible windows whose title matches a regular expression, optionally of one process.
    QList<WindowId> findWindows(const QString &titlePattern, qint64 pid = 0) const;
    // Waits for one visible window with a matching title; 0 when none came in time.
    WindowId waitForWindow(const QString &titlePattern, qint64 pid = 0, int timeoutMs = 15000) const;

    QString title(WindowId window) const;
    bool isViewable(WindowId window) const;
    // The window's outer rectangle in root coordinates, frame excluded.
    QRect geometry(WindowId window) const;
    // WM_TRANSIENT_FOR of the window; 0 when it has none.
    WindowId transientFor(WindowId window) const;
    // The managed windows from bottom to top, as the window manager stacks them.
    QList<WindowId> stacking() const;
    // True when the window manager stacks `upper` above `lower`.
    bool isAbove(WindowId upper, WindowId lower) const;
    // _NET_ACTIVE_WINDOW as the window manager announces it; 0 when none.
    WindowId activeWindow() const;

    // Returns once the window manager has handled every input and request sent before
    // the call, so what it does about a click can be checked without waiting on a guess.
    bool settleWindowManager() const;

    // The colour of one pixel of a window, in its own coordinates (needs ImageMagick's
    // import); an invalid colour when it cannot be read.
    QColor pixel(WindowId window, QPoint point) const;

    // Runs the event loop until the condition holds or the time runs out; the test's own
    // servers keep answering meanwhile.
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000);

private:
    bool startServer();
    bool startWindowManager();
    QList<WindowId> search(const QStringList &criteria, qint64 pid) const;
    static WindowId parseWindow(const QString &text);

    QTemporaryDir m_scratch;
    QString m_display;
    QString m_error;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

// Starts the session for the running test function, or skips it with a line that CTest
// reads as a skip when a tool is missing. A tool that is there but fails is a failure.
#define DESKTOPSESSION_START_OR_SKIP(session, manager)                                        \
    do {                                                                                      \
        const QStringList desktopMissing_ = DesktopSession::missingTools(manager);           \
        if (!desktopMissing_.isEmpty()) {                                                     \
            const QByteArray desktopWhy_ =                                                    \
                "not installed: " + desktopMissing_.join(QLatin1String(", ")).toUtf8();      \
            std::printf("SKIPPED: %s\n", desktopWhy_.constData());                            \
            std::fflush(stdout);                                                              \
            QSKIP(desktopWhy_.constData());                                                   \
        }                                                                                     \
        QVERIFY2((session).start(manager), qPrintable((session).errorString()));              \
    } while (false)
