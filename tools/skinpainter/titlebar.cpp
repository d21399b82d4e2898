// Caption bars and their window buttons.

#include <algorithm>
#include <utility>

#include "skinparts.h"

namespace skinpainter {

namespace {

// Rows of a vertical gradient given by (row, colour) stops in increasing row order.
std::vector<QColor> gradientRows(int height, const std::vector<std::pair<int, QColor>>& stops) {
    std::vector<QColor> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        auto next =
            std::find_if(stops.begin(), stops.end(), [y](const auto& s) { return s.first >= y; });
        if (next == stops.end()) {
            rows[size_t(y)] = stops.back().second;
        } else if (next == stops.begin() || next->first == y) {
            rows[size_t(y)] = next->second;
        } else {
            const auto prev = next - 1;
            const qreal t = qreal(y - prev->first) / qreal(next->first - prev->first);
            rows[size_t(y)] = mix(prev->second, next->second, t);
        }
    }
    return rows;
}

struct SectionWidths {
    int left, client, right;
};

SectionWidths sectionWidths(Look look) {
    switch (look) {
    case Look::MacOS:
        return {48, 49, 48};
    case Look::WinXP:
        return {30, 10, 30};
    default:
        return {40, 10, 40};
    }
}

// Side of one frame of the window button strip, and the row of the bar it sits on.
int buttonSize(Look look) {
    switch (look) {
    case Look::MacOS:
        return 17;
    case Look::WinXP:
        return 21;
    default:
        return 19;
    }
}

int buttonTop(Look look) {
    switch (look) {
    case Look::MacOS:
        return 4;
    case Look::WinXP:
        return 5;
    case Look::BlueGlass:
        return 6;
    default:
        return 2;
    }
}

// Buttons of these looks are drawn with their bottom-left colour left out; the others are
// copied whole, so they carry the caption colours behind them.
bool buttonsKeyed(Look look) {
    return look == Look::Protein || look == Look::BlueGlass;
}

enum class State { Normal, Hover, Pressed };

struct ButtonLook {
    Gel gel;
    QColor glyph;
};

ButtonLook buttonLook(Look look, State state, bool close) {
    switch (look) {
    case Look::MacOS:
        if (state == State::Normal)
            return {{rgb(252, 252, 252), rgb(198, 198, 198), rgb(128, 128, 128), 0.7, 0.5, {}},
                    rgb(80, 80, 80)};
        if (close)
            return state == State::Hover
                       ? ButtonLook{{rgb(255, 170, 160),
                                     rgb(214, 62, 50),
                                     rgb(150, 40, 35),
                                     0.6,
                                     0.5,
                                     {}},
                                    rgb(255, 255, 255)}
                       : ButtonLook{
                             {rgb(200, 80, 70), rgb(150, 32, 28), rgb(110, 25, 20), 0.3, 0.5, {}},
                             rgb(240, 240, 240)};
        return state == State::Hover
                   ? ButtonLook{{rgb(178, 214, 250),
                                 rgb(52, 124, 212),
                                 rgb(36, 86, 166),
                                 0.6,
                                 0.5,
                                 {}},
                                rgb(255, 255, 255)}
                   : ButtonLook{
                         {rgb(84, 142, 214), rgb(30, 82, 164), rgb(24, 58, 124), 0.3, 0.5, {}},
                         rgb(240, 240, 240)};
    case Look::WinXP: {
        const QColor rim(240, 244, 255);
        if (close) {
            if (state == State::Normal)
                return {{rgb(238, 140, 104), rgb(204, 70, 38), rim, 0.45, 0.45, {}},
                        rgb(255, 255, 255)};
            if (state == State::Hover)
                return {{rgb(252, 172, 136), rgb(228, 92, 56), rim, 0.55, 0.45, {}},
                        rgb(255, 255, 255)};
            return {{rgb(168, 52, 28), rgb(214, 96, 62), rgb(220, 200, 190), 0.15, 0.45, {}},
                    rgb(255, 255, 255)};
        }
        if (state == State::Normal)
            return {{rgb(96, 152, 255), rgb(24, 84, 226), rim, 0.45, 0.45, {}}, rgb(255, 255, 255)};
        if (state == State::Hover)
            return {{rgb(134, 188, 255), rgb(48, 118, 246), rim, 0.55, 0.45, {}},
                    rgb(255, 255, 255)};
        return {{rgb(18, 66, 196), rgb(62, 122, 240), rgb(200, 214, 245), 0.15, 0.45, {}},
                rgb(255, 255, 255)};
    }
    case Look::DeepBlue:
        if (state == State::Normal)
            return {{rgb(76, 94, 168), rgb(30, 42, 104), rgb(118, 136, 204), 0.25, 0.5, {}},
                    rgb(232, 238, 255)};
        if (close && state == State::Hover)
            return {{rgb(206, 96, 102), rgb(142, 36, 46), rgb(232, 164, 168), 0.3, 0.5, {}},
                    rgb(255, 255, 255)};
        if (close)
            return {{rgb(96, 20, 28), rgb(150, 48, 56), rgb(200, 130, 136), 0.1, 0.5, {}},
                    rgb(255, 255, 255)};
        if (state == State::Hover)
            return {{rgb(108, 130, 212), rgb(50, 70, 156), rgb(172, 188, 242), 0.3, 0.5, {}},
                    rgb(255, 255, 255)};
        return {{rgb(18, 26, 68), rgb(44, 58, 126), rgb(100, 116, 182), 0.1, 0.5, {}},
                rgb(220, 228, 255)};
    case Look::Protein:
        if (state == State::Normal)
            return {{rgb(255, 255, 255), rgb(212, 215, 236), rgb(28, 30, 120), 0.5, 0.5, {}},
                    rgb(45, 48, 150)};
        if (close && state == State::Hover)
            return {{rgb(255, 255, 255), rgb(250, 186, 186), rgb(150, 30, 30), 0.5, 0.5, {}},
                    rgb(176, 28, 28)};
        if (close)
            return {{rgb(236, 150, 150), rgb(252, 214, 214), rgb(130, 20, 20), 0.2, 0.5, {}},
                    rgb(150, 20, 20)};
        // Lit from within under the pointer: a deeper blue body with a white glyph, so that
        // the hover stands apart from the pale normal face at a glance.
        if (state == State::Hover)
            return {{rgb(214, 222, 255), rgb(112, 128, 246), rgb(24, 26, 110), 0.5, 0.5, {}},
                    rgb(255, 255, 255)};
        return {{rgb(164, 170, 236), rgb(222, 226, 252), rgb(20, 22, 100), 0.2, 0.5, {}},
                rgb(28, 30, 140)};
    case Look::BlueGlass:
        if (close) {
            if (state == State::Normal)
                return {{rgb(255, 200, 192), rgb(214, 70, 60), rgb(120, 28, 24), 0.6, 0.5, {}},
                        rgb(255, 255, 255)};
            if (state == State::Hover)
                return {{rgb(255, 220, 212), rgb(240, 84, 70), rgb(140, 30, 26), 0.7, 0.5, {}},
                        rgb(255, 255, 255)};
            return {{rgb(170, 44, 36), rgb(230, 110, 96), rgb(100, 20, 16), 0.25, 0.5, {}},
                    rgb(255, 255, 255)};
        }
        if (state == State::Normal)
            return {{rgb(206, 226, 255), rgb(76, 128, 224), rgb(30, 52, 132), 0.6, 0.5, {}},
                    rgb(255, 255, 255)};
        if (state == State::Hover)
            return {{rgb(222, 240, 255), rgb(56, 150, 250), rgb(20, 60, 160), 0.7, 0.5, {}},
                    rgb(255, 255, 255)};
        return {{rgb(48, 86, 190), rgb(116, 166, 244), rgb(20, 40, 120), 0.25, 0.5, {}},
                rgb(255, 255, 255)};
    }
    return {};
}

QImage paintTitleButton(Look look, Glyph glyph, State state) {
    const int s = buttonSize(look);
    const int top = buttonTop(look);
    const std::vector<QColor> rows = titleRows(look);
    std::vector<QColor> behind;
    for (int y = top; y < top + s; ++y)
        behind.push_back(rows[size_t(std::min<int>(y, int(rows.size()) - 1))]);

    const ButtonLook bl = buttonLook(look, state, glyph == Glyph::Close);
    QImage layer = newLayer(s, s);
    QPainter p(&layer);
    QRectF shape;
    qreal radius = 0;
    switch (look) {
    case Look::MacOS:
    case Look::Protein:
        shape = QRectF(1, 1, s - 2, s - 2); // round buttons
        radius = (s - 2) / 2.0;
        break;
    case Look::WinXP:
        shape = QRectF(0, 0, s, s);
        radius = 3.5;
        break;
    case Look::DeepBlue:
        shape = QRectF(0, 0, s, s);
        radius = 2.5;
        break;
    case Look::BlueGlass:
        shape = QRectF(0, 0, s, s);
        radius = 6;
        break;
    }
    paintGel(p, shape, radius, bl.gel);

    // The glyph: an odd-sized cell in the middle, a little lower while pressed.
    const int cell = look == Look::WinXP ? 9 : 7;
    const int off = (s - cell) / 2 + (state == State::Pressed ? 1 : 0);
    const qreal weight = look == Look::WinXP ? 2.0 : 1.6;
    paintGlyph(p, glyph, QRectF(off, off, cell, cell), bl.glyph,
               glyph == Glyph::Close || glyph == Glyph::Help ? weight : weight - 0.6);
    p.end();
    return flatten(layer, rowsImage(s, behind), buttonsKeyed(look));
}

} // namespace

std::vector<QColor> titleRows(Look look) {
    switch (look) {
    case Look::MacOS: {
        // Light brushed grey with a fine pinstripe, a dark top edge and a shaded bottom line.
        auto rows = gradientRows(23, {{0, rgb(150, 150, 150)},
                                      {1, rgb(255, 255, 255)},
                                      {2, rgb(246, 246, 246)},
                                      {21, rgb(208, 208, 208)},
                                      {22, rgb(146, 146, 146)}});
        for (int y = 2; y < 21; ++y)
            if (y % 2)
                rows[size_t(y)] = rows[size_t(y)].darker(102);
        return rows;
    }
    case Look::WinXP:
        return gradientRows(29, {{0, rgb(100, 150, 250)},
                                 {1, rgb(64, 128, 246)},
                                 {3, rgb(24, 98, 236)},
                                 {5, rgb(10, 86, 230)},
                                 {14, rgb(0, 78, 224)},
                                 {24, rgb(0, 70, 212)},
                                 {27, rgb(0, 56, 190)},
                                 {28, rgb(0, 40, 150)}});
    case Look::DeepBlue:
        // A deep caption band (rows 0 to 22, where the buttons and the caption sit) over a
        // thin accent line and a steel-blue foot.
        return gradientRows(32, {{0, rgb(92, 108, 176)},
                                 {1, rgb(44, 58, 122)},
                                 {22, rgb(14, 22, 62)},
                                 {23, rgb(6, 10, 32)},
                                 {24, rgb(104, 126, 210)},
                                 {25, rgb(62, 76, 150)},
                                 {30, rgb(32, 42, 100)},
                                 {31, rgb(10, 14, 40)}});
    case Look::Protein:
        return gradientRows(23, {{0, rgb(150, 154, 244)},
                                 {1, rgb(122, 126, 236)},
                                 {11, rgb(76, 80, 218)},
                                 {12, rgb(52, 56, 200)},
                                 {21, rgb(42, 45, 178)},
                                 {22, rgb(24, 26, 116)}});
    case Look::BlueGlass:
        // Glass: a bright upper half, a sharp step to deep blue and a glow at the foot.
        return gradientRows(33, {{0, rgb(206, 224, 255)},
                                 {1, rgb(178, 206, 252)},
                                 {15, rgb(116, 158, 240)},
                                 {16, rgb(58, 100, 214)},
                                 {27, rgb(84, 136, 232)},
                                 {31, rgb(128, 178, 246)},
                                 {32, rgb(36, 64, 146)}});
    }
    return {};
}

QImage paintTitleLeft(Look look) {
    return rowsImage(sectionWidths(look).left, titleRows(look));
}

QImage paintTitleClient(Look look) {
    return rowsImage(sectionWidths(look).client, titleRows(look));
}

QImage paintTitleRight(Look look) {
    return rowsImage(sectionWidths(look).right, titleRows(look));
}

QImage paintTitleButtons(Look look) {
    // Six glyphs, each as normal, mouse-over and pressed picture.
    static const Glyph kOrder[] = {Glyph::ControlBox, Glyph::Help,     Glyph::Maximize,
                                   Glyph::Restore,    Glyph::Minimize, Glyph::Close};
    std::vector<QImage> frames;
    for (Glyph g : kOrder)
        for (State st : {State::Normal, State::Hover, State::Pressed})
            frames.push_back(paintTitleButton(look, g, st));
    return joinFrames(frames);
}

} // namespace skinpainter
