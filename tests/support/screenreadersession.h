// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcessEnvironment>
#include <QStringList>

class DesktopSession;

// The Orca screen reader on a DesktopSession, as a blind player runs it: a session bus of the
// test's own, the accessibility bus, speech-dispatcher speaking through espeak-ng into ALSA's null
// device (with no sound device it never answers and Orca waits on its first sentence for ever),
// and Orca itself. What Orca says is read back line by line, as orcalauncher.py writes it.
class ScreenReaderSession
{
public:
    // `launcher` is orcalauncher.py, which starts Orca writing each utterance as a line.
    ScreenReaderSession(DesktopSession &desktop, const QString &launcher) : m_desktop(desktop), m_launcher(launcher) {}

    // What is missing to run Orca here, with the Debian package for each.
    static QStringList missingTools();
    // Starts everything on the running desktop and waits until Orca has said it is on.
    bool start();
    QString errorString() const { return m_error; }
    // The desktop's environment with the session bus and the speech server.
    QProcessEnvironment environment() const { return m_environment; }

    // Everything Orca has said so far.
    QStringList spoken() const;

private:
    DesktopSession &m_desktop;
    QString m_launcher, m_spokenPath, m_error;
    QProcessEnvironment m_environment;
    // What spoken() has read so far.
    mutable qint64 m_readTo = 0;
    mutable QStringList m_said;
};
