// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class frmBrowser;
class QSocketNotifier;

// The browser process's line to the game that started it. The game writes one command
// a line on the browser's standard input:
//   show ADDRESS    a press of the web button while the window is open
// and the browser answers on its standard output:
//   ready           the window is loaded and on its way to its start address
//   shown           a show command has been carried out
//   caption TEXT    the window's caption changed
// The end of standard input means the game is gone, however it ended, and the window
// closes. SIGTERM closes it the same way.
class GameChannel : public QObject
{
    Q_OBJECT

public:
    explicit GameChannel(frmBrowser &window, QObject *parent = nullptr);
    ~GameChannel() override;

    // Reads standard input from now on; the window should be loaded first.
    void listen();

    // One command line as read, without its line end.
    void handleCommand(const QByteArray &line);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readInput();
    void report(const QByteArray &line);

    frmBrowser &m_window;
    QSocketNotifier *m_input = nullptr;
    QSocketNotifier *m_terminate = nullptr;
    QByteArray m_pending;
};
