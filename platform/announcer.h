// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Says a sentence to the player's screen reader, whatever has the focus. Everything
// the game has to tell a player who cannot see the table goes through here, in the
// order it happens, so that a player hears what a key press changed and then the
// control that has the focus.
class Announcer
{
public:
    virtual ~Announcer() = default;

    virtual void announce(const QString &sentence) = 0;
};
