#include "support/gamefixture.h"

#include "game/card.h"
#include "platform/designfonts.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

const QList<int> DealtClickable = {19, 20, 23, 24, 25, 27};
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor Green(0, 255, 0);
const QColor Cyan(0, 255, 255);
const QColor Magenta(255, 0, 255);
const Qt::Alignment Centre = Qt::AlignHCenter;

QString spokenName(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

} // namespace

class tst_Table : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // As the program does at start-up, so "default" means the dialog font.
        QApplication::setFont(DesignFonts::dialog());
    }
    void layout_data()
    {
        QTest::addColumn<QRect>("geometry"); QTest::addColumn<QString>("caption"); QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("family"); QTest::addColumn<qreal>("points");
        QTest::addColumn<Qt::Alignment>("alignment");
        const QString futura = QStringLiteral("Futura Md BT");
        const QString sans = QStringLiteral("MS Sans Serif");
        auto label = [&](const char *name, QRect geometry, const char *caption, QColor colour,
                         qreal points, Qt::Alignment alignment) {
            QTest::newRow(name) << geometry << caption << colour << futura << points << alignment;
        };
        auto button = [&](const char *name, QRect geometry, const char *caption, qreal points = 8.25) {
            QTest::newRow(name) << geometry << caption << QColor() << sans << points << Qt::Alignment();
        };
        label("lblHighRunlbl", {8, 8, 97, 25}, "High Run:", Red, 14.25, Centre);
        label("lblHighRun", {24, 32, 49, 25}, "0", Green, 15.75, Centre);
        label("lblSpot0", {136, 24, 65, 17}, "1000", Yellow, 12, Centre);
        button("cmdMenu", {248, 16, 73, 33}, "Menu");
        button("cmdScores", {248, 56, 73, 33}, "High Scores");
        label("lblSpot1", {376, 24, 65, 17}, "1000", Yellow, 12, Centre);
        label("lblHighScorelbl", {456, 8, 113, 25}, "High Score:", Red, 14.25, Centre);
        label("lblHighScore", {488, 32, 81, 25}, "0", Green, 15.75, Centre);
        label("lblBonuslbl", {176, 104, 217, 33}, "CARD BONUS:", Red, 21.75, Centre);
        label("lblBonus", {248, 152, 81, 41}, "999", Magenta, 24, Centre);
        button("cmdDeal", {128, 288, 73, 33}, "Deal");
        button("cmdExit", {368, 288, 73, 33}, "Exit");
        button("cmdTake", {416, 304, 105, 49}, "Take Score", 13.5);
        label("lblCardslbl", {24, 384, 97, 25}, "Cards Left:", Red, 12, Qt::AlignLeft);
        label("lblCards", {144, 384, 33, 25}, "25", Yellow, 14.25, Qt::AlignRight);
        label("lblRunlbl", {384, 376, 81, 25}, "Run:", Red, 15.75, Centre);
        label("lblRun", {480, 376, 65, 25}, "0", Cyan, 18, Centre);
        label("lblScorelbl", {384, 416, 81, 25}, "Score:", Red, 15.75, Centre);
        label("lblScore", {472, 416, 89, 25}, "0", Yellow, 18, Centre);
        label("lblTime", {8, 432, 89, 17}, "Time Left:", Red, 12, Qt::AlignLeft);
        QTest::newRow("ProgressBar1") << QRect(96, 432, 97, 17) << QString() << QColor() << QString()
                                      << 0.0 << Qt::Alignment();
        const QList<QPoint> spots = {
            {128, 16}, {368, 16}, {88, 56}, {168, 56}, {328, 56}, {408, 56}, {48, 96},
            {128, 96}, {208, 96}, {288, 96}, {368, 96}, {448, 96}, {8, 136}, {88, 136},
            {168, 136}, {248, 136}, {328, 136}, {408, 136}, {488, 136}, {48, 176}, {128, 176},
            {208, 176}, {288, 176}, {368, 176}, {448, 176}, {248, 216}, {288, 352}, {208, 352}};
        for (int index = 0; index < spots.size(); ++index) {
            QTest::addRow("imgSpot[%d]", index) << QRect(spots[index], QSize(75, 100)) << QString()
                                                << QColor() << QString() << 0.0 << Qt::Alignment();
        }
    }
    void layout()
    {
        QFETCH(QRect, geometry); QFETCH(QString, caption); QFETCH(QColor, colour); QFETCH(QString, family);
        QFETCH(qreal, points); QFETCH(Qt::Alignment, alignment);
        GameFixture game;
        auto *control = game.table()->findChild<QWidget *>(QLatin1String(QTest::currentDataTag()));
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        if (!family.isEmpty()) {
            QCOMPARE(control->font().family(), family);
            QCOMPARE(control->font().pointSizeF(), points);
            // Every Futura is bold, and so is the Take Score button.
            QCOMPARE(control->font().bold(), family != QLatin1String("MS Sans Serif") || points > 9);
        }
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->palette().color(QPalette::WindowText), colour);
            QCOMPARE(label->palette().color(QPalette::Window), QColor(0, 0, 255));
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, alignment);
        } else if (auto *button = qobject_cast<QPushButton *>(control)) {
            QCOMPARE(button->text(), caption);
            QVERIFY(!button->isDefault() && !button->autoDefault());
        } else if (auto *bar = qobject_cast<QProgressBar *>(control)) {
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 60);
        }
    }
    void windowIsFixedAndDrawnInDesignOrder()
    {
        GameFixture game;
        frmMarigold *table = game.table();
        QCOMPARE(table->windowTitle(), QStringLiteral("Marigold"));
        QCOMPARE(table->size(), QSize(572, 461));
        QCOMPARE(table->minimumSize(), table->maximumSize());
        QVERIFY(!(table->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QCOMPARE(table->palette().color(QPalette::Window), QColor(0, 0, 255));
        // Lower rows over upper ones, labels over cards, buttons over everything.
        QCOMPARE(table->childAt({130, 60}), game.spot(2));
        QCOMPARE(table->childAt({130, 50}), game.spot(0));
        QCOMPARE(table->childAt({260, 300}), game.spot(25));
        game.label("lblBonuslbl")->show();
        QCOMPARE(table->childAt({200, 110}), game.label("lblBonuslbl"));
        QCOMPARE(table->childAt({250, 20}), game.button("cmdMenu"));
    }
    void startUpShowsTheRecordsAndTheBack_data()
    {
        QTest::addColumn<QByteArray>("scores"); QTest::addColumn<QByteArray>("run");
        QTest::addColumn<QByteArray>("back"); QTest::addColumn<QString>("highScore");
        QTest::addColumn<QString>("highRun"); QTest::addColumn<int>("shownBack");
        QTest::newRow("first start with no record files") << QByteArray() << QByteArray() << QByteArray()
                                                          << "0" << "0" << 0;
        QTest::newRow("records kept from before") << QByteArray(9, '\0') + QByteArray::fromHex("f4010000")
                                                  << QByteArray::fromHex("0c00") << QByteArray::fromHex("0300")
                                                  << "500" << "12" << 3;
    }
    void startUpShowsTheRecordsAndTheBack()
    {
        QFETCH(QByteArray, scores); QFETCH(QByteArray, run); QFETCH(QByteArray, back); QFETCH(QString, highScore);
        QFETCH(QString, highRun); QFETCH(int, shownBack);
        GameFixture game;
        for (const auto &[file, bytes] : {std::pair{"zelscores.dat", scores}, {"zelruntot.dat", run},
                                          {"zelbacks.dat", back}}) {
            if (!bytes.isEmpty())
                game.writeFile(QLatin1String(file), bytes);
        }
        QCOMPARE(game.text("lblHighScore"), highScore);
        QCOMPARE(game.text("lblHighRun"), highRun);
        QCOMPARE(game.table()->highScore(), highScore.toInt());
        for (const char *file : {"zelscores.dat", "zelruntot.dat", "zelbacks.dat"})
            QVERIFY2(QFile::exists(game.path(QLatin1String(file))), file);
        for (int index = 0; index < Tableau::SpotCount; ++index) {
            QCOMPARE(game.spot(index)->picture(), CardPicture::back(shownBack));
            QVERIFY(!game.spot(index)->isHidden());
        }
        QVERIFY(game.clickableSpots().isEmpty());
        for (const char *hidden : {"lblSpot0", "lblSpot1", "lblBonuslbl", "lblBonus"})
            QVERIFY2(game.label(hidden)->isHidden(), hidden);
        QVERIFY(game.button("cmdTake")->isHidden());
        for (const char *shown : {"cmdDeal", "cmdExit", "cmdMenu", "cmdScores"})
            QVERIFY2(game.button(shown)->isVisible(), shown);
        game.click(27);
        game.click(19);
        QCOMPARE(game.text("lblCards"), QStringLiteral("25"));
        QCOMPARE(game.prompts.beeps, 0);
    }
    void dealShowsTheDeckOnTheSpots()
    {
        GameFixture game;
        game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("0200"));
        game.table();
        game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("0500")); // read again by the deal
        game.click("cmdDeal");
        const Shuffle &deck = game.table()->model().deck();
        QCOMPARE(game.clickableSpots(), DealtClickable);
        for (int index = 0; index < Tableau::WasteSpot; ++index) {
            QCOMPARE(game.spot(index)->tag(), QString::number(deck.Deck(index + 1)));
            QCOMPARE(game.spot(index)->picture(), DealtClickable.contains(index)
                                                      ? CardPicture::face(deck.Deck(index + 1))
                                                      : CardPicture::back(5));
        }
        // The waste shows its card but its tag holds the rank.
        QCOMPARE(game.spot(Tableau::WasteSpot)->picture(), CardPicture::face(deck.Deck(27)));
        QCOMPARE(game.spot(Tableau::WasteSpot)->tag(), QString::number(Card::rank(deck.Deck(27))));
        QCOMPARE(game.spot(Tableau::StockSpot)->picture(), CardPicture::back(5));
        QVERIFY(game.button("cmdTake")->isVisible());
        for (const char *hidden : {"cmdDeal", "cmdExit", "cmdMenu", "cmdScores"})
            QVERIFY2(game.button(hidden)->isHidden(), hidden);
        game.click(27);
        QCOMPARE(game.spot(Tableau::WasteSpot)->picture(), CardPicture::face(deck.Deck(28)));
        QCOMPARE(game.text("lblCards"), QStringLiteral("24"));
    }
    void spokenNamesNeverRevealFaceDownCards()
    {
        QAccessible::setActive(true);
        GameFixture game;
        game.click("cmdDeal");
        const Shuffle &deck = game.table()->model().deck();
        for (int index = 0; index < Tableau::StockSpot; ++index) {
            const bool faceUp = index == Tableau::WasteSpot || DealtClickable.contains(index);
            QCOMPARE(spokenName(game.spot(index)),
                     faceUp ? Card::name(deck.Deck(index + 1)) : QStringLiteral("Face-down card"));
        }
    }
};

QTEST_MAIN(tst_Table)
#include "tst_table.moc"
