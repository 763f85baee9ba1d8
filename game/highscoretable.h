// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

// The ten best scores, best first, each with a name of exactly NameLength characters.
class HighScoreTable
{
public:
    static constexpr int EntryCount = 10;
    static constexpr int NameLength = 15;

    struct Entry
    {
        qint32 score = 0;
        QString name = blankName();
    };

    static QString blankName();

    // The name as it is stored: control characters made spaces, cut to NameLength
    // characters, never inside one, and padded with spaces.
    static QString fittedName(const QString &name);

    // Entry k, 1 (best) to EntryCount.
    const Entry &entry(int k) const { return m_entries[k - 1]; }
    void setEntry(int k, const Entry &entry) { m_entries[k - 1] = entry; }

    // The entry number a score would take, 0 when it enters nowhere. A score equal to a
    // stored one goes below it.
    int placeFor(qint32 score) const;

    // Moves the entries from `place` down by one, dropping the last, and stores the new one.
    void insert(int place, qint32 score, const QString &name);

private:
    std::array<Entry, EntryCount> m_entries;
};
