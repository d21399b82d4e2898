#pragma once
// Every skin bitmap of the program, by resource name, painted afresh.

#include <QImage>
#include <QString>

#include <vector>

namespace skinpainter {

struct SkinBitmap {
    QString name; // resource name, the file is NAME.bmp
    QImage image;
};

// All bitmaps in a fixed order. Painting is deterministic: the same pixels on every call.
std::vector<SkinBitmap> paintSkinBitmaps();

// An enlarged copy for looking at: fuchsia pixels become a grey checkerboard.
QImage previewImage(const QImage& bitmap, int scale);

} // namespace skinpainter
