#include "tsuititlebarbutton.h"

#include "drawingoperations.h"
#include "refusalreport.h"
#include "tsuititlebar.h"
#include "tsuititlebarbuttons.h"

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBarButtons* collection) : collection_(collection) {}

int TsuiTitleBarButton::Index() const {
    return collection_ ? collection_->IndexOf(this) : -1;
}

void TsuiTitleBarButton::setUIStyle(TsuiUIStyle style) {
    style_ = style;
    if (collection_)
        collection_->itemNeedsPictures(this);
    changed();
}

bool TsuiTitleBarButton::setButtonType(TsuiTitleBarBtnType type) {
    if (type == suiControlBox && collection_) {
        for (int i = 0; i < collection_->Count(); ++i) {
            const TsuiTitleBarButton* other = collection_->Items(i);
            if (other != this && other->type_ == suiControlBox) {
                ReportRefusal(collection_->Bar(),
                              QStringLiteral("Sorry, only one button's ButtonType property can "
                                             "be \"suiControlBox\""));
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
    drawnValid_ = false;
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
    drawnValid_ = false;
    changed();
}

const QImage& TsuiTitleBarButton::drawn(Picture which) const {
    if (!drawnValid_) {
        for (int i = 0; i < 3; ++i) {
            const QImage& picture = pictures_[i];
            drawn_[i] = transparent_ && !picture.isNull()
                            ? MaskedWithKey(picture, picture.pixel(0, picture.height() - 1))
                            : picture;
        }
        drawnValid_ = true;
    }
    return drawn_[which];
}

void TsuiTitleBarButton::Assign(const TsuiTitleBarButton& other) {
    visible_ = other.visible_;
    type_ = other.type_;
    transparent_ = other.transparent_;
    top_ = other.top_;
    style_ = other.style_;
    pictures_ = other.pictures_;
    controlBoxMenu_ = other.controlBoxMenu_;
    drawnValid_ = false;
    changed();
}

void TsuiTitleBarButton::changed() {
    if (collection_)
        collection_->itemChanged(this);
}
