// SPDX-License-Identifier: GPL-3.0-or-later
#include "browserprocess.h"

#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

namespace {

// Closing the browser's input asks it to close its window; a browser that has not
// gone after this long is killed.
constexpr int CloseWaitMs = 3000;
constexpr int KillWaitMs = 1000;

QString defaultProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("marigold-browser"));
}

} // namespace

BrowserProcess::BrowserProcess(Prompts &prompts, QObject *parent)
    : QObject(parent)
    , m_prompts(prompts)
    , m_program(defaultProgram())
{
    // However the game ends, the browser goes with it.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &BrowserProcess::close);
}

BrowserProcess::~BrowserProcess()
{
    close();
}

void BrowserProcess::show(QWidget *messageParent)
{
    m_messageParent = messageParent;
    if (!isOpen()) {
        start();
        return;
    }
    // The line protocol has no room for a line end inside an address.
    QString address = StartingAddress;
    address.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    m_process->write("show " + address.toUtf8() + '\n');
}

void BrowserProcess::close()
{
    if (!m_process)
        return;
    m_closing = true;
    QProcess *process = m_process;
    if (process->state() != QProcess::NotRunning) {
        process->closeWriteChannel();
        if (!process->waitForFinished(CloseWaitMs)) {
            process->kill();
            process->waitForFinished(KillWaitMs);
        }
    }
    forgetProcess();
    m_closing = false;
}

bool BrowserProcess::isOpen() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

qint64 BrowserProcess::processId() const
{
    return isOpen() ? m_process->processId() : 0;
}

void BrowserProcess::start()
{
    forgetProcess();
    m_ready = false;
    m_process = new QProcess(this);
    // The browser's warnings go where the game's go; its standard output is ours.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &BrowserProcess::readReports);
    connect(m_process, &QProcess::finished, this, &BrowserProcess::processFinished);
    connect(m_process, &QProcess::errorOccurred, this, &BrowserProcess::processError);
    // Started directly, never through a shell: the address is one argument as it stands.
    m_process->start(m_program, {QStringLiteral("--game-channel"), StartingAddress});
}

void BrowserProcess::readReports()
{
    while (m_process && m_process->canReadLine()) {
        const QString line = QString::fromUtf8(m_process->readLine()).chopped(1);
        if (line == QLatin1String("ready"))
            m_ready = true;
        else if (line == QLatin1String("shown"))
            Q_EMIT shown();
        else if (line.startsWith(QLatin1String("caption ")))
            Q_EMIT captionChanged(line.mid(8));
    }
}

void BrowserProcess::processFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    readReports();
    const bool closedByPlayer = exitStatus == QProcess::NormalExit && exitCode == 0;
    const bool wasReady = m_ready;
    if (!m_closing)
        forgetProcess();
    Q_EMIT closed();
    if (m_closing || closedByPlayer)
        return;
    if (wasReady) {
        tellPlayer(tr("The web browser closed unexpectedly. You can go on playing; press "
                      "\"Visit Me On The Web\" to open it again."));
    } else {
        tellNotStarted();
    }
}

void BrowserProcess::processError(QProcess::ProcessError error)
{
    // A program that never ran sends no finished signal; a crash is answered there.
    if (error != QProcess::FailedToStart || m_closing)
        return;
    forgetProcess();
    Q_EMIT closed();
    tellNotStarted();
}

void BrowserProcess::forgetProcess()
{
    if (!m_process)
        return;
    // Taken apart later: this may run inside one of the process's own signals.
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
}

void BrowserProcess::tellPlayer(const QString &text)
{
    m_prompts.message(m_messageParent, text);
}

void BrowserProcess::tellNotStarted()
{
    tellPlayer(tr("The web browser could not be started. You can go on playing; press "
                  "\"Visit Me On The Web\" to try again."));
}
