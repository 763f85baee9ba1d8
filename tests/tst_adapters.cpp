// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/userinput.h"
#include "platform/accessibleannouncer.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QInputDialog>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QWindow>

// The real clock, dialogs and announcer, once each: everything else runs on their fakes.
class tst_Adapters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pauseLastsAtLeastItsLengthAndHandlesEvents()
    {
        bool handled = false;
        QTimer::singleShot(0, this, [&] { handled = true; });
        const QDeadlineTimer length(150);
        SystemClock().pause(std::chrono::milliseconds(150));
        QVERIFY(length.hasExpired() && handled);
    }

    // Each box stays above the window it asks over, even a disabled one (the table under the high scores).
    void boxesBelongToTheWindowTheyAskOverAndAnswer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("offered"); // the name prompt's text
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("answer"); // the name prompt is titled "High Score!!", the others "Marigold"
        QTest::newRow("a message bears the game's name") << "message" << "" << "" << Qt::Key_Return << "";
        QTest::newRow("a question: Yes is the default") << "question" << "" << "" << Qt::Key_Return << "yes";
        QTest::newRow("the name prompt gives what is typed") << "input" << "" << "Ann" << Qt::Key_Return << "Ann";
        QTest::newRow("the name prompt cancelled gives nothing, what was offered and typed aside")
            << "input" << "? Joy ?" << "typed, then cancelled" << Qt::Key_Escape << "";
    }
    void boxesBelongToTheWindowTheyAskOverAndAnswer()
    {
        QFETCH(QString, kind);
        QFETCH(QString, offered);
        QFETCH(QString, typed);
        QFETCH(Qt::Key, key);
        QFETCH(QString, answer);
        QApplication::setApplicationDisplayName(QStringLiteral("Marigold"));
        DialogPrompts prompts;
        QWidget table;
        table.show();
        table.setEnabled(false);
        QStringList seen; // enabled, title, then the name prompt's lines and text
        // Only the box's own loop runs, so a zero timer finds it up; closed anyway so a failed check cannot hang.
        QTimer::singleShot(0, this, [&] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            const auto closeAnyway = qScopeGuard([box] {
                if (box->isVisible())
                    static_cast<QDialog *>(box)->reject();
            });
            QTRY_VERIFY(box->isActiveWindow());
            seen << (box->isEnabled() ? "enabled" : "disabled") << box->windowTitle();
            QCOMPARE(box->windowHandle()->transientParent(), table.windowHandle());
            if (auto *dialog = qobject_cast<QInputDialog *>(box))
                seen << dialog->labelText() << dialog->textValue();
            QVERIFY(UserInput::type(typed) && UserInput::press(key));
        });
        QString given;
        if (kind == "input")
            given = prompts.input(&table, u"One\rTwo"_qs, u"High Score!!"_qs, offered);
        else if (kind == "question")
            given = prompts.question(&table, u"Sure?"_qs) ? u"yes"_qs : u"no"_qs;
        else
            prompts.message(&table, u"cannot save"_qs);
        QCOMPARE(given, answer);
        QCOMPARE(seen, kind == "input" ? QStringList({"enabled", "High Score!!", "One\nTwo", offered})
                                       : QStringList({"enabled", "Marigold"}));
    }

    void announcementsAreNotificationsInAStatusBarThatDrawNothing()
    {
        QAccessible::setActive(true);
        QWidget host;
        AccessibleAnnouncer announcer;
        announcer.setHost(&host);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const QImage before = host.grab().toImage();
        int shown = 0; // more sentences than the notices that take turns: each is shown under its own words
        for (int sentence = 1; sentence <= 10; ++sentence) {
            const QString words = QStringLiteral("Sentence %1.").arg(sentence);
            announcer.announce(words);
            for (QWidget *child : host.findChildren<QWidget *>()) {
                QAccessibleInterface *notice = QAccessible::queryAccessibleInterface(child);
                shown += notice->role() == QAccessible::Notification && notice->text(QAccessible::Name) == words
                    && notice->parent()->role() == QAccessible::StatusBar && child->isVisible();
            }
        }
        QCOMPARE(shown, 10);
        QCOMPARE(host.grab().toImage(), before);
        QAccessible::setActive(false);
    }
};

QTEST_MAIN(tst_Adapters)
#include "tst_adapters.moc"
