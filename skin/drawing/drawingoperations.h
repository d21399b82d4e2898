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

// What to draw for a skin bitmap (or a frame of one) on the canvas: on a device of pixel
// ratio above 1 its @2x counterpart, with devicePixelRatio 2, when the program has one
// (SkinImageForRatio, skinbitmaps.h); the bitmap itself otherwise. Sizes, geometry and key
// colours are always read from the 1x bitmap.
QImage SkinImageFor(const QPainter& canvas, const QImage& bitmap);

// The device pixel ratio the canvas draws at (1 without a device).
qreal CanvasPixelRatio(const QPainter& canvas);

// Sets how skin pictures are resampled on the canvas. A fractional device pixel ratio
// (1.25, 1.5) resamples every picture, the @2x set included: smoothly, so lines keep an
// even weight instead of alternating between one and two pixels. A whole ratio copies the
// @2x set pixel for pixel and enlarges a 1x-only picture (a theme file's) without blur.
void SetSkinResampling(QPainter& canvas);

// Nine-slice and three-slice drawing cut the 1x bitmap and draw each piece from the
// bitmap SkinImageFor gives, so the pieces stay in place at every ratio and are sharp at 2.

// Nine-slice drawing of a button face: corners copied unscaled (masked with fuchsia when
// `transparent`), edges and centre stretched (always with fuchsia transparent). The
// rectangle's Left and Top are taken as 0.
void DrawNineSlice(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool transparent);

// Three-slice drawing of a tab: left cap, stretched middle, right cap, each a third of
// the bitmap, masked with the bitmap's pixel (0, 0) when cornerKey, else fuchsia.
void DrawThreeSlice(const QImage& bitmap, QPainter& canvas, const QRect& rect, bool cornerKey);

// Tiles the picture over the rectangle's extent, starting at the canvas origin (0, 0),
// not at the rectangle's corner, in steps of the 1x picture's size. An empty picture draws
// nothing.
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
