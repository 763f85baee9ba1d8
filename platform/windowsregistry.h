// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "registry.h"

// The Windows registry itself, through WinRegistryApi.
class WindowsRegistry : public Registry
{
public:
    long openKey(quint32 root, const QByteArray &subKey, quint32 access, Handle *key) override;
    long queryValue(Handle key, const QByteArray &valueName, quint32 *type, QByteArray *data,
                    quint32 *size) override;
    long closeKey(Handle key) override;
};
