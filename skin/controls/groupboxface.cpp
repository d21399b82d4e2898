#include "controls/groupboxface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

int GroupBoxFrameTop(const QRect& rect, int fontHeight) {
    return std::abs(fontHeight) / 2 + rect.top() + 1;
}

QPolygon GroupBoxPolyline(const QRect& rect, int fontHeight, int captionWidth, bool hasCaption) {
    const int y = GroupBoxFrameTop(rect, fontHeight);
    const int left = rect.left();
    const int right = rect.left() + rect.width();  // one past the last column
    const int bottom = rect.top() + rect.height(); // one past the last row
    const int end = hasCaption ? left + 6 + captionWidth : left;
    return QPolygon({QPoint(left + 2, y), QPoint(left, y), QPoint(left, bottom - 1),
                     QPoint(right - 1, bottom - 1), QPoint(right - 1, y), QPoint(end, y)});
}

QMargins GroupBoxChildMargins(int fontHeight) {
    return QMargins(3, std::abs(fontHeight) + 5, 3, 3);
}

QRect GroupBoxChildRect(const QRect& rect, int fontHeight) {
    const QRect inside = rect.marginsRemoved(GroupBoxChildMargins(fontHeight));
    return QRect(inside.topLeft(),
                 QSize(std::max(0, inside.width()), std::max(0, inside.height())));
}

void PaintGroupBoxFrame(QPainter& painter, const GroupBoxFace& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics metrics(face.font);
    const int captionWidth = metrics.horizontalAdvance(face.caption);
    const QPolygon line =
        GroupBoxPolyline(face.rect, face.fontHeight, captionWidth, !face.caption.isEmpty());

    painter.setPen(face.border);
    for (int i = 1; i < line.size(); ++i) {
        QPoint from = line[i - 1];
        QPoint to = line[i];
        if (i == line.size() - 1) {
            // The last point is not drawn: stop one pixel short of it.
            const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                              (to.y() > from.y()) - (to.y() < from.y()));
            if (from == to)
                break;
            to -= step;
        }
        painter.drawLine(from, to);
    }

    if (!face.caption.isEmpty()) {
        painter.setFont(face.font);
        painter.setPen(face.captionColor);
        painter.drawText(face.rect.topLeft() + kGroupBoxCaptionOrigin + QPoint(0, metrics.ascent()),
                         face.caption);
    }
    painter.restore();
}
