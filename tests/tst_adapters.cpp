#include "platform/accessibleannouncer.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QTest>
#include <QTimer>

// The real clock, dialogs and announcer, once each: everything else runs on their fakes.
class tst_Adapters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pauseLastsAtLeastItsLengthAndHandlesEvents()
    {
        SystemClock clock;
        bool handled = false;
        QTimer::singleShot(0, this, [&] { handled = true; });
        const QDeadlineTimer length(150);
        clock.pause(std::chrono::milliseconds(150));
        QVERIFY(length.hasExpired() && handled);
    }

    void dialogsCarryTheirTitlesAndCancelAnswersEmpty()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("Marigold"));
        DialogPrompts prompts;
        QString title, prompt, text;
        // No event loop runs but the dialog's own, so a zero timer finds the dialog up.
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            title = dialog->windowTitle();
            prompt = dialog->labelText();
            text = dialog->textValue();
            dialog->setTextValue(QStringLiteral("typed, then cancelled"));
            dialog->reject();
        });
        QCOMPARE(prompts.input(nullptr, u"One\rTwo"_qs, u"High Score!!"_qs, u"? Joy ?"_qs), QString());
        QCOMPARE(title, QStringLiteral("High Score!!"));
        QCOMPARE(prompt, QStringLiteral("One\nTwo"));
        QCOMPARE(text, QStringLiteral("? Joy ?"));
        QTimer::singleShot(0, this, [&] {
            title = QApplication::activeModalWidget()->windowTitle();
            QApplication::activeModalWidget()->close();
        });
        prompts.message(nullptr, u"time is up!!!"_qs);
        QCOMPARE(title, QStringLiteral("Marigold"));
    }
    void announcementsAreNotificationsInAStatusBarThatDrawNothing()
    {
        QAccessible::setActive(true);
        QWidget host;
        host.resize(200, 100);
        AccessibleAnnouncer announcer;
        announcer.setHost(&host);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const QImage before = host.grab().toImage();
        // More sentences than the notices that take turns: each is shown under its own words.
        QStringList shown;
        for (int sentence = 1; sentence <= 10; ++sentence) {
            const QString words = QStringLiteral("Sentence %1.").arg(sentence);
            announcer.announce(words);
            for (QWidget *child : host.findChildren<QWidget *>()) {
                QAccessibleInterface *notice = QAccessible::queryAccessibleInterface(child);
                if (notice->role() != QAccessible::Notification || notice->text(QAccessible::Name) != words)
                    continue;
                QCOMPARE(notice->parent()->role(), QAccessible::StatusBar);
                QVERIFY(child->isVisible());
                shown.append(words);
            }
        }
        QCOMPARE(shown.size(), 10);
        QCOMPARE(host.grab().toImage(), before);
        QAccessible::setActive(false);
    }
};

QTEST_MAIN(tst_Adapters)
#include "tst_adapters.moc"
