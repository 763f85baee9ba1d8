// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>

// The window icon's pixels, painted at build time from Artwork::windowIconImage by
// marigold-iconwriter into a source file of the build tree.
namespace WindowIconPixels {

struct Size
{
    int side;
    const quint32 *pixels; // premultiplied ARGB, row by row
};

extern const std::array<Size, 2> Sizes;

} // namespace WindowIconPixels
