// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

// The system registry as the three calls the program makes of it, shaped after
// RegOpenKeyExA, RegQueryValueExA and RegCloseKey: every call answers a Windows error
// code, 0 for success. Names and string values are bytes in the system 8-bit code page.
class Registry
{
public:
    using Handle = quintptr;

    static constexpr quint32 HKeyLocalMachine = 0x80000002u;

    static constexpr long ErrorSuccess = 0;
    static constexpr long ErrorFileNotFound = 2;
    static constexpr long ErrorInvalidHandle = 6;
    static constexpr long ErrorMoreData = 234;

    static constexpr quint32 RegSz = 1;
    static constexpr quint32 RegDword = 4;

    virtual ~Registry();

    // On success *key holds a handle to give back to closeKey; on failure it is 0.
    virtual long openKey(quint32 root, const QByteArray &subKey, quint32 access,
                         Handle *key) = 0;

    // *size comes in as the capacity of the buffer in bytes, and *data must hold at
    // least that many. On success the value's bytes are written over the front of *data
    // (which keeps its length), *type receives its type and *size the bytes stored. A
    // value longer than the capacity answers ErrorMoreData with *size set to the length
    // needed. A null data asks for the type and length alone. type may be null.
    virtual long queryValue(Handle key, const QByteArray &valueName, quint32 *type,
                            QByteArray *data, quint32 *size) = 0;

    virtual long closeKey(Handle key) = 0;
};

// The registry of the platform the program runs on, alive for the whole run.
Registry *systemRegistry();
