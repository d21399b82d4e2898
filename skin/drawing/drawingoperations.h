#pragma once
// Drawing operations shared by the skinned controls.
//
// Rectangles follow the skin's own convention: a rectangle's Right is left + width and
// its Bottom is top + height, i.e. one past the last pixel, the way QRect(x, y, w, h)
// is built. So QRect(0, 0, 80, 23) has Right 80 and Bottom 23.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;
class QWidget;

// Fuchsia, the transparent colour of every skin bitmap.
inline constexpr QRgb kSkinKeyColor = 0xFF00FF;

// Frame frameIndex (1-based) of a horizontal strip of frameCount equal frames: width
// source width / frameCount (truncated), full height. A frame count below 1 gives an
// empty image.
QImage ExtractBitmapFrame(const QImage& source, int frameCount, int frameIndex);

// A copy of the image with every pixel of the key colour made fully transparent.
QImage MaskedWithKey(const QImage& image, QRgb key);

// Nine-slice drawing of a button face: corners copied unscaled (masked with fuchsia when
// `transparent`), edges and centre stretched (always with fuchsia transparent). The
// rectangle's Left and Top are taken as 0.
void DrawNineSlice(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool transparent);

// Three-slice drawing of a tab: left cap, stretched middle, right cap, each a third of
// the bitmap, masked with the bitmap's pixel (0, 0) when cornerKey, else fuchsia.
void DrawThreeSlice(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool cornerKey);

// Tiles the picture over the rectangle's extent, starting at the canvas origin (0, 0),
// not at the rectangle's corner. An empty picture draws nothing.
void TileDrawPicture(QPainter& canvas, const QImage& picture, const QRect& rect);

// Paints what the control's parent shows beneath the control (its background and its own
// painting, without any of its children, so the control is not drawn into itself) with
// the canvas origin at the control's top-left corner. Nothing without a parent.
void DrawParentBackground(QPainter& canvas, const QWidget* control);

// A one-pixel ring along the edge of windowRect in the border colour and, with
// innerFrame, a second ring just inside it in the inner colour.
void FrameWindowedControl(QPainter& canvas, const QRect& windowRect, const QColor& border,
                          const QColor& inner, bool innerFrame);

// Left <= x <= Right and Top <= y <= Bottom, with Right and Bottom as above (one past
// the last pixel), so the right and bottom edges count as inside.
bool PtInRectInclusive(const QPoint& point, const QRect& rect);
