// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/programlauncher.h"

#include <QStringList>

// Starts nothing: it remembers what it was asked to start, and answers from the test.
class FakeProgramLauncher : public ProgramLauncher
{
public:
    bool fileExists(const QString &path) const override { return existingFiles.contains(path); }
    bool start(const QString &program) override;

    QStringList existingFiles;
    bool startSucceeds = true;
    QStringList starts; // successful or not
};
