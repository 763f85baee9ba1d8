// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/announcer.h"

#include <QStringList>

// Keeps what the game said, in order.
class FakeAnnouncer : public Announcer
{
public:
    void announce(const QString &sentence) override { sentences.append(sentence); }

    // Everything said since the last call, and forgets it.
    QStringList take() { return std::exchange(sentences, {}); }

    QStringList sentences;
};
