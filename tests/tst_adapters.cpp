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
        SystemClock clock;
        bool handled = false;
        QTimer::singleShot(0, this, [&] { handled = true; });
        const QDeadlineTimer length(150);
        clock.pause(std::chrono::milliseconds(150));
        QVERIFY(length.hasExpired() && handled);
    }

    // Every box stays above the window it asks over, even one that a window over it has
    // disabled, as the table is under the high scores when a record cannot be saved.
    void boxesBelongToTheWindowTheyAskOverAndAnswer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("offered"); // the name prompt's text
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("title");
        QTest::newRow("a message bears the game's name") << "message" << "" << "" << Qt::Key_Return << "" << "Marigold";
        QTest::newRow("a question: Yes is the default") << "question" << "" << "" << Qt::Key_Return << "yes"
                                                        << "Marigold";
        QTest::newRow("the name prompt gives what is typed")
            << "input" << "" << "Ann" << Qt::Key_Return << "Ann" << "High Score!!";
        QTest::newRow("the name prompt cancelled gives nothing, what was offered and typed aside")
            << "input" << "? Joy ?" << "typed, then cancelled" << Qt::Key_Escape << "" << "High Score!!";
    }
    void boxesBelongToTheWindowTheyAskOverAndAnswer()
    {
        QFETCH(QString, kind);
        QFETCH(QString, offered);
        QFETCH(QString, typed);
        QFETCH(Qt::Key, key);
        QFETCH(QString, answer);
        QFETCH(QString, title);
        QApplication::setApplicationDisplayName(QStringLiteral("Marigold"));
        DialogPrompts prompts;
        QWidget table;
        table.show();
        table.setEnabled(false);
        QStringList seen; // enabled, title, then the name prompt's lines and text
        // No event loop runs but the box's own, so a zero timer finds it up; it is closed in
        // the end whatever happens, so a failing check cannot leave the test waiting on it.
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
            QVERIFY(UserInput::type(typed));
            QVERIFY(UserInput::press(key));
        });
        QString given;
        if (kind == "input")
            given = prompts.input(&table, u"One\rTwo"_qs, u"High Score!!"_qs, offered);
        else if (kind == "message")
            prompts.message(&table, u"cannot save"_qs);
        else
            given = prompts.question(&table, u"Sure?"_qs) ? u"yes"_qs : u"no"_qs;
        QCOMPARE(given, answer);
        const QStringList inputLines = kind == "input" ? QStringList{"One\nTwo", offered} : QStringList();
        QCOMPARE(seen, QStringList({"enabled", title}) + inputLines);
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
                if (notice->role() == QAccessible::Notification && notice->text(QAccessible::Name) == words
                    && notice->parent()->role() == QAccessible::StatusBar && child->isVisible())
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
