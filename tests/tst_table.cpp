// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"

#include "game/card.h"
#include "platform/designfonts.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_Table : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // As the program does at start-up, so "default" means the dialog font.
        QApplication::setFont(DesignFonts::dialog());
        QAccessible::setActive(true);
    }
    void layout_data()
    {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<Qt::Alignment>("alignment"); // buttons have no colour; cards and the bar no caption or font
        auto row = [](const char *name, QRect geometry, const char *caption = "", qreal points = 0,
                      QColor colour = {}, Qt::Alignment alignment = Qt::AlignHCenter) {
            QTest::newRow(name) << geometry << QString::fromLatin1(caption) << points << colour << alignment;
        };
        row("lblHighRunlbl", {8, 8, 97, 25}, "High Run:", 14.25, Qt::red);
        row("lblBonus", {248, 152, 81, 41}, "999", 24, Qt::magenta);
        row("cmdMenu", {248, 16, 73, 33}, "Menu", 8.25);
        row("cmdTake", {416, 304, 105, 49}, "Take Score", 13.5);
        row("lblCardslbl", {24, 384, 97, 25}, "Cards Left:", 12, Qt::red, Qt::AlignLeft);
        row("lblCards", {144, 384, 33, 25}, "25", 14.25, Qt::yellow, Qt::AlignRight);
        row("ProgressBar1", {96, 432, 97, 17});
        for (auto [index, x, y] : {std::array{0, 128, 16}, {25, 248, 216}, {26, 288, 352}})
            row(qPrintable(QStringLiteral("imgSpot[%1]").arg(index)), QRect(x, y, 75, 100));
    }
    void layout()
    {
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(qreal, points);
        QFETCH(QColor, colour);
        QFETCH(Qt::Alignment, alignment);
        GameFixture game;
        auto *control = game.table()->findChild<QWidget *>(QLatin1String(QTest::currentDataTag()));
        QCOMPARE(control ? control->geometry() : QRect(), geometry);
        if (points == 0)
            return;
        QCOMPARE(control->property("text").toString(), caption);
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(control->font().bold(), colour.isValid() || points > 9);
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QCOMPARE(label->palette().color(QPalette::WindowText), colour);
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::blue));
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, alignment);
        }
    }
    void startUpShowsTheRecordsAndADealTheDeck()
    {
        GameFixture game;
        game.writeFile("zelscores.dat", QByteArray(9, '\0') + QByteArray::fromHex("f4010000"));
        game.writeFile("zelruntot.dat", QByteArray::fromHex("0c00"));
        game.writeFile("zelbacks.dat", QByteArray::fromHex("0300"));
        QCOMPARE(game.table()->size(), QSize(572, 461));
        QCOMPARE(game.table()->minimumSize(), game.table()->maximumSize());
        // Lower rows over upper ones, labels over cards, buttons over everything.
        QCOMPARE(game.table()->childAt({130, 60}), game.spot(2));
        QCOMPARE(game.table()->childAt({130, 50}), game.spot(0));
        QCOMPARE(game.table()->childAt({260, 300}), game.spot(25));
        game.label("lblBonuslbl")->show();
        QCOMPARE(game.table()->childAt({200, 110}), game.label("lblBonuslbl"));
        game.label("lblBonuslbl")->hide();
        QCOMPARE(game.table()->childAt({250, 20}), game.button("cmdMenu"));
        QCOMPARE(game.text("lblHighScore") + ' ' + game.text("lblHighRun"), QStringLiteral("500 12"));
        for (int index = 0; index < Tableau::SpotCount; ++index)
            QCOMPARE(game.spot(index)->picture(), CardPicture::back(3));
        // Each deal reads the back again.
        game.writeFile("zelbacks.dat", QByteArray::fromHex("0500"));
        QVERIFY(game.click("cmdDeal") && game.click("cmdTake"));
        for (int index = 0; index < Tableau::StockSpot; ++index) {
            const int card = game.table()->model().deck().Deck(index + 1);
            const bool faceUp = game.spot(index)->isClickable() || index == Tableau::WasteSpot;
            QCOMPARE(game.spot(index)->picture(), faceUp ? CardPicture::face(card) : CardPicture::back(5));
            QCOMPARE(QAccessible::queryAccessibleInterface(game.spot(index))->text(QAccessible::Name),
                     faceUp ? Card::name(card) : QString("Face-down card"));
            QCOMPARE(game.spot(index)->tag(), QString::number(index == Tableau::WasteSpot ? Card::rank(card) : card));
        }
        for (const char *hidden : {"lblSpot0", "lblSpot1", "lblBonuslbl", "lblBonus"})
            QVERIFY2(game.label(hidden)->isHidden(), hidden);
    }
};

QTEST_MAIN(tst_Table)
#include "tst_table.moc"
