#pragma once
// The geometry of a skinned window's chrome as plain functions of plain values: where the
// frame sits in its host, the border strips, the resize band, the title bar's sections
// and buttons, the caption that fits between them, the rounded window shape and the
// ordered hit test that decides what a point of the window belongs to.
//
// Rectangles follow the skin's convention: QRect(x, y, w, h), Right one past the last
// pixel (see drawingoperations.h).

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <Qt>
#include <functional>
#include <vector>

class QFontMetrics;

namespace chrome {

// Width of the band along every edge of a sizeable host that resizes it.
inline constexpr int kResizeBand = 5;

// ---------------------------------------------------------------- frame and host

// Host width and height for a frame panel of the given size: w + 2 BW, and h + BW +
// (BW div 2), the latter being the rule by which the host keeps room for the bottom
// border and half a top line.
int HostWidthFor(int frameWidth, int borderWidth);
int HostHeightFor(int frameHeight, int borderWidth);

// The frame panel's bounds in the host's client area: left BW, top 0 while the title bar
// is shown (BW otherwise), filling the rest but for the border.
QRect FramePlacement(QSize hostClient, int borderWidth, bool titleBarVisible);

// What the host paints around the frame, in the border colour: the left, bottom and right
// strips and the top line (a line of pen width BW along y = 0, of which the part inside
// the window is (BW + 1) div 2 rows high).
std::vector<QRect> HostBorderRects(QSize hostClient, int borderWidth);

// The edges a point of the host's client area resizes: the band of `band` pixels on
// every side, corners first. No edges when the host is not sizeable.
Qt::Edges EdgesAt(QPoint point, QSize hostClient, int band, bool sizeable);

// The new geometry of a window being resized by hand from `start` by the given edges
// after the pointer moved by `delta`; the moving edges stop where the window would become
// smaller than `minimum`, the opposite edges never move.
QRect ResizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum);

// The window shape: the whole rectangle with its two top corners rounded by an ellipse
// of `roundCorner` x `roundCorner` pixels; the plain rectangle when roundCorner <= 1.
QRegion TopRoundedRegion(QSize size, int roundCorner);
// The pixels of the outline along the top edge and the two rounded corners of that
// shape: on each row of a corner its first pixel inside the shape (with the run to the
// row above where the corner steps by more than one), and the top row across, mirrored
// exactly left to right so that no pixel inside the shape is left outside the outline.
QPolygon TopRoundedOutline(QSize size, int roundCorner);

// ---------------------------------------------------------------- title bar

enum class SectionAlign { Left, Right, Client };

struct SectionSlot {
    SectionAlign align;
    int width;
};

struct SectionPlacement {
    int index;    // into the entries
    QRect target; // where the picture goes, height the bar's
};

// Left sections from the left, right sections from the right (one that no longer fits
// is left out), in collection order; then the last client section over what is between.
std::vector<SectionPlacement> LayoutSections(int barWidth, int barHeight,
                                             const std::vector<SectionSlot>& entries);

struct TitleButtonSlot {
    bool visible = true;
    bool controlBox = false;
    QSize size; // of its normal picture
    int top = 0;
};

struct TitleButtonLayout {
    // Per slot: where the button is drawn; null for hidden buttons and for a second
    // control box.
    std::vector<QRect> rects;
    int controlBox = -1;  // the slot of the control box, or -1
    QPoint appIconAt;     // where the application icon goes when drawn instead
    int captionLeft = 0;  // L: where the caption starts
    int captionRight = 0; // R: the left edge of the leftmost right-hand button
};

// The buttons right to left from W + rightOffset + 1, each one its width + interval + 1
// further left, in collection order (so the first is the rightmost); the control box at
// leftOffset, after which the caption starts (5 pixels after the control box, 21 after
// the application icon, 6 from the left when that makes 0).
TitleButtonLayout LayoutTitleButtons(int barWidth, int leftOffset, int rightOffset, int interval,
                                     bool drawAppIcon, const std::vector<TitleButtonSlot>& entries);

// The caption as it fits into `space` pixels: the text itself when it fits, else its
// longest prefix that fits followed by "...", and the empty text when not even "..."
// fits. `widthOf` measures a text.
QString ShortenCaption(const QString& text, int space,
                       const std::function<int(const QString&)>& widthOf);
QString ShortenCaption(const QString& text, int space, const QFontMetrics& metrics);

// y of the caption: centred in the caption band, the half rounded toward zero.
int CaptionTop(int bandHeight, int bandTop, int textHeight);

// ---------------------------------------------------------------- hit test

enum class ChromeArea { Edge, TitleButton, ControlBox, Caption, Client };

struct ChromeHit {
    ChromeArea area = ChromeArea::Client;
    Qt::Edges edges;
    int button = -1; // the slot of a title button or of the control box
};

// What the hit test needs to know about a window, in window coordinates.
struct ChromeShape {
    QSize window;
    bool resizable = false;     // sizeable and not maximized
    QRect titleBar;             // null when the bar is hidden
    std::vector<QRect> buttons; // per slot, in bar coordinates; null when not shown
    int controlBox = -1;
};

// The ordered hit test: the resize band first, then the title buttons, the control box,
// the rest of the title bar (the caption) and finally the client area. A button counts
// with its right and bottom edges included.
ChromeHit HitTest(const ChromeShape& shape, QPoint point);

} // namespace chrome
