#include "controls/buttonface.h"

#include <QFontMetrics>
#include <QPainter>

#include "drawing/boldface.h"
#include "drawing/drawingoperations.h"
#include "look/systemcolors.h"

namespace {

// A disabled caption or glyph: an embossed white copy one pixel right and down, then the
// grey one in place.
const QColor kEmbossLight(0xFF, 0xFF, 0xFF);
const QColor kEmbossShadow = SystemColorValue(SystemColor::GrayText);

// The caption without its mnemonic markers ("&&" stays one "&"), as it is measured.
QString WithoutMnemonics(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        out.append(caption.at(i));
    }
    return out;
}

// Every opaque pixel of the image in one colour.
QImage Silhouette(const QImage& image, const QColor& colour) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    out.setDevicePixelRatio(image.devicePixelRatio());
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (qAlpha(line[x]) != 0)
                line[x] = colour.rgb();
        }
    }
    return out;
}

// The dotted focus rectangle: the pixels of its edge in a checkerboard that starts at its
// top-left corner, so every other pixel shows.
void DrawDottedRect(QPainter& painter, const QRect& rect, const QColor& colour) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    const auto dot = [&](int x, int y) {
        if ((x - l + y - t) % 2 == 0)
            painter.fillRect(QRect(x, y, 1, 1), colour);
    };
    for (int x = l; x <= r; ++x) {
        dot(x, t);
        if (b > t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (r > l)
            dot(r, y);
    }
}

} // namespace

bool ButtonGlyphHasTwoImages(QSize glyph) {
    return glyph.height() > 0 && glyph.width() == 2 * glyph.height();
}

QSize ButtonGlyphImageSize(QSize glyph) {
    if (ButtonGlyphHasTwoImages(glyph))
        return QSize(glyph.height(), glyph.height());
    return glyph;
}

ButtonGlyphPlacement PlaceButtonGlyph(TButtonLayout layout, QSize button, QSize text, QSize glyph,
                                      int spacing) {
    const QSize g = ButtonGlyphImageSize(glyph);
    const int w = button.width(), h = button.height();
    const int tw = text.width(), th = text.height();
    const int gw = g.width(), gh = g.height();
    ButtonGlyphPlacement p;
    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        p.glyph = QPoint((w - gw - tw - spacing) / 2, (h - gh) / 2);
        p.caption = QPoint(p.glyph.x() + gw + spacing, (h - th) / 2);
        break;
    case TButtonLayout::blGlyphRight:
        p.glyph = QPoint((w + tw + spacing - gw) / 2, (h - gh) / 2);
        p.caption = QPoint(p.glyph.x() - tw - spacing, (h - th) / 2);
        break;
    case TButtonLayout::blGlyphTop:
        p.glyph = QPoint((w - gw) / 2, (h - th - gh - spacing) / 2);
        p.caption = QPoint((w - tw) / 2, p.glyph.y() + gh + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        p.glyph = QPoint((w - gw) / 2, (h + th + spacing - gh) / 2);
        p.caption = QPoint((w - tw) / 2, p.glyph.y() - th - spacing);
        break;
    }
    return p;
}

QRect ButtonFocusRect(QSize client, int margin) {
    return QRect(margin, margin, client.width() - 2 * margin, client.height() - 2 * margin);
}

QSize ButtonAutoSize(QSize strip) {
    const int width = strip.width() > 0 ? strip.width() : 3 * 74;
    const int height = strip.height() > 0 ? strip.height() : 21;
    return QSize(width / 3, height);
}

QString ButtonVisibleCaption(const QString& caption) {
    qsizetype begin = 0, end = caption.size();
    const auto blank = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    while (begin < end && blank(caption.at(begin)))
        ++begin;
    while (end > begin && blank(caption.at(end - 1)))
        --end;
    return caption.mid(begin, end - begin);
}

void PaintButtonFace(QPainter& painter, const ButtonFace& face) {
    const QRect client(QPoint(0, 0), face.size);
    const bool disabled = face.state == ButtonState::Disabled;
    const bool pressed = face.state == ButtonState::Pressed;

    if (!face.skin.isNull()) {
        if (face.stretchSkin) {
            DrawNineSlice(face.skin, painter, client, face.skinTransparent);
        } else {
            const QImage drawn = SkinImageFor(painter, face.skin);
            const QImage skin = face.skinTransparent
                                    ? MaskedWithKey(drawn, face.skin.pixel(0, 0) & 0xFFFFFF)
                                    : drawn;
            painter.drawImage(0, 0, disabled ? Silhouette(skin, kEmbossShadow) : skin);
        }
    }

    const QFont font = face.boldCaption ? BoldFont(face.font) : face.font;
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString caption = ButtonVisibleCaption(face.caption);

    // The glyph, and where the caption then goes.
    QPoint captionOrigin;
    const bool hasGlyph = !face.glyph.isNull() && face.glyph.width() > 0;
    if (hasGlyph) {
        const QSize textSize(metrics.horizontalAdvance(WithoutMnemonics(face.caption)),
                             metrics.height());
        const ButtonGlyphPlacement place =
            PlaceButtonGlyph(face.layout, face.size, textSize, face.glyph.size(), face.spacing);
        captionOrigin = place.caption;
        const QSize one = ButtonGlyphImageSize(face.glyph.size());
        const bool twoImages = ButtonGlyphHasTwoImages(face.glyph.size());
        QImage image =
            face.glyph.copy(QRect(QPoint(twoImages && disabled ? one.width() : 0, 0), one));
        image = MaskedWithKey(image, face.glyph.pixel(0, 0) & 0xFFFFFF);
        QPoint at = place.glyph + (pressed ? QPoint(1, 1) : QPoint());
        if (disabled && !twoImages) {
            painter.drawImage(at + QPoint(1, 1), Silhouette(image, kEmbossLight));
            painter.drawImage(at, Silhouette(image, kEmbossShadow));
        } else {
            painter.drawImage(at, image);
        }
    }

    if (face.focusRect)
        DrawDottedRect(painter, ButtonFocusRect(face.size, face.focusMargin), face.textColor);

    if (caption.isEmpty())
        return;
    const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic |
                      (hasGlyph ? (Qt::AlignLeft | Qt::AlignTop) : Qt::AlignCenter);
    // Without a glyph the caption is centred in the client rectangle; with one its top-left
    // corner is the caption origin, clipped to the button.
    const QRect place = hasGlyph ? QRect(captionOrigin.x(), captionOrigin.y(),
                                         face.size.width() - captionOrigin.x(),
                                         face.size.height() - captionOrigin.y())
                                 : client;
    const auto draw = [&](const QPoint& shift, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(place.translated(shift), flags, face.caption);
    };
    painter.save();
    painter.setClipRect(client);
    if (disabled) {
        draw(QPoint(1, 1), kEmbossLight);
        draw(QPoint(0, 0), kEmbossShadow);
    } else {
        draw(pressed ? QPoint(1, 1) : QPoint(), face.textColor);
    }
    painter.restore();
}
