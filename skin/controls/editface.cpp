#include "controls/editface.h"

#include <QPainter>

#include "drawing/drawingoperations.h"

QRect EditTextRect(QSize size) {
    return QRect(QPoint(0, 0), size)
        .adjusted(kEditBorderWidth, kEditBorderWidth, -kEditBorderWidth, -kEditBorderWidth);
}

void PaintEditRings(QPainter& painter, const EditFace& face) {
    FrameWindowedControl(painter, face.rect, face.border, face.color, true);
    if (!face.caret.isEmpty()) {
        const QRect text = EditTextRect(face.rect.size()).translated(face.rect.topLeft());
        const QRect caret = QRect(face.caret.center().x(), face.caret.top(), 1, face.caret.height())
                                .intersected(text);
        painter.fillRect(caret, face.caretColor);
    }
}
