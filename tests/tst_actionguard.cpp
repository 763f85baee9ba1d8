#include "support/fakeprogramlauncher.h"
#include "support/fakeregistry.h"
#include "support/gamefixture.h"
#include "platform/actionguard.h"
#include "windows/frmabout.h"
#include "windows/frmmenu.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// A screen reader's press. A button answers it with animateClick(), whose click lands a
// moment later, so the wait lets it through as a real pause would.
void pressFromScreenReader(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface && iface->actionInterface());
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(150);
}

void deleteUnloadedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class tst_ActionGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QAccessible::setActive(true); }
    void controlActsOnlyWhenAPlayerCouldReachIt_data();
    void controlActsOnlyWhenAPlayerCouldReachIt();
    void hiddenTakeScoreStartsNoSecondRoundEnd();
    void aboutOkUnderItsMessageBoxDoesNothing();
    void aboutBoxOutlivesItsOwnMessageBox();
};

void tst_ActionGuard::controlActsOnlyWhenAPlayerCouldReachIt_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("acts");
    QTest::newRow("on screen and enabled") << "plain" << true;
    QTest::newRow("hidden") << "hidden" << false;
    QTest::newRow("its window disabled") << "disabled" << false;
    QTest::newRow("under an application-modal window") << "application modal" << false;
    QTest::newRow("under a window-modal window opened over it") << "window modal" << false;
    QTest::newRow("a window-modal window over another window") << "modal elsewhere" << true;
    QTest::newRow("in a window opened over the modal one") << "over the modal" << true;
}

void tst_ActionGuard::controlActsOnlyWhenAPlayerCouldReachIt()
{
    QFETCH(QString, situation);
    QFETCH(bool, acts);
    QWidget window;
    QWidget other;
    QDialog modal(situation == "modal elsewhere" ? &other : &window);
    QDialog overModal(&modal);
    QWidget *host = situation == "over the modal" ? static_cast<QWidget *>(&overModal) : &window;
    auto *button = new QPushButton(QStringLiteral("Go"), host);
    int handled = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { handled += ActionGuard::mayAct(button); });
    window.show();
    other.show();
    if (situation == "hidden")
        button->hide();
    if (situation == "disabled")
        window.setEnabled(false);
    if (situation.contains("modal")) {
        modal.setWindowModality(situation == "application modal" || situation == "over the modal"
                                    ? Qt::ApplicationModal
                                    : Qt::WindowModal);
        modal.show();
    }
    if (situation == "over the modal")
        overModal.show();

    button->click();
    QCOMPARE(handled, acts ? 1 : 0);
}

void tst_ActionGuard::hiddenTakeScoreStartsNoSecondRoundEnd()
{
    GameFixture game;
    game.click("cmdDeal");
    game.clock.advance(40s);
    int countUpSteps = 0;
    game.clock.onPause = [&](std::chrono::milliseconds length) {
        if (length != 150ms || countUpSteps++ != 0)
            return;
        QVERIFY(game.button("cmdTake")->isHidden());
        pressFromScreenReader(game.button("cmdTake"));
    };
    game.click("cmdTake");
    // Twenty seconds were left: one count-up of twenty steps, 50 points each.
    QCOMPARE(countUpSteps, 20);
    QCOMPARE(game.text("lblScore"), QStringLiteral("1000"));
    QVERIFY(game.button("cmdTake")->isVisible());
}

void tst_ActionGuard::aboutOkUnderItsMessageBoxDoesNothing()
{
    GameFixture game;
    FakeRegistry registry; // no system-information tool anywhere
    FakeProgramLauncher launcher;
    game.services.registry = &registry;
    game.services.launcher = &launcher;
    Forms forms(game.services);
    forms.menu()->show();
    forms.menu()->cmdAbout_Click();
    QPointer<frmAbout> about = forms.about();
    QVERIFY(about->isVisible());

    game.prompts.onMessage = [&](const QString &) {
        pressFromScreenReader(about->findChild<QPushButton *>(QStringLiteral("cmdOK")));
        deleteUnloadedWindows();
        QVERIFY(!about.isNull());
    };
    pressFromScreenReader(about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo")));
    QCOMPARE(game.prompts.messages,
             QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    deleteUnloadedWindows();
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());
    QVERIFY(forms.menu()->isHidden());
}

void tst_ActionGuard::aboutBoxOutlivesItsOwnMessageBox()
{
    GameFixture game;
    FakeRegistry registry;
    FakeProgramLauncher launcher;
    game.services.registry = &registry;
    game.services.launcher = &launcher;
    Forms forms(game.services);
    QPointer<frmAbout> about = forms.about();
    about->show();

    bool aliveWhileBoxUp = false;
    game.prompts.onMessage = [&](const QString &) {
        forms.unloadAbout();
        deleteUnloadedWindows();
        aliveWhileBoxUp = !about.isNull();
    };
    about->cmdSysInfo_Click();
    QVERIFY(aliveWhileBoxUp);
    deleteUnloadedWindows();
    QVERIFY(about.isNull());
}

QTEST_MAIN(tst_ActionGuard)
#include "tst_actionguard.moc"
