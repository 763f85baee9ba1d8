#include "fakeprompts.h"

void FakePrompts::message(QWidget *, const QString &text)
{
    messages.append(text);
    if (onMessage)
        onMessage(text);
}

bool FakePrompts::question(QWidget *, const QString &text)
{
    questions.append(text);
    return questionAnswers.isEmpty() ? false : questionAnswers.takeFirst();
}

QString FakePrompts::input(QWidget *, const QString &prompt, const QString &title)
{
    inputPrompts.append(prompt);
    inputTitles.append(title);
    return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
}
