#pragma once
// Push button of the skinned control library: the three-state "ButtonImage" of its look
// stretched over the whole face, the parent's background behind a transparent skin, the
// focus mark of its look, the caption and an optional glyph beside it.

#include <QImage>

#include "controls/tsuicustombutton.h"
#include "look/tsuiskinned.h"

class TsuiButton : public TsuiCustomButton, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QImage Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(tsuibutton::TButtonLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(uint ResHandle READ ResHandle WRITE setResHandle)

public:
    // A new button is 80 x 27 and takes the look of its owner window's frame.
    explicit TsuiButton(QWidget* owner = nullptr);

    // One image, or two side by side (normal, disabled) when twice as wide as high. Its
    // pixel (0, 0) is its transparent colour.
    QImage Glyph() const { return glyph_; }
    void setGlyph(const QImage& glyph);
    TButtonLayout Layout() const { return layout_; }
    void setLayout(TButtonLayout layout);
    int Spacing() const { return spacing_; }
    void setSpacing(int spacing);
    // Kept for window descriptions: always 0, writing it has no effect.
    uint ResHandle() const { return 0; }
    void setResHandle(uint) {}

protected:
    // Transparent follows the look ("ButtonTransparentBool"), overwriting a hand-set value.
    void styleUpdated(const SkinLook& look) override;
    QImage stateFrame(ButtonState state) const override;
    bool stretchesSkin() const override { return true; }
    QSize skinStripSize() const override;
    // MacOS and BlueGlass mark the focus with a bold caption instead of a dotted rectangle.
    bool marksFocusBold() const override;
    ButtonFace face() const override;

private:
    QImage glyph_;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int spacing_ = 4;
};
