// Window background tiles, menu textures, the message icons and the program icon.

#include <cmath>

#include "skinparts.h"

namespace skinpainter {

// 8 x 8 tiles repeated over a window. Their average stays on the look's window colour
// (0xE7E7E7 for MacOS, 0xFBFBFB for Protein) so controls filled with that colour blend in.
// The pattern is set per catalogue pixel, so the texture keeps its grain at every scale.
QImage paintFormBackground(Look look) {
    QImage tile = solidImage(8, 8, rgb(0, 0, 0));
    const int scale = PaintScale::current();
    for (int py = 0; py < tile.height(); ++py) {
        for (int px = 0; px < tile.width(); ++px) {
            const int x = px / scale;
            const int y = py / scale;
            QRgb c;
            if (look == Look::Protein) {
                // Near white with a faint diagonal weave.
                c = (x + y) % 4 == 0 ? qRgb(246, 246, 248) : qRgb(252, 252, 252);
            } else {
                // Fine horizontal pinstripes.
                c = y % 2 == 0 ? qRgb(235, 235, 235) : qRgb(227, 227, 227);
            }
            tile.setPixel(px, py, c);
        }
    }
    return tile;
}

// MacOS menu bar (1 x 22): a soft light gradient. Menus use its top rows behind items, so
// the dark foot line shows only under the bar itself.
QImage paintMacMenuBar() {
    std::vector<QColor> rows;
    for (int y = 0; y < 20; ++y)
        rows.push_back(mix(rgb(253, 253, 253), rgb(236, 236, 236), y / 19.0));
    rows.push_back(rgb(214, 214, 214));
    rows.push_back(rgb(150, 150, 150));
    return rowsImage(1, rows);
}

// MacOS selected menu entry (1 x 21): aqua with a bright top edge; white text stands on it.
QImage paintMacMenuSelect() {
    std::vector<QColor> rows;
    rows.push_back(rgb(120, 170, 232));
    for (int y = 1; y < 20; ++y)
        rows.push_back(mix(rgb(82, 138, 218), rgb(42, 96, 190), (y - 1) / 18.0));
    rows.push_back(rgb(30, 72, 160));
    return rowsImage(1, rows);
}

// The check mark of menus (16 x 16). Menus add it with white as the transparent colour, so
// the background is white and the mark's soft edge is blended against white.
QImage paintMenuChecked() {
    QImage layer = newLayer(16, 16);
    QPainter p(&layer);
    paintGlyph(p, Glyph::Check, QRectF(3, 3, 10, 10), rgb(24, 24, 24), 2.2);
    p.end();
    QImage out = flatten(layer, rgb(255, 255, 255), true);
    // Where flatten left the key colour, the menu expects its own key: white.
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (out.pixel(x, y) == kKeyColour)
                out.setPixel(x, y, qRgb(255, 255, 255));
    return out;
}

namespace {

// A round badge: gradient disc with a darker rim and a highlight in its upper half.
void badge(QPainter& p, const QRectF& r, QColor light, QColor dark, QColor rim) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient body(QPointF(r.center().x(), r.top() + r.height() * 0.35), r.width() * 0.7);
    body.setColorAt(0.0, light);
    body.setColorAt(1.0, dark);
    p.setPen(QPen(rim, 1.5));
    p.setBrush(body);
    p.drawEllipse(r.adjusted(0.75, 0.75, -0.75, -0.75));
    QLinearGradient shine(r.topLeft(), QPointF(r.left(), r.center().y()));
    shine.setColorAt(0.0, QColor(255, 255, 255, 150));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(
        QRectF(r.left() + r.width() * 0.18, r.top() + 2.5, r.width() * 0.64, r.height() * 0.45));
    p.restore();
}

// A vertical bar with round ends and a dot under it ("!"), or over it ("i").
void barAndDot(QPainter& p, qreal cx, qreal barTop, qreal barBottom, qreal dotY, qreal width,
               QColor colour, bool taper) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath bar;
    if (taper) {
        bar.moveTo(cx - width / 2, barTop);
        bar.lineTo(cx + width / 2, barTop);
        bar.lineTo(cx + width * 0.3, barBottom);
        bar.lineTo(cx - width * 0.3, barBottom);
        bar.closeSubpath();
        bar.addEllipse(QPointF(cx, barTop), width / 2, width / 2);
    } else {
        bar.addRoundedRect(QRectF(cx - width / 2, barTop, width, barBottom - barTop), width / 3,
                           width / 3);
    }
    p.drawPath(bar.simplified());
    p.drawEllipse(QPointF(cx, dotY), width * 0.62, width * 0.62);
    p.restore();
}

} // namespace

// The message dialog icons, 42 x 42 each: warning, stop, information, help. Outside the
// symbols is fuchsia; edges are blended against a light dialog grey.
QImage paintMessageIcons() {
    const QColor dialog(236, 236, 236);
    std::vector<QImage> frames;

    { // Warning: a rounded amber triangle with "!".
        QImage layer = newLayer(42, 42);
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing, true);
        QPainterPath tri;
        tri.moveTo(21, 3.5);
        tri.lineTo(39, 36.5);
        tri.lineTo(3, 36.5);
        tri.closeSubpath();
        QPainterPathStroker round;
        round.setWidth(5);
        round.setJoinStyle(Qt::RoundJoin);
        const QPainterPath shape = tri.united(round.createStroke(tri)).simplified();
        QLinearGradient fill(0, 2, 0, 40);
        fill.setColorAt(0, rgb(255, 236, 120));
        fill.setColorAt(1, rgb(246, 176, 20));
        p.setPen(QPen(rgb(176, 110, 0), 1.5));
        p.setBrush(fill);
        p.drawPath(shape);
        barAndDot(p, 21, 14, 29, 33.5, 4.6, rgb(40, 30, 10), true);
        p.end();
        frames.push_back(flatten(layer, dialog, true));
    }
    { // Stop: a red disc with a white cross.
        QImage layer = newLayer(42, 42);
        QPainter p(&layer);
        badge(p, QRectF(2, 2, 38, 38), rgb(250, 110, 96), rgb(190, 24, 20), rgb(128, 12, 10));
        paintGlyph(p, Glyph::Close, QRectF(13, 13, 16, 16), rgb(255, 255, 255), 4.2);
        p.end();
        frames.push_back(flatten(layer, dialog, true));
    }
    { // Information: a blue disc with a white "i".
        QImage layer = newLayer(42, 42);
        QPainter p(&layer);
        badge(p, QRectF(2, 2, 38, 38), rgb(120, 176, 250), rgb(24, 84, 196), rgb(16, 56, 140));
        barAndDot(p, 21, 17, 32, 11.5, 4.8, rgb(255, 255, 255), false);
        p.end();
        frames.push_back(flatten(layer, dialog, true));
    }
    { // Help: a teal disc with a white "?".
        QImage layer = newLayer(42, 42);
        QPainter p(&layer);
        badge(p, QRectF(2, 2, 38, 38), rgb(104, 210, 176), rgb(16, 132, 110), rgb(8, 92, 76));
        paintGlyph(p, Glyph::Help, QRectF(14, 9, 14, 24), rgb(255, 255, 255), 4.2);
        p.end();
        frames.push_back(flatten(layer, dialog, true));
    }
    return joinFrames(frames);
}

// The program icon, 32 x 32, fuchsia around it: an aqua tile carrying a short script
// (three white command lines behind a prompt mark). Bold shapes so it still reads when
// shrunk to 16 x 16 in the title bar.
namespace {

// The program's icon on a 32 x 32 grid: a blue gel tile with a prompt and three command
// lines, the last one the yellow of the port number a script ends on.
void drawIcon(QPainter& p) {
    paintGel(p, QRectF(1, 1, 30, 30), 6,
             {rgb(110, 180, 250), rgb(26, 88, 186), rgb(16, 54, 128), 0.5, 0.45, {}});
    p.setRenderHint(QPainter::Antialiasing, true);
    // Prompt chevron.
    p.setPen(QPen(rgb(255, 255, 255), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF chevron;
    chevron << QPointF(7, 9) << QPointF(11.5, 12.5) << QPointF(7, 16);
    p.drawPolyline(chevron);
    // Command lines.
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(255, 255, 255));
    p.drawRoundedRect(QRectF(14, 11, 12, 3), 1.5, 1.5);
    p.drawRoundedRect(QRectF(7, 18, 19, 3), 1.5, 1.5);
    p.setBrush(rgb(255, 214, 90)); // the port number the script ends on
    p.drawRoundedRect(QRectF(7, 24, 11, 3), 1.5, 1.5);
}

} // namespace

QImage paintMainIcon() {
    QImage layer = newLayer(32, 32);
    QPainter p(&layer);
    drawIcon(p);
    p.end();
    return flatten(layer, rgb(231, 231, 231), true);
}

QImage paintAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.scale(size / 32.0, size / 32.0);
    drawIcon(p);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace skinpainter
