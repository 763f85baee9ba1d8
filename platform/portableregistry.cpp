// SPDX-License-Identifier: GPL-3.0-or-later
#include "portableregistry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QByteArray SystemInfoKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray SystemInfoValue = QByteArrayLiteral("PATH");

// The folders of PATH that name a place of their own. An empty or relative entry would be
// taken from the working folder, which is where the records live: a program dropped
// there must never be started.
QStringList absoluteEnvironmentPaths()
{
    QStringList paths;
    const QString path = qEnvironmentVariable("PATH");
    for (const QString &entry : path.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(entry))
            paths.append(entry);
    }
    return paths;
}

bool sameName(const QByteArray &name, const QByteArray &expected)
{
    return name.compare(expected, Qt::CaseInsensitive) == 0;
}

} // namespace

const QStringList PortableRegistry::SystemInfoPrograms = {
    QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
    QStringLiteral("cpu-x"),       QStringLiteral("i-nex"),     QStringLiteral("lshw-gtk"),
};

PortableRegistry::PortableRegistry(const QStringList &searchPaths)
    : m_searchPaths(searchPaths)
{
}

long PortableRegistry::openKey(quint32 root, const QByteArray &subKey, quint32, Handle *key)
{
    *key = 0;
    if (root != HKeyLocalMachine || !sameName(subKey, SystemInfoKey))
        return ErrorFileNotFound;
    // Looked for at every opening, so a program installed while the game runs is found.
    const QString program = findSystemInfoProgram();
    if (program.isEmpty())
        return ErrorFileNotFound;
    *key = m_nextKey++;
    m_openKeys.insert(*key, QFile::encodeName(program) + '\0');
    return ErrorSuccess;
}

long PortableRegistry::queryValue(Handle key, const QByteArray &valueName, quint32 *type,
                                  QByteArray *data, quint32 *size)
{
    const auto open = m_openKeys.constFind(key);
    if (open == m_openKeys.cend())
        return ErrorInvalidHandle;
    if (!sameName(valueName, SystemInfoValue))
        return ErrorFileNotFound;

    const QByteArray &value = *open;
    const quint32 capacity = data ? quint32(qMin<qsizetype>(*size, data->size())) : 0;
    if (type)
        *type = RegSz;
    *size = quint32(value.size());
    if (!data)
        return ErrorSuccess;
    if (quint32(value.size()) > capacity)
        return ErrorMoreData;
    std::copy(value.cbegin(), value.cend(), data->begin());
    return ErrorSuccess;
}

long PortableRegistry::closeKey(Handle key)
{
    return m_openKeys.remove(key) ? ErrorSuccess : ErrorInvalidHandle;
}

QString PortableRegistry::findSystemInfoProgram() const
{
    const QStringList searchPaths =
        m_searchPaths.isEmpty() ? absoluteEnvironmentPaths() : m_searchPaths;
    if (searchPaths.isEmpty())
        return {};
    for (const QString &name : SystemInfoPrograms) {
        const QString path = QStandardPaths::findExecutable(name, searchPaths);
        if (!path.isEmpty())
            return path;
    }
    return {};
}
