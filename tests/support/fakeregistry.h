// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/registry.h"

#include <QHash>

// Keys under HKEY_LOCAL_MACHINE alone, answering as the Windows calls do: a value longer
// than the caller's buffer is refused with ErrorMoreData. It counts open keys so a test
// can tell whether every key opened was closed again.
class FakeRegistry : public Registry
{
public:
    void setValue(const QByteArray &key, const QByteArray &name, quint32 type,
                  const QByteArray &bytes);
    int openKeyCount() const { return int(m_open.size()); }

    long openKey(quint32 root, const QByteArray &subKey, quint32 access, Handle *key) override;
    long queryValue(Handle key, const QByteArray &valueName, quint32 *type, QByteArray *data,
                    quint32 *size) override;
    long closeKey(Handle key) override;

private:
    struct Value
    {
        quint32 type = 0;
        QByteArray bytes;
    };

    QHash<QByteArray, QHash<QByteArray, Value>> m_keys;
    QHash<Handle, QByteArray> m_open;
    Handle m_nextHandle = 1;
};
