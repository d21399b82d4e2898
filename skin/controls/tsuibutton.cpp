#include "controls/tsuibutton.h"
#include "look/looktraits.h"

TsuiButton::TsuiButton(QWidget* owner) : TsuiCustomButton(owner), TsuiSkinned(this, owner) {
    resize(80, 27);
    styleUpdated(look());
}

void TsuiButton::setGlyph(const QImage& glyph) {
    glyph_ = glyph;
    update();
}

void TsuiButton::setLayout(TButtonLayout layout) {
    layout_ = layout;
    update();
}

void TsuiButton::setSpacing(int spacing) {
    spacing_ = spacing;
    update();
}

void TsuiButton::styleUpdated(const SkinLook& look) {
    setTransparent(look.flag(SkinBool::ButtonTransparent));
    applyAutoSize();
}

QImage TsuiButton::stateFrame(ButtonState state) const {
    const SkinStrip<ButtonFrame> strip = look().strip<SkinImage::Button>();
    switch (state) {
    case ButtonState::Hover:
        return strip.frame(ButtonFrame::Hover);
    case ButtonState::Pressed:
        return strip.frame(ButtonFrame::Pressed);
    case ButtonState::Normal:
    case ButtonState::Disabled:
        break;
    }
    return strip.frame(ButtonFrame::Normal);
}

QSize TsuiButton::skinStripSize() const {
    return look().strip<SkinImage::Button>().whole().size();
}

bool TsuiButton::marksFocusBold() const {
    return look().traits().boldFocusCaption;
}

ButtonFace TsuiButton::face() const {
    ButtonFace face = TsuiCustomButton::face();
    face.glyph = glyph_;
    face.layout = layout_;
    face.spacing = spacing_;
    return face;
}
