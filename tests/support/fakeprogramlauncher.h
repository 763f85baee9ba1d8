#pragma once

#include "platform/programlauncher.h"

#include <QSet>
#include <QStringList>

// Starts nothing: it remembers what it was asked, and answers from what the test set up.
class FakeProgramLauncher : public ProgramLauncher
{
public:
    bool fileExists(const QString &path) const override;
    bool start(const QString &program) override;

    QSet<QString> existingFiles;
    bool startSucceeds = true;

    mutable QStringList existenceChecks;
    QStringList starts; // every start asked for, successful or not
};
