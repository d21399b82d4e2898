#include "previewsheet.h"

#include <QPainter>

#include "skinparts.h"

namespace skinpainter {

namespace {

QImage find(const std::vector<SkinBitmap>& all, const QString& name) {
    for (const SkinBitmap& b : all)
        if (b.name == name)
            return b.image;
    return {};
}

QImage frame(const QImage& strip, int count, int index) {
    const int fw = strip.width() / count;
    return strip.copy(fw * index, 0, fw, strip.height());
}

// The picture with one colour made transparent.
QImage keyed(const QImage& img, QRgb key) {
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if ((out.pixel(x, y) | 0xFF000000) == (key | 0xFF000000))
                out.setPixel(x, y, 0);
    return out;
}

// Corners copied, edges and middle stretched from the centre row and column.
void nineSlice(QPainter& p, const QImage& src, const QRect& dst) {
    const QImage img = keyed(src, kKeyColour);
    const int hw = img.width() / 2;
    const int hh = img.height() / 2;
    const int cw = std::min(hw, dst.width() / 2);
    const int ch = std::min(hh, dst.height() / 2);
    const int l = dst.left(), t = dst.top(), r = dst.right() + 1, b = dst.bottom() + 1;
    p.drawImage(QRect(l, t, cw, ch), img, QRect(0, 0, cw, ch));
    p.drawImage(QRect(r - cw, t, cw, ch), img, QRect(img.width() - cw, 0, cw, ch));
    p.drawImage(QRect(l, b - ch, cw, ch), img, QRect(0, img.height() - ch, cw, ch));
    p.drawImage(QRect(r - cw, b - ch, cw, ch), img,
                QRect(img.width() - cw, img.height() - ch, cw, ch));
    p.drawImage(QRect(l + cw, t, r - l - 2 * cw, ch), img, QRect(hw, 0, 1, ch));
    p.drawImage(QRect(l + cw, b - ch, r - l - 2 * cw, ch), img,
                QRect(hw, img.height() - ch, 1, ch));
    p.drawImage(QRect(l, t + ch, cw, b - t - 2 * ch), img, QRect(0, hh, cw, 1));
    p.drawImage(QRect(r - cw, t + ch, cw, b - t - 2 * ch), img, QRect(img.width() - cw, hh, cw, 1));
    p.drawImage(QRect(l + cw, t + ch, r - l - 2 * cw, b - t - 2 * ch), img, QRect(hw, hh, 1, 1));
}

void threeSlice(QPainter& p, const QImage& src, const QRect& dst) {
    const QImage img = keyed(src, kKeyColour);
    const int fw = img.width() / 3;
    p.drawImage(dst.topLeft(), img, QRect(0, 0, fw, img.height()));
    p.drawImage(QPoint(dst.right() + 1 - fw, dst.top()), img, QRect(2 * fw, 0, fw, img.height()));
    p.drawImage(QRect(dst.left() + fw, dst.top(), dst.width() - 2 * fw, img.height()), img,
                QRect(fw, 0, fw, img.height()));
}

struct TitleMetrics {
    int left, right, top;
    bool transparent;
};

TitleMetrics titleMetrics(Look look) {
    switch (look) {
    case Look::MacOS:
        return {3, -2, 4, false};
    case Look::WinXP:
        return {2, -2, 5, false};
    case Look::DeepBlue:
        return {0, 0, 2, false};
    case Look::Protein:
        return {0, 0, 2, true};
    case Look::BlueGlass:
        return {4, -3, 6, true};
    }
    return {};
}

} // namespace

std::vector<std::pair<QString, QImage>> previewSheets(const std::vector<SkinBitmap>& all) {
    std::vector<std::pair<QString, QImage>> sheets;
    for (Look look : kLooks) {
        const QString pre = lookPrefix(look) + QLatin1Char('_');
        const Palette& pal = palette(look);
        const int W = 340;
        QImage sheet(W + 2, 260, QImage::Format_RGB32);
        QPainter p(&sheet);
        // Window background, framed by a one-pixel border.
        sheet.fill(rgb(90, 90, 90).rgb());
        QRect client(1, 0, W, 259);
        if (look == Look::MacOS || look == Look::Protein)
            p.fillRect(client, QBrush(find(all, pre + QStringLiteral("FORM_BACKGROUND"))));
        else
            p.fillRect(client, pal.background);

        // Caption bar.
        const QImage left = find(all, pre + QStringLiteral("TITLE_LEFT"));
        const QImage right = find(all, pre + QStringLiteral("TITLE_RIGHT"));
        const QImage mid = find(all, pre + QStringLiteral("TITLE_CLIENT"));
        const int H = left.height();
        p.drawImage(1, 0, left);
        p.drawImage(1 + W - right.width(), 0, right);
        p.drawImage(QRect(1 + left.width(), 0, W - left.width() - right.width(), H), mid);
        const QImage btns = find(all, pre + QStringLiteral("TITLEBTN"));
        const TitleMetrics tm = titleMetrics(look);
        auto titleButton = [&](int frameNo) {
            QImage f = frame(btns, 18, frameNo - 1);
            return tm.transparent ? keyed(f, f.pixel(0, f.height() - 1)) : f;
        };
        int R = W + tm.right + 1;
        // close, maximize, minimize from the right; hover shown on maximize.
        for (int f : {16, 8, 13}) {
            QImage b = titleButton(f);
            R -= b.width() + 1;
            p.drawImage(1 + R, tm.top, b);
        }
        p.drawImage(1 + tm.left, tm.top, titleButton(1));
        // The other glyphs, pressed, in the second row for inspection.
        int x = 8;
        for (int f : {3, 6, 9, 12, 15, 18, 4, 10, 17}) {
            QImage b = titleButton(f);
            p.drawImage(x, H + 6, b);
            x += b.width() + 4;
        }
        int y = H + 36;

        // Push buttons 80 x 27 in three states.
        const QImage button = find(all, pre + QStringLiteral("BUTTON"));
        for (int i = 0; i < 3; ++i)
            nineSlice(p, frame(button, 3, i), QRect(12 + i * 96, y, 80, 27));
        y += 40;

        // Tab row: four tabs, the second active, then the bar.
        const QImage tab = find(all, pre + QStringLiteral("TAB"));
        const QImage line = find(all, pre + QStringLiteral("TAB_LINE"));
        const int ih = tab.height();
        QImage row(W - 16, ih + line.height(), QImage::Format_RGB32);
        row.fill(pal.background.rgb());
        {
            QPainter rp(&row);
            rp.drawImage(QRect(1, ih, row.width() - 2, line.height()), line);
            rp.fillRect(QRect(0, ih, 1, line.height()), pal.border);
            rp.fillRect(QRect(row.width() - 1, ih, 1, line.height()), pal.border);
            int tx = 10;
            for (int i = 0; i < 4; ++i) {
                const bool active = i == 1;
                threeSlice(rp, frame(tab, 2, active ? 0 : 1), QRect(tx, active ? 1 : 0, 64, ih));
                tx += 64;
            }
            const QImage scroll =
                look == Look::MacOS   ? find(all, QStringLiteral("MACOS_SCROLLBUTTON"))
                : look == Look::WinXP ? find(all, QStringLiteral("WINXP_SCROLLBUTTON"))
                                      : find(all, QStringLiteral("MORE_SCROLLBUTTON"));
            const int sw = scroll.width() / 4;
            const int sy =
                scroll.height() + 4 < row.height() ? (row.height() - scroll.height()) / 2 - 2 : 0;
            rp.drawImage(row.width() - sw - 2, sy, frame(scroll, 4, 1));
            rp.drawImage(row.width() - 2 * sw - 2, sy, frame(scroll, 4, 2));
        }
        p.drawImage(8, y, row);
        p.fillRect(QRect(8, y + row.height(), row.width(), 40), pal.background);
        p.setPen(pal.border);
        p.drawRect(QRect(8, y + row.height() - 1, row.width() - 1, 40));
        y += row.height() + 48;

        // Message icons and, for MacOS, the menu textures.
        const QImage icons = keyed(find(all, QStringLiteral("MSGDLG")), kKeyColour);
        p.drawImage(12, y, icons);
        p.drawImage(190, y, keyed(find(all, QStringLiteral("MAINICON")), kKeyColour));
        p.drawImage(QRect(230, y + 10, 16, 16),
                    keyed(find(all, QStringLiteral("MAINICON")), kKeyColour));
        if (look == Look::MacOS) {
            p.drawImage(QRect(250, y, 80, 22), find(all, QStringLiteral("MACOS_MENU_BAR")));
            p.drawImage(QRect(250, y + 22, 80, 20), find(all, QStringLiteral("MACOS_MENU_SELECT")),
                        QRect(0, 0, 1, 20));
            p.drawImage(254, y + 25, find(all, QStringLiteral("MENU_CHECKED")));
            p.drawImage(QRect(12 + 168 - 60, y + 44, 16, 17),
                        find(all, QStringLiteral("MACOS_COMBOBOX_BUTTON")));
        }
        p.end();
        sheets.emplace_back(QStringLiteral("SHEET_") + lookPrefix(look), sheet);
    }
    return sheets;
}

} // namespace skinpainter
