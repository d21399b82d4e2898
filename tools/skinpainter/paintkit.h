#pragma once
// Small drawing kit shared by every skin bitmap: layers that are flattened onto a backdrop
// (with fuchsia where the picture is to be transparent), gel-like rounded shapes, and the
// glyphs of the window buttons and arrows, all drawn from geometry, never from fonts.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <vector>

namespace skinpainter {

// The colour every skin bitmap uses for "not painted here".
inline constexpr QRgb kKeyColour = 0xFFFF00FF;

// Every picture is laid out in the catalogue's pixels and painted at a scale: 1 for the 1x
// set, 2 for the @2x set. The pictures below are made `scale` times larger and carry it as
// their device pixel ratio, so a QPainter on them keeps the catalogue's coordinates while
// drawing curves, gradients and anti-aliased edges at the full resolution. The scale holds
// while a PaintScale lives (1 outside any).
class PaintScale {
public:
    explicit PaintScale(int scale);
    ~PaintScale();
    PaintScale(const PaintScale&) = delete;
    PaintScale& operator=(const PaintScale&) = delete;
    static int current();

private:
    int previous_;
};

// A transparent ARGB layer to paint on, w x h catalogue pixels.
QImage newLayer(int w, int h);
// An opaque picture of one colour.
QImage solidImage(int w, int h, QColor colour);
// An opaque picture whose row y has rows[y] (rows.size() is the height); at scale 2 each
// row is two pixel rows high.
QImage rowsImage(int w, const std::vector<QColor>& rows);

// Composites a painted layer over an opaque backdrop of the same pixel size. With keyed set, the
// pixels that the layer covers less than half become fuchsia, so anti-aliased edges are
// blended against the colour they will really be shown on instead of against fuchsia.
QImage flatten(const QImage& layer, const QImage& backdrop, bool keyed);
QImage flatten(const QImage& layer, QColor backdrop, bool keyed);

// Frames of equal size side by side, first frame at the left. Pixels are compared and
// copied as they are; the results keep their layer's scale.
QImage joinFrames(const std::vector<QImage>& frames);

QColor mix(QColor a, QColor b, qreal t); // t = 0 gives a, 1 gives b
inline QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

// A rounded rectangle, and one whose lower corners and bottom edge lie below the rectangle
// (for tabs that stand on a bar: painted into a layer of the rectangle's height, the bottom
// stays open).
QPainterPath roundedBox(const QRectF& r, qreal radius);
QPainterPath topRoundedBox(const QRectF& r, qreal radius);

// A glossy fill: vertical gradient, an optional highlight over the upper part and an
// optional one-pixel outline.
struct Gel {
    QColor top;
    QColor bottom;
    QColor border;         // invalid: no outline
    qreal gloss = 0.0;     // opacity of the white highlight at its top
    qreal glossPart = 0.5; // fraction of the height the highlight covers
    QColor innerRing;      // invalid: none; a one-pixel ring just inside the outline
};
void paintGel(QPainter& p, const QRectF& box, qreal radius, const Gel& gel,
              bool openBottom = false);

enum class Glyph {
    ControlBox, // the system-menu box
    Help,
    Maximize,
    Restore,
    Minimize,
    Close,
    ArrowRight,
    ArrowLeft,
    ArrowUp,
    ArrowDown,
    Check,
};
// Draws a glyph centred in the box; weight is the stroke width in pixels.
void paintGlyph(QPainter& p, Glyph glyph, const QRectF& box, QColor colour, qreal weight);

} // namespace skinpainter
