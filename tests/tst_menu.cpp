// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"
#include "support/userinput.h"

#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmbacks.h"
#include "windows/frmmenu.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

class tst_Menu : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyWayOutLeadsBackToTheMenuAndOnlyOkStoresTheBack()
    {
        GameFixture game;
        game.writeFile("zelbacks.dat", QByteArray::fromHex("0200"));
        QVERIFY(game.click("cmdMenu"));
        frmMenu *menu = game.forms->menu();
        const auto menuButton = [menu](const char *name) { return menu->findChild<QPushButton *>(name); };
        // Each window the menu opens, left by a button, Escape or the window system's close box.
        for (auto [opener, way] : {std::pair{"cmdCredits", "Command1"}, {"cmdInst", "close box"}, {"cmdAbout", "cmdOK"},
                                   {"cmdAbout", "Escape"}, {"cmdAbout", "close box"}, {"cmdBacks", "close box"}}) {
            QVERIFY(UserInput::click(menuButton(opener)));
            QPointer<QWidget> opened;
            for (QWidget *top : QApplication::topLevelWidgets())
                opened = top->isVisible() && top != game.table() ? top : opened.get();
            QVERIFY2(menu->isHidden() && opened, opener);
            QTRY_VERIFY(opened->isActiveWindow());
            if (way == QLatin1String("Escape"))
                QVERIFY(UserInput::press(Qt::Key_Escape));
            else if (way == QLatin1String("close box"))
                QVERIFY(UserInput::closeWindow(opened));
            else
                QVERIFY(UserInput::click(opened->findChild<QPushButton *>(way)));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(menu->isVisible() && !game.table()->isEnabled(), way);
            QVERIFY(opener == QLatin1String("cmdAbout") ? opened.isNull() : opened->isHidden()); // about alone unloads
        }
        // The back chooser outlines the last choice alone, and stores it only on OK.
        QVERIFY(UserInput::click(menuButton("cmdBacks")));
        frmBacks *chooser = game.forms->backs();
        QVERIFY(UserInput::click(chooser->imgCardBack(2)) && UserInput::click(chooser->imgCardBack(7)));
        QList<QColor> outlines;
        for (int index = 0; index < frmBacks::BackCount; ++index)
            outlines.append(chooser->imgCardBack(index)->grab().toImage().pixelColor(1, 50));
        QVERIFY(outlines.count(QColor(Qt::red)) == 1 && outlines[7] == QColor(Qt::red));
        QVERIFY(UserInput::click(chooser->findChild<QPushButton *>("cmdCancel")));
        QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0200"));
        QCOMPARE(game.spot(27)->picture(), CardPicture::back(2));
        QVERIFY(UserInput::click(menuButton("cmdBacks"))); // only if Cancel led back to the menu
        QVERIFY(UserInput::click(chooser->findChild<QPushButton *>("cmdOK"))); // the cancelled choice is still made
        QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0700"));
        QCOMPARE(game.spot(27)->picture(), CardPicture::back(7));
        // The menu itself, by its close box or Close, gives the table back, and cannot open in a game.
        for (bool closeBox : {true, false}) {
            QVERIFY(closeBox ? UserInput::closeWindow(menu) : UserInput::click(menuButton("cmdClose")));
            QVERIFY(menu->isHidden() && game.table()->isEnabled() && game.click(closeBox ? "cmdMenu" : "cmdDeal"));
        }
        QVERIFY(!game.click("cmdMenu") && menu->isHidden());
    }
};

QTEST_MAIN(tst_Menu)
#include "tst_menu.moc"
