#include "assets/artwork.h"
#include "table/card.h"
#include "table/cardpainter.h"
#include "table/cardpictures.h"

#include <QFont>
#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

bool isRedInk(QRgb pixel)
{
    return qAlpha(pixel) > 200 && qRed(pixel) > 150 && qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel)) > 100;
}

bool isInk(QRgb pixel)
{
    return qAlpha(pixel) > 200 && std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 140;
}

QImage faceImage(int cardNumber, qreal ratio = 1.0)
{
    return CardPictures::pixmap(CardPicture::face(cardNumber), ratio).toImage();
}

// The face's symbol sits below the rank word, well inside the card's outline.
const QRect SymbolArea(4, 32, 67, 62);
// Below the rounded corners, so their outline is not taken for ink.
const QRect RankBand(1, 6, 73, 24);

int countPixels(const QImage &image, const QRect &area, bool (*test)(QRgb))
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

} // namespace

class tst_Artwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cardPixmapsHaveTheDeviceSize_data();
    void cardPixmapsHaveTheDeviceSize();
    void cardCornersAreLeftTransparent_data();
    void cardCornersAreLeftTransparent();
    void backsAreClearlyDifferentFromEachOther();
    void suitSymbolIsInkedInItsSuitColour_data();
    void suitSymbolIsInkedInItsSuitColour();
    void suitSymbolIsCentredOnTheCard_data();
    void suitSymbolIsCentredOnTheCard();
    void rankWordFitsInsideTheCard_data();
    void rankWordFitsInsideTheCard();
    void picturesHaveTheirLogicalSize_data();
    void picturesHaveTheirLogicalSize();
    void iconsOfferTheSizesWindowsAskFor();
    void menuIconIsNotTheWindowIcon();
    void installedIconIsPaintedAtTheRequestedSize_data();
    void installedIconIsPaintedAtTheRequestedSize();
};

void tst_Artwork::initTestCase()
{
    // As the program does at start-up, so the rank words use the same font.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

void tst_Artwork::cardPixmapsHaveTheDeviceSize_data()
{
    QTest::addColumn<CardPicture>("picture");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("a face on an ordinary screen") << CardPicture::face(1) << 1.0;
    QTest::newRow("a face on a double density screen") << CardPicture::face(25) << 2.0;
    QTest::newRow("a back on an ordinary screen") << CardPicture::back(0) << 1.0;
    QTest::newRow("a back on a double density screen") << CardPicture::back(9) << 2.0;
}

void tst_Artwork::cardPixmapsHaveTheDeviceSize()
{
    QFETCH(CardPicture, picture);
    QFETCH(qreal, ratio);
    const QPixmap pixmap = CardPictures::pixmap(picture, ratio);
    QCOMPARE(pixmap.size(), QSize(CardPainter::Width, CardPainter::Height) * ratio);
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(CardPainter::Width, CardPainter::Height));
}

void tst_Artwork::cardCornersAreLeftTransparent_data()
{
    QTest::addColumn<CardPicture>("picture");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("king of clubs") << CardPicture::face(39) << 1.0;
    QTest::newRow("king of clubs at double density") << CardPicture::face(39) << 2.0;
    QTest::newRow("the marigold back") << CardPicture::back(0) << 1.0;
    QTest::newRow("the checkerboard back at double density") << CardPicture::back(8) << 2.0;
}

void tst_Artwork::cardCornersAreLeftTransparent()
{
    QFETCH(CardPicture, picture);
    QFETCH(qreal, ratio);
    const QImage image = CardPictures::pixmap(picture, ratio).toImage();
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    // The rounded corners let the table show through; the body of the card is solid.
    for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    QCOMPARE(qAlpha(image.pixel(image.width() / 2, 1)), 255);
}

void tst_Artwork::backsAreClearlyDifferentFromEachOther()
{
    QList<QImage> backs;
    for (int back = 0; back < CardPainter::BackCount; ++back)
        backs.append(CardPictures::pixmap(CardPicture::back(back), 1.0).toImage());

    // Not merely a few pixels apart: a fifth of the card or more must look different,
    // so that no two backs are confused in the chooser.
    const int pixels = CardPainter::Width * CardPainter::Height;
    for (int a = 0; a < backs.size(); ++a) {
        for (int b = a + 1; b < backs.size(); ++b) {
            int differing = 0;
            for (int y = 0; y < CardPainter::Height; ++y) {
                for (int x = 0; x < CardPainter::Width; ++x) {
                    const QRgb p = backs[a].pixel(x, y);
                    const QRgb q = backs[b].pixel(x, y);
                    const int distance = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                        + std::abs(qBlue(p) - qBlue(q));
                    differing += distance > 90 ? 1 : 0;
                }
            }
            QVERIFY2(differing > pixels / 5,
                     qPrintable(QStringLiteral("backs %1 and %2 look too alike").arg(a).arg(b)));
        }
    }
}

void tst_Artwork::suitSymbolIsInkedInItsSuitColour_data()
{
    QTest::addColumn<int>("cardNumber");
    QTest::addColumn<bool>("red");
    QTest::newRow("ace of spades is black") << 1 << false;
    QTest::newRow("queen of spades is black") << 12 << false;
    QTest::newRow("ace of hearts is red") << 14 << true;
    QTest::newRow("seven of hearts is red") << 20 << true;
    QTest::newRow("two of clubs is black") << 28 << false;
    QTest::newRow("king of clubs is black") << 39 << false;
    QTest::newRow("ten of diamonds is red") << 49 << true;
    QTest::newRow("king of diamonds is red") << 52 << true;
}

void tst_Artwork::suitSymbolIsInkedInItsSuitColour()
{
    QFETCH(int, cardNumber);
    QFETCH(bool, red);
    const QImage image = faceImage(cardNumber);
    const int redPixels = countPixels(image, SymbolArea, isRedInk);
    const int inkPixels = countPixels(image, SymbolArea, isInk);
    // A symbol of a sensible size covers several hundred pixels of the area.
    if (red) {
        QVERIFY2(redPixels > 500, qPrintable(QString::number(redPixels)));
    } else {
        QCOMPARE(countPixels(image, image.rect(), isRedInk), 0);
        QVERIFY2(inkPixels > 500, qPrintable(QString::number(inkPixels)));
    }
    // The rank word is in the same colour as the symbol.
    QCOMPARE(countPixels(image, RankBand, isRedInk) > 20, red);
}

void tst_Artwork::suitSymbolIsCentredOnTheCard_data()
{
    QTest::addColumn<int>("cardNumber");
    QTest::newRow("spades") << 5;
    QTest::newRow("hearts") << 18;
    QTest::newRow("clubs") << 31;
    QTest::newRow("diamonds") << 44;
}

void tst_Artwork::suitSymbolIsCentredOnTheCard()
{
    QFETCH(int, cardNumber);
    const QImage image = faceImage(cardNumber, 2.0);
    const QRect area(SymbolArea.topLeft() * 2, SymbolArea.size() * 2);
    qreal sumX = 0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isInk(image.pixel(x, y)) || isRedInk(image.pixel(x, y))) {
                sumX += x + 0.5;
                ++count;
            }
        }
    }
    QVERIFY(count > 0);
    const qreal centre = sumX / count / 2.0;
    QVERIFY2(std::abs(centre - CardPainter::Width / 2.0) < 1.0, qPrintable(QString::number(centre)));
}

void tst_Artwork::rankWordFitsInsideTheCard_data()
{
    QTest::addColumn<int>("cardNumber");
    QTest::addColumn<qreal>("ratio");
    for (int rank = 1; rank <= Card::RanksPerSuit; ++rank) {
        const QByteArray label = Card::rankLabel(rank).toLatin1();
        QTest::addRow("%s of spades", label.constData()) << rank << 1.0;
        QTest::addRow("%s of hearts at double density", label.constData()) << 13 + rank << 2.0;
    }
}

void tst_Artwork::rankWordFitsInsideTheCard()
{
    QFETCH(int, cardNumber);
    QFETCH(qreal, ratio);
    const QImage image = faceImage(cardNumber, ratio);
    const auto ink = [](QRgb pixel) { return isInk(pixel) || isRedInk(pixel); };
    const int bandTop = qRound(RankBand.top() * ratio);
    const int bandBottom = qRound(RankBand.bottom() * ratio);

    int leftmost = image.width();
    int rightmost = -1;
    // Skip the outline: ink is looked for from two logical pixels inside each edge.
    const int first = qRound(2 * ratio);
    const int last = image.width() - 1 - first;
    for (int y = bandTop; y <= bandBottom; ++y) {
        for (int x = first; x <= last; ++x) {
            if (ink(image.pixel(x, y))) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
        }
    }
    QVERIFY2(rightmost >= 0, "no rank word printed");
    // A clear margin on both sides, and the word roughly centred.
    QVERIFY2(leftmost >= 3 * ratio, qPrintable(QString::number(leftmost)));
    QVERIFY2(rightmost <= image.width() - 1 - 3 * ratio, qPrintable(QString::number(rightmost)));
    QVERIFY2(std::abs((leftmost + rightmost + 1) / 2.0 - image.width() / 2.0) < 2 * ratio,
             qPrintable(QStringLiteral("%1..%2").arg(leftmost).arg(rightmost)));
}

void tst_Artwork::picturesHaveTheirLogicalSize_data()
{
    QTest::addColumn<bool>("team");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("logicalSize");
    QTest::newRow("team picture on an ordinary screen") << true << 1.0 << QSize(300, 208);
    QTest::newRow("team picture at double density") << true << 2.0 << QSize(300, 208);
    QTest::newRow("credits painting on an ordinary screen") << false << 1.0 << QSize(75, 100);
    QTest::newRow("credits painting at double density") << false << 2.0 << QSize(75, 100);
}

void tst_Artwork::picturesHaveTheirLogicalSize()
{
    QFETCH(bool, team);
    QFETCH(qreal, ratio);
    QFETCH(QSize, logicalSize);
    const QPixmap pixmap = team ? Artwork::teamPicture(ratio) : Artwork::creditsArt(ratio);
    QCOMPARE(pixmap.size(), logicalSize * ratio);
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(logicalSize));
    // Both are pictures to the edge, with no transparent margins left unpainted.
    const QImage image = pixmap.toImage();
    for (const QPoint point : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1),
                               QPoint(image.width() / 2, image.height() / 2)})
        QCOMPARE(qAlpha(image.pixel(point)), 255);
}

void tst_Artwork::iconsOfferTheSizesWindowsAskFor()
{
    const QList<QSize> window = Artwork::windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 64})
        QVERIFY2(window.contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QList<QSize> menu = Artwork::menuIcon().availableSizes();
    QVERIFY(menu.contains(QSize(16, 16)));
    QVERIFY(menu.contains(QSize(32, 32)));
    QVERIFY(Artwork::smallIcon().availableSizes().contains(QSize(16, 16)));
}

void tst_Artwork::menuIconIsNotTheWindowIcon()
{
    const QImage window = Artwork::windowIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage menu = Artwork::menuIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage small = Artwork::smallIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(window != menu);
    QVERIFY(window != small);
    QVERIFY(menu != small);
}

void tst_Artwork::installedIconIsPaintedAtTheRequestedSize_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("32 pixels") << 32;
    QTest::newRow("256 pixels") << 256;
}

void tst_Artwork::installedIconIsPaintedAtTheRequestedSize()
{
    QFETCH(int, size);
    const QImage image = Artwork::windowIconImage(size);
    QCOMPARE(image.size(), QSize(size, size));
    // The flower fills the middle, and the corners stay clear for the desktop behind.
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size - 1, 0)), 0);
}

QTEST_MAIN(tst_Artwork)
#include "tst_artwork.moc"
