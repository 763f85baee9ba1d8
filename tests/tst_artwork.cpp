// SPDX-License-Identifier: GPL-3.0-or-later
#include "assets/artwork.h"
#include "assets/cardpictures.h"

#include <QSet>
#include <QTest>

class tst_Artwork : public QObject
{
    Q_OBJECT

private slots:
    void picturesHaveTheirLogicalSizeAtTheDeviceRatio()
    {
        QCOMPARE(Artwork::teamPicture(2.0).size(), QSize(600, 416));
        QCOMPARE(Artwork::teamPicture(2.0).devicePixelRatio(), 2.0);
        QCOMPARE(Artwork::creditsArt(2.0).size(), QSize(150, 200));
        QCOMPARE(Artwork::creditsArt(2.0).devicePixelRatio(), 2.0);
        // The window icon is painted at build time from the same drawing, pixel for pixel.
        for (const int side : {16, 32}) {
            const QImage built = Artwork::windowIcon().pixmap(QSize(side, side)).toImage();
            QCOMPARE(built.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     Artwork::windowIconImage(side).convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
    }

    void everyFaceAndBackLooksDifferentAndHasItsLogicalSize()
    {
        QSet<QByteArray> seen;
        for (int n = 0; n < 62; ++n) {
            const CardPicture picture = n < 52 ? CardPicture::face(n + 1) : CardPicture::back(n - 52);
            const QImage image = CardPictures::pixmap(picture, 1.0).toImage();
            seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
            // Asked for after the plain one: the cache keeps the two ratios apart.
            const QPixmap sharp = CardPictures::pixmap(picture, 2.0);
            QCOMPARE(sharp.size(), QSize(150, 200));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
        }
        QCOMPARE(seen.size(), 62);
    }
};

QTEST_MAIN(tst_Artwork)
#include "tst_artwork.moc"
