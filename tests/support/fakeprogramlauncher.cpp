// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeprogramlauncher.h"

bool FakeProgramLauncher::start(const QString &program)
{
    starts.append(program);
    return startSucceeds;
}
