// SPDX-License-Identifier: GPL-3.0-or-later
// Writes PNG sheets of every picture the game draws, so the artwork can be looked
// at as a whole: artworkpreview [output folder]

#include "assets/artwork.h"
#include "assets/cardpainter.h"
#include "assets/cardpictures.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <functional>
#include <vector>

namespace {

const QColor Felt(0x1e, 0x6e, 0x3c);
constexpr int Gap = 6;

bool save(const QPixmap &pixmap, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    const bool ok = pixmap.save(path);
    QTextStream(ok ? stdout : stderr) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    return ok;
}

// Lays pictures of one logical size in a grid on the green table colour.
QPixmap sheet(const std::vector<QPixmap> &pictures, int columns, QSize cell, qreal dpr)
{
    const int rows = (int(pictures.size()) + columns - 1) / columns;
    const QSize logical(Gap + columns * (cell.width() + Gap), Gap + rows * (cell.height() + Gap));
    QPixmap result(logical * dpr);
    result.setDevicePixelRatio(dpr);
    result.fill(Felt);
    QPainter painter(&result);
    for (int i = 0; i < int(pictures.size()); ++i) {
        const QPoint at(Gap + (i % columns) * (cell.width() + Gap), Gap + (i / columns) * (cell.height() + Gap));
        painter.drawPixmap(at, pictures[size_t(i)]);
    }
    painter.end();
    return result;
}

std::vector<QPixmap> faces(const std::vector<int> &cards, qreal dpr)
{
    std::vector<QPixmap> result;
    for (const int card : cards)
        result.push_back(CardPictures::pixmap(CardPicture::face(card), dpr));
    return result;
}

std::vector<QPixmap> backs(qreal dpr)
{
    std::vector<QPixmap> result;
    for (int back = 0; back < CardPainter::BackCount; ++back)
        result.push_back(CardPictures::pixmap(CardPicture::back(back), dpr));
    return result;
}

// Each icon at its own sizes, then the same pixels blown up four times so single
// pixels can be judged.
QPixmap iconSheet()
{
    const std::vector<QIcon> icons{Artwork::windowIcon(), Artwork::menuIcon(), Artwork::smallIcon()};
    const std::vector<int> sizes{16, 24, 32, 48, 64, 128};
    constexpr int magnify = 4;
    constexpr int rowHeight = 32 * magnify + Gap; // as tall as the largest size, 128
    const int width = Gap + (16 + 24 + 32 + 48 + 64 + 128 + 6 * Gap) + (16 + 32) * magnify + 2 * Gap;
    QPixmap result(width, Gap + int(icons.size()) * rowHeight);
    result.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&result);
    int y = Gap;
    for (const QIcon &icon : icons) {
        int x = Gap;
        for (const int size : sizes) {
            painter.drawPixmap(x, y, icon.pixmap(QSize(size, size)));
            x += size + Gap;
        }
        for (const int size : {16, 32}) {
            const QImage small = icon.pixmap(QSize(size, size)).toImage();
            painter.drawImage(QRect(x, y, size * magnify, size * magnify), small);
            x += size * magnify + Gap;
        }
        y += rowHeight;
    }
    painter.end();
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));

    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("artwork-preview"));
    if (!QDir().mkpath(folder.path()))
        return 1;

    std::vector<int> allCards;
    for (int card = 1; card <= 52; ++card)
        allCards.push_back(card);
    const QSize card(CardPainter::Width, CardPainter::Height);
    // The widest words and the ten in every suit, where clipping would show first.
    const std::vector<int> sample{1, 10, 11, 12, 13, 14, 23, 25, 26, 27, 38, 39, 40, 49, 51, 52};

    bool ok = true;
    ok &= save(sheet(faces(allCards, 1), 13, card, 1), folder, QStringLiteral("faces-dpr1.png"));
    ok &= save(sheet(faces(sample, 2), 8, card, 2), folder, QStringLiteral("faces-dpr2.png"));
    ok &= save(sheet(faces(sample, 1.5), 8, card, 1.5), folder, QStringLiteral("faces-dpr1.5.png"));
    ok &= save(sheet(backs(1), 5, card, 1), folder, QStringLiteral("backs-dpr1.png"));
    ok &= save(sheet(backs(2), 5, card, 2), folder, QStringLiteral("backs-dpr2.png"));
    ok &= save(iconSheet(), folder, QStringLiteral("icons.png"));
    ok &= save(sheet({Artwork::teamPicture(1)}, 1, QSize(300, 208), 1), folder, QStringLiteral("team-dpr1.png"));
    ok &= save(sheet({Artwork::teamPicture(2)}, 1, QSize(300, 208), 2), folder, QStringLiteral("team-dpr2.png"));
    ok &= save(sheet({Artwork::creditsArt(1), CardPictures::pixmap(CardPicture::back(0), 1)}, 2, card, 1), folder,
               QStringLiteral("credits-dpr1.png"));
    ok &= save(sheet({Artwork::creditsArt(2), CardPictures::pixmap(CardPicture::back(0), 2)}, 2, card, 2), folder,
               QStringLiteral("credits-dpr2.png"));
    return ok ? 0 : 1;
}
