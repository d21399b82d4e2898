#include "chrome/menubarpainter.h"

#include <QPainter>

#include "drawing/drawingoperations.h"
#include "look/systemcolors.h"

namespace {
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
} // namespace

void PaintMenuBarButton(QPainter& painter, const MenuBarButtonFace& face) {
    painter.save();
    painter.setFont(face.font);
    const QRect& r = face.rect;
    if ((face.hot || face.selected) && face.enabled) {
        if (face.textured && !face.selectTexture.isNull()) {
            painter.drawImage(r, SkinImageFor(painter, face.selectTexture));
            painter.setPen(face.selectedFontColor);
            // Centred in a rectangle two pixels taller than the button.
            painter.drawText(QRect(r.x(), r.y(), r.width(), r.height() + 2), kTextFlags,
                             face.caption);
        } else {
            QRect box = r;
            if (face.selected)
                box.setWidth(box.width() - 2);
            painter.fillRect(box, face.selectedColor);
            painter.setPen(face.selectedBorderColor);
            if (box.width() > 0 && box.height() > 0)
                painter.drawRect(box.adjusted(0, 0, -1, -1));
            if (face.selected)
                box.setLeft(box.left() + 2);
            box.setTop(box.top() + 2);
            painter.setPen(face.selectedFontColor);
            painter.drawText(box, kTextFlags, face.caption);
        }
    } else {
        // Where the hot caption stands, so that it does not move under the mouse.
        painter.setPen(face.enabled ? face.fontColor : SystemColorValue(SystemColor::GrayText));
        painter.drawText(r.adjusted(0, 2, 0, 0), kTextFlags, face.caption);
    }
    painter.restore();
}

void PaintMenuBar(QPainter& painter, const QRect& rect, const QImage& texture,
                  const QColor& color) {
    if (!texture.isNull())
        painter.drawImage(rect, SkinImageFor(painter, texture));
    else
        painter.fillRect(rect, color);
}
