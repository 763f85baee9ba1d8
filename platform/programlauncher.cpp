// SPDX-License-Identifier: GPL-3.0-or-later
#include "programlauncher.h"

#include <QFileInfo>
#include <QProcess>

ProgramLauncher::~ProgramLauncher() = default;

bool ProgramLauncher::fileExists(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool ProgramLauncher::start(const QString &program)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}
