// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "infowindow.h"

// How to play.
class frmInstruct : public InfoWindow
{
    Q_OBJECT

public:
    static const QString RulesText;
    static const QString BonusText;
    // Not shown: told to a screen reader with the rules.
    static const QString KeysText;

    frmInstruct();
};
