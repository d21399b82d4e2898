#pragma once
// Every skin bitmap of the program, by resource name, painted afresh in the order, names and
// sizes of the skin catalogue (skin/catalogue/skincatalogue.h).

#include <QImage>
#include <QString>

#include <vector>

namespace skinpainter {

struct SkinBitmap {
    QString name; // resource name, the file is NAME.bmp
    QImage image;
};

// The scales the program carries a set of bitmaps for: the 1x set (NAME.bmp) and the @2x
// set (NAME@2x.bmp) for screens of device pixel ratio above 1.
inline constexpr int kSkinScales[] = {1, 2};

// The file name of a bitmap painted at `scale`: NAME.bmp, NAME@2x.bmp.
QString skinBitmapFileName(const QString& name, int scale);

// All bitmaps of the catalogue, in its order, painted at `scale` (catalogue size times
// scale, with that device pixel ratio). Painting is deterministic: the same pixels on every
// call. A painted size that differs from the catalogue's is reported in `error` (and the
// list is then empty).
std::vector<SkinBitmap> paintSkinBitmaps(int scale, QString* error = nullptr);

// An enlarged copy for looking at: fuchsia pixels become a grey checkerboard.
QImage previewImage(const QImage& bitmap, int scale);

} // namespace skinpainter
