#pragma once
// Encoding of the skin bitmaps as uncompressed 24-bit BMP files.

#include <QByteArray>
#include <QImage>

namespace skinpainter {

// The complete file image of a bottom-up, 24 bits per pixel BMP with a 40-byte info
// header. Written by hand rather than through QImage::save so that the bytes never depend
// on the image plug-ins of the Qt build: the same picture always gives the same file.
QByteArray encodeBmp24(const QImage& image);

} // namespace skinpainter
