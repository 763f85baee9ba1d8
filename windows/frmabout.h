// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/services.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: title, version, a word on the game, and a way into the system's own
// information program. It is unloaded whenever it closes, so each opening starts fresh.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(const Services &services);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Finds the system-information program through the registry and starts it, or
    // tells the player it cannot be had.
    void StartSysInfo();

    // Reads one value of the key KeyName under the predefined key KeyRoot. A string
    // is copied and a 32-bit number written in decimal; a value of any other type
    // leaves KeyVal as it was. False, with KeyVal emptied, when the key or value is
    // missing or the value is longer than 1024 bytes.
    bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

    // Deletes the box once control is back in the event loop, or, while a message box
    // of its own is up, once that box has closed.
    void unload();

    // Escape and every way of closing the box answer like OK, so the player is never
    // left with the table disabled and nothing on screen.
    void reject() override;

Q_SIGNALS:
    // OK: the box has gone, to be unloaded, and the menu comes back.
    void backToMenu();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *addLabel(const char *name, QRect geometry, const QString &text, bool black);

    Services m_services;
    QFrame *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

    int m_boxesOpen = 0;
    bool m_unloadPending = false;
};
