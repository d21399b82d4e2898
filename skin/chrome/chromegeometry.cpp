#include "chrome/chromegeometry.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "drawing/drawingoperations.h"

namespace chrome {

int HostWidthFor(int frameWidth, int borderWidth) {
    return frameWidth + 2 * borderWidth;
}

int HostHeightFor(int frameHeight, int borderWidth) {
    return frameHeight + borderWidth + borderWidth / 2;
}

QRect FramePlacement(QSize hostClient, int borderWidth, bool titleBarVisible) {
    const int top = titleBarVisible ? 0 : borderWidth;
    return QRect(borderWidth, top, hostClient.width() - 2 * borderWidth,
                 hostClient.height() - borderWidth - top);
}

std::vector<QRect> HostBorderRects(QSize hostClient, int borderWidth) {
    if (borderWidth <= 0)
        return {};
    const int cw = hostClient.width();
    const int ch = hostClient.height();
    const int bw = borderWidth;
    return {
        QRect(0, 0, bw, ch),           // left
        QRect(0, ch - bw, cw, bw),     // bottom
        QRect(cw - bw, 0, bw, ch),     // right
        QRect(0, 0, cw, (bw + 1) / 2), // top line, centred on y = 0
    };
}

Qt::Edges EdgesAt(QPoint point, QSize hostClient, int band, bool sizeable) {
    if (!sizeable)
        return {};
    const int x = point.x();
    const int y = point.y();
    const int cw = hostClient.width();
    const int ch = hostClient.height();
    const bool left = x < band;
    const bool right = x > cw - band;
    const bool top = y < band;
    const bool bottom = y > ch - band;
    // The order of the rules matters only for windows narrower than two bands: a corner
    // wins over a side, the left over the right and the top over the bottom.
    if (left && top)
        return Qt::LeftEdge | Qt::TopEdge;
    if (right && top)
        return Qt::RightEdge | Qt::TopEdge;
    if (right && bottom)
        return Qt::RightEdge | Qt::BottomEdge;
    if (left && bottom)
        return Qt::LeftEdge | Qt::BottomEdge;
    if (left)
        return Qt::LeftEdge;
    if (top)
        return Qt::TopEdge;
    if (right)
        return Qt::RightEdge;
    if (bottom)
        return Qt::BottomEdge;
    return {};
}

QRect ResizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum) {
    int left = start.left();
    int top = start.top();
    int right = start.x() + start.width();
    int bottom = start.y() + start.height();
    const int minW = std::max(minimum.width(), 1);
    const int minH = std::max(minimum.height(), 1);
    if (edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - minW);
    if (edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + minW);
    if (edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - minH);
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + minH);
    return QRect(left, top, right - left, bottom - top);
}

namespace {

// Row by row through the top corners, how many pixels the shape leaves out on each side:
// a pixel belongs to the window when its centre lies inside the corner circle of
// diameter roundCorner. Empty when the corners are not rounded.
std::vector<int> TopCornerInsets(int w, int h, int roundCorner) {
    std::vector<int> insets;
    if (roundCorner <= 1 || w <= 0 || h <= 0)
        return insets;
    const double a = roundCorner / 2.0;
    const int rows = std::min(static_cast<int>(std::ceil(a)), h);
    for (int y = 0; y < rows; ++y) {
        const double dy = a - (y + 0.5);
        const double half = std::sqrt(std::max(0.0, a * a - dy * dy));
        insets.push_back(std::clamp(static_cast<int>(std::ceil(a - half - 0.5)), 0, w / 2));
    }
    return insets;
}

} // namespace

QRegion TopRoundedRegion(QSize size, int roundCorner) {
    const int w = size.width();
    const int h = size.height();
    const std::vector<int> insets = TopCornerInsets(w, h, roundCorner);
    if (insets.empty())
        return QRegion(0, 0, std::max(w, 0), std::max(h, 0));
    QRegion region;
    const int rows = static_cast<int>(insets.size());
    for (int y = 0; y < rows; ++y)
        region += QRect(insets[std::size_t(y)], y, w - 2 * insets[std::size_t(y)], 1);
    if (h > rows)
        region += QRect(0, rows, w, h - rows);
    return region;
}

QPolygon TopRoundedOutline(QSize size, int roundCorner) {
    const int w = size.width();
    const std::vector<int> insets = TopCornerInsets(w, size.height(), roundCorner);
    QPolygon points;
    if (insets.empty())
        return points;
    for (int x = insets.front(); x < w - insets.front(); ++x)
        points << QPoint(x, 0);
    for (std::size_t y = 1; y < insets.size(); ++y) {
        // From this row's first pixel up to the pixel below the row above's first.
        const int last = std::max(insets[y], insets[y - 1] - 1);
        for (int x = insets[y]; x <= last; ++x)
            points << QPoint(x, int(y)) << QPoint(w - 1 - x, int(y));
    }
    return points;
}

std::vector<SectionPlacement> LayoutSections(int barWidth, int barHeight,
                                             const std::vector<SectionSlot>& entries) {
    std::vector<SectionPlacement> placed;
    int left = -1;
    int right = barWidth + 1;
    int client = -1;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const SectionSlot& slot = entries[i];
        switch (slot.align) {
        case SectionAlign::Left:
            placed.push_back({i, QRect(left + 1, 0, slot.width, barHeight)});
            left += slot.width;
            break;
        case SectionAlign::Right:
            if (barWidth - left >= slot.width) {
                placed.push_back({i, QRect(right - slot.width - 1, 0, slot.width, barHeight)});
                right -= slot.width;
            }
            break;
        case SectionAlign::Client:
            client = i;
            break;
        }
    }
    const int clientWidth = (right - 1) - (left + 1);
    if (client >= 0 && clientWidth > 0)
        placed.push_back({client, QRect(left + 1, 0, clientWidth, barHeight)});
    return placed;
}

TitleButtonLayout LayoutTitleButtons(int barWidth, int leftOffset, int rightOffset, int interval,
                                     bool drawAppIcon,
                                     const std::vector<TitleButtonSlot>& entries) {
    TitleButtonLayout layout;
    layout.rects.resize(entries.size());
    int r = barWidth + rightOffset + 1;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const TitleButtonSlot& slot = entries[i];
        if (!slot.visible)
            continue;
        if (slot.controlBox) {
            if (layout.controlBox < 0)
                layout.controlBox = i;
            continue;
        }
        r -= slot.size.width() + interval + 1;
        layout.rects[i] = QRect(QPoint(r, slot.top), slot.size);
    }
    int l = leftOffset;
    if (layout.controlBox >= 0) {
        const TitleButtonSlot& box = entries[layout.controlBox];
        layout.rects[layout.controlBox] = QRect(QPoint(l, box.top), box.size);
        if (drawAppIcon) {
            layout.appIconAt = QPoint(l + 3, box.top);
            l += 21;
        } else {
            l += box.size.width() + 5;
        }
    }
    if (l == 0)
        l = 6;
    layout.captionLeft = l;
    layout.captionRight = r;
    return layout;
}

QString ShortenCaption(const QString& text, int space,
                       const std::function<int(const QString&)>& widthOf) {
    if (widthOf(text) <= space)
        return text;
    static const QString kEllipsis = QStringLiteral("...");
    QString shortened = text;
    do {
        shortened.chop(1);
        // Never leave half of a character that takes two code units.
        if (!shortened.isEmpty() && shortened.back().isHighSurrogate())
            shortened.chop(1);
        if (widthOf(shortened + kEllipsis) <= space)
            return shortened + kEllipsis;
    } while (!shortened.isEmpty());
    return QString();
}

QString ShortenCaption(const QString& text, int space, const QFontMetrics& metrics) {
    return ShortenCaption(text, space,
                          [&metrics](const QString& t) { return metrics.horizontalAdvance(t); });
}

int CaptionTop(int bandHeight, int bandTop, int textHeight) {
    return (bandHeight - textHeight) / 2 + bandTop;
}

ChromeHit HitTest(const ChromeShape& shape, QPoint point) {
    ChromeHit hit;
    if (shape.resizable) {
        hit.edges = EdgesAt(point, shape.window, kResizeBand, true);
        if (hit.edges) {
            hit.area = ChromeArea::Edge;
            return hit;
        }
    }
    if (shape.titleBar.isNull() || !shape.titleBar.contains(point))
        return hit;
    const QPoint local = point - shape.titleBar.topLeft();
    for (int i = 0; i < static_cast<int>(shape.buttons.size()); ++i) {
        if (i == shape.controlBox || shape.buttons[i].isNull())
            continue;
        if (PtInRectInclusive(local, shape.buttons[i])) {
            hit.area = ChromeArea::TitleButton;
            hit.button = i;
            return hit;
        }
    }
    if (shape.controlBox >= 0 && shape.controlBox < static_cast<int>(shape.buttons.size()) &&
        !shape.buttons[shape.controlBox].isNull() &&
        PtInRectInclusive(local, shape.buttons[shape.controlBox])) {
        hit.area = ChromeArea::ControlBox;
        hit.button = shape.controlBox;
        return hit;
    }
    hit.area = ChromeArea::Caption;
    return hit;
}

} // namespace chrome
