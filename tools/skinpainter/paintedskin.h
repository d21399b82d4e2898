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

// All bitmaps of the catalogue, in its order. Painting is deterministic: the same pixels
// on every call. A painted size that differs from the catalogue's is reported in `error`
// (and the list is then empty).
std::vector<SkinBitmap> paintSkinBitmaps(QString* error = nullptr);

// An enlarged copy for looking at: fuchsia pixels become a grey checkerboard.
QImage previewImage(const QImage& bitmap, int scale);

} // namespace skinpainter
