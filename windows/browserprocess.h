// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

class Prompts;
class QWidget;

// The game's side of the built-in browser, which runs as a program of its own
// (marigold-browser, beside the game's own program) so that the web engine costs the
// game nothing until the player asks for it. It stands in for the browser window:
// show() loads the window at StartingAddress, or brings an open one into view without
// navigating. The browser's close box ends its process; the game's end ends it too.
class BrowserProcess : public QObject
{
    Q_OBJECT

public:
    explicit BrowserProcess(Prompts &prompts, QObject *parent = nullptr);
    ~BrowserProcess() override;

    // The address the window opens first.
    QString StartingAddress;

    // Where the browser program is; by default beside the running program.
    void setProgram(const QString &program) { m_program = program; }
    QString program() const { return m_program; }

    // Messages about the browser failing are shown over this window.
    void show(QWidget *messageParent = nullptr);
    // Ends the browser, if it runs, and waits for it.
    void close();

    bool isOpen() const;
    qint64 processId() const;

Q_SIGNALS:
    // The browser window's caption changed; reported as the browser says it.
    void captionChanged(const QString &caption);
    // A show() of an open window has been carried out.
    void shown();
    // The browser process has ended, for whatever reason.
    void closed();

private:
    void start();
    void readReports();
    void processFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void processError(QProcess::ProcessError error);
    void forgetProcess();
    void tellPlayer(const QString &text);
    void tellNotStarted();

    Prompts &m_prompts;
    QString m_program;
    QProcess *m_process = nullptr;
    QPointer<QWidget> m_messageParent;
    // The browser said its window is loaded: an end after this is a crash, not a
    // failure to start.
    bool m_ready = false;
    bool m_closing = false;
};
