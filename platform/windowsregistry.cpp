// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowsregistry.h"

#include "winregistryapi.h"

long WindowsRegistry::openKey(quint32 root, const QByteArray &subKey, quint32 access,
                              Handle *key)
{
    WinRegistryApi::Key opened = 0;
    const long status = WinRegistryApi::openKey(root, subKey.toStdString(), access, &opened);
    *key = opened;
    return status;
}

long WindowsRegistry::queryValue(Handle key, const QByteArray &valueName, quint32 *type,
                                 QByteArray *data, quint32 *size)
{
    // Never let the system write past the end of the caller's array.
    std::uint32_t capacity = data ? std::uint32_t(qMin<qsizetype>(*size, data->size())) : 0;
    unsigned char *bytes = data ? reinterpret_cast<unsigned char *>(data->data()) : nullptr;
    std::uint32_t valueType = 0;
    const long status = WinRegistryApi::queryValue(key, valueName.toStdString(), &valueType,
                                                   bytes, &capacity);
    if (type)
        *type = valueType;
    *size = capacity;
    return status;
}

long WindowsRegistry::closeKey(Handle key)
{
    return WinRegistryApi::closeKey(key);
}
