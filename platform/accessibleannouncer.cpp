// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibleannouncer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

// An empty widget that takes no input and draws nothing, seen by assistive technology
// in the role it was made with.
class SpokenOnly : public QWidget
{
    Q_OBJECT

public:
    SpokenOnly(QAccessible::Role role, QWidget *parent)
        : QWidget(parent)
        , m_role(role)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 0, 0);
    }

    QAccessible::Role role() const { return m_role; }

private:
    QAccessible::Role m_role;
};

class SpokenOnlyAccessible : public QAccessibleWidget
{
public:
    explicit SpokenOnlyAccessible(SpokenOnly *widget)
        : QAccessibleWidget(widget, widget->role())
    {
    }
};

QAccessibleInterface *spokenOnlyFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("SpokenOnly"))
        return new SpokenOnlyAccessible(static_cast<SpokenOnly *>(object));
    return nullptr;
}

} // namespace

void AccessibleAnnouncer::setHost(QWidget *host)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(spokenOnlyFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    delete m_statusBar;
    m_statusBar = new SpokenOnly(QAccessible::StatusBar, host);
    m_statusBar->setObjectName(QStringLiteral("announcements"));
    for (QWidget *&notice : m_notices) {
        notice = new SpokenOnly(QAccessible::Notification, m_statusBar);
        notice->hide();
    }
    m_statusBar->show();
}

void AccessibleAnnouncer::announce(const QString &sentence)
{
    if (!m_statusBar || sentence.isEmpty())
        return;
    QWidget *notice = m_notices.at(m_next);
    m_next = (m_next + 1) % Turns;
    // Coming into view is what is spoken, so the notice must be out of view first.
    notice->hide();
    notice->setAccessibleName(sentence);
    notice->show();
}

#include "accessibleannouncer.moc"
