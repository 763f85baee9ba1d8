// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Names are stored one byte per character in Windows-1252, whatever the platform,
// so record files move between builds unchanged.
namespace CodePage1252 {

// The text as close as the code page can hold it: an accented letter it has is kept
// whole, an accent it lacks is dropped from its letter ("q́" becomes "q"), and a
// compatibility form such as a full-width letter becomes its plain letter. Characters
// with no such stand-in (other scripts, emoji) stay as they are.
QString nearest(const QString &text);
// Whether every character of the text is in the code page.
bool holds(const QString &text);

// The nearest text, one byte per code point; what the code page still lacks becomes '?'.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

} // namespace CodePage1252
