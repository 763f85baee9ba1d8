// SPDX-License-Identifier: GPL-3.0-or-later
// A records object that calls up into the table, as a wrong include makes easy: the
// layer check must refuse to link it.
#include "table/frmmarigold.h"

QString upwardCall()
{
    return frmMarigold::tr("Marigold");
}
