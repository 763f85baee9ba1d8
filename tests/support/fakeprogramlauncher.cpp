#include "fakeprogramlauncher.h"

bool FakeProgramLauncher::fileExists(const QString &path) const
{
    existenceChecks.append(path);
    return existingFiles.contains(path);
}

bool FakeProgramLauncher::start(const QString &program)
{
    starts.append(program);
    return startSucceeds;
}
