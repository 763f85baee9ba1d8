#include "assets/artwork.h"
#include "assets/cardpainter.h"
#include "assets/cardpictures.h"

#include <QImage>
#include <QSet>
#include <QTest>

class tst_Artwork : public QObject
{
    Q_OBJECT

private slots:
    void picturesHaveTheirLogicalSizeAtTheDeviceRatio_data()
    {
        QTest::addColumn<QPixmap>("pixmap");
        QTest::addColumn<QSize>("logicalSize");
        QTest::addColumn<qreal>("ratio");
        const QSize card(CardPainter::Width, CardPainter::Height);
        for (const qreal r : {1.0, 2.0}) {
            QTest::addRow("a face at %g", r) << CardPictures::pixmap(CardPicture::face(25), r) << card << r;
            QTest::addRow("a back at %g", r) << CardPictures::pixmap(CardPicture::back(9), r) << card << r;
            QTest::addRow("the team at %g", r) << Artwork::teamPicture(r) << QSize(300, 208) << r;
            QTest::addRow("the credits art at %g", r) << Artwork::creditsArt(r) << QSize(75, 100) << r;
        }
        QTest::newRow("the window icon (a null icon gives a null pixmap)")
            << Artwork::windowIcon().pixmap(QSize(16, 16)) << QSize(16, 16) << 1.0;
    }

    void picturesHaveTheirLogicalSizeAtTheDeviceRatio()
    {
        QFETCH(QPixmap, pixmap);
        QFETCH(QSize, logicalSize);
        QFETCH(qreal, ratio);
        QCOMPARE(pixmap.size(), logicalSize * ratio);
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
    }

    void everyFaceAndEveryBackLooksDifferent()
    {
        QSet<QByteArray> seen;
        auto add = [&](CardPicture picture) {
            const QImage image = CardPictures::pixmap(picture, 1.0).toImage();
            seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
        };
        for (int card = 1; card <= 52; ++card)
            add(CardPicture::face(card));
        for (int back = 0; back < 10; ++back)
            add(CardPicture::back(back));
        QCOMPARE(seen.size(), 62);
    }
};

QTEST_MAIN(tst_Artwork)
#include "tst_artwork.moc"
