#include "support/gamefixture.h"

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
        game.click("cmdMenu");
        frmMenu *menu = game.forms->menu();
        // The windows the menu opens, each left by a button, Escape or the window system's close box.
        const QList<QStringList> ways = {{"cmdCredits", "Command1"}, {"cmdInst", "close box"},
                                         {"cmdAbout", "cmdOK"},      {"cmdAbout", "Escape"},
                                         {"cmdAbout", "close box"},  {"cmdBacks", "close box"}};
        for (const QStringList &way : ways) {
            menu->findChild<QPushButton *>(way[0])->click();
            QPointer<QWidget> opened;
            for (QWidget *top : QApplication::topLevelWidgets())
                opened = top->isVisible() && top != game.table() ? top : opened.get();
            QVERIFY2(menu->isHidden() && opened, qPrintable(way[0]));
            if (way[1] == "Escape")
                QTest::keyClick(opened, Qt::Key_Escape);
            else if (way[1] == "close box")
                opened->close();
            else
                opened->findChild<QPushButton *>(way[1])->click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(menu->isVisible() && !game.table()->isEnabled(), qPrintable(way.join(' ')));
            QCOMPARE(opened.isNull(), way[0] == "cmdAbout"); // the about box alone is unloaded
            QVERIFY(!opened || opened->isHidden());
        }
        // The back chooser outlines the last choice alone, and stores it only on OK.
        QPushButton *openChooser = menu->findChild<QPushButton *>("cmdBacks");
        openChooser->click();
        frmBacks *chooser = game.forms->backs();
        for (int back : {2, 7})
            QTest::mouseClick(chooser->imgCardBack(back), Qt::LeftButton);
        QList<QColor> outlines;
        for (int index = 0; index < frmBacks::BackCount; ++index)
            outlines.append(chooser->imgCardBack(index)->grab().toImage().pixelColor(1, 50));
        QVERIFY(outlines.count(QColor(Qt::red)) == 1 && outlines[7] == QColor(Qt::red));
        chooser->findChild<QPushButton *>("cmdCancel")->click();
        QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0200"));
        QCOMPARE(game.spot(27)->picture(), CardPicture::back(2));
        openChooser->click(); // acts only if Cancel led back to the menu
        chooser->findChild<QPushButton *>("cmdOK")->click(); // the cancelled choice is still made
        QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0700"));
        QCOMPARE(game.spot(27)->picture(), CardPicture::back(7));
        // The menu itself, by its close box or Close, gives the table back, and cannot open in a game.
        menu->close();
        QVERIFY(menu->isHidden() && game.table()->isEnabled());
        game.click("cmdMenu");
        menu->findChild<QPushButton *>("cmdClose")->click();
        QVERIFY(menu->isHidden() && game.table()->isEnabled());
        game.click("cmdDeal");
        QVERIFY(game.button("cmdMenu")->isHidden());
    }
};

QTEST_MAIN(tst_Menu)
#include "tst_menu.moc"
