// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class DesktopSession;
class QProcess;

// The Orca screen reader on a DesktopSession, as a blind player runs it: a session bus
// of the test's own, the accessibility bus, speech-dispatcher speaking through espeak-ng
// into ALSA's null device (with no sound device it never answers and Orca waits on its
// first sentence for ever), and Orca itself. What Orca says is read back from its debug
// log, one entry per utterance, in the order it was said.
class ScreenReaderSession
{
public:
    // `launcher` is orcalauncher.py, which starts Orca with its log written line by line.
    ScreenReaderSession(DesktopSession &desktop, const QString &launcher);

    // What is missing to run Orca here, with the Debian package for each.
    static QStringList missingTools();

    // Starts everything on the desktop, which must be running, and waits until Orca has
    // said it is on. On failure errorString() says what went wrong.
    bool start();
    QString errorString() const { return m_error; }
    // The desktop's environment with the session bus and the speech server.
    QProcessEnvironment environment() const { return m_environment; }

    // Everything Orca has said so far.
    QStringList spoken() const;
    // What it said after the first `from` utterances.
    QStringList spokenSince(qsizetype from) const { return spoken().mid(from); }
    // Waits for an utterance after the first `from` that matches; its index, or -1 when
    // none came in time.
    qsizetype waitFor(const QRegularExpression &pattern, qsizetype from, int timeoutMs = 10000) const;

private:
    bool startSessionBus();
    bool startSpeech();
    bool startOrca();

    DesktopSession &m_desktop;
    QString m_launcher;
    QString m_logPath;
    QProcessEnvironment m_environment;
    QString m_error;
    // What spoken() has read of the log so far.
    mutable qint64 m_readTo = 0;
    mutable QStringList m_said;
    mutable QString m_utterance;
    mutable bool m_inUtterance = false;
};

// Starts the screen reader for the running test function, or skips it with a line that
// CTest reads as a skip when a part of it is not installed.
#define SCREENREADERSESSION_START_OR_SKIP(session)                                            \
    do {                                                                                      \
        const QStringList readerMissing_ = ScreenReaderSession::missingTools();              \
        if (!readerMissing_.isEmpty()) {                                                      \
            const QByteArray readerWhy_ =                                                     \
                "not installed: " + readerMissing_.join(QLatin1String(", ")).toUtf8();        \
            std::printf("SKIPPED: %s\n", readerWhy_.constData());                             \
            std::fflush(stdout);                                                              \
            QSKIP(readerWhy_.constData());                                                    \
        }                                                                                     \
        QVERIFY2((session).start(), qPrintable((session).errorString()));                     \
    } while (false)
