#include "tabrowface.h"

#include <QPainter>

#include "drawingoperations.h"

namespace {
// A cut tab's caption starts this far inside the tab and keeps clear of its right end.
constexpr int kCutCaptionLeft = 10;
constexpr int kCutCaptionRight = 4;
} // namespace

void PaintTabRow(QPainter& painter, const TabRowFace& face) {
    const int width = face.size.width();
    const int barTop = face.inactiveTab.height();
    const int barHeight = face.bar.height();
    if (barHeight > 0 && width > 2)
        painter.drawImage(QRect(1, barTop, width - 2, barHeight), face.bar);
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
        painter.drawImage(face.buttons.right.topLeft(),
                          face.scrollButtons.frame(face.hover == 1 ? ScrollButtonFrame::RightHover
                                                                   : ScrollButtonFrame::Right));
        painter.drawImage(face.buttons.left.topLeft(),
                          face.scrollButtons.frame(face.hover == -1 ? ScrollButtonFrame::LeftHover
                                                                    : ScrollButtonFrame::Left));
    }
}
