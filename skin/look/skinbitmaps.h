#pragma once
// The one loader of the program's own skin bitmaps, by resource name.

#include <QImage>
#include <QString>

// The bitmap ":/skin/NAME.bmp". A name that is not in the program's resources throws
// std::runtime_error naming it: every name the skin asks for must exist.
QImage LoadSkinBitmap(const QString& name);
// The raw bytes of the bitmap file (a complete BMP file image); throws like above.
QByteArray LoadSkinBitmapFile(const QString& name);
// The bitmap, or a null image when it is missing or cannot be decoded; never throws.
QImage TryLoadSkinBitmap(const QString& name);
// Whether the resource exists, without throwing.
bool HasSkinBitmap(const QString& name);
