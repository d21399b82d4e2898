#pragma once
// The look of a skinned drop-down list: a flat two-ring frame, the arrow button at the
// right (a skin picture stretched over it, or a plain fill with a separator line), the
// drop arrow, and the current item.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

struct ComboBoxFace {
    QRect rect;         // the whole control
    QRect button;       // the arrow button (ComboButtonRect)
    QColor border;      // outer ring, button separator
    QColor color;       // inner ring and the item area
    QColor buttonColor; // button fill when there is no picture
    QColor arrowColor;
    QImage buttonPicture;  // stretched over the button; null for the plain fill
    bool drawArrow = true; // false when the picture carries its own arrow
    bool enabled = true;
    // The current item, highlighted while the control has the focus.
    QString text;
    QFont font;
    QColor textColor;
    bool highlighted = false;
    QColor highlight;
    QColor highlightedText;
};

// Width of the arrow button; the button pictures are drawn for it.
inline constexpr int kComboButtonWidth = 16;

// The arrow button of a control of that size: at the right, inside a two-pixel margin.
QRect ComboButtonRect(QSize size);

// The area of the current item: inside the two rings, left of the button, one pixel in.
QRect ComboTextRect(QSize size);

// The drop arrow of a button: a triangle with corners (x, y), (x + 6, y), (x + 3, y + 3)
// where x = button left + button width / 2 - 3 and y = button height / 2, measured from
// the top of the control (not of the button). `offset` moves it (the white shadow of a
// disabled arrow is the same triangle one pixel right and down).
QPolygon ComboArrowTriangle(const QRect& button, int offset = 0);

void PaintComboBox(QPainter& painter, const ComboBoxFace& face);
