// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The game's three type faces, by the names its windows are designed with. The names
// are mapped at start-up onto faces this desktop has.
namespace DesignFonts {

// Maps the design names onto installed faces, and has the fonts below ask for those
// faces by their own names; call once before any window is built.
void installSubstitutions();

// "Futura Md BT", always bold.
QFont futura(qreal pointSize, bool bold = true);
QFont msSansSerif(qreal pointSize, bool bold = false);
QFont timesNewRoman(qreal pointSize, bool bold = false);

// The default dialog font: "MS Sans Serif" 8.25 pt.
QFont dialog();

} // namespace DesignFonts
