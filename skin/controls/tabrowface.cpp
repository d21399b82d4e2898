#include "controls/tabrowface.h"

#include <QPainter>

#include "drawing/drawingoperations.h"

namespace {
// A cut tab's caption starts this far inside the tab and keeps clear of its right end.
constexpr int kCutCaptionLeft = 10;
constexpr int kCutCaptionRight = 4;
} // namespace

void PaintTabRow(QPainter& painter, const TabRowFace& face) {
    painter.save();
    SetSkinResampling(painter);
    const int width = face.size.width();
    const int barTop = face.inactiveTab.height();
    const int barHeight = face.bar.height();
    if (barHeight > 0 && width > 2)
        painter.drawImage(QRect(1, barTop, width - 2, barHeight), SkinImageFor(painter, face.bar));
    if (barHeight > 0) {
        painter.fillRect(QRect(0, barTop, 1, barHeight), face.borderColor);
        painter.fillRect(QRect(width - 1, barTop, 1, barHeight), face.borderColor);
    }

    painter.setFont(face.font);
    painter.setPen(face.textColor);
    for (const tabrow::PlacedTab& tab : face.layout.drawn) {
        DrawThreeSlice(tab.active ? face.activeTab : face.inactiveTab, painter, tab.rect, false);
        const QString caption = face.captions.value(tab.index);
        if (tab.clipped) {
            painter.drawText(tab.rect.adjusted(kCutCaptionLeft, 0, -kCutCaptionRight, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
        } else {
            painter.drawText(tab.rect, Qt::AlignCenter | Qt::TextSingleLine, caption);
        }
    }

    if (face.drawScrollButtons) {
        const auto button = [&](ScrollButtonFrame frame) {
            return SkinImageFor(painter, face.scrollButtons.frame(frame));
        };
        painter.drawImage(
            face.buttons.right.topLeft(),
            button(face.hover == 1 ? ScrollButtonFrame::RightHover : ScrollButtonFrame::Right));
        painter.drawImage(
            face.buttons.left.topLeft(),
            button(face.hover == -1 ? ScrollButtonFrame::LeftHover : ScrollButtonFrame::Left));
    }
    painter.restore();
}
