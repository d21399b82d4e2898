#include "chrome/menuitempainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include "drawing/boldface.h"
#include "drawing/drawingoperations.h"
#include "look/systemcolors.h"

namespace {

// The caption as shown: "&&" is one ampersand, a single one only marks the access key.
QString ShownText(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&'))
                shown += QLatin1Char('&');
            ++i;
            if (i < caption.size() && caption.at(i) != QLatin1Char('&'))
                shown += caption.at(i);
            continue;
        }
        shown += caption.at(i);
    }
    return shown;
}

void FrameRect(QPainter& painter, const QRect& r, const QColor& color) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

// Stretches the top `rows` rows of a texture over the rectangle; false when it is missing.
bool DrawTexture(QPainter& painter, const QRect& target, const QImage& texture, int rows) {
    if (texture.isNull())
        return false;
    const QImage drawn = SkinImageFor(painter, texture);
    const qreal scale = drawn.devicePixelRatio();
    painter.drawImage(target, drawn,
                      QRectF(0, 0, texture.width() * scale, qMin(rows, texture.height()) * scale));
    return true;
}

void FillStripAndBackground(QPainter& painter, const MenuItemLook& look, const QRect& r) {
    const int bar = qBound(0, look.barWidth, r.width());
    if (bar > 0)
        painter.fillRect(QRect(r.x(), r.y(), bar, r.height()), look.barColor);
    painter.fillRect(QRect(r.x() + bar, r.y(), r.width() - bar, r.height()), look.color);
}

QPixmap Greyed(const QPixmap& pixmap) {
    return QIcon(pixmap).pixmap(pixmap.deviceIndependentSize().toSize(), pixmap.devicePixelRatio(),
                                QIcon::Disabled);
}

} // namespace

bool IsMenuSeparatorCaption(const QString& caption) {
    return caption == QLatin1String("-");
}

QFont MenuItemFont(const MenuItemLook& look, bool isDefault) {
    return isDefault ? BoldFont(look.font) : look.font;
}

QSize MeasureMenuItem(const MenuItemLook& look, const QFontMetrics& metrics, const QString& caption,
                      const QString& shortcut, bool separator) {
    const int width = metrics.horizontalAdvance(ShownText(caption)) +
                      metrics.horizontalAdvance(shortcut) + look.barWidth + 40;
    return QSize(width, separator ? look.separatorHeight : look.itemHeight);
}

void PaintMenuItem(QPainter& painter, const MenuItemLook& look, const MenuItemFace& face) {
    const QRect& r = face.rect;
    const int left = r.x();
    const int top = r.y();
    const int right = r.x() + r.width();
    painter.save();

    if (face.separator) {
        if (!(look.textured && DrawTexture(painter, r, look.barTexture, 12))) {
            FillStripAndBackground(painter, look, r);
            const int from = left + look.barWidth + 4;
            const int to = right - 3; // the line stops short of Right - 2
            if (to >= from)
                painter.fillRect(QRect(from, top + 2, to - from + 1, 1), look.separatorColor);
        }
        painter.restore();
        return;
    }

    // A disabled item never shows the selection.
    const bool selected = face.selected && face.enabled;
    if (selected) {
        if (!(look.textured && DrawTexture(painter, r, look.selectTexture, 20))) {
            painter.fillRect(r, look.selectedColor);
            FrameRect(painter, r, look.selectedBorderColor);
        }
    } else if (!(look.textured && DrawTexture(painter, r, look.barTexture, 20))) {
        FillStripAndBackground(painter, look, r);
    }

    const QFont font = MenuItemFont(look, face.isDefault);
    painter.setFont(font);
    const QColor text = !face.enabled ? SystemColorValue(SystemColor::GrayText)
                        : selected    ? look.selectedFontColor
                                      : look.fontColor;
    painter.setPen(text);
    const QRect textRect(left + look.barWidth + 4, top + 4,
                         qMax(0, right - (left + look.barWidth + 4)), qMax(0, r.height() - 4));
    painter.drawText(textRect,
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     face.caption);
    if (!face.shortcut.isEmpty()) {
        const int x = right - QFontMetrics(font).horizontalAdvance(face.shortcut) - 16;
        painter.drawText(QRect(x, top + 4, right - x, qMax(0, r.height() - 4)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, face.shortcut);
    }
    if (face.subMenu) {
        // The arrow of an item that opens a sub-menu, in the text's colour.
        const int cx = right - 9;
        const int cy = top + r.height() / 2;
        for (int i = 0; i < 4; ++i)
            painter.fillRect(QRect(cx - 2 + i, cy - 3 + i, 1, 7 - 2 * i), text);
    }

    const QPixmap image = face.image.isNull() ? QPixmap() : face.image.pixmap(QSize(16, 16));
    if (face.checked) {
        if (!image.isNull()) {
            FrameRect(painter, QRect(left + 2, top + 1, 19, 19), Qt::black);
            painter.fillRect(QRect(left + 3, top + 2, 17, 17), look.selectedColor);
        } else if (!look.checkMark.isNull()) {
            const QPixmap mark = QPixmap::fromImage(look.checkMark);
            painter.drawPixmap(left + 4, top + 3, face.enabled ? mark : Greyed(mark));
        }
    }
    if (!image.isNull())
        painter.drawPixmap(left + 4, top + 3, face.enabled ? image : Greyed(image));
    painter.restore();
}

void PaintMenuFrame(QPainter& painter, const MenuItemLook& look, QSize size) {
    const int w = size.width();
    const int h = size.height();
    if (w < 2 * kMenuFrameWidth || h < 2 * kMenuFrameWidth)
        return;
    const QColor face = SystemColorValue(SystemColor::ButtonFace);
    // The innermost ring shows the menu colour of the system.
    FrameRect(painter, QRect(2, 2, w - 4, h - 4), face);
    if (!look.flatMenu) {
        // A raised edge: light above and left, dark below and right.
        const QColor light = SystemColorValue(SystemColor::ThreeDLight);
        const QColor highlight = SystemColorValue(SystemColor::ButtonHighlight);
        const QColor shadow = SystemColorValue(SystemColor::ButtonShadow);
        const QColor dark = SystemColorValue(SystemColor::ThreeDDarkShadow);
        painter.fillRect(QRect(0, 0, w, 1), light);
        painter.fillRect(QRect(0, 0, 1, h), light);
        painter.fillRect(QRect(0, h - 1, w, 1), dark);
        painter.fillRect(QRect(w - 1, 0, 1, h), dark);
        painter.fillRect(QRect(1, 1, w - 2, 1), highlight);
        painter.fillRect(QRect(1, 1, 1, h - 2), highlight);
        painter.fillRect(QRect(1, h - 2, w - 2, 1), shadow);
        painter.fillRect(QRect(w - 2, 1, 1, h - 2), shadow);
        return;
    }
    // Flat: a black frame one pixel in from the top, a white one inside it, and the form
    // colour along the top, the right and the bottom edge.
    FrameRect(painter, QRect(0, 1, w - 1, h - 2), Qt::black);
    FrameRect(painter, QRect(1, 2, w - 3, h - 4), Qt::white);
    painter.fillRect(QRect(0, h - 1, w, 1), look.formBackground);
    painter.fillRect(QRect(w - 1, 0, 1, h), look.formBackground);
    painter.fillRect(QRect(0, 0, w, 1), look.formBackground);
}
