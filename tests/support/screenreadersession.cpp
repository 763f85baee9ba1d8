// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenreadersession.h"

#include "desktopsession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int ReadyTimeoutMs = 20000;
const QString SpeechModules = QStringLiteral("/usr/lib/speech-dispatcher-modules");
const QString BusLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");

// The Python that runs Orca: the one its own start script names, not whichever comes
// first on the PATH, which need not have Orca's modules.
QString orcaInterpreter()
{
    const QString orca = QStandardPaths::findExecutable(QStringLiteral("orca"));
    QFile script(orca);
    if (orca.isEmpty() || !script.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray firstLine = script.readLine().trimmed();
    return firstLine.startsWith("#!") ? QString::fromLocal8Bit(firstLine.mid(2).trimmed()) : QString();
}

// One utterance ends with its closing quote, then the voice it was said in, if not the
// default, and the speech settings as a Python dictionary.
const QRegularExpression UtteranceEnd(QStringLiteral("^(.*)'(?: voice=\\w+)? ?\\{.*\\}$"),
                                      QRegularExpression::DotMatchesEverythingOption);
const QByteArray UtteranceStart = "SPEECH OUTPUT: '";

} // namespace

ScreenReaderSession::ScreenReaderSession(DesktopSession &desktop, const QString &launcher)
    : m_desktop(desktop)
    , m_launcher(launcher)
{
}

QStringList ScreenReaderSession::missingTools()
{
    QStringList missing;
    const auto need = [&missing](bool there, const char *what, const char *package) {
        if (!there)
            missing.append(QStringLiteral("%1 (Debian package %2)").arg(QLatin1String(what), QLatin1String(package)));
    };
    need(!orcaInterpreter().isEmpty() && QFile::exists(orcaInterpreter()), "orca", "orca");
    need(!QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty(),
         "speech-dispatcher", "speech-dispatcher");
    need(QFile::exists(SpeechModules + QStringLiteral("/sd_espeak-ng")), "the espeak-ng speech module",
         "speech-dispatcher-espeak-ng");
    need(!QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty(), "dbus-daemon",
         "dbus-daemon");
    need(QFile::exists(BusLauncher), "at-spi-bus-launcher", "at-spi2-core");
    return missing;
}

bool ScreenReaderSession::start()
{
    const QDir scratch(m_desktop.scratchPath());
    for (const char *folder : {"home", "speech", "speech/modules", "orca"}) {
        if (!scratch.mkpath(QLatin1String(folder))) {
            m_error = QStringLiteral("cannot make %1 in %2").arg(folder, scratch.path());
            return false;
        }
    }
    m_environment = m_desktop.environment();
    // Nothing of the player's own: settings, caches and sockets all in the scratch folder.
    m_environment.insert(QStringLiteral("HOME"), scratch.filePath(QStringLiteral("home")));
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath(QStringLiteral("home/.local/share")));
    for (const char *inherited : {"DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "SPEECHD_ADDRESS",
                                  "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "NO_AT_BRIDGE", "QT_ACCESSIBILITY"})
        m_environment.remove(QLatin1String(inherited));
    m_logPath = scratch.filePath(QStringLiteral("orca/debug.log"));
    return startSessionBus() && startSpeech() && startOrca();
}

bool ScreenReaderSession::startSessionBus()
{
    QProcess *bus = m_desktop.launch(QStringLiteral("dbus-daemon"),
                                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                      QStringLiteral("--print-address=1")},
                                     QString(), m_environment);
    QByteArray address;
    const QDeadlineTimer deadline(ReadyTimeoutMs);
    while (!address.contains('\n')) {
        if (bus->state() != QProcess::Running || !bus->waitForReadyRead(int(deadline.remainingTime()))) {
            m_error = QStringLiteral("the session bus did not start: %1")
                          .arg(QString::fromLocal8Bit(bus->readAllStandardError()));
            return false;
        }
        address += bus->readAllStandardOutput();
    }
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLocal8Bit(address.trimmed()));

    // The accessibility bus, which the launcher names on the X root window once it runs.
    QProcess *launcher = m_desktop.launch(BusLauncher, {QStringLiteral("--launch-immediately")},
                                          QString(), m_environment);
    const bool ready = DesktopSession::waitUntil([&] {
        return launcher->state() == QProcess::Running
            && m_desktop.run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("AT_SPI_BUS")})
                   .contains(QLatin1String("unix:"));
    }, ReadyTimeoutMs);
    if (!ready)
        m_error = QStringLiteral("the accessibility bus did not start");
    return ready;
}

bool ScreenReaderSession::startSpeech()
{
    const QDir speech(QDir(m_desktop.scratchPath()).filePath(QStringLiteral("speech")));
    QFile config(speech.filePath(QStringLiteral("speechd.conf")));
    QFile module(speech.filePath(QStringLiteral("modules/espeak-ng.conf")));
    if (!config.open(QIODevice::WriteOnly) || !module.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write the speech settings in %1").arg(speech.path());
        return false;
    }
    // Real speech into a sink that takes it at the pace of a sound card and plays nothing.
    config.write(QStringLiteral("LogLevel 3\n"
                                "LogDir \"%1\"\n"
                                "AudioOutputMethod \"alsa\"\n"
                                "AudioALSADevice \"null\"\n"
                                "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
                                "DefaultModule espeak-ng\n")
                     .arg(speech.path())
                     .toUtf8());
    config.close();
    module.close();
    const QString socket = speech.filePath(QStringLiteral("speechd.sock"));
    QProcess *server = m_desktop.launch(
        QStringLiteral("speech-dispatcher"),
        {QStringLiteral("--run-single"), QStringLiteral("--timeout"), QStringLiteral("0"),
         QStringLiteral("--config-dir"), speech.path(), QStringLiteral("--socket-path"), socket,
         QStringLiteral("--pid-file"), speech.filePath(QStringLiteral("speechd.pid"))},
        QString(), m_environment);
    m_environment.insert(QStringLiteral("SPEECHD_ADDRESS"), QStringLiteral("unix_socket:") + socket);
    const bool ready = DesktopSession::waitUntil(
        [&] { return server->state() == QProcess::Running && QFile::exists(socket); }, ReadyTimeoutMs);
    if (!ready) {
        m_error = QStringLiteral("speech-dispatcher did not start: %1")
                      .arg(QString::fromLocal8Bit(server->readAllStandardError()));
    }
    return ready;
}

bool ScreenReaderSession::startOrca()
{
    const QString settings = QDir(m_desktop.scratchPath()).filePath(QStringLiteral("orca"));
    QProcess *orca = m_desktop.launch(orcaInterpreter(), {m_launcher, m_logPath, settings}, QString(),
                                      m_environment);
    const bool ready = DesktopSession::waitUntil([&] {
        return orca->state() == QProcess::Running
            && waitFor(QRegularExpression(QStringLiteral("^Screen reader on")), 0, 0) >= 0;
    }, ReadyTimeoutMs);
    if (!ready) {
        m_error = QStringLiteral("Orca did not start: %1")
                      .arg(QString::fromLocal8Bit(orca->readAllStandardError().right(2000)));
    }
    return ready;
}

QStringList ScreenReaderSession::spoken() const
{
    // The log grows by megabytes in a game, so each look reads only what is new.
    QFile log(m_logPath);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(m_readTo))
        return m_said;
    while (!log.atEnd()) {
        const QByteArray line = log.readLine();
        if (!line.endsWith('\n'))
            break; // still being written; read again next time
        m_readTo += line.size();
        if (m_inUtterance) {
            m_utterance += QLatin1Char(' ') + QString::fromUtf8(line).trimmed();
        } else {
            const qsizetype start = line.indexOf(UtteranceStart);
            if (start < 0)
                continue;
            m_utterance = QString::fromUtf8(line.mid(start + UtteranceStart.size())).trimmed();
        }
        const QRegularExpressionMatch end = UtteranceEnd.match(m_utterance);
        m_inUtterance = !end.hasMatch();
        if (end.hasMatch())
            m_said.append(end.captured(1));
    }
    return m_said;
}

qsizetype ScreenReaderSession::waitFor(const QRegularExpression &pattern, qsizetype from, int timeoutMs) const
{
    qsizetype found = -1;
    DesktopSession::waitUntil([&] {
        const QStringList said = spoken();
        for (qsizetype index = from; index < said.size(); ++index) {
            if (pattern.match(said.at(index)).hasMatch()) {
                found = index;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return found;
}
