// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/prompts.h"

#include <QStringList>

#include <functional>

// Answers the game's boxes from scripted replies and remembers what was asked.
class FakePrompts : public Prompts
{
public:
    void message(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
    QString input(QWidget *parent, const QString &prompt, const QString &title,
                  const QString &text) override;
    void beep() override { ++beeps; }

    QStringList messages;
    QStringList questions;
    QStringList inputPrompts;
    QStringList inputTitles;
    QStringList inputTexts; // what the edit field held at first
    int beeps = 0;

    QList<bool> questionAnswers;  // taken in order; No when none is left
    QStringList inputAnswers;     // taken in order; empty (as Cancel) when none is left
    std::function<void(const QString &)> onMessage;
};
