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
    // A read-only edit with the focus shows where its cursor stands, as Qt does not draw
    // one there: a steady one-pixel caret in caretColor. Empty: no caret.
    QRect caret;
    QColor caretColor;
};

// Width of the border that the two rings take on every side.
inline constexpr int kEditBorderWidth = 2;

// The text area of an edit of that size: the control inset by the two rings.
QRect EditTextRect(QSize size);

// Both rings and the read-only caret; the text area is otherwise left alone.
void PaintEditRings(QPainter& painter, const EditFace& face);
