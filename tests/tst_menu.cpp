#include "support/gamefixture.h"

#include "records/frmhiscores.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmbacks.h"
#include "windows/frmcredits.h"
#include "windows/frminstruct.h"
#include "windows/frmmenu.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_Menu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menuOpensOnlyBetweenGamesAndDisablesTheTable();
    void everyMenuButtonLeadsBackToTheMenu_data();
    void everyMenuButtonLeadsBackToTheMenu();
    void closingAWindowByTheWindowSystemDoesWhatItsButtonDoes_data();
    void closingAWindowByTheWindowSystemDoesWhatItsButtonDoes();
    void instructionsKeepTheirWording();
    void chooserOkWithoutAClickStoresTheFirstBack();
    void chosenBackGoesOnEverySpotAtOnceAndStays();
    void cancelStoresNothingButRemembersTheChoice();
    void highlightFollowsTheChoice();
    void windowsHaveTheirDesignSizes();

private:
    static void press(QWidget *window, const char *button)
    {
        auto *found = window->findChild<QPushButton *>(QLatin1String(button));
        QVERIFY2(found, button);
        QTest::mouseClick(found, Qt::LeftButton);
    }
    static void openChooser(GameFixture &game)
    {
        game.click("cmdMenu");
        press(game.forms->menu(), "cmdBacks");
    }
};

void tst_Menu::menuOpensOnlyBetweenGamesAndDisablesTheTable()
{
    GameFixture game;
    game.click("cmdMenu");
    frmMenu *menu = game.forms->menu();
    QVERIFY(menu->isVisible());
    QVERIFY(!game.table()->isEnabled());
    game.click("cmdDeal"); // ignored while disabled
    QVERIFY(game.button("cmdTake")->isHidden());
    press(menu, "cmdClose");
    QVERIFY(menu->isHidden());
    QVERIFY(game.table()->isEnabled());

    game.click("cmdDeal");
    QVERIFY(game.button("cmdMenu")->isHidden()); // no menu while a game is on
}

void tst_Menu::everyMenuButtonLeadsBackToTheMenu_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("closer");
    QTest::newRow("credits") << "cmdCredits" << "frmCredits" << "Command1";
    QTest::newRow("instructions") << "cmdInst" << "frmInstruct" << "Command1";
    QTest::newRow("about box") << "cmdAbout" << "frmAbout" << "cmdOK";
    QTest::newRow("card backs with OK") << "cmdBacks" << "frmBacks" << "cmdOK";
    QTest::newRow("card backs with Cancel") << "cmdBacks" << "frmBacks" << "cmdCancel";
}

void tst_Menu::everyMenuButtonLeadsBackToTheMenu()
{
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, closer);
    GameFixture game;
    game.click("cmdMenu");
    frmMenu *menu = game.forms->menu();
    press(menu, qPrintable(button));
    QWidget *opened = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == window && top->isVisible())
            opened = top;
    }
    QVERIFY2(opened, qPrintable(window));
    QVERIFY(menu->isHidden());
    QVERIFY(!game.table()->isEnabled());
    press(opened, qPrintable(closer));
    QVERIFY(menu->isVisible());
    QVERIFY(!game.table()->isEnabled()); // only Close gives the table back
    if (window == QLatin1String("frmAbout")) {
        QVERIFY(!game.forms->isAboutLoaded());
    } else {
        QVERIFY(opened->isHidden());
    }
}

void tst_Menu::closingAWindowByTheWindowSystemDoesWhatItsButtonDoes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("tableEnabledAfter");
    QTest::newRow("menu") << QString() << true;
    QTest::newRow("credits") << "cmdCredits" << false;
    QTest::newRow("instructions") << "cmdInst" << false;
    QTest::newRow("card backs") << "cmdBacks" << false;
}

void tst_Menu::closingAWindowByTheWindowSystemDoesWhatItsButtonDoes()
{
    QFETCH(QString, button);
    QFETCH(bool, tableEnabledAfter);
    GameFixture game;
    game.click("cmdMenu");
    frmMenu *menu = game.forms->menu();
    QWidget *window = menu;
    if (!button.isEmpty()) {
        press(menu, qPrintable(button));
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top != game.table() && top != menu && top->isVisible())
                window = top;
        }
    }
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->close()); // hidden by its own handler, never destroyed
    QVERIFY(window->isHidden());
    QCOMPARE(game.table()->isEnabled(), tableEnabledAfter);
    QCOMPARE(menu->isVisible(), !tableEnabledAfter);
}

void tst_Menu::instructionsKeepTheirWording()
{
    GameFixture game;
    frmInstruct *instruct = game.forms->instruct();
    const QString rules = instruct->findChild<QLabel *>("Label1")->text();
    QVERIFY(rules.startsWith(QStringLiteral("Click on the Deal button to begin.  Then click")));
    QVERIFY(rules.contains(QStringLiteral("one less than the face up card at the bottom.")));
    QVERIFY(rules.endsWith(QStringLiteral("Click on the face down deck to get a new card.")));
    QCOMPARE(instruct->findChild<QLabel *>("Label3")->text(),
             QStringLiteral("Get 12,000 in two rounds and you get a bonus round."));
    QCOMPARE(instruct->findChild<QLabel *>("Label2")->text(), QStringLiteral("INSTRUCTIONS"));
}

void tst_Menu::chooserOkWithoutAClickStoresTheFirstBack()
{
    GameFixture game;
    game.writeFile("zelbacks.dat", QByteArray::fromHex("0300"));
    QCOMPARE(game.spot(0)->picture(), CardPicture::back(3));
    openChooser(game);
    press(game.forms->backs(), "cmdOK");
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0000"));
    for (int index = 0; index < 28; ++index)
        QCOMPARE(game.spot(index)->picture(), CardPicture::back(0));
}

void tst_Menu::chosenBackGoesOnEverySpotAtOnceAndStays()
{
    GameFixture game;
    game.click("cmdDeal");
    game.click("cmdTake");
    game.click("cmdTake");
    // The game went into the high scores; leave them for the menu.
    press(game.forms->hiScores(), "cmdOkay");
    openChooser(game);
    frmBacks *chooser = game.forms->backs();
    QTest::mouseClick(chooser->imgCardBack(7), Qt::LeftButton);
    press(chooser, "cmdOK");
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0700"));
    // Every spot, face up or not, the stock included, shows the new back right away.
    for (int index = 0; index < 28; ++index)
        QCOMPARE(game.spot(index)->picture(), CardPicture::back(7));
    press(game.forms->menu(), "cmdClose");
    game.click("cmdDeal");
    QCOMPARE(game.spot(0)->picture(), CardPicture::back(7));
    QCOMPARE(game.spot(27)->picture(), CardPicture::back(7));

    // And the next start of the game uses it too.
    game.forms = std::make_unique<Forms>(game.services);
    QCOMPARE(game.spot(10)->picture(), CardPicture::back(7));
}

void tst_Menu::cancelStoresNothingButRemembersTheChoice()
{
    GameFixture game;
    game.writeFile("zelbacks.dat", QByteArray::fromHex("0200"));
    openChooser(game);
    frmBacks *chooser = game.forms->backs();
    QTest::mouseClick(chooser->imgCardBack(7), Qt::LeftButton);
    press(chooser, "cmdCancel");
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0200"));
    QCOMPARE(game.spot(3)->picture(), CardPicture::back(2));
    press(game.forms->menu(), "cmdBacks");
    press(chooser, "cmdOK");
    QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0700"));
}

void tst_Menu::highlightFollowsTheChoice()
{
    GameFixture game;
    openChooser(game);
    frmBacks *chooser = game.forms->backs();
    auto outlines = [chooser] {
        QList<QColor> colours;
        for (int i = 0; i < frmBacks::BackCount; ++i) {
            const QImage shot = chooser->imgCardBack(i)->grab().toImage();
            colours.append(shot.pixelColor(1, 50));
        }
        return colours;
    };
    const QColor red(255, 0, 0);
    QVERIFY(!outlines().contains(red));
    QTest::mouseClick(chooser->imgCardBack(2), Qt::LeftButton);
    QTest::mouseClick(chooser->imgCardBack(5), Qt::LeftButton);
    QList<QColor> colours = outlines();
    QCOMPARE(colours.at(5), red);
    QCOMPARE(colours.at(2), QColor(Qt::black));
    QCOMPARE(colours.count(red), 1);
    // The outline is the window's state, not paint: it survives hiding and reopening.
    press(chooser, "cmdCancel");
    press(game.forms->menu(), "cmdBacks");
    QCOMPARE(outlines().at(5), red);
}

void tst_Menu::windowsHaveTheirDesignSizes()
{
    GameFixture game;
    QCOMPARE(game.forms->menu()->size(), QSize(293, 107));
    QCOMPARE(game.forms->credits()->size(), QSize(312, 273));
    QCOMPARE(game.forms->instruct()->size(), QSize(312, 211));
    QCOMPARE(game.forms->backs()->size(), QSize(458, 298));
    QVERIFY(game.forms->menu()->windowFlags() & Qt::FramelessWindowHint);
    auto *web = game.forms->menu()->findChild<QPushButton *>("cmdWeb");
    QCOMPARE(web->geometry(), QRect(8, 64, 81, 33));
    QVERIFY(web->text().contains(QLatin1Char('\n'))); // wraps inside the button
    QCOMPARE(web->text().simplified(), QStringLiteral("Visit Me On The Web"));
    QCOMPARE(game.forms->backs()->imgCardBack(9)->geometry(), QRect(368, 176, 75, 100));
}

QTEST_MAIN(tst_Menu)
#include "tst_menu.moc"
