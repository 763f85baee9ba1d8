#include "fakeprogramlauncher.h"

bool FakeProgramLauncher::start(const QString &program)
{
    starts.append(program);
    return startSucceeds;
}
