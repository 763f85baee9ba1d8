#pragma once

#include "platform/registry.h"

#include <QHash>
#include <QList>
#include <QPair>

// An in-memory registry holding raw value bytes with their types, answering as the
// Windows calls do: names match without regard to case, a value longer than the
// caller's buffer is refused with ErrorMoreData. It keeps count of open keys so a
// test can tell whether every key opened was closed again.
class FakeRegistry : public Registry
{
public:
    // Creates the key if needed; a key can exist with no values.
    void addKey(quint32 root, const QByteArray &key);
    void setValue(quint32 root, const QByteArray &key, const QByteArray &name, quint32 type,
                  const QByteArray &bytes);
    void setString(quint32 root, const QByteArray &key, const QByteArray &name,
                   const QByteArray &text);

    int openKeyCount() const { return int(m_open.size()); }
    QList<quint32> accessRequested() const { return m_access; }

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
    using KeyId = QPair<quint32, QByteArray>;
    using Values = QHash<QByteArray, Value>;

    QHash<KeyId, Values> m_keys;
    QHash<Handle, KeyId> m_open;
    QList<quint32> m_access;
    Handle m_nextHandle = 1;
};
