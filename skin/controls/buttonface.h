#pragma once
// The face of a skinned push button and the free function that paints it, plus the pure
// placement rules it uses (glyph and caption origin, focus rectangle, auto size), so that
// the rules are testable without a widget.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace tsuibutton {
Q_NAMESPACE

// Where the glyph sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
Q_ENUM_NS(TButtonLayout)

} // namespace tsuibutton

using tsuibutton::TButtonLayout;

// Which skin frame a button shows and how its caption moves.
enum class ButtonState { Normal, Hover, Pressed, Disabled };

// A glyph holds two images side by side (normal, disabled) when its width is twice its
// height; the size of one image.
QSize ButtonGlyphImageSize(QSize glyph);
bool ButtonGlyphHasTwoImages(QSize glyph);

struct ButtonGlyphPlacement {
    QPoint glyph;
    QPoint caption;
};

// Glyph and caption origins for a button of `button` size, a caption of `text` size in
// the button's font, a glyph of `glyph` size (a two-image strip is taken as one image) and
// the gap `spacing`. Halves truncate toward zero.
ButtonGlyphPlacement PlaceButtonGlyph(TButtonLayout layout, QSize button, QSize text, QSize glyph,
                                      int spacing);

// The dotted focus rectangle: the client rectangle inset by `margin` on every side.
QRect ButtonFocusRect(QSize client, int margin);

// The size an auto-sized button takes from its whole three-frame skin strip: one frame
// wide, the strip's height; an empty strip counts as 74 x 21 frames.
QSize ButtonAutoSize(QSize strip);

// Everything a paint of the face needs. The background (parent or fill) is painted by the
// caller before.
struct ButtonFace {
    QSize size;
    ButtonState state = ButtonState::Normal;
    // The state's skin frame; null paints no skin.
    QImage skin;
    // Stretch the skin with nine-slice over the whole face; otherwise draw it unscaled at
    // (0, 0).
    bool stretchSkin = true;
    // Corners keyed out with fuchsia.
    bool skinTransparent = false;
    // A dotted rectangle inset by focusMargin.
    bool focusRect = false;
    int focusMargin = 2;
    // The caption drawn bold (the focus mark of some looks).
    bool boldCaption = false;
    QString caption;
    QFont font;
    QColor textColor = Qt::black;
    // Optional glyph with its layout.
    QImage glyph;
    TButtonLayout layout = TButtonLayout::blGlyphLeft;
    int spacing = 4;
};

// The caption as drawn: leading and trailing blanks and control characters removed.
QString ButtonVisibleCaption(const QString& caption);

void PaintButtonFace(QPainter& painter, const ButtonFace& face);
