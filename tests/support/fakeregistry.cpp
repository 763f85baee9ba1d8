// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeregistry.h"

#include <algorithm>

void FakeRegistry::setValue(const QByteArray &key, const QByteArray &name, quint32 type,
                            const QByteArray &bytes)
{
    m_keys[key][name] = {type, bytes};
}

long FakeRegistry::openKey(quint32 root, const QByteArray &subKey, quint32, Handle *key)
{
    *key = 0;
    if (root != HKeyLocalMachine || !m_keys.contains(subKey))
        return ErrorFileNotFound;
    *key = m_nextHandle++;
    m_open.insert(*key, subKey);
    return ErrorSuccess;
}

long FakeRegistry::queryValue(Handle key, const QByteArray &valueName, quint32 *type,
                              QByteArray *data, quint32 *size)
{
    if (!m_open.contains(key))
        return ErrorInvalidHandle;
    const QHash<QByteArray, Value> values = m_keys.value(m_open.value(key));
    if (!values.contains(valueName))
        return ErrorFileNotFound;
    const Value value = values.value(valueName);
    const quint32 capacity = *size;
    *type = value.type;
    *size = quint32(value.bytes.size());
    if (*size > capacity)
        return ErrorMoreData;
    std::copy(value.bytes.cbegin(), value.bytes.cend(), data->begin());
    return ErrorSuccess;
}

long FakeRegistry::closeKey(Handle key)
{
    return m_open.remove(key) ? ErrorSuccess : ErrorInvalidHandle;
}
