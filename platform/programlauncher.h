// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Starts other programs. The path is taken as it stands: on systems whose separator is
// '/', a backslash is an ordinary character of a file name.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher();

    virtual bool fileExists(const QString &path) const;

    // Runs program with no arguments and no shell, in its own normal window, without
    // waiting for it; false when it could not be started.
    virtual bool start(const QString &program);
};
