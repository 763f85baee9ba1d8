// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <unistd.h>

static DesktopSession::WindowId parseWindow(const QString &text)
{
    static const QRegularExpression id("window id # (0x[0-9a-fA-F]+)");
    return DesktopSession::WindowId(id.match(text).captured(1).toULong(nullptr, 16));
}

DesktopSession::~DesktopSession()
{
    // Last started, first stopped: the window manager before the X server it runs on.
    while (!m_processes.empty())
        stop(m_processes.back().get());
}

QStringList DesktopSession::missingTools(WindowManager manager)
{
    QStringList missing;
    for (const auto &[program, package] : {std::pair{"Xvfb", "xvfb"}, {"xdotool", "xdotool"}, {"xprop", "x11-utils"},
                                           {"xwininfo", "x11-utils"}, {"openbox", "openbox"}}) {
        if ((manager == WindowManager::Openbox || qstrcmp(program, "openbox") != 0)
            && QStandardPaths::findExecutable(program).isEmpty())
            missing.append(QString("%1 (Debian package %2)").arg(program, package));
    }
    return missing;
}

bool DesktopSession::start(WindowManager manager)
{
    const QDir scratch(m_scratch.path());
    if (!m_scratch.isValid() || !scratch.mkdir("runtime") || !scratch.mkdir("cache") || !scratch.mkdir("config")) {
        m_error = "no scratch folders: " + m_scratch.errorString();
        return false;
    }
    QFile::setPermissions(scratch.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Xvfb picks a free display and writes its number once it takes clients: nothing to guess.
    QProcess *server = launch("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                              QString(), QProcessEnvironment::systemEnvironment());
    QByteArray number;
    const QDeadlineTimer deadline(15000);
    while (!number.contains('\n') && server->waitForReadyRead(int(deadline.remainingTime())))
        number += server->readAllStandardOutput();
    if (!number.contains('\n')) {
        m_error = "Xvfb did not start: " + QString::fromLocal8Bit(server->readAllStandardError());
        return false;
    }
    m_display = ':' + QString::fromLatin1(number.trimmed());
    return manager == WindowManager::None || startWindowManager();
}

bool DesktopSession::startWindowManager()
{
    // Openbox sets this root property once it manages the screen. The spy reports the change;
    // a direct look after each quiet spell covers one made before the spy listened.
    const QStringList check = {"-root", "_NET_SUPPORTING_WM_CHECK"};
    QProcess *spy = launch("xprop", QStringList{"-spy"} + check);
    QProcess *manager = launch("openbox", {"--sm-disable"});
    bool ready = false;
    const QDeadlineTimer deadline(15000);
    while (!ready && !deadline.hasExpired() && manager->state() == QProcess::Running) {
        ready = (spy->waitForReadyRead(200) ? QString::fromLocal8Bit(spy->readAllStandardOutput())
                                            : run("xprop", check)).contains("window id #");
    }
    stop(spy);
    if (!ready)
        m_error = "Openbox did not start: " + QString::fromLocal8Bit(manager->readAllStandardError());
    return ready;
}

QProcessEnvironment DesktopSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("XDG_RUNTIME_DIR", m_scratch.filePath("runtime"));
    environment.insert("XDG_CACHE_HOME", m_scratch.filePath("cache"));
    environment.insert("XDG_CONFIG_HOME", m_scratch.filePath("config"));
    return environment;
}

QProcess *DesktopSession::launch(const QString &program, const QStringList &arguments,
                                 const QString &workingDirectory, const QProcessEnvironment &environment)
{
    QProcess *process = m_processes.emplace_back(std::make_unique<QProcess>()).get();
    process->setProcessEnvironment(environment.isEmpty() ? this->environment() : environment);
    process->setWorkingDirectory(workingDirectory);
    // A group of its own, so that stopping it reaches all it starts (the browser's engine, say).
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    process->start(program, arguments);
    if (process->waitForStarted())
        process->setProperty("desktopGroup", process->processId());
    return process;
}

void DesktopSession::stop(QProcess *process)
{
    const auto found = std::find_if(m_processes.begin(), m_processes.end(),
                                    [process](const auto &owned) { return owned.get() == process; });
    if (found == m_processes.end())
        return;
    // Named by the pid it started with: processId() is 0 once the leader has ended.
    if (const pid_t group = pid_t(process->property("desktopGroup").toLongLong()); group > 0) {
        ::kill(-group, SIGTERM);
        process->waitForFinished(5000);
        ::kill(-group, SIGKILL); // a leader that would not end, or what outlived it
        process->waitForFinished(2000);
    }
    m_processes.erase(found);
}

QString DesktopSession::run(const QString &tool, const QStringList &arguments, bool *ok) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(tool, arguments);
    const bool finished = process.waitForFinished(10000); // else ~QProcess kills it
    if (!finished)
        qWarning("%s %s did not finish", qPrintable(tool), qPrintable(arguments.join(' ')));
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

bool DesktopSession::xdotool(const QStringList &arguments) const
{
    bool ok = false;
    run("xdotool", arguments, &ok);
    return ok;
}

bool DesktopSession::key(const QString &keys) const
{
    return xdotool(QStringList{"key", "--delay", "20"} + keys.split(' ', Qt::SkipEmptyParts));
}

bool DesktopSession::type(const QString &text) const
{
    return xdotool({"type", "--delay", "10", text});
}

bool DesktopSession::click(WindowId window, const QRect &rect) const
{
    // The server takes the move and the click in order, so no wait is needed in between.
    return xdotool({"mousemove", "--window", QString::number(window), QString::number(rect.center().x()),
                    QString::number(rect.center().y()), "click", "1"});
}

QList<DesktopSession::WindowId> DesktopSession::findWindows(const QString &titlePattern, qint64 pid) const
{
    QStringList arguments = {"search", "--all", "--onlyvisible", "--name"};
    if (pid > 0)
        arguments << "--pid" << QString::number(pid);
    QList<WindowId> windows;
    for (const QString &line : run("xdotool", arguments << titlePattern).split('\n', Qt::SkipEmptyParts))
        windows.append(WindowId(line.toULong()));
    return windows;
}

DesktopSession::WindowId DesktopSession::waitForWindow(const QString &titlePattern, qint64 pid, int timeoutMs) const
{
    WindowId window = 0;
    waitUntil([&] { return (window = findWindows(titlePattern, pid).value(0)) != 0; }, timeoutMs);
    return window;
}

QString DesktopSession::title(WindowId window) const
{
    return run("xdotool", {"getwindowname", QString::number(window)});
}

bool DesktopSession::isViewable(WindowId window) const
{
    return run("xwininfo", {"-id", QString::number(window)}).contains("Map State: IsViewable");
}

DesktopSession::WindowId DesktopSession::transientFor(WindowId window) const
{
    return parseWindow(run("xprop", {"-id", QString::number(window), "WM_TRANSIENT_FOR"}));
}

bool DesktopSession::isAbove(WindowId upper, WindowId lower) const
{
    // The managed windows from bottom to top, as the window manager stacks them.
    QList<WindowId> order;
    static const QRegularExpression id("0x[0-9a-fA-F]+");
    const QString stacking = run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
    for (const QRegularExpressionMatch &match : id.globalMatch(stacking))
        order.append(WindowId(match.captured().toULong(nullptr, 16)));
    return order.contains(lower) && order.indexOf(upper) > order.indexOf(lower);
}

DesktopSession::WindowId DesktopSession::activeWindow() const
{
    return parseWindow(run("xprop", {"-root", "_NET_ACTIVE_WINDOW"}));
}

bool DesktopSession::settleWindowManager() const
{
    // The window manager takes input and requests in order, so once it has rewritten the desktop
    // count asked for now it is done with all before (one down and back up on alternate calls).
    bool ok = false;
    const int desktops = run("xdotool", {"get_num_desktops"}, &ok).toInt();
    if (!ok || desktops < 1)
        return false;
    const QString next = QString::number(desktops % 2 == 0 ? desktops - 1 : desktops + 1);
    return xdotool({"set_num_desktops", next}) && waitUntil([&] { return run("xdotool", {"get_num_desktops"}) == next; }, 10000);
}

QColor DesktopSession::pixel(WindowId window, QPoint point) const
{
    // Read off the screen, as a framed client window cannot be read on its own.
    const QString info = run("xwininfo", {"-id", QString::number(window)});
    const auto field = [&info](const QString &name) {
        return QRegularExpression(name + ":\\s+(-?\\d+)").match(info).captured(1).toInt();
    };
    const QPoint at = QPoint(field("Absolute upper-left X"), field("Absolute upper-left Y")) + point;
    // One pixel as text: "0,0: (0,0,255)  #0000FF  blue".
    const QString text = run("import", {"-window", "root", "-crop", QString("1x1+%1+%2").arg(at.x()).arg(at.y()),
                                        "-depth", "8", "txt:-"});
    static const QRegularExpression hex("#[0-9A-Fa-f]{6}\\b");
    return QColor::fromString(hex.match(text).captured());
}

bool DesktopSession::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    bool holds = false;
    while (!(holds = condition()) && !deadline.hasExpired())
        QTest::qWait(20);
    return holds;
}
