// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/userinput.h"
#include "platform/accessibleannouncer.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

// The modal box that is up, once it has the keyboard; it is closed in the end whatever
// happens, so a failing check cannot leave the test waiting on it.
template<typename Answer>
void answerBox(Answer answer)
{
    QWidget *box = QApplication::activeModalWidget();
    QVERIFY(box);
    const auto closeAnyway = qScopeGuard([box] {
        if (box->isVisible())
            qobject_cast<QDialog *>(box)->reject();
    });
    QTRY_VERIFY(box->isActiveWindow());
    answer(box);
}

} // namespace

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
            answerBox([&](QWidget *box) {
                auto *dialog = qobject_cast<QInputDialog *>(box);
                title = dialog->windowTitle();
                prompt = dialog->labelText();
                text = dialog->textValue();
                QVERIFY(UserInput::type(QStringLiteral("typed, then cancelled")));
                QVERIFY(UserInput::press(Qt::Key_Escape));
            });
        });
        QCOMPARE(prompts.input(nullptr, u"One\rTwo"_qs, u"High Score!!"_qs, u"? Joy ?"_qs), QString());
        QCOMPARE(title, QStringLiteral("High Score!!"));
        QCOMPARE(prompt, QStringLiteral("One\nTwo"));
        QCOMPARE(text, QStringLiteral("? Joy ?"));
        QTimer::singleShot(0, this, [&] {
            answerBox([&](QWidget *box) {
                title = box->windowTitle();
                QVERIFY(UserInput::press(Qt::Key_Return));
            });
        });
        prompts.message(nullptr, u"time is up!!!"_qs);
        QCOMPARE(title, QStringLiteral("Marigold"));
    }

    // Every box stays above the window it asks over, even one that a window over it has
    // disabled, as the table is under the high scores when a record cannot be saved.
    void boxesBelongToTheWindowTheyAskOverAndAnswer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("answer"); // what the box gives back for Return
        QTest::newRow("a message") << "message" << "";
        QTest::newRow("a question: Yes is the default") << "question" << "yes";
        QTest::newRow("the name prompt") << "input" << "Ann";
    }
    void boxesBelongToTheWindowTheyAskOverAndAnswer()
    {
        QFETCH(QString, kind);
        QFETCH(QString, answer);
        DialogPrompts prompts;
        QWidget table;
        table.show();
        table.setEnabled(false);
        bool enabled = false;
        QWindow *owner = nullptr;
        QTimer::singleShot(0, this, [&] {
            answerBox([&](QWidget *box) {
                enabled = box->isEnabled();
                owner = box->windowHandle()->transientParent();
                QVERIFY(UserInput::type(kind == QLatin1String("input") ? answer : QString()));
                QVERIFY(UserInput::press(Qt::Key_Return));
            });
        });
        QString given;
        if (kind == QLatin1String("message"))
            prompts.message(&table, u"cannot save"_qs);
        else if (kind == QLatin1String("question"))
            given = prompts.question(&table, u"Sure?"_qs) ? u"yes"_qs : u"no"_qs;
        else
            given = prompts.input(&table, u"Name?"_qs, u"High Score!!"_qs, QString());
        QVERIFY(enabled);
        QCOMPARE(owner, table.windowHandle());
        QCOMPARE(given, answer);
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
