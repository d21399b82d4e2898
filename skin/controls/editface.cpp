#include "controls/editface.h"

#include "drawing/drawingoperations.h"

QRect EditTextRect(QSize size) {
    return QRect(QPoint(0, 0), size)
        .adjusted(kEditBorderWidth, kEditBorderWidth, -kEditBorderWidth, -kEditBorderWidth);
}

void PaintEditRings(QPainter& painter, const EditFace& face) {
    FrameWindowedControl(painter, face.rect, face.border, face.color, true);
}
