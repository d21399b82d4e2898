#pragma once
// The look of a skinned group box: one polyline in the border colour that runs round the
// box with a gap in the top line for the caption, and the caption at (5, 0).

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPolygon>
#include <QRect>
#include <QString>

class QPainter;

struct GroupBoxFace {
    QRect rect;          // the whole box
    QColor border;       // the frame line
    QString caption;     // empty: a closed frame
    QFont font;          // of the caption
    int fontHeight = 11; // the font's pixel height
    QColor captionColor; // already grey when the box is disabled
};

// The caption's place: its text cell starts here.
inline constexpr QPoint kGroupBoxCaptionOrigin(5, 0);

// Height of the frame's top line: half the font height below the top, plus one.
int GroupBoxFrameTop(const QRect& rect, int fontHeight);

// The frame as drawn from its first point to its last, the last point itself left out (as
// a line always ends one pixel short of its end point): from two pixels right of the top
// left corner to the corner, down, across the bottom, up the right side and back left
// along the top to six pixels past the caption (`captionWidth` wide), or to the left edge
// when there is no caption, which closes the frame.
QPolygon GroupBoxPolyline(const QRect& rect, int fontHeight, int captionWidth, bool hasCaption);

// Where the box lays out its children: inside by 3 pixels at the sides and bottom, below
// the caption line (font height + 5) at the top.
QMargins GroupBoxChildMargins(int fontHeight);
QRect GroupBoxChildRect(const QRect& rect, int fontHeight);

// The frame and the caption; the background is the caller's.
void PaintGroupBoxFrame(QPainter& painter, const GroupBoxFace& face);
