// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeprompts.h"

#include <QDialog>
#include <QPointer>

namespace {

// A real box is application-modal while it waits: stand in for it with an empty modal
// window, so what a test does while "answering" meets the same blocked windows a player
// would. The window dies with its parent, as a real box does.
class ModalStandIn
{
public:
    explicit ModalStandIn(QWidget *parent)
        : m_box(new QDialog(parent))
    {
        m_box->setWindowModality(Qt::ApplicationModal);
        m_box->show();
    }
    ~ModalStandIn() { delete m_box.data(); }

private:
    QPointer<QDialog> m_box;
};

} // namespace

void FakePrompts::message(QWidget *parent, const QString &text)
{
    ModalStandIn box(parent);
    messages.append(text);
    if (onMessage)
        onMessage(text);
}

bool FakePrompts::question(QWidget *parent, const QString &text)
{
    ModalStandIn box(parent);
    questions.append(text);
    return questionAnswers.isEmpty() ? false : questionAnswers.takeFirst();
}

QString FakePrompts::input(QWidget *parent, const QString &prompt, const QString &title,
                           const QString &text)
{
    ModalStandIn box(parent);
    inputPrompts.append(prompt);
    inputTitles.append(title);
    inputTexts.append(text);
    return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
}
