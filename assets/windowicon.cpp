// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"

#include "windowiconpixels.h"

namespace Artwork {

QIcon windowIcon()
{
    QIcon icon;
    for (const WindowIconPixels::Size &size : WindowIconPixels::Sizes) {
        // The pixels outlive every icon, so the image can wrap them without a copy.
        const QImage image(reinterpret_cast<const uchar *>(size.pixels), size.side, size.side,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace Artwork
