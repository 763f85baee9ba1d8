// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int ToolTimeoutMs = 10000;
constexpr int ReadyTimeoutMs = 15000;

struct Tool
{
    const char *program;
    const char *package;
};

QString describe(const QProcess &process)
{
    return QStringLiteral("%1 %2").arg(process.program(), process.arguments().join(QLatin1Char(' ')));
}

}

DesktopSession::DesktopSession() = default;

DesktopSession::~DesktopSession()
{
    // Last started, first stopped: the programs before the window manager, and the
    // window manager before the X server it runs on.
    while (!m_processes.empty())
        stop(m_processes.back().get());
}

QStringList DesktopSession::missingTools(WindowManager manager)
{
    QList<Tool> tools = {{"Xvfb", "xvfb"}, {"xdotool", "xdotool"},
                         {"xprop", "x11-utils"}, {"xwininfo", "x11-utils"}};
    if (manager == WindowManager::Openbox)
        tools.append(Tool{"openbox", "openbox"});
    QStringList missing;
    for (const Tool &tool : tools) {
        if (QStandardPaths::findExecutable(QLatin1String(tool.program)).isEmpty())
            missing.append(QStringLiteral("%1 (Debian package %2)").arg(tool.program, tool.package));
    }
    return missing;
}

bool DesktopSession::start(WindowManager manager)
{
    if (!m_scratch.isValid()) {
        m_error = QStringLiteral("no scratch folder: %1").arg(m_scratch.errorString());
        return false;
    }
    for (const char *folder : {"runtime", "cache", "config"}) {
        if (!QDir(m_scratch.path()).mkdir(QLatin1String(folder))) {
            m_error = QStringLiteral("cannot make %1 in %2").arg(folder, m_scratch.path());
            return false;
        }
    }
    QFile::setPermissions(m_scratch.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!startServer())
        return false;
    return manager == WindowManager::None || startWindowManager();
}

bool DesktopSession::startServer()
{
    // Xvfb picks a free display itself and writes its number once it accepts clients,
    // so there is nothing to guess and nothing to sleep on.
    QProcess *server = launch(QStringLiteral("Xvfb"),
                              {QStringLiteral("-displayfd"), QStringLiteral("1"),
                               QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")},
                              QString(), QProcessEnvironment::systemEnvironment());
    QByteArray number;
    const QDeadlineTimer deadline(ReadyTimeoutMs);
    while (!number.contains('\n')) {
        if (server->state() != QProcess::Running
            || !server->waitForReadyRead(int(deadline.remainingTime()))) {
            m_error = QStringLiteral("Xvfb did not start: %1")
                          .arg(QString::fromLocal8Bit(server->readAllStandardError()));
            return false;
        }
        number += server->readAllStandardOutput();
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return true;
}

bool DesktopSession::startWindowManager()
{
    // A window manager announces itself by setting _NET_SUPPORTING_WM_CHECK on the root
    // once it manages the screen. xprop -spy reports the property as it changes; the
    // direct look after each quiet spell covers a change made before the spy listened.
    QProcess *spy = launch(QStringLiteral("xprop"),
                           {QStringLiteral("-root"), QStringLiteral("-spy"),
                            QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    QProcess *manager = launch(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    const auto announced = [this](const QString &text) {
        return text.contains(QLatin1String("window id #"));
    };
    bool ready = false;
    const QDeadlineTimer deadline(ReadyTimeoutMs);
    while (!ready && !deadline.hasExpired() && manager->state() == QProcess::Running) {
        if (spy->waitForReadyRead(200))
            ready = announced(QString::fromLocal8Bit(spy->readAllStandardOutput()));
        else
            ready = announced(run(QStringLiteral("xprop"),
                                  {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}));
    }
    stop(spy);
    if (!ready) {
        m_error = QStringLiteral("Openbox did not start on %1: %2")
                      .arg(m_display, QString::fromLocal8Bit(manager->readAllStandardError()));
    }
    return ready;
}

QProcessEnvironment DesktopSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_scratch.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_scratch.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_scratch.filePath(QStringLiteral("config")));
    return environment;
}

QProcess *DesktopSession::launch(const QString &program, const QStringList &arguments,
                                 const QString &workingDirectory,
                                 const QProcessEnvironment &environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment.isEmpty() ? this->environment() : environment);
    if (!workingDirectory.isEmpty())
        process->setWorkingDirectory(workingDirectory);
    // A group of its own, so that stopping it reaches every process it starts in turn
    // (the browser's engine processes, say) and nothing outlives the session.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    process->start(program, arguments);
    if (process->waitForStarted())
        process->setProperty("desktopGroup", process->processId());
    QProcess *started = process.get();
    m_processes.push_back(std::move(process));
    return started;
}

void DesktopSession::stop(QProcess *process)
{
    const auto found = std::find_if(m_processes.begin(), m_processes.end(),
                                    [process](const auto &owned) { return owned.get() == process; });
    if (found == m_processes.end())
        return;
    // processId() is 0 once the leader has ended, so the group is named by the pid it
    // started with; its other members may still be running.
    const pid_t group = pid_t(process->property("desktopGroup").toLongLong());
    const pid_t leader = pid_t(process->processId());
    const pid_t target = leader > 0 ? leader : group;
    if (target > 0) {
        ::kill(-target, SIGTERM);
        if (process->state() != QProcess::NotRunning && !process->waitForFinished(5000)) {
            ::kill(-target, SIGKILL);
            process->waitForFinished(2000);
        }
        ::kill(-target, SIGKILL);
    }
    m_processes.erase(found);
}

QString DesktopSession::run(const QString &tool, const QStringList &arguments, bool *ok) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(tool, arguments);
    const bool finished = process.waitForFinished(ToolTimeoutMs);
    if (!finished) {
        qWarning("%s did not finish", qPrintable(describe(process)));
        process.kill();
        process.waitForFinished();
    }
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

bool DesktopSession::key(const QString &keys) const
{
    bool ok = false;
    run(QStringLiteral("xdotool"),
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")}
            + keys.split(QLatin1Char(' '), Qt::SkipEmptyParts),
        &ok);
    return ok;
}

bool DesktopSession::type(const QString &text) const
{
    bool ok = false;
    run(QStringLiteral("xdotool"),
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), text}, &ok);
    return ok;
}

bool DesktopSession::click(WindowId window, const QRect &rect) const
{
    const QPoint middle = rect.center();
    bool ok = false;
    run(QStringLiteral("xdotool"),
        // The server takes the move and the click in order, so the click lands where the
        // pointer went; no wait is needed in between.
        {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
         QString::number(middle.x()), QString::number(middle.y()),
         QStringLiteral("click"), QStringLiteral("1")},
        &ok);
    return ok;
}

QList<DesktopSession::WindowId> DesktopSession::search(const QStringList &criteria, qint64 pid) const
{
    QStringList arguments = {QStringLiteral("search"), QStringLiteral("--all"),
                             QStringLiteral("--onlyvisible")};
    if (pid > 0)
        arguments << QStringLiteral("--pid") << QString::number(pid);
    QList<WindowId> windows;
    const QString found = run(QStringLiteral("xdotool"), arguments + criteria);
    for (const QString &line : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        windows.append(WindowId(line.toULong()));
    return windows;
}

QList<DesktopSession::WindowId> DesktopSession::findWindows(const QString &titlePattern, qint64 pid) const
{
    return search({QStringLiteral("--name"), titlePattern}, pid);
}

DesktopSession::WindowId DesktopSession::waitForWindow(const QString &titlePattern, qint64 pid,
                                                       int timeoutMs) const
{
    WindowId window = 0;
    waitUntil([&] {
        const QList<WindowId> windows = findWindows(titlePattern, pid);
        window = windows.isEmpty() ? 0 : windows.first();
        return window != 0;
    }, timeoutMs);
    return window;
}

QString DesktopSession::title(WindowId window) const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), QString::number(window)});
}

bool DesktopSession::isViewable(WindowId window) const
{
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)})
        .contains(QLatin1String("Map State: IsViewable"));
}

QRect DesktopSession::geometry(WindowId window) const
{
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    const auto field = [&info](const char *name) {
        const QRegularExpression pattern(QLatin1String(name) + QLatin1String(":\\s+(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
}

DesktopSession::WindowId DesktopSession::parseWindow(const QString &text)
{
    static const QRegularExpression id(QStringLiteral("window id # (0x[0-9a-fA-F]+)"));
    return WindowId(id.match(text).captured(1).toULong(nullptr, 16));
}

DesktopSession::WindowId DesktopSession::transientFor(WindowId window) const
{
    return parseWindow(run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                                     QStringLiteral("WM_TRANSIENT_FOR")}));
}

QList<DesktopSession::WindowId> DesktopSession::stacking() const
{
    const QString text = run(QStringLiteral("xprop"), {QStringLiteral("-root"),
                                                       QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    QList<WindowId> windows;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch &match : id.globalMatch(text))
        windows.append(WindowId(match.captured().toULong(nullptr, 16)));
    return windows;
}

bool DesktopSession::isAbove(WindowId upper, WindowId lower) const
{
    const QList<WindowId> order = stacking();
    const qsizetype upperAt = order.indexOf(upper);
    const qsizetype lowerAt = order.indexOf(lower);
    return upperAt >= 0 && lowerAt >= 0 && upperAt > lowerAt;
}

DesktopSession::WindowId DesktopSession::activeWindow() const
{
    return parseWindow(run(QStringLiteral("xprop"), {QStringLiteral("-root"),
                                                     QStringLiteral("_NET_ACTIVE_WINDOW")}));
}

bool DesktopSession::settleWindowManager() const
{
    // The window manager takes input and requests in the order the X server hands them
    // on, so once it has answered a request made now, it is done with everything before.
    // It answers a change of the number of desktops by rewriting that root property;
    // the number goes one down and back up on alternate calls.
    bool ok = false;
    const int desktops = run(QStringLiteral("xdotool"), {QStringLiteral("get_num_desktops")}, &ok).toInt();
    if (!ok || desktops < 1)
        return false;
    const int next = desktops % 2 == 0 ? desktops - 1 : desktops + 1;
    run(QStringLiteral("xdotool"), {QStringLiteral("set_num_desktops"), QString::number(next)}, &ok);
    return ok && waitUntil([&] {
        return run(QStringLiteral("xdotool"), {QStringLiteral("get_num_desktops")}).toInt() == next;
    }, ToolTimeoutMs);
}

QColor DesktopSession::pixel(WindowId window, QPoint point) const
{
    // Read off the screen: a framed client window cannot be read on its own. One pixel
    // as text: "0,0: (0,0,255)  #0000FF  blue".
    const QPoint onScreen = geometry(window).topLeft() + point;
    const QString text = run(QStringLiteral("import"),
                             {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                              QStringLiteral("1x1+%1+%2").arg(onScreen.x()).arg(onScreen.y()),
                              QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("txt:-")});
    static const QRegularExpression hex(QStringLiteral("#[0-9A-Fa-f]{6}\\b"));
    return QColor::fromString(hex.match(text).captured());
}

bool DesktopSession::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}
