// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamechannel.h"

#include "browser/frmbrowser.h"

#include <QEvent>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Written to by the SIGTERM handler, read in the event loop: the only safe way out of
// a signal handler into Qt.
int terminatePipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminatePipe[1], &byte, 1);
}

const QByteArray ShowCommand = QByteArrayLiteral("show ");

} // namespace

GameChannel::GameChannel(frmBrowser &window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    m_window.installEventFilter(this);
}

GameChannel::~GameChannel()
{
    if (m_terminate) {
        std::signal(SIGTERM, SIG_DFL);
        ::close(terminatePipe[0]);
        ::close(terminatePipe[1]);
        terminatePipe[0] = terminatePipe[1] = -1;
    }
}

void GameChannel::listen()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, terminatePipe) == 0) {
        m_terminate = new QSocketNotifier(terminatePipe[0], QSocketNotifier::Read, this);
        connect(m_terminate, &QSocketNotifier::activated, this, [this] {
            char byte;
            [[maybe_unused]] const ssize_t read = ::read(terminatePipe[0], &byte, 1);
            m_window.close();
        });
        std::signal(SIGTERM, onTerminate);
    }

    m_input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_input, &QSocketNotifier::activated, this, &GameChannel::readInput);
    report(QByteArrayLiteral("ready"));
}

void GameChannel::handleCommand(const QByteArray &line)
{
    if (line.startsWith(ShowCommand)) {
        m_window.bringIntoView(QString::fromUtf8(line.mid(ShowCommand.size())));
        report(QByteArrayLiteral("shown"));
    }
}

bool GameChannel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowTitleChange)
        report("caption " + m_window.windowTitle().toUtf8());
    return QObject::eventFilter(watched, event);
}

void GameChannel::readInput()
{
    char buffer[4096];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        // The game closed its end, or ended without closing it.
        m_input->setEnabled(false);
        m_window.close();
        return;
    }
    m_pending.append(buffer, count);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        handleCommand(line);
    }
}

void GameChannel::report(const QByteArray &line)
{
    // Captions are the page's own text: a line end in one must not start a new report.
    QByteArray oneLine = line;
    oneLine.replace('\n', ' ').replace('\r', ' ');
    std::fwrite(oneLine.constData(), 1, oneLine.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
