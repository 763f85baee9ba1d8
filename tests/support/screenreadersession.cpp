// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenreadersession.h"

#include "desktopsession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

constexpr int ReadyTimeoutMs = 20000;
const QString BusLauncher = "/usr/libexec/at-spi-bus-launcher";

// The Python that runs Orca: the one its own start script names, which need not come first on the PATH.
QString orcaInterpreter()
{
    QFile script(QStandardPaths::findExecutable("orca"));
    if (script.fileName().isEmpty() || !script.open(QIODevice::ReadOnly))
        return {};
    const QByteArray firstLine = script.readLine().trimmed();
    return firstLine.startsWith("#!") ? QString::fromLocal8Bit(firstLine.mid(2).trimmed()) : QString();
}

} // namespace

QStringList ScreenReaderSession::missingTools()
{
    QStringList missing;
    const auto need = [&missing](bool there, const QString &what, const QString &package) {
        if (!there)
            missing.append(QStringLiteral("%1 (Debian package %2)").arg(what, package));
    };
    const auto onPath = [](const char *tool) { return !QStandardPaths::findExecutable(tool).isEmpty(); };
    need(QFile::exists(orcaInterpreter()), "orca", "orca");
    need(onPath("speech-dispatcher"), "speech-dispatcher", "speech-dispatcher");
    need(QFile::exists("/usr/lib/speech-dispatcher-modules/sd_espeak-ng"), "the espeak-ng speech module",
         "speech-dispatcher-espeak-ng");
    need(onPath("dbus-daemon"), "dbus-daemon", "dbus-daemon");
    need(QFile::exists(BusLauncher), "at-spi-bus-launcher", "at-spi2-core");
    return missing;
}

bool ScreenReaderSession::start()
{
    const QDir scratch(m_desktop.scratchPath()), speech(scratch.filePath("speech"));
    for (const char *folder : {"home", "speech/modules", "orca"}) {
        if (!scratch.mkpath(folder)) {
            m_error = QStringLiteral("cannot make %1 in %2").arg(folder, scratch.path());
            return false;
        }
    }
    m_environment = m_desktop.environment();
    // Nothing of the player's own: settings, caches and sockets all in the scratch folder.
    m_environment.insert("HOME", scratch.filePath("home"));
    m_environment.insert("XDG_DATA_HOME", scratch.filePath("home/.local/share"));
    for (const char *inherited : {"DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "SPEECHD_ADDRESS",
                                  "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "NO_AT_BRIDGE", "QT_ACCESSIBILITY"})
        m_environment.remove(inherited);
    m_spokenPath = scratch.filePath("orca/spoken.txt");
    // Starts a program with the environment so far and waits until it runs and `ready` holds.
    const auto launch = [this](const QString &program, const QStringList &arguments,
                               const std::function<bool()> &ready, const QString &what) {
        QProcess *process = m_desktop.launch(program, arguments, {}, m_environment);
        if (DesktopSession::waitUntil([&] { return process->state() == QProcess::Running && ready(); }, ReadyTimeoutMs))
            return true;
        m_error = what + " did not start: " + QString::fromLocal8Bit(process->readAllStandardError().right(2000));
        return false;
    };

    const QString bus = scratch.filePath("bus");
    if (!launch("dbus-daemon", {"--session", "--nofork", "--address=unix:path=" + bus},
                [&] { return QFile::exists(bus); }, "the session bus"))
        return false;
    m_environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + bus);
    // The accessibility bus, which the launcher names on the X root window once it runs.
    const auto busNamed = [&] { return m_desktop.run("xprop", {"-root", "AT_SPI_BUS"}).contains("unix:"); };
    if (!launch(BusLauncher, {"--launch-immediately"}, busNamed, "the accessibility bus"))
        return false;

    // Real speech into a sink that takes it at the pace of a sound card and plays nothing.
    QFile config(speech.filePath("speechd.conf")), module(speech.filePath("modules/espeak-ng.conf"));
    if (!config.open(QIODevice::WriteOnly) || !module.open(QIODevice::WriteOnly)) {
        m_error = "cannot write the speech settings in " + speech.path();
        return false;
    }
    config.write(QStringLiteral("LogLevel 3\nLogDir \"%1\"\nAudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\n"
                                "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
                                "DefaultModule espeak-ng\n").arg(speech.path()).toUtf8());
    config.close();
    const QString socket = speech.filePath("speechd.sock");
    if (!launch("speech-dispatcher", {"--run-single", "--timeout", "0", "--config-dir", speech.path(), "--socket-path",
                                      socket, "--pid-file", speech.filePath("speechd.pid")},
                [&] { return QFile::exists(socket); }, "speech-dispatcher"))
        return false;
    m_environment.insert("SPEECHD_ADDRESS", "unix_socket:" + socket);
    return launch(orcaInterpreter(), {m_launcher, m_spokenPath, scratch.filePath("orca")},
                  [&] { return !spoken().filter(QRegularExpression("^Screen reader on")).isEmpty(); }, "Orca");
}

QStringList ScreenReaderSession::spoken() const
{
    // A game says thousands of things, so each look reads only what is new; a line without its end
    // is still being written.
    QFile file(m_spokenPath);
    if (file.open(QIODevice::ReadOnly) && file.seek(m_readTo)) {
        for (QByteArray line = file.readLine(); line.endsWith('\n'); line = file.readLine()) {
            m_readTo += line.size();
            m_said.append(QString::fromUtf8(line.chopped(1)));
        }
    }
    return m_said;
}
