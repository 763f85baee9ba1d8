// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "infowindow.h"

// Who made the game.
class frmCredits : public InfoWindow
{
    Q_OBJECT

public:
    frmCredits();
};
