// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscoretable.h"

#include <QList>

#include <algorithm>

namespace {

// C0 controls, DEL and the C1 controls: a typed tab, escape or newline would show as a
// gap or garbage in the table, so each becomes a space.
bool isControl(uint codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

} // namespace

QString HighScoreTable::blankName()
{
    return QString(NameLength, QLatin1Char(' '));
}

QString HighScoreTable::fittedName(const QString &name)
{
    // Count characters as code points in composed form, so a cut never separates a
    // surrogate pair or an accent from its letter that composition can join.
    QList<uint> codePoints = name.normalized(QString::NormalizationForm_C).toUcs4();
    std::replace_if(codePoints.begin(), codePoints.end(), isControl, uint(' '));
    const qsizetype kept = std::min<qsizetype>(codePoints.size(), NameLength);
    QString fitted = QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()),
                                       kept);
    const qsizetype padding = NameLength - kept;
    fitted.append(QString(padding, QLatin1Char(' ')));
    return fitted;
}

int HighScoreTable::placeFor(qint32 score) const
{
    for (int k = 1; k <= EntryCount; ++k) {
        if (score > entry(k).score)
            return k;
    }
    return 0;
}

void HighScoreTable::insert(int place, qint32 score, const QString &name)
{
    for (int k = EntryCount; k > place; --k)
        setEntry(k, entry(k - 1));
    setEntry(place, Entry{score, fittedName(name)});
}
