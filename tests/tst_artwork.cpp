// SPDX-License-Identifier: GPL-3.0-or-later
#include "assets/artwork.h"
#include "assets/cardpictures.h"

#include <QSet>
#include <QTest>

class tst_Artwork : public QObject
{
    Q_OBJECT
private slots:
    void picturesHaveTheirLogicalSizeAtTheDeviceRatioAndCardsDiffer()
    {
        QList<QPixmap> pictures{Artwork::teamPicture(2.0), Artwork::creditsArt(2.0)};
        QSet<QByteArray> seen;
        for (int n = 0; n < 62; ++n) {
            const CardPicture picture = n < 52 ? CardPicture::face(n + 1) : CardPicture::back(n - 52);
            const QImage image = CardPictures::pixmap(picture, 1.0).toImage();
            seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
            pictures.append(CardPictures::pixmap(picture, 2.0)); // after the plain one: the cache keeps ratios apart
        }
        QCOMPARE(seen.size(), 62);
        for (int n = 0; n < pictures.size(); ++n)
            QCOMPARE(std::pair(pictures[n].size(), pictures[n].devicePixelRatio()),
                     std::pair(n == 0 ? QSize(600, 416) : QSize(150, 200), 2.0));
        // The window icon is painted at build time from the same drawing, pixel for pixel.
        const auto argb = [](const QImage &in) { return in.convertToFormat(QImage::Format_ARGB32_Premultiplied); };
        for (const int side : {16, 32})
            QCOMPARE(argb(Artwork::windowIcon().pixmap(QSize(side, side)).toImage()),
                     argb(Artwork::windowIconImage(side)));
    }
};

QTEST_MAIN(tst_Artwork)
#include "tst_artwork.moc"
