#pragma once

#include <QByteArray>
#include <QString>

// Names are stored one byte per character in Windows-1252, whatever the platform,
// so record files move between builds unchanged.
namespace CodePage1252 {

// Characters the code page cannot hold become '?'. One byte per code point.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

} // namespace CodePage1252
