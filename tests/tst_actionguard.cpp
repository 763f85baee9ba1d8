#include "support/fakeprogramlauncher.h"
#include "support/fakeregistry.h"
#include "support/gamefixture.h"
#include "platform/actionguard.h"
#include "table/cardimage.h"
#include "windows/frmabout.h"
#include "windows/frmmenu.h"
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>
using namespace std::chrono_literals;

// A screen reader's press: the button's animateClick() lands a moment later.
static void pressFromScreenReader(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface && iface->actionInterface());
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(150);
}

static void deleteUnloadedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The about box, with no system-information tool anywhere.
struct AboutGame : GameFixture
{
    FakeRegistry registry;
    FakeProgramLauncher launcher;
    Forms windows{(services.registry = &registry, services.launcher = &launcher, services)};
    QPointer<frmAbout> about = windows.about();
    void press(const char *name) { pressFromScreenReader(about->findChild<QPushButton *>(name)); }
};

class tst_ActionGuard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QAccessible::setActive(true); }
    void controlActsOnlyWhenAPlayerCouldReachIt_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("acts");
        for (auto [name, acts] : {std::pair{"plain", true}, {"hidden", false}, {"disabled", false},
                                  {"under an application modal", false}, {"under a window modal", false},
                                  {"window modal elsewhere", true}, {"over the modal", true}})
            QTest::newRow(name) << QString::fromLatin1(name) << acts;
    }
    void controlActsOnlyWhenAPlayerCouldReachIt()
    {
        QFETCH(QString, situation);
        QFETCH(bool, acts);
        QWidget window, other;
        QDialog modal(situation.contains("elsewhere") ? &other : &window);
        QDialog overModal(&modal); // an application-modal dialog's own window
        auto *button = new QPushButton(situation == "over the modal" ? &overModal : static_cast<QWidget *>(&window));
        int handled = 0;
        QObject::connect(button, &QPushButton::clicked, [&] { handled += ActionGuard::mayAct(button); });
        window.show(), other.show();
        button->setHidden(situation == "hidden");
        window.setEnabled(situation != "disabled");
        modal.setWindowModality(situation.contains("window") ? Qt::WindowModal : Qt::ApplicationModal);
        modal.setVisible(situation.contains("modal"));
        overModal.setVisible(situation == "over the modal");
        button->click();
        QCOMPARE(handled, acts ? 1 : 0);
    }
    void onlyReactingSpotsOfferThePressAndItPlaysLikeAClick()
    {
        GameFixture game;
        auto actions = [&](int spot) {
            QAccessibleActionInterface *action =
                QAccessible::queryAccessibleInterface(game.spot(spot))->actionInterface();
            return action ? action->actionNames() : QStringList();
        };
        QVERIFY(actions(27).isEmpty()); // nothing reacts before the deal
        game.click("cmdDeal");
        const QStringList press{QAccessibleActionInterface::pressAction()};
        QCOMPARE(actions(19), press);
        QVERIFY(actions(0).isEmpty());  // covered
        QVERIFY(actions(26).isEmpty()); // the waste never reacts
        QAccessible::queryAccessibleInterface(game.spot(27))->actionInterface()->doAction(press.first());
        QCOMPARE(game.text("lblCards"), QStringLiteral("24"));
    }
    void hiddenTakeScoreStartsNoSecondRoundEnd()
    {
        GameFixture game;
        game.click("cmdDeal");
        game.clock.advance(40s);
        int countUpSteps = 0;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            if (length == 150ms && countUpSteps++ == 0)
                pressFromScreenReader(game.button("cmdTake"));
        };
        game.click("cmdTake");
        // Twenty seconds were left: one count-up of twenty steps, 50 points each.
        QCOMPARE(countUpSteps, 20);
        QCOMPARE(game.text("lblScore"), QStringLiteral("1000"));
    }
    void aboutOkUnderItsMessageBoxDoesNothing()
    {
        AboutGame game;
        game.windows.menu()->show();
        game.windows.menu()->cmdAbout_Click();
        game.prompts.onMessage = [&](const QString &) { game.press("cmdOK"); };
        game.press("cmdSysInfo");
        QCOMPARE(game.prompts.messages.size(), 1);
        deleteUnloadedWindows();
        QVERIFY(!game.about.isNull() && game.about->isVisible());
        QVERIFY(game.windows.menu()->isHidden());
    }
    void aboutBoxOutlivesItsOwnMessageBox()
    {
        AboutGame game;
        game.about->show();
        bool aliveWhileBoxUp = false;
        game.prompts.onMessage = [&](const QString &) {
            game.windows.unloadAbout();
            deleteUnloadedWindows();
            aliveWhileBoxUp = !game.about.isNull();
        };
        game.about->cmdSysInfo_Click();
        QVERIFY(aliveWhileBoxUp);
        deleteUnloadedWindows();
        QVERIFY(game.about.isNull());
    }
};

QTEST_MAIN(tst_ActionGuard)
#include "tst_actionguard.moc"
