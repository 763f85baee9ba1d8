// SPDX-License-Identifier: GPL-3.0-or-later
#include "winregistryapi.h"

#include <windows.h>

namespace {

// The predefined keys are 32-bit values sign-extended to pointer width, which is how
// <winreg.h> spells HKEY_LOCAL_MACHINE; a plain zero-extension names no key on Win64.
HKEY predefinedKey(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(
        static_cast<LONG>(root))));
}

HKEY openedKey(WinRegistryApi::Key key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

namespace WinRegistryApi {

long openKey(std::uint32_t root, const std::string &subKey, std::uint32_t access, Key *key)
{
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExA(predefinedKey(root), subKey.c_str(), 0,
                                         static_cast<REGSAM>(access), &opened);
    *key = status == ERROR_SUCCESS ? reinterpret_cast<Key>(opened) : 0;
    return status;
}

long queryValue(Key key, const std::string &valueName, std::uint32_t *type,
                unsigned char *data, std::uint32_t *size)
{
    DWORD valueType = REG_NONE;
    DWORD byteCount = *size;
    const LSTATUS status = RegQueryValueExA(openedKey(key), valueName.c_str(), nullptr,
                                            &valueType, data, &byteCount);
    if (type)
        *type = valueType;
    *size = byteCount;
    return status;
}

long closeKey(Key key)
{
    return RegCloseKey(openedKey(key));
}

} // namespace WinRegistryApi
