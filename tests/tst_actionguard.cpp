// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakeregistry.h"
#include "support/gamefixture.h"
#include "support/userinput.h"
#include "platform/actionguard.h"
#include "table/cardimage.h"
#include "windows/frmabout.h"

#include <QAccessibleActionInterface>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// Where no person could press a control, click() stands for a late animateClick or a screen reader's press.
class tst_ActionGuard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controlActsOnlyWhenAPlayerCouldReachIt_data()
    {
        QTest::addColumn<bool>("acts");
        for (auto [name, acts] : {std::pair{"plain", true}, {"hidden", false}, {"disabled", false},
                                  {"under an application modal", false}, {"under a window modal", false},
                                  {"window modal elsewhere", true}, {"in the modal", true}})
            QTest::newRow(name) << acts;
    }
    void controlActsOnlyWhenAPlayerCouldReachIt()
    {
        QFETCH(bool, acts);
        const QString situation = QString::fromLatin1(QTest::currentDataTag());
        QWidget window, other;
        QDialog modal(situation.contains("elsewhere") ? &other : &window);
        QPushButton button(situation == "in the modal" ? &modal : &window);
        window.setVisible(situation != "hidden");
        window.setEnabled(situation != "disabled");
        modal.setWindowModality(situation.contains("window") ? Qt::WindowModal : Qt::ApplicationModal);
        modal.setVisible(situation.contains("modal"));
        QCOMPARE(ActionGuard::mayAct(&button), acts);
    }
    void spotsOfferThePressOnlyWhereTheyReactAndAHiddenTakeScoreDoesNothing()
    {
        GameFixture game;
        QVERIFY(game.click("cmdDeal"));
        const QString press = QAccessibleActionInterface::pressAction();
        for (int spot = 0; spot < 28; ++spot) { // the stock (27) too
            auto *action = QAccessible::queryAccessibleInterface(game.spot(spot))->actionInterface();
            QCOMPARE(action && action->actionNames().contains(press), game.clickableSpots().contains(spot));
        }
        QAccessible::queryAccessibleInterface(game.spot(27))->actionInterface()->doAction(press);
        QCOMPARE(game.text("lblCards"), QStringLiteral("24")); // as a click on the stock draws
        // Take Score is hidden through the pauses of the round's end; pressed in the first, it is not counted twice.
        const int firstPause = game.clock.pauseCount() + 1;
        game.clock.onPause = [&](std::chrono::milliseconds) {
            if (game.clock.pauseCount() == firstPause)
                game.button("cmdTake")->click();
        };
        QVERIFY(game.click("cmdTake"));
        QCOMPARE(game.text("lblScore"), QStringLiteral("3000")); // a minute left, 50 points a second
    }
    void aboutOkUnderItsOwnMessageBoxDoesNothingAndTheBoxOutlivesIt()
    {
        FakePrompts prompts;
        FakeRegistry noSystemInfo;
        Forms forms({.prompts = &prompts, .registry = &noSystemInfo});
        QPointer<frmAbout> about = forms.about();
        about->show();
        prompts.onMessage = [&](const QString &) {
            about->findChild<QPushButton *>("cmdOK")->click();
            forms.unloadAbout(); // while its own box is still up
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(about && about->isVisible()); // neither deleted under its box nor closed by OK
        };
        QVERIFY(UserInput::click(about->findChild<QPushButton *>("cmdSysInfo")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
    }
};

QTEST_MAIN(tst_ActionGuard)
#include "tst_actionguard.moc"
