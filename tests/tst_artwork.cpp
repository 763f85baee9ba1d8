#include "assets/artwork.h"
#include "assets/cardpainter.h"
#include "assets/cardpictures.h"

#include <QFont>
#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

bool isRedInk(QRgb pixel)
{
    return qAlpha(pixel) > 200 && qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel)) > 100;
}

bool isInk(QRgb pixel)
{
    return isRedInk(pixel)
        || (qAlpha(pixel) > 200 && std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 140);
}

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
    void initTestCase()
    {
        // As the program does at start-up, so the rank words use the same font.
        QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"));
    }
    void picturesHaveTheirLogicalSizeAtTheDeviceRatio_data();
    void picturesHaveTheirLogicalSizeAtTheDeviceRatio();
    void facesAreInkedInTheirSuitColour_data();
    void facesAreInkedInTheirSuitColour();
};

void tst_Artwork::picturesHaveTheirLogicalSizeAtTheDeviceRatio_data()
{
    QTest::addColumn<QPixmap>("pixmap");
    QTest::addColumn<QSize>("logicalSize");
    QTest::addColumn<qreal>("ratio");
    const QSize card(CardPainter::Width, CardPainter::Height);
    for (const qreal r : {1.0, 2.0}) {
        QTest::addRow("a face at ratio %g", r) << CardPictures::pixmap(CardPicture::face(25), r)
                                               << card << r;
        QTest::addRow("a back at ratio %g", r) << CardPictures::pixmap(CardPicture::back(9), r)
                                               << card << r;
        QTest::addRow("the team at ratio %g", r) << Artwork::teamPicture(r) << QSize(300, 208) << r;
        QTest::addRow("the credits art at ratio %g", r) << Artwork::creditsArt(r) << QSize(75, 100)
                                                        << r;
    }
    // A null icon gives a null pixmap.
    const QSize icon(16, 16);
    QTest::newRow("the window icon") << Artwork::windowIcon().pixmap(icon) << icon << 1.0;
    QTest::newRow("the menu icon") << Artwork::menuIcon().pixmap(icon) << icon << 1.0;
    QTest::newRow("the small icon") << Artwork::smallIcon().pixmap(icon) << icon << 1.0;
}

void tst_Artwork::picturesHaveTheirLogicalSizeAtTheDeviceRatio()
{
    QFETCH(QPixmap, pixmap);
    QFETCH(QSize, logicalSize);
    QFETCH(qreal, ratio);
    QCOMPARE(pixmap.size(), logicalSize * ratio);
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
}

void tst_Artwork::facesAreInkedInTheirSuitColour_data()
{
    QTest::addColumn<int>("cardNumber");
    QTest::addColumn<bool>("red");
    QTest::newRow("queen of spades is black") << 12 << false;
    QTest::newRow("seven of hearts is red") << 20 << true;
    QTest::newRow("two of clubs is black") << 28 << false;
    QTest::newRow("king of diamonds is red") << 52 << true;
}

void tst_Artwork::facesAreInkedInTheirSuitColour()
{
    QFETCH(int, cardNumber);
    QFETCH(bool, red);
    const QImage image = CardPictures::pixmap(CardPicture::face(cardNumber), 1.0).toImage();
    // A symbol of a sensible size covers several hundred pixels.
    QVERIFY(countPixels(image, image.rect(), isInk) > 500);
    const int redPixels = countPixels(image, image.rect(), isRedInk);
    QVERIFY2(red ? redPixels > 500 : redPixels == 0, qPrintable(QString::number(redPixels)));
}

QTEST_MAIN(tst_Artwork)
#include "tst_artwork.moc"
