// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmcredits.h"

#include "assets/artwork.h"
#include "picturebox.h"
#include "platform/designfonts.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>

frmCredits::frmCredits()
    : InfoWindow(QStringLiteral("frmCredits"), QStringLiteral("Credits"), QSize(312, 273),
                 {QLine(0, 2, 312, 2), QLine(0, 270, 312, 270), QLine(1, 0, 1, 273),
                  QLine(310, 0, 310, 273)},
                 {112, 224})
{
    const QColor white = QApplication::palette().color(QPalette::Base);
    const QColor red(255, 0, 0);
    const QColor cyan(0, 255, 255);
    addLabel("Label1", {16, 16, 129, 25}, QStringLiteral("Written By:"), white,
             DesignFonts::futura(12, false), Qt::AlignLeft);
    addLabel("Label2", {152, 16, 129, 25}, QStringLiteral("Ada Marsh"), red,
             DesignFonts::futura(14.25, false), Qt::AlignRight);
    addLabel("Label3", {16, 48, 129, 25}, QStringLiteral("Playtesters:"), white,
             DesignFonts::msSansSerif(13.5), Qt::AlignLeft);
    addLabel("Label4", {152, 56, 129, 25}, QStringLiteral("Tom Reyes"), red,
             DesignFonts::msSansSerif(13.5), Qt::AlignRight);
    addLabel("Label5", {152, 88, 129, 25}, QStringLiteral("June Park"), red,
             DesignFonts::msSansSerif(13.5), Qt::AlignRight);
    auto *art = new PictureBox("Image1", {32, 104, 75, 100}, &Artwork::creditsArt, this);
    art->setAccessibleName(tr("Marigold, a painting by Lena Fox"));
    addLabel("Label6", {144, 120, 145, 25}, QStringLiteral("\"Marigold\" By:"), white,
             DesignFonts::msSansSerif(13.5), Qt::AlignHCenter);
    addLabel("Label7", {144, 152, 137, 25}, QStringLiteral("Lena Fox"), cyan,
             DesignFonts::msSansSerif(18), Qt::AlignHCenter);
    addLabel("Label8", {136, 192, 161, 17}, QStringLiteral("lena.fox@example.org"), white,
             DesignFonts::msSansSerif(9.75), Qt::AlignHCenter);
}
