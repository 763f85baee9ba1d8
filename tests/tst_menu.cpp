#include "support/gamefixture.h"

#include "records/frmhiscores.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmbacks.h"
#include "windows/frmmenu.h"

#include <QPushButton>
#include <QTest>

namespace {
void press(QWidget *window, const char *button)
{
    auto *found = window->findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(found, button);
    QTest::mouseClick(found, Qt::LeftButton);
}
} // namespace

class tst_Menu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menuOpensOnlyBetweenGamesAndDisablesTheTable();
    void everyWayOutOfAMenuWindowLeadsBackToTheMenu_data();
    void everyWayOutOfAMenuWindowLeadsBackToTheMenu();
    void chooserStoresTheBackOnlyOnOkAndOutlinesTheChoice();
};

void tst_Menu::menuOpensOnlyBetweenGamesAndDisablesTheTable()
{
    GameFixture game;
    game.click("cmdMenu");
    QVERIFY(game.forms->menu()->isVisible());
    QVERIFY(!game.table()->isEnabled());
    game.click("cmdDeal"); // ignored while disabled
    QVERIFY(game.button("cmdTake")->isHidden());
    press(game.forms->menu(), "cmdClose");
    QVERIFY(game.forms->menu()->isHidden());
    QVERIFY(game.table()->isEnabled());
    game.click("cmdDeal");
    QVERIFY(game.button("cmdMenu")->isHidden()); // no menu while a game is on
}

void tst_Menu::everyWayOutOfAMenuWindowLeadsBackToTheMenu_data()
{
    // An empty closer is the window system's close box; an empty button is the menu itself.
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("closer");
    QTest::newRow("menu by its close box") << "" << "frmMenu" << "";
    QTest::newRow("credits") << "cmdCredits" << "frmCredits" << "Command1";
    QTest::newRow("credits by its close box") << "cmdCredits" << "frmCredits" << "";
    QTest::newRow("instructions") << "cmdInst" << "frmInstruct" << "Command1";
    QTest::newRow("instructions by its close box") << "cmdInst" << "frmInstruct" << "";
    QTest::newRow("about box") << "cmdAbout" << "frmAbout" << "cmdOK";
    QTest::newRow("card backs with OK") << "cmdBacks" << "frmBacks" << "cmdOK";
    QTest::newRow("card backs with Cancel") << "cmdBacks" << "frmBacks" << "cmdCancel";
    QTest::newRow("card backs by its close box") << "cmdBacks" << "frmBacks" << "";
}

void tst_Menu::everyWayOutOfAMenuWindowLeadsBackToTheMenu()
{
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, closer);
    GameFixture game;
    game.click("cmdMenu");
    frmMenu *menu = game.forms->menu();
    if (!button.isEmpty())
        press(menu, qPrintable(button));
    QWidget *opened = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        opened = top->objectName() == window && top->isVisible() ? top : opened;
    QVERIFY2(opened, qPrintable(window));
    QCOMPARE(menu->isHidden(), opened != menu);
    QVERIFY(!game.table()->isEnabled());
    if (closer.isEmpty())
        QVERIFY(!opened->close()); // hidden by its own handler, never destroyed
    else
        press(opened, qPrintable(closer));
    QCOMPARE(menu->isVisible(), opened != menu);
    QCOMPARE(game.table()->isEnabled(), opened == menu); // only the menu gives the table back
    if (window == QLatin1String("frmAbout"))
        QVERIFY(!game.forms->isAboutLoaded());
    else
        QVERIFY(opened->isHidden());
}

void tst_Menu::chooserStoresTheBackOnlyOnOkAndOutlinesTheChoice()
{
    GameFixture game;
    game.writeFile("zelbacks.dat", QByteArray::fromHex("0200"));
    for (const char *button : {"cmdDeal", "cmdTake", "cmdTake"}) // a round leaves cards face up
        game.click(button);
    press(game.forms->hiScores(), "cmdOkay");
    game.click("cmdMenu");
    press(game.forms->menu(), "cmdBacks");
    frmBacks *chooser = game.forms->backs();
    auto outlined = [chooser](int back) { // red around the chosen back alone
        QList<QColor> colours;
        for (int i = 0; i < frmBacks::BackCount; ++i)
            colours.append(chooser->imgCardBack(i)->grab().toImage().pixelColor(1, 50));
        return colours.indexOf(QColor(Qt::red)) == back && colours.count(QColor(Qt::red)) == int(back >= 0);
    };
    QVERIFY(outlined(-1));
    press(chooser, "cmdOK"); // without a click, the first back
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0000"));
    press(game.forms->menu(), "cmdBacks");
    for (int back : {2, 7})
        QTest::mouseClick(chooser->imgCardBack(back), Qt::LeftButton);
    QVERIFY(outlined(7));
    press(chooser, "cmdCancel");
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0000"));
    QCOMPARE(game.spot(3)->picture(), CardPicture::back(0));
    press(game.forms->menu(), "cmdBacks");
    QVERIFY(outlined(7));
    press(chooser, "cmdOK"); // the cancelled choice is remembered
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0700"));
    for (int index = 0; index < 28; ++index) // at once, the stock included
        QCOMPARE(game.spot(index)->picture(), CardPicture::back(7));
    game.forms = std::make_unique<Forms>(game.services); // the next start uses it too
    QCOMPARE(game.spot(10)->picture(), CardPicture::back(7));
}

QTEST_MAIN(tst_Menu)
#include "tst_menu.moc"
