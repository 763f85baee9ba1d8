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
        row("lblHighRun", {24, 32, 49, 25}, "0", 15.75, Qt::green);
        row("lblSpot0", {136, 24, 65, 17}, "1000", 12, Qt::yellow);
        row("cmdMenu", {248, 16, 73, 33}, "Menu", 8.25);
        row("cmdScores", {248, 56, 73, 33}, "High Scores", 8.25);
        row("lblSpot1", {376, 24, 65, 17}, "1000", 12, Qt::yellow);
        row("lblHighScorelbl", {456, 8, 113, 25}, "High Score:", 14.25, Qt::red);
        row("lblHighScore", {488, 32, 81, 25}, "0", 15.75, Qt::green);
        row("lblBonuslbl", {176, 104, 217, 33}, "CARD BONUS:", 21.75, Qt::red);
        row("lblBonus", {248, 152, 81, 41}, "999", 24, Qt::magenta);
        row("cmdDeal", {128, 288, 73, 33}, "Deal", 8.25);
        row("cmdExit", {368, 288, 73, 33}, "Exit", 8.25);
        row("cmdTake", {416, 304, 105, 49}, "Take Score", 13.5);
        row("lblCardslbl", {24, 384, 97, 25}, "Cards Left:", 12, Qt::red, Qt::AlignLeft);
        row("lblCards", {144, 384, 33, 25}, "25", 14.25, Qt::yellow, Qt::AlignRight);
        row("lblRunlbl", {384, 376, 81, 25}, "Run:", 15.75, Qt::red);
        row("lblRun", {480, 376, 65, 25}, "0", 18, Qt::cyan);
        row("lblScorelbl", {384, 416, 81, 25}, "Score:", 15.75, Qt::red);
        row("lblScore", {472, 416, 89, 25}, "0", 18, Qt::yellow);
        row("lblTime", {8, 432, 89, 17}, "Time Left:", 12, Qt::red, Qt::AlignLeft);
        row("ProgressBar1", {96, 432, 97, 17});
        const QList<QPoint> spots = {
            {128, 16}, {368, 16}, {88, 56}, {168, 56}, {328, 56}, {408, 56}, {48, 96}, {128, 96},
            {208, 96}, {288, 96}, {368, 96}, {448, 96}, {8, 136}, {88, 136}, {168, 136}, {248, 136},
            {328, 136}, {408, 136}, {488, 136}, {48, 176}, {128, 176}, {208, 176}, {288, 176},
            {368, 176}, {448, 176}, {248, 216}, {288, 352}, {208, 352}};
        for (int index = 0; index < spots.size(); ++index)
            row(qPrintable(QStringLiteral("imgSpot[%1]").arg(index)), QRect(spots[index], QSize(75, 100)));
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
        // Every label is bold, and so is the Take Score button.
        QCOMPARE(control->font().bold(), colour.isValid() || points > 9);
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QCOMPARE(label->palette().color(QPalette::WindowText), colour);
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::blue));
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, alignment);
        }
    }
    void startUpShowsTheRecordsAndADealTheDeck()
    {
        GameFixture game; // records laid down before the table starts
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
        // The back is read again by each deal; Take Score ends the round, showing its bonus, and deals.
        game.writeFile("zelbacks.dat", QByteArray::fromHex("0500"));
        QVERIFY(game.click("cmdDeal") && game.click("cmdTake"));
        for (int index = 0; index < Tableau::StockSpot; ++index) {
            const int card = game.table()->model().deck().Deck(index + 1);
            // The open cards are the clickable ones and the waste.
            const bool faceUp = game.spot(index)->isClickable() || index == Tableau::WasteSpot;
            QCOMPARE(game.spot(index)->picture(), faceUp ? CardPicture::face(card) : CardPicture::back(5));
            QCOMPARE(QAccessible::queryAccessibleInterface(game.spot(index))->text(QAccessible::Name),
                     faceUp ? Card::name(card) : QString("Face-down card"));
            // The waste's tag holds the rank of its card, the others' the card.
            const int tag = index == Tableau::WasteSpot ? Card::rank(card) : card;
            QCOMPARE(game.spot(index)->tag(), QString::number(tag));
        }
        for (const char *hidden : {"lblSpot0", "lblSpot1", "lblBonuslbl", "lblBonus"})
            QVERIFY2(game.label(hidden)->isHidden(), hidden);
    }
};

QTEST_MAIN(tst_Table)
#include "tst_table.moc"
