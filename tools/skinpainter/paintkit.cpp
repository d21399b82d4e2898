#include "paintkit.h"

#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace skinpainter {

namespace {

int currentScale = 1;

// An image of w x h catalogue pixels at the current scale.
QImage scaledImage(int w, int h, QImage::Format format) {
    const int scale = currentScale;
    QImage img(w * scale, h * scale, format);
    img.setDevicePixelRatio(scale);
    return img;
}

} // namespace

PaintScale::PaintScale(int scale) : previous_(currentScale) {
    currentScale = scale;
}

PaintScale::~PaintScale() {
    currentScale = previous_;
}

int PaintScale::current() {
    return currentScale;
}

QImage newLayer(int w, int h) {
    QImage img = scaledImage(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage solidImage(int w, int h, QColor colour) {
    QImage img = scaledImage(w, h, QImage::Format_RGB32);
    img.fill(colour.rgb());
    return img;
}

QImage rowsImage(int w, const std::vector<QColor>& rows) {
    QImage img = scaledImage(w, int(rows.size()), QImage::Format_RGB32);
    const int scale = currentScale;
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        std::fill(line, line + img.width(), rows[size_t(y / scale)].rgb());
    }
    return img;
}

QImage flatten(const QImage& layer, const QImage& backdrop, bool keyed) {
    const QImage src = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage dst = backdrop.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(layer.devicePixelRatio());
    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        const auto* d = reinterpret_cast<const QRgb*>(dst.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(s[x]);
            if (keyed && a < 128) {
                o[x] = kKeyColour;
                continue;
            }
            // Premultiplied source over an opaque backdrop, rounded to nearest.
            auto over = [a](int sc, int dc) { return sc + (dc * (255 - a) + 127) / 255; };
            o[x] = qRgb(std::min(255, over(qRed(s[x]), qRed(d[x]))),
                        std::min(255, over(qGreen(s[x]), qGreen(d[x]))),
                        std::min(255, over(qBlue(s[x]), qBlue(d[x]))));
        }
    }
    return out;
}

QImage flatten(const QImage& layer, QColor backdrop, bool keyed) {
    QImage solid(layer.size(), QImage::Format_RGB32);
    solid.fill(backdrop.rgb());
    return flatten(layer, solid, keyed);
}

QImage joinFrames(const std::vector<QImage>& frames) {
    if (frames.empty())
        return {};
    const int fw = frames.front().width();
    const int fh = frames.front().height();
    QImage out(fw * int(frames.size()), fh, QImage::Format_RGB32);
    for (size_t i = 0; i < frames.size(); ++i) {
        const QImage frame = frames[i].convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < fh; ++y)
            std::copy_n(reinterpret_cast<const QRgb*>(frame.constScanLine(y)), fw,
                        reinterpret_cast<QRgb*>(out.scanLine(y)) + int(i) * fw);
    }
    out.setDevicePixelRatio(frames.front().devicePixelRatio());
    return out;
}

QColor mix(QColor a, QColor b, qreal t) {
    auto lerp = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

QPainterPath roundedBox(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath topRoundedBox(const QRectF& r, qreal radius) {
    // The lower corners are pushed below the rectangle, where the layer ends.
    QPainterPath path;
    path.addRoundedRect(QRectF(r.left(), r.top(), r.width(), r.height() + radius + 2), radius,
                        radius);
    return path;
}

void paintGel(QPainter& p, const QRectF& box, qreal radius, const Gel& gel, bool openBottom) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath shape = openBottom ? topRoundedBox(box, radius) : roundedBox(box, radius);

    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, gel.top);
    fill.setColorAt(1.0, gel.bottom);
    p.fillPath(shape, fill);

    if (gel.gloss > 0.0) {
        p.setClipPath(shape);
        const qreal glossH = box.height() * gel.glossPart;
        const QRectF glossBox(box.left() + 1.5, box.top() + 1.0, box.width() - 3.0, glossH);
        QLinearGradient shine(glossBox.topLeft(), glossBox.bottomLeft());
        QColor white(255, 255, 255);
        white.setAlphaF(float(gel.gloss));
        shine.setColorAt(0.0, white);
        white.setAlphaF(float(gel.gloss * 0.25));
        shine.setColorAt(1.0, white);
        p.fillPath(roundedBox(glossBox, std::max<qreal>(radius - 1.5, 0.0)), shine);
        p.setClipping(false);
    }
    if (gel.innerRing.isValid()) {
        const QRectF inner = box.adjusted(1.0, 1.0, -1.0, openBottom ? 0.0 : -1.0);
        const qreal r = std::max<qreal>(radius - 1.0, 0.0);
        p.setPen(QPen(gel.innerRing, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(openBottom ? topRoundedBox(inner.adjusted(0.5, 0.5, -0.5, 0), r)
                              : roundedBox(inner.adjusted(0.5, 0.5, -0.5, -0.5), r));
    }
    if (gel.border.isValid()) {
        p.setPen(QPen(gel.border, 1.0));
        p.setBrush(Qt::NoBrush);
        const QRectF line = box.adjusted(0.5, 0.5, -0.5, openBottom ? 0.0 : -0.5);
        p.drawPath(openBottom ? topRoundedBox(line, radius) : roundedBox(line, radius));
    }
    p.restore();
}

namespace {

// A rectangle outline of whole pixels, with a thicker top edge like a window's caption.
void captionedRect(QPainter& p, const QRect& r, QColor colour, int top) {
    p.fillRect(QRect(r.left(), r.top(), r.width(), top), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

void paintGlyph(QPainter& p, Glyph glyph, const QRectF& box, QColor colour, qreal weight) {
    p.save();
    const QRect cell = box.toAlignedRect();
    const int thick = std::max(1, int(std::lround(weight)));
    switch (glyph) {
    case Glyph::Close: {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(colour, weight, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        const qreal inset = weight / 2.0;
        const QRectF r = box.adjusted(inset, inset, -inset, -inset);
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
        break;
    }
    case Glyph::Maximize:
        captionedRect(p, cell, colour, thick + 1);
        break;
    case Glyph::Minimize:
        p.fillRect(QRect(cell.left(), cell.bottom() - thick, cell.width(), thick + 1), colour);
        break;
    case Glyph::Restore: {
        // Two windows: the back one up and right, partly hidden by the front one.
        const int s = (cell.width() * 2 + 2) / 3; // 5 of 7, 6 of 9: the two stay apart
        const QRect back(cell.right() - s + 1, cell.top(), s, s);
        const QRect front(cell.left(), cell.bottom() - s + 1, s, s);
        p.setClipRegion(QRegion(cell).subtracted(QRegion(front)));
        captionedRect(p, back, colour, thick);
        p.setClipping(false);
        captionedRect(p, front, colour, thick + 1 > 2 ? 2 : thick + 1);
        break;
    }
    case Glyph::ControlBox: {
        // Three menu lines: opens the window's own menu.
        const int gap = thick > 1 ? 1 : 2;
        const int height = 3 * thick + 2 * gap;
        const int top = cell.top() + (cell.height() - height) / 2;
        for (int i = 0; i < 3; ++i)
            p.fillRect(QRect(cell.left(), top + i * (thick + gap), cell.width(), thick), colour);
        break;
    }
    case Glyph::Help: {
        if (box.width() <= 9) {
            // At window-button size a hand-set pixel pattern reads better than a curve.
            static const char* const kSmall[] = {".###.", "#...#", "....#", "...#.",
                                                 "..#..", "..#..", ".....", "..#.."};
            static const char* const kBold[] = {".#####.", "##...##", ".....##",
                                                "....##.", "...##..", "...##..",
                                                ".......", "...##..", "...##.."};
            const bool bold = weight >= 1.9;
            const char* const* rows = bold ? kBold : kSmall;
            const int rowCount = bold ? 9 : 8;
            const int colCount = bold ? 7 : 5;
            const int x0 = cell.left() + (cell.width() - colCount) / 2;
            const int y0 = cell.top() + (cell.height() - rowCount) / 2;
            for (int y = 0; y < rowCount; ++y)
                for (int x = 0; x < colCount; ++x)
                    if (rows[y][x] == '#')
                        p.fillRect(QRect(x0 + x, y0 + y, 1, 1), colour);
            break;
        }
        p.setRenderHint(QPainter::Antialiasing, true);
        const qreal w = box.width();
        const qreal h = box.height();
        const qreal r = w * 0.32;
        const QPointF c(box.center().x(), box.top() + weight / 2 + r);
        QPainterPath hook;
        hook.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 160);
        hook.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 160, -220);
        hook.quadTo(QPointF(c.x(), c.y() + r * 1.05), QPointF(c.x(), box.top() + h * 0.70));
        p.setPen(QPen(colour, weight, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const qreal dot = weight * 1.15;
        p.drawEllipse(QPointF(c.x(), box.bottom() - dot / 2), dot / 2 + 0.1, dot / 2 + 0.1);
        break;
    }
    case Glyph::ArrowRight:
    case Glyph::ArrowLeft:
    case Glyph::ArrowUp:
    case Glyph::ArrowDown: {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const QPointF c = box.center();
        const qreal a = std::min(box.width(), box.height()) / 2;
        QPolygonF tri;
        if (glyph == Glyph::ArrowRight)
            tri << QPointF(c.x() - a / 2, c.y() - a) << QPointF(c.x() + a / 2 + 0.5, c.y())
                << QPointF(c.x() - a / 2, c.y() + a);
        else if (glyph == Glyph::ArrowLeft)
            tri << QPointF(c.x() + a / 2, c.y() - a) << QPointF(c.x() - a / 2 - 0.5, c.y())
                << QPointF(c.x() + a / 2, c.y() + a);
        else if (glyph == Glyph::ArrowUp)
            tri << QPointF(c.x() - a, c.y() + a / 2) << QPointF(c.x(), c.y() - a / 2 - 0.5)
                << QPointF(c.x() + a, c.y() + a / 2);
        else
            tri << QPointF(c.x() - a, c.y() - a / 2) << QPointF(c.x(), c.y() + a / 2 + 0.5)
                << QPointF(c.x() + a, c.y() - a / 2);
        p.drawPolygon(tri);
        break;
    }
    case Glyph::Check: {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal w = box.width();
        const qreal h = box.height();
        QPolygonF tick;
        tick << QPointF(box.left() + w * 0.12, box.top() + h * 0.55)
             << QPointF(box.left() + w * 0.40, box.top() + h * 0.82)
             << QPointF(box.left() + w * 0.90, box.top() + h * 0.18);
        p.drawPolyline(tick);
        break;
    }
    }
    p.restore();
}

} // namespace skinpainter
