// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// The Win32 registry calls behind WindowsRegistry, in plain C++ so this unit builds
// and can be checked without Qt. The ANSI entry points are used on purpose: names and
// string values travel in the system code page, as the rest of the program expects.
namespace WinRegistryApi {

using Key = std::uintptr_t;

// root is one of the predefined keys (HKEY_LOCAL_MACHINE is 0x80000002).
long openKey(std::uint32_t root, const std::string &subKey, std::uint32_t access, Key *key);

// *size is the capacity of data on the way in and the bytes stored (or needed) on
// the way out, exactly as RegQueryValueExA treats it.
long queryValue(Key key, const std::string &valueName, std::uint32_t *type,
                unsigned char *data, std::uint32_t *size);

long closeKey(Key key);

} // namespace WinRegistryApi
