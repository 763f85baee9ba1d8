// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The modal boxes and the beep the game asks the player with. Message texts are
// passed exactly as the game words them; the dialogs carry the application title.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // An information box with an OK button only.
    virtual void message(QWidget *parent, const QString &text) = 0;

    // A question box with Yes and No; true for Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;

    // A one-line input box holding `text` at first. Lines of the prompt are separated by
    // carriage returns. Cancel answers with an empty text.
    virtual QString input(QWidget *parent, const QString &prompt, const QString &title,
                          const QString &text) = 0;

    virtual void beep() = 0;
};

// The real boxes, shown with Qt's standard dialogs.
class DialogPrompts : public Prompts
{
public:
    void message(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
    QString input(QWidget *parent, const QString &prompt, const QString &title,
                  const QString &text) override;
    void beep() override;
};
