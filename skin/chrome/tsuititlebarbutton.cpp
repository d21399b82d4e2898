#include "chrome/tsuititlebarbutton.h"

#include "chrome/refusalreport.h"
#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarbuttons.h"
#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBarButtons* collection) : collection_(collection) {}

int TsuiTitleBarButton::Index() const {
    return collection_ ? collection_->IndexOf(this) : -1;
}

bool TsuiTitleBarButton::setButtonType(TsuiTitleBarBtnType type) {
    if (type == TsuiTitleBarBtnType::suiControlBox && collection_) {
        for (int i = 0; i < collection_->Count(); ++i) {
            const TsuiTitleBarButton* other = collection_->Items(i);
            if (other != this && other->type_ == TsuiTitleBarBtnType::suiControlBox) {
                ReportRefusal(collection_->Bar(),
                              QStringLiteral("Sorry, only one button's ButtonType property can "
                                             "be \"TsuiTitleBarBtnType::suiControlBox\""));
                return false;
            }
        }
    }
    type_ = type;
    if (collection_)
        collection_->itemNeedsPictures(this);
    changed();
    return true;
}

void TsuiTitleBarButton::setTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    drawnValid_ = {};
    changed();
}

void TsuiTitleBarButton::setTop(int top) {
    if (top == top_)
        return;
    top_ = top;
    changed();
}

void TsuiTitleBarButton::setControlBoxMenu(QMenu* menu) {
    controlBoxMenu_ = menu;
    changed();
}

void TsuiTitleBarButton::setVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    changed();
}

void TsuiTitleBarButton::setPicture(Picture which, const QImage& image) {
    pictures_[which] = image;
    drawnValid_ = {};
    changed();
}

const QImage& TsuiTitleBarButton::drawn(Picture which, qreal ratio) const {
    const std::size_t set = ratio > 1 ? 1 : 0;
    if (!drawnValid_[set]) {
        for (std::size_t i = 0; i < 3; ++i) {
            const QImage& picture = pictures_[i];
            const QImage shown = SkinImageForRatio(picture, ratio);
            // The key colour is read from the 1x picture, whose pixels the look defines.
            drawn_[set][i] = transparent_ && !picture.isNull()
                                 ? MaskedWithKey(shown, picture.pixel(0, picture.height() - 1))
                                 : shown;
        }
        drawnValid_[set] = true;
    }
    return drawn_[set][which];
}

void TsuiTitleBarButton::Assign(const TsuiTitleBarButton& other) {
    visible_ = other.visible_;
    type_ = other.type_;
    transparent_ = other.transparent_;
    top_ = other.top_;
    pictures_ = other.pictures_;
    controlBoxMenu_ = other.controlBoxMenu_;
    drawnValid_ = {};
    changed();
}

void TsuiTitleBarButton::changed() {
    if (collection_)
        collection_->itemChanged(this);
}
