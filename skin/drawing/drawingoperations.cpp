#include "drawing/drawingoperations.h"

#include <QPaintDevice>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "drawing/skinbitmaps.h"

QImage ExtractBitmapFrame(const QImage& source, int frameCount, int frameIndex) {
    if (frameCount < 1 || source.isNull())
        return {};
    const int fw = source.width() / frameCount;
    return source.copy(fw * (frameIndex - 1), 0, fw, source.height());
}

qreal CanvasPixelRatio(const QPainter& canvas) {
    return canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
}

QImage SkinImageFor(const QPainter& canvas, const QImage& bitmap) {
    return SkinImageForRatio(bitmap, CanvasPixelRatio(canvas));
}

void SetSkinResampling(QPainter& canvas) {
    const qreal ratio = CanvasPixelRatio(canvas);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, ratio != std::floor(ratio));
}

QImage MaskedWithKey(const QImage& image, QRgb key) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    out.setDevicePixelRatio(image.devicePixelRatio());
    const QRgb rgbKey = key & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == rgbKey)
                line[x] = 0;
        }
    }
    return out;
}

namespace {

// The bitmap pieces are cut from: the one drawn (1x or @2x) and its scale to the 1x one.
struct PieceSource {
    QImage image;
    int scale = 1;

    PieceSource(const QPainter& canvas, const QImage& bitmap)
        : image(SkinImageFor(canvas, bitmap)),
          scale(image.width() == bitmap.width() ? 1 : image.width() / bitmap.width()) {}

    // The part of the drawn bitmap that `source` marks in the 1x one, at `size` 1x pixels
    // (nearest-neighbour scaled when it differs), carrying the scale as its pixel ratio.
    QImage piece(const QRect& source, QSize size) const {
        const QRect part(source.topLeft() * scale, source.size() * scale);
        QImage out = image.copy(part);
        if (size != source.size())
            out = out.scaled(size * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        out.setDevicePixelRatio(scale);
        return out;
    }
};

// Copies `source` (which may be partly outside the bitmap) at its own size to `at`.
void DrawCorner(QPainter& canvas, const PieceSource& bitmap, const QRect& source, QPoint at,
                bool masked) {
    if (source.width() <= 0 || source.height() <= 0)
        return;
    const QImage piece = bitmap.piece(source, source.size());
    canvas.drawImage(at, masked ? MaskedWithKey(piece, kSkinKeyColor) : piece);
}

// Stretches `source` over `dest`, fuchsia transparent. Nearest-neighbour scaling keeps
// the key colour exact and the skin's hard edges crisp.
void DrawStretched(QPainter& canvas, const PieceSource& bitmap, const QRect& source,
                   const QRect& dest) {
    if (source.width() <= 0 || source.height() <= 0 || dest.width() <= 0 || dest.height() <= 0)
        return;
    canvas.drawImage(dest.topLeft(),
                     MaskedWithKey(bitmap.piece(source, dest.size()), kSkinKeyColor));
}

// A rectangle from its four edges, Right and Bottom one past the last pixel.
QRect Edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

void DrawNineSlice(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool transparent) {
    if (bitmap.isNull())
        return;
    const int W = bitmap.width();
    const int H = bitmap.height();
    const int Wd = rect.width();
    const int Hd = rect.height();
    const int right = rect.x() + Wd;
    const int bottom = rect.y() + Hd;
    const int hw = W / 2, hh = H / 2, dw = Wd / 2, dh = Hd / 2;
    const PieceSource pieces(canvas, bitmap);
    canvas.save();
    SetSkinResampling(canvas);

    // The right and bottom halves, in the bitmap and in the destination, start one pixel
    // past the middle, so the right/bottom corners are one pixel smaller than the
    // left/top ones. The skin bitmaps are drawn for exactly this cut.

    // Top-left corner: keeps the source's top-left part.
    const int tlW = std::min(hw, dw), tlH = std::min(hh, dh);
    DrawCorner(canvas, pieces, QRect(0, 0, tlW, tlH), {0, 0}, transparent);

    // Bottom-left corner: keeps the source's bottom-left part.
    const int blW = std::min(hw, dw), blH = std::min(hh - 1, dh - 1);
    const int blTop = bottom - std::max(blH, 0);
    DrawCorner(canvas, pieces, QRect(0, H - blH, blW, blH), {0, blTop}, transparent);

    // Left edge: a destination narrower than the source keeps its outer (left) columns.
    {
        const QRect dest = Edges(0, tlH, tlW, blTop);
        const QRect source = Edges(0, hh, std::min(hw, dest.width()), H - hh);
        DrawStretched(canvas, pieces, source, dest);
    }

    // Top-right corner: keeps the source's top-right part.
    const int trW = std::min(hw - 1, dw - 1), trH = std::min(hh, dh);
    const int trLeft = right - std::max(trW, 0);
    DrawCorner(canvas, pieces, QRect(W - trW, 0, trW, trH), {trLeft, 0}, transparent);

    // Bottom-right corner: keeps the source's bottom-right part.
    const int brW = std::min(hw - 1, dw - 1), brH = std::min(hh - 1, dh - 1);
    const int brLeft = right - std::max(brW, 0);
    const int brTop = bottom - std::max(brH, 0);
    DrawCorner(canvas, pieces, QRect(W - brW, H - brH, brW, brH), {brLeft, brTop}, transparent);

    // Right edge: the source band runs from H - hh down to hh + 2 (two rows for an even
    // height, one for an odd one); a narrow destination keeps the outer (right) columns.
    {
        const QRect dest = Edges(trLeft, trH, right, brTop);
        const int srcLeft = std::max(W - hw + 1, W - dest.width());
        const QRect source = Edges(srcLeft, H - hh, W, hh + 2);
        DrawStretched(canvas, pieces, source, dest);
    }

    // Top edge: a low destination keeps the outer (top) rows.
    {
        const QRect dest = Edges(tlW, 0, trLeft, tlH);
        const QRect source = Edges(hw, 0, W - hw + 1, std::min(hh, dest.height()));
        DrawStretched(canvas, pieces, source, dest);
    }

    // Centre: ends one row above the bottom-right corner's top.
    DrawStretched(canvas, pieces, Edges(hw, hh, W - hw + 1, H - hh),
                  Edges(tlW, tlH, trLeft, brTop - 1));

    // Bottom edge: starts one pixel left of and one row above the inner corners, so it
    // overlaps the left edge and the centre; a low destination keeps the bottom rows.
    {
        const QRect dest = Edges(tlW - 1, blTop - 1, brLeft, bottom);
        const int srcTop = std::max(H - hh, H - dest.height());
        const QRect source = Edges(hw, srcTop, W - hw + 1, H);
        DrawStretched(canvas, pieces, source, dest);
    }
    canvas.restore();
}

void DrawThreeSlice(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool cornerKey) {
    if (bitmap.isNull())
        return;
    const QRgb key = cornerKey ? bitmap.pixel(0, 0) : kSkinKeyColor;
    const int fw = bitmap.width() / 3;
    if (fw <= 0)
        return;
    const int left = rect.x(), top = rect.y();
    const int right = left + rect.width(), bottom = top + rect.height();
    const int h = bitmap.height();
    const PieceSource pieces(canvas, bitmap);
    canvas.save();
    SetSkinResampling(canvas);
    canvas.drawImage(QPoint(left, top),
                     MaskedWithKey(pieces.piece(QRect(0, 0, fw, h), QSize(fw, h)), key));
    canvas.drawImage(QPoint(right - fw, top),
                     MaskedWithKey(pieces.piece(QRect(2 * fw, 0, fw, h), QSize(fw, h)), key));
    const QRect stretch = Edges(left + fw, top, right - fw, bottom);
    if (stretch.width() > 0 && stretch.height() > 0)
        canvas.drawImage(stretch.topLeft(),
                         MaskedWithKey(pieces.piece(QRect(fw, 0, fw, h), stretch.size()), key));
    canvas.restore();
}

void TileDrawPicture(QPainter& canvas, const QImage& picture, const QRect& rect) {
    const int pw = picture.width(), ph = picture.height();
    if (pw <= 0 || ph <= 0)
        return;
    const QImage drawn = SkinImageFor(canvas, picture);
    for (int y = 0; y < ph + rect.height(); y += ph) {
        for (int x = 0; x < pw + rect.width(); x += pw)
            canvas.drawImage(QPoint(x, y), drawn);
    }
}

void DrawParentBackground(QPainter& canvas, const QWidget* control) {
    if (!control)
        return;
    QWidget* parent = control->parentWidget();
    if (!parent)
        return;
    canvas.save();
    // Only the parent itself: rendering its children would draw this control (and its
    // siblings) into its own background.
    parent->render(&canvas, -control->pos(), QRegion(parent->rect()),
                   QWidget::DrawWindowBackground);
    canvas.restore();
}

void FrameWindowedControl(QPainter& canvas, const QRect& windowRect, const QColor& border,
                          const QColor& inner, bool innerFrame) {
    const auto ring = [&canvas](const QRect& r, const QColor& colour) {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        canvas.fillRect(QRect(r.x(), r.y(), r.width(), 1), colour);
        canvas.fillRect(QRect(r.x(), r.y() + r.height() - 1, r.width(), 1), colour);
        canvas.fillRect(QRect(r.x(), r.y(), 1, r.height()), colour);
        canvas.fillRect(QRect(r.x() + r.width() - 1, r.y(), 1, r.height()), colour);
    };
    ring(windowRect, border);
    if (innerFrame)
        ring(windowRect.adjusted(1, 1, -1, -1), inner);
}

bool PtInRectInclusive(const QPoint& point, const QRect& rect) {
    return point.x() >= rect.x() && point.x() <= rect.x() + rect.width() && point.y() >= rect.y() &&
           point.y() <= rect.y() + rect.height();
}
