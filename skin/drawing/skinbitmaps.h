#pragma once
// The one loader of the program's own skin bitmaps, by resource name.
//
// Every bitmap comes in two sets: ":/skin/NAME.bmp", whose size is the bitmap's size in
// logical pixels and which all geometry is computed from, and ":/skin/NAME@2x.bmp", the
// same picture painted at twice the size for screens of device pixel ratio above 1. The
// @2x set is only drawn from, and a missing or ill-sized @2x bitmap falls back to the 1x
// one.

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

// The bitmap for a device of `ratio`: above 1, ":/skin/NAME@2x.bmp" with devicePixelRatio
// 2 (so it covers the 1x bitmap's logical size) when it is present and exactly twice the
// 1x size; otherwise the 1x bitmap. A null image when not even the 1x one exists.
QImage TryLoadSkinBitmapForRatio(const QString& name, qreal ratio);

// Notes that `image` is frame `index` (1-based) of the `frames` equal frames of the
// program's bitmap NAME, `whole` in size (frames 1 and index 1 for the whole bitmap), so
// that SkinImageForRatio finds its @2x counterpart. The look notes every bitmap it cuts;
// copies of the image share the note (Qt images are shared until written to).
void NoteSkinBitmapOrigin(const QImage& image, QSize whole, const QString& name, int frames,
                          int index);

// What to draw for a skin bitmap, or a noted frame of one, on a device of `ratio`: above
// 1, the same part of the @2x bitmap with devicePixelRatio 2, loaded once on first use;
// otherwise, and for images not noted (theme file bitmaps, pictures made at run time) or
// without a usable @2x bitmap, the image itself.
QImage SkinImageForRatio(const QImage& image, qreal ratio);
