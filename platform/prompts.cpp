// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// A carriage return alone ends a line in the game's prompts; Qt's labels want a newline.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

void DialogPrompts::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                    displayText(text), QMessageBox::Ok, parent);
    box.exec();
}

bool DialogPrompts::question(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    displayText(text), QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

QString DialogPrompts::input(QWidget *parent, const QString &prompt, const QString &title,
                             const QString &text)
{
    return QInputDialog::getText(parent, title, displayText(prompt), QLineEdit::Normal, text);
}

void DialogPrompts::beep()
{
    QApplication::beep();
}
