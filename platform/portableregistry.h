// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "registry.h"

#include <QHash>
#include <QStringList>

// A registry for systems that have none. It holds a single value, the one the about
// box reads to find a system-information program:
//   HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, value PATH (REG_SZ)
// answered with the full path of the first of these programs found on the search path:
//   kinfocenter (KDE), hardinfo2, hardinfo, cpu-x, i-nex, lshw-gtk.
// The string is stored with its terminating NUL counted in its size, as Windows stores
// REG_SZ values. With none of them installed the key is absent, like every other key.
// Key and value names match without regard to ASCII case, as on Windows.
class PortableRegistry : public Registry
{
public:
    // The programs looked for, best first.
    static const QStringList SystemInfoPrograms;

    // Empty search paths mean the absolute folders of the environment's PATH.
    explicit PortableRegistry(const QStringList &searchPaths = {});

    long openKey(quint32 root, const QByteArray &subKey, quint32 access, Handle *key) override;
    long queryValue(Handle key, const QByteArray &valueName, quint32 *type, QByteArray *data,
                    quint32 *size) override;
    long closeKey(Handle key) override;

private:
    QString findSystemInfoProgram() const;

    QStringList m_searchPaths;
    QHash<Handle, QByteArray> m_openKeys; // each open key's PATH value, NUL included
    Handle m_nextKey = 1;
};
