// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressBar>

// The clock's draining bar. Drawn as any progress bar, but a screen reader reads it as
// a caption, "Time left: 42 seconds": as a progress bar it would be spoken as a bare
// percentage every few seconds, whatever the player was doing. The table says the
// warnings itself.
class ClockBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit ClockBar(QWidget *parent = nullptr);
};
