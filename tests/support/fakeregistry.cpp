#include "fakeregistry.h"

#include <algorithm>

void FakeRegistry::addKey(quint32 root, const QByteArray &key)
{
    m_keys[{root, key.toLower()}];
}

void FakeRegistry::setValue(quint32 root, const QByteArray &key, const QByteArray &name,
                            quint32 type, const QByteArray &bytes)
{
    m_keys[{root, key.toLower()}][name.toLower()] = {type, bytes};
}

void FakeRegistry::setString(quint32 root, const QByteArray &key, const QByteArray &name,
                             const QByteArray &text)
{
    setValue(root, key, name, RegSz, text + '\0');
}

long FakeRegistry::openKey(quint32 root, const QByteArray &subKey, quint32 access, Handle *key)
{
    m_access.append(access);
    const KeyId id{root, subKey.toLower()};
    if (!m_keys.contains(id)) {
        *key = 0;
        return ErrorFileNotFound;
    }
    *key = m_nextHandle++;
    m_open.insert(*key, id);
    return ErrorSuccess;
}

long FakeRegistry::queryValue(Handle key, const QByteArray &valueName, quint32 *type,
                              QByteArray *data, quint32 *size)
{
    const auto open = m_open.constFind(key);
    if (open == m_open.cend())
        return ErrorInvalidHandle;
    const Values &values = m_keys.value(*open);
    const auto found = values.constFind(valueName.toLower());
    if (found == values.cend())
        return ErrorFileNotFound;

    const quint32 capacity = data ? quint32(qMin<qsizetype>(*size, data->size())) : 0;
    if (type)
        *type = found->type;
    *size = quint32(found->bytes.size());
    if (!data)
        return ErrorSuccess;
    if (*size > capacity)
        return ErrorMoreData;
    std::copy(found->bytes.cbegin(), found->bytes.cend(), data->begin());
    return ErrorSuccess;
}

long FakeRegistry::closeKey(Handle key)
{
    return m_open.remove(key) ? ErrorSuccess : ErrorInvalidHandle;
}
