// Push buttons, tabs, scroll and combo box buttons, and the controls that only theme files use.

#include <cmath>

#include "skinparts.h"

namespace skinpainter {

QString lookPrefix(Look look) {
    switch (look) {
    case Look::MacOS:
        return QStringLiteral("MACOS");
    case Look::WinXP:
        return QStringLiteral("WINXP");
    case Look::DeepBlue:
        return QStringLiteral("DEEPBLUE");
    case Look::Protein:
        return QStringLiteral("PROTEIN");
    case Look::BlueGlass:
        return QStringLiteral("BLUEGLASS");
    }
    return {};
}

const Palette& palette(Look look) {
    // background is each look's window colour, scrollTrack its scroll bar colour.
    static const Palette kMacOS{rgb(231, 231, 231), rgb(254, 254, 254),
                                rgb(214, 214, 214), rgb(127, 127, 127),
                                rgb(186, 218, 252), rgb(57, 115, 196),
                                rgb(30, 76, 150),   rgb(64, 64, 64),
                                rgb(201, 201, 201), 0.6};
    static const Palette kWinXP{rgb(239, 235, 222), rgb(255, 255, 255),
                                rgb(228, 226, 216), rgb(28, 80, 140),
                                rgb(150, 190, 255), rgb(49, 105, 198),
                                rgb(0, 44, 200),    rgb(36, 64, 140),
                                rgb(249, 249, 249), 0.0};
    static const Palette kDeepBlue{rgb(232, 232, 232), rgb(240, 244, 252),
                                   rgb(190, 200, 228), rgb(30, 40, 95),
                                   rgb(120, 130, 214), rgb(68, 74, 160),
                                   rgb(30, 36, 100),   rgb(24, 32, 84),
                                   rgb(245, 245, 245), 0.3};
    static const Palette kProtein{rgb(251, 251, 251), rgb(255, 255, 255),
                                  rgb(232, 233, 239), rgb(150, 154, 172),
                                  rgb(128, 132, 236), rgb(45, 48, 196),
                                  rgb(28, 30, 140),   rgb(45, 48, 130),
                                  rgb(245, 245, 245), 0.0};
    static const Palette kBlueGlass{rgb(231, 231, 231), rgb(226, 238, 255),
                                    rgb(136, 180, 242), rgb(50, 80, 170),
                                    rgb(176, 176, 255), rgb(94, 94, 236),
                                    rgb(44, 44, 170),   rgb(30, 50, 120),
                                    rgb(244, 244, 244), 0.65};
    switch (look) {
    case Look::MacOS:
        return kMacOS;
    case Look::WinXP:
        return kWinXP;
    case Look::DeepBlue:
        return kDeepBlue;
    case Look::Protein:
        return kProtein;
    case Look::BlueGlass:
        return kBlueGlass;
    }
    return kDeepBlue;
}

namespace {

// A raised face in the look's plain colours.
Gel faceGel(const Palette& pal) {
    return {pal.faceTop, pal.faceBottom, pal.border, pal.gloss, 0.5, {}};
}

// The same face lit by the look's accent, as under the mouse or selected.
Gel accentGel(const Palette& pal) {
    return {pal.accentTop, pal.accent, pal.accentDark, pal.gloss, 0.5, {}};
}

} // namespace

// ---------------------------------------------------------------------------------------
// Push buttons: normal, mouse-over and pressed side by side. The button is stretched from
// the frame's middle row and column, so every frame keeps its rounding in the quarters.

QImage paintButton(Look look) {
    const Palette& pal = palette(look);
    QSize frame;
    qreal radius = 3;
    bool keyed = false; // the corners are masked only in looks with transparent buttons
    Gel states[3];
    switch (look) {
    case Look::MacOS:
        frame = {84, 23};
        radius = 9.5;
        keyed = true;
        states[0] = {rgb(255, 255, 255), rgb(214, 214, 214), rgb(138, 138, 138), 0.55, 0.45, {}};
        states[1] = {rgb(206, 230, 253), rgb(110, 170, 234), rgb(64, 114, 186), 0.6, 0.45, {}};
        states[2] = {rgb(112, 164, 228), rgb(168, 208, 246), rgb(40, 88, 160), 0.25, 0.45, {}};
        break;
    case Look::WinXP:
        frame = {18, 21};
        radius = 3;
        states[0] = {rgb(255, 255, 255), rgb(230, 228, 218), rgb(0, 60, 116), 0.0, 0.5, {}};
        states[1] = {rgb(255, 255, 255), rgb(230, 228, 218), rgb(0, 60, 116), 0.0, 0.5,
                     rgb(248, 178, 48)};
        states[2] = {rgb(222, 220, 208), rgb(246, 245, 238), rgb(0, 60, 116), 0.0, 0.5, {}};
        break;
    case Look::DeepBlue:
        frame = {74, 21};
        radius = 2.5;
        states[0] = {rgb(240, 244, 252), rgb(188, 198, 228), rgb(30, 40, 95), 0.3, 0.5, {}};
        states[1] = {rgb(248, 250, 255), rgb(170, 190, 244), rgb(68, 74, 160), 0.4, 0.5,
                     rgb(200, 212, 250)};
        states[2] = {rgb(156, 172, 218), rgb(204, 214, 240), rgb(30, 40, 95), 0.1, 0.5, {}};
        break;
    case Look::Protein:
        frame = {74, 21};
        radius = 3;
        states[0] = {rgb(255, 255, 255), rgb(230, 231, 238), rgb(150, 154, 172), 0.0, 0.5, {}};
        states[1] = {rgb(255, 255, 255), rgb(220, 223, 250), rgb(45, 48, 196), 0.0, 0.5, {}};
        states[2] = {rgb(206, 209, 240), rgb(240, 241, 250), rgb(45, 48, 196), 0.0, 0.5, {}};
        break;
    case Look::BlueGlass:
        frame = {77, 27};
        radius = 9;
        keyed = true;
        states[0] = {rgb(226, 238, 255), rgb(128, 174, 240), rgb(50, 80, 170), 0.65, 0.5, {}};
        states[1] = {rgb(236, 246, 255), rgb(96, 178, 252), rgb(30, 90, 200), 0.75, 0.5, {}};
        states[2] = {rgb(96, 142, 224), rgb(168, 204, 250), rgb(30, 55, 140), 0.3, 0.5, {}};
        break;
    }
    std::vector<QImage> frames;
    for (const Gel& g : states) {
        QImage layer = newLayer(frame.width(), frame.height());
        QPainter p(&layer);
        paintGel(p, QRectF(0, 0, frame.width(), frame.height()), radius, g);
        p.end();
        frames.push_back(flatten(layer, pal.background, keyed));
    }
    return joinFrames(frames);
}

// ---------------------------------------------------------------------------------------
// Tabs: the active tab, then the inactive one. Each frame is cut in three (left cap,
// stretched middle, right cap); the rounded top corners are fuchsia and the bottom is open,
// standing on the tab line.

QImage paintTab(Look look) {
    const Palette& pal = palette(look);
    QSize frame;
    qreal radius = 3;
    Gel active, inactive;
    QColor stripeTop, stripeBottom; // an accent along the active tab's top, where a look has one
    switch (look) {
    case Look::MacOS:
        frame = {18, 27};
        radius = 5.5;
        active = {rgb(214, 234, 254), rgb(152, 196, 244), rgb(82, 118, 170), 0.5, 0.5, {}};
        inactive = {rgb(252, 252, 252), rgb(210, 210, 210), rgb(140, 140, 140), 0.4, 0.5, {}};
        break;
    case Look::WinXP:
        frame = {9, 18};
        radius = 2.5;
        active = {rgb(255, 255, 255), rgb(252, 252, 250), rgb(145, 155, 156), 0.0, 0.5, {}};
        inactive = {rgb(255, 255, 255), rgb(230, 228, 218), rgb(145, 155, 156), 0.0, 0.5, {}};
        stripeTop = rgb(230, 144, 30);
        stripeBottom = rgb(255, 200, 60);
        break;
    case Look::DeepBlue:
        frame = {6, 17};
        radius = 2;
        active = {rgb(246, 248, 255), rgb(208, 216, 240), rgb(30, 40, 95), 0.0, 0.5, {}};
        inactive = {rgb(176, 188, 222), rgb(136, 150, 200), rgb(30, 40, 95), 0.0, 0.5, {}};
        break;
    case Look::Protein:
        frame = {9, 17};
        radius = 3;
        active = {rgb(255, 255, 255), rgb(255, 255, 255), rgb(150, 154, 172), 0.0, 0.5, {}};
        inactive = {rgb(246, 246, 249), rgb(224, 225, 233), rgb(150, 154, 172), 0.0, 0.5, {}};
        stripeTop = rgb(45, 48, 196);
        stripeBottom = rgb(112, 116, 226);
        break;
    case Look::BlueGlass:
        frame = {9, 17};
        radius = 4;
        active = {rgb(230, 242, 255), rgb(140, 186, 246), rgb(50, 80, 170), 0.6, 0.5, {}};
        inactive = {rgb(246, 246, 250), rgb(200, 205, 220), rgb(110, 120, 150), 0.5, 0.5, {}};
        break;
    }
    std::vector<QImage> frames;
    for (int i = 0; i < 2; ++i) {
        QImage layer = newLayer(frame.width(), frame.height());
        QPainter p(&layer);
        const QRectF box(0, 0, frame.width(), frame.height());
        paintGel(p, box, radius, i == 0 ? active : inactive, true);
        if (i == 0 && stripeTop.isValid()) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setClipPath(topRoundedBox(box.adjusted(0.5, 0.5, -0.5, 0), radius));
            p.fillRect(QRectF(0, 0, frame.width(), 2), stripeTop);
            p.fillRect(QRectF(0, 2, frame.width(), 1), stripeBottom);
        }
        p.end();
        frames.push_back(flatten(layer, pal.background, true));
    }
    return joinFrames(frames);
}

// The bar under the tabs, stretched across the row: all columns are equal.
QImage paintTabLine(Look look) {
    switch (look) {
    case Look::MacOS:
        return rowsImage(17, {rgb(127, 127, 127), rgb(152, 196, 244), rgb(140, 188, 240),
                              rgb(128, 178, 236), rgb(118, 170, 232), rgb(108, 160, 226),
                              rgb(82, 118, 170)});
    case Look::WinXP:
        return rowsImage(8, {rgb(145, 155, 156)});
    case Look::DeepBlue:
        return rowsImage(5, {rgb(30, 40, 95), rgb(96, 106, 196), rgb(68, 74, 160), rgb(50, 56, 130),
                             rgb(30, 40, 95)});
    case Look::Protein:
        return rowsImage(10, {rgb(150, 154, 172), rgb(255, 255, 255), rgb(247, 247, 251),
                              rgb(238, 239, 246), rgb(45, 48, 196)});
    case Look::BlueGlass:
        return rowsImage(10, {rgb(50, 80, 170), rgb(140, 186, 246), rgb(118, 168, 240),
                              rgb(96, 150, 232), rgb(50, 80, 170)});
    }
    return {};
}

// ---------------------------------------------------------------------------------------
// Tab row scroll buttons: right normal, right mouse-over, left normal, left mouse-over.

QImage paintScrollButton(Look look) {
    QSize frame(18, 18);
    Gel normal, hover;
    QColor arrow, arrowHover;
    QColor behind;
    qreal radius = 3;
    switch (look) {
    case Look::MacOS:
        behind = palette(look).background;
        radius = 4;
        normal = {rgb(252, 252, 252), rgb(208, 208, 208), rgb(140, 140, 140), 0.5, 0.5, {}};
        hover = {rgb(190, 222, 254), rgb(70, 138, 220), rgb(40, 92, 170), 0.6, 0.5, {}};
        arrow = rgb(70, 70, 70);
        arrowHover = rgb(255, 255, 255);
        break;
    case Look::WinXP:
        behind = palette(look).background;
        radius = 2.5;
        normal = {rgb(204, 222, 255), rgb(152, 186, 246), rgb(122, 152, 212), 0.3, 0.5, {}};
        hover = {rgb(224, 236, 255), rgb(176, 208, 255), rgb(90, 130, 220), 0.4, 0.5, {}};
        arrow = rgb(40, 70, 150);
        arrowHover = rgb(20, 50, 140);
        break;
    default:
        // One pair for DeepBlue, Protein and BlueGlass: neutral steel that suits all three.
        frame = {18, 17};
        behind = rgb(236, 236, 236);
        radius = 2.5;
        normal = {rgb(250, 251, 254), rgb(206, 211, 226), rgb(108, 116, 150), 0.3, 0.5, {}};
        hover = {rgb(236, 241, 255), rgb(166, 182, 240), rgb(60, 68, 160), 0.4, 0.5, {}};
        arrow = rgb(40, 48, 90);
        arrowHover = rgb(28, 34, 120);
        break;
    }
    std::vector<QImage> frames;
    for (Glyph g : {Glyph::ArrowRight, Glyph::ArrowLeft}) {
        for (int h = 0; h < 2; ++h) {
            QImage layer = newLayer(frame.width(), frame.height());
            QPainter p(&layer);
            paintGel(p, QRectF(0, 0, frame.width(), frame.height()), radius, h ? hover : normal);
            const QRectF cell(frame.width() / 2.0 - 4, frame.height() / 2.0 - 4, 8, 8);
            paintGlyph(p, g, cell, h ? arrowHover : arrow, 1);
            p.end();
            frames.push_back(flatten(layer, behind, false));
        }
    }
    return joinFrames(frames);
}

// The arrow button of a combo box, stretched over the button area. The MacOS one is only
// the face (the control draws its arrow on it); the WinXP one carries its own arrow.
QImage paintComboBoxButton(Look look) {
    if (look == Look::WinXP) {
        QImage layer = newLayer(16, 18);
        QPainter p(&layer);
        paintGel(p, QRectF(0, 0, 16, 18), 2.5,
                 {rgb(196, 216, 255), rgb(132, 170, 246), rgb(150, 178, 232), 0.35, 0.5, {}});
        paintGlyph(p, Glyph::ArrowDown, QRectF(4, 6, 8, 7), rgb(36, 60, 130), 1);
        p.end();
        return flatten(layer, rgb(255, 255, 255), false);
    }
    QImage layer = newLayer(16, 17);
    QPainter p(&layer);
    paintGel(p, QRectF(0, 0, 16, 17), 0,
             {rgb(220, 238, 255), rgb(136, 186, 244), QColor(), 0.55, 0.5, {}});
    p.fillRect(QRect(0, 0, 1, 17), rgb(127, 127, 127)); // separates it from the text field
    p.end();
    return flatten(layer, rgb(255, 255, 255), false);
}

// ---------------------------------------------------------------------------------------
// Elements of the theme vocabulary that no window of this program shows. Their frame
// layouts are documented beside the bitmaps.

// Check box: unchecked, checked, unchecked disabled, checked disabled; 13 x 13 frames.
QImage paintCheckBox(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    for (int i = 0; i < 4; ++i) {
        const bool checked = i % 2 == 1;
        const bool disabled = i >= 2;
        QImage layer = newLayer(13, 13);
        QPainter p(&layer);
        Gel g = faceGel(pal);
        if (disabled)
            g = {rgb(236, 236, 236), rgb(224, 224, 224), rgb(170, 170, 170), 0, 0.5, {}};
        paintGel(p, QRectF(0, 0, 13, 13), 2, g);
        if (checked)
            paintGlyph(p, Glyph::Check, QRectF(2, 2, 9, 9),
                       disabled ? rgb(160, 160, 160) : pal.accentDark, 1.8);
        p.end();
        frames.push_back(flatten(layer, pal.background, false));
    }
    return joinFrames(frames);
}

// Radio button: as the check box, round, with a dot; outside the circle is fuchsia.
QImage paintRadioButton(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    for (int i = 0; i < 4; ++i) {
        const bool checked = i % 2 == 1;
        const bool disabled = i >= 2;
        QImage layer = newLayer(13, 13);
        QPainter p(&layer);
        Gel g = faceGel(pal);
        if (disabled)
            g = {rgb(236, 236, 236), rgb(224, 224, 224), rgb(170, 170, 170), 0, 0.5, {}};
        paintGel(p, QRectF(0, 0, 13, 13), 6.5, g);
        if (checked) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(disabled ? rgb(160, 160, 160) : pal.accent);
            p.drawEllipse(QRectF(3.5, 3.5, 6, 6));
        }
        p.end();
        frames.push_back(flatten(layer, pal.background, true));
    }
    return joinFrames(frames);
}

// Progress bar: the empty trough, then the filled part; 10 x 16 frames, stretched.
QImage paintProgressBar(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    {
        QImage layer = newLayer(10, 16);
        QPainter p(&layer);
        paintGel(p, QRectF(0, 0, 10, 16), 0,
                 {mix(pal.faceBottom, pal.border, 0.15), pal.faceTop, pal.border, 0, 0.5, {}});
        p.end();
        frames.push_back(flatten(layer, pal.background, false));
    }
    {
        QImage layer = newLayer(10, 16);
        QPainter p(&layer);
        paintGel(
            p, QRectF(0, 0, 10, 16), 0,
            {pal.accentTop, pal.accent, pal.accentDark, std::max<qreal>(pal.gloss, 0.35), 0.5, {}});
        p.end();
        frames.push_back(flatten(layer, pal.background, false));
    }
    return joinFrames(frames);
}

// Track bar groove: left cap, middle, right cap (5 x 6 each).
QImage paintTrackBarBar(Look look) {
    const Palette& pal = palette(look);
    QImage layer = newLayer(15, 6);
    QPainter p(&layer);
    paintGel(p, QRectF(0, 0, 15, 6), 2.5,
             {mix(pal.faceBottom, pal.border, 0.3), pal.faceTop, pal.border, 0, 0.5, {}});
    p.end();
    return flatten(layer, pal.background, false);
}

// Track bar thumb: normal, mouse-over, pressed; a tab pointing down (11 x 19 frames), or,
// for the vertical bar, pointing right (19 x 11 frames).
QImage paintTrackBarSlider(Look look, bool vertical) {
    const Palette& pal = palette(look);
    const int w = vertical ? 19 : 11;
    const int h = vertical ? 11 : 19;
    std::vector<QImage> frames;
    for (int state = 0; state < 3; ++state) {
        QImage layer = newLayer(w, h);
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing, true);
        QPainterPath shape;
        if (vertical) {
            shape.moveTo(0.5, 1.5);
            shape.lineTo(12.5, 1.5);
            shape.lineTo(18.5, 5.5);
            shape.lineTo(12.5, 9.5);
            shape.lineTo(0.5, 9.5);
            shape.closeSubpath();
        } else {
            shape.moveTo(1.5, 0.5);
            shape.lineTo(9.5, 0.5);
            shape.lineTo(9.5, 12.5);
            shape.lineTo(5.5, 18.5);
            shape.lineTo(1.5, 12.5);
            shape.closeSubpath();
        }
        const Gel g = state == 0 ? faceGel(pal) : accentGel(pal);
        QLinearGradient fill(0, 0, vertical ? 0 : w, vertical ? h : 0);
        fill.setColorAt(0, state == 2 ? g.bottom : g.top);
        fill.setColorAt(1, state == 2 ? g.top : g.bottom);
        p.fillPath(shape, fill);
        p.setPen(QPen(g.border, 1));
        p.drawPath(shape);
        p.end();
        frames.push_back(flatten(layer, pal.background, true));
    }
    return joinFrames(frames);
}

// Scroll bar arrow buttons, 16 x 16 frames: up, down, left, right, each as normal,
// mouse-over and pressed.
QImage paintScrollBarButton(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    for (Glyph g : {Glyph::ArrowUp, Glyph::ArrowDown, Glyph::ArrowLeft, Glyph::ArrowRight}) {
        for (int state = 0; state < 3; ++state) {
            QImage layer = newLayer(16, 16);
            QPainter p(&layer);
            Gel gel = state == 0 ? faceGel(pal) : accentGel(pal);
            if (state == 2)
                std::swap(gel.top, gel.bottom);
            paintGel(p, QRectF(0, 0, 16, 16), 2, gel);
            paintGlyph(p, g, QRectF(4 + (state == 2), 4 + (state == 2), 8, 8),
                       state == 0 ? pal.glyph : rgb(255, 255, 255), 1);
            p.end();
            frames.push_back(flatten(layer, pal.scrollTrack, false));
        }
    }
    return joinFrames(frames);
}

// Scroll bar thumb: normal, mouse-over, pressed; 16 x 16 frames stretched from the middle,
// with a small grip.
QImage paintScrollBarThumb(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    for (int state = 0; state < 3; ++state) {
        QImage layer = newLayer(16, 16);
        QPainter p(&layer);
        Gel gel = state == 0 ? faceGel(pal) : accentGel(pal);
        if (state == 2)
            std::swap(gel.top, gel.bottom);
        paintGel(p, QRectF(0, 0, 16, 16), 3.5, gel);
        const QColor grip = state == 0 ? pal.border : pal.accentDark;
        for (int y = 5; y <= 10; y += 2)
            p.fillRect(QRect(5, y, 6, 1), grip);
        p.end();
        frames.push_back(flatten(layer, pal.scrollTrack, true));
    }
    return joinFrames(frames);
}

// Check marks of a check list box, flat on a white list: unchecked, checked, undecided
// (greyed check), disabled; 13 x 13 frames.
QImage paintCheckList(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    for (int i = 0; i < 4; ++i) {
        QImage layer = newLayer(13, 13);
        QPainter p(&layer);
        const bool disabled = i == 3;
        p.fillRect(QRect(0, 0, 13, 13), disabled ? rgb(170, 170, 170) : pal.border);
        p.fillRect(QRect(1, 1, 11, 11), disabled ? rgb(236, 236, 236) : rgb(255, 255, 255));
        if (i == 1)
            paintGlyph(p, Glyph::Check, QRectF(2, 2, 9, 9), pal.accentDark, 1.8);
        if (i == 2)
            paintGlyph(p, Glyph::Check, QRectF(2, 2, 9, 9), rgb(150, 150, 150), 1.8);
        p.end();
        frames.push_back(flatten(layer, rgb(255, 255, 255), false));
    }
    return joinFrames(frames);
}

// Side channel handle: the grip a folded side panel shows at the window edge; normal,
// mouse-over, pressed, 12 x 60 frames, rounded on the side facing the window.
QImage paintSideChannelHandle(Look look) {
    const Palette& pal = palette(look);
    std::vector<QImage> frames;
    for (int state = 0; state < 3; ++state) {
        QImage layer = newLayer(12, 60);
        QPainter p(&layer);
        Gel gel = state == 0 ? faceGel(pal) : accentGel(pal);
        if (state == 2)
            std::swap(gel.top, gel.bottom);
        // Square on the left (it hangs on the panel), rounded on the right.
        p.setClipRect(QRect(0, 0, 12, 60));
        paintGel(p, QRectF(-6, 0, 18, 60), 5, gel);
        p.setClipping(false);
        const QColor dot = state == 0 ? pal.border : rgb(255, 255, 255);
        for (int y = 22; y <= 36; y += 4)
            p.fillRect(QRect(5, y, 2, 2), dot);
        p.end();
        frames.push_back(flatten(layer, pal.background, false));
    }
    return joinFrames(frames);
}

// Side channel caption bar: left cap, stretched middle, right cap (10 x 22 each), in the
// colours of the look's window caption.
QImage paintSideChannelBar(Look look) {
    const std::vector<QColor> rows = titleRows(look);
    std::vector<QColor> scaled;
    for (int y = 0; y < 22; ++y)
        scaled.push_back(rows[size_t(y * int(rows.size()) / 22)]);
    QImage bar = rowsImage(30, scaled);
    QPainter p(&bar);
    const QColor edge = palette(look).border;
    p.fillRect(QRect(0, 0, 1, 22), edge);
    p.fillRect(QRect(29, 0, 1, 22), edge);
    return bar;
}

} // namespace skinpainter
