#pragma once
// The look of a skinned edit box: two one-pixel rings around the text area, the outer in
// the border colour, the inner in the edit's own colour, so the text sits two pixels in
// from every edge.

#include <QColor>
#include <QRect>
#include <QSize>

class QPainter;

struct EditFace {
    QRect rect;    // the whole control
    QColor border; // outer ring
    QColor color;  // inner ring and the fill behind the text
};

// Width of the border that the two rings take on every side.
inline constexpr int kEditBorderWidth = 2;

// The text area of an edit of that size: the control inset by the two rings.
QRect EditTextRect(QSize size);

// Both rings; the text area is left alone.
void PaintEditRings(QPainter& painter, const EditFace& face);
