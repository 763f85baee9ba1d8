// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry.h"

#if defined(Q_OS_WIN)
#include "windowsregistry.h"
#else
#include "portableregistry.h"
#endif

Registry::~Registry() = default;

Registry *systemRegistry()
{
#if defined(Q_OS_WIN)
    static WindowsRegistry registry;
#else
    static PortableRegistry registry;
#endif
    return &registry;
}
