#include "controls/comboboxface.h"

#include <QPainter>

#include "drawing/drawingoperations.h"
#include "look/systemcolors.h"

namespace {

const QColor kDisabledArrowShadow(0xFF, 0xFF, 0xFF);

// Draws the triangle with its outline, as a filled polygon in one colour: every corner
// pixel is covered.
void FillTriangle(QPainter& painter, const QPolygon& triangle, const QColor& color) {
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(triangle);
}

} // namespace

QRect ComboButtonRect(QSize size) {
    return QRect(size.width() - 2 - kComboButtonWidth, 2, kComboButtonWidth, size.height() - 4);
}

QRect ComboTextRect(QSize size) {
    const QRect button = ComboButtonRect(size);
    return QRect(QPoint(3, 3), QPoint(button.left() - 2, size.height() - 4));
}

QPolygon ComboArrowTriangle(const QRect& button, int offset) {
    const int x = button.left() + button.width() / 2 - 3 + offset;
    const int y = button.height() / 2 + offset;
    return QPolygon({QPoint(x, y), QPoint(x + 6, y), QPoint(x + 3, y + 3)});
}

void PaintComboBox(QPainter& painter, const ComboBoxFace& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(face.rect.adjusted(2, 2, -2, -2), face.color);
    FrameWindowedControl(painter, face.rect, face.border, face.color, true);

    // The current item.
    const QRect textArea = ComboTextRect(face.rect.size()).translated(face.rect.topLeft());
    if (face.highlighted)
        painter.fillRect(textArea, face.highlight);
    if (!face.text.isEmpty()) {
        painter.setFont(face.font);
        painter.setPen(face.highlighted ? face.highlightedText : face.textColor);
        const QRect textRect = textArea.adjusted(2, 0, -1, 0);
        const QString shown =
            painter.fontMetrics().elidedText(face.text, Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }

    // The arrow button.
    const QRect& button = face.button;
    if (!face.buttonPicture.isNull()) {
        painter.drawImage(button, SkinImageFor(painter, face.buttonPicture));
    } else {
        painter.fillRect(button, face.buttonColor);
        // From one pixel above the button to one pixel below it.
        painter.fillRect(QRect(button.left(), button.top() - 1, 1, button.height() + 2),
                         face.border);
    }
    if (face.drawArrow) {
        if (face.enabled) {
            FillTriangle(painter, ComboArrowTriangle(button), face.arrowColor);
        } else {
            FillTriangle(painter, ComboArrowTriangle(button, 1), kDisabledArrowShadow);
            FillTriangle(painter, ComboArrowTriangle(button),
                         SystemColorValue(SystemColor::GrayText));
        }
    }
    painter.restore();
}
