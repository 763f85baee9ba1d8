// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

class QProcess;

// A real X desktop of the test's own: Xvfb on a free display, optionally Openbox, and the
// programs started there, each in a process group of its own that ends with the session.
// Input goes in through XTEST (xdotool) as from a keyboard and a mouse; state is read with xprop.
class DesktopSession
{
public:
    enum class WindowManager { None, Openbox };
    using WindowId = quint32;

    ~DesktopSession();

    static QStringList missingTools(WindowManager manager);
    bool start(WindowManager manager = WindowManager::Openbox);
    QString errorString() const { return m_error; }
    QString scratchPath() const { return m_scratch.path(); }
    // DISPLAY, the xcb platform, and runtime, cache and configuration folders under scratchPath().
    QProcessEnvironment environment() const;
    // The session owns the process and stops it with its whole process group.
    QProcess *launch(const QString &program, const QStringList &arguments,
                     const QString &workingDirectory = QString(),
                     const QProcessEnvironment &environment = QProcessEnvironment());
    void stop(QProcess *process);
    // Runs an X tool on this display to its end; its standard output, trimmed.
    QString run(const QString &tool, const QStringList &arguments, bool *ok = nullptr) const;

    // To the window with the keyboard focus; xdotool key names apart by spaces ("alt+a Return").
    bool key(const QString &keys) const;
    bool type(const QString &text) const;
    // A left click in the middle of a rectangle in the window's own coordinates.
    bool click(WindowId window, const QRect &rect) const;

    QList<WindowId> findWindows(const QString &titlePattern, qint64 pid = 0) const; // visible ones
    WindowId waitForWindow(const QString &titlePattern, qint64 pid = 0, int timeoutMs = 15000) const;
    QString title(WindowId window) const;
    bool isViewable(WindowId window) const;
    WindowId transientFor(WindowId window) const;
    bool isAbove(WindowId upper, WindowId lower) const;
    WindowId activeWindow() const;
    // Returns once the window manager has handled every input and request sent before.
    bool settleWindowManager() const;
    // One pixel of a window, in its own coordinates, read with ImageMagick's import.
    QColor pixel(WindowId window, QPoint point) const;
    // The event loop runs meanwhile, so the test's own servers keep answering.
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000);

private:
    bool startWindowManager();
    bool xdotool(const QStringList &arguments) const;

    QTemporaryDir m_scratch;
    QString m_display;
    QString m_error;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

// A missing tool skips the test with a line CTest reads as a skip; one that fails is a failure.
#define DESKTOPSESSION_START_OR_SKIP(session, manager)                                            \
    do {                                                                                          \
        if (const QStringList missing_ = DesktopSession::missingTools(manager); !missing_.isEmpty()) { \
            std::printf("SKIPPED: not installed: %s\n", qPrintable(missing_.join(", ")));          \
            std::fflush(stdout);                                                                  \
            QSKIP(qPrintable("not installed: " + missing_.join(", ")));                            \
        }                                                                                         \
        QVERIFY2((session).start(manager), qPrintable((session).errorString()));                  \
    } while (false)
