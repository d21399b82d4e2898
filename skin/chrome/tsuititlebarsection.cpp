#include "chrome/tsuititlebarsection.h"

#include "chrome/refusalreport.h"
#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarsections.h"

TsuiTitleBarSection::TsuiTitleBarSection(TsuiTitleBarSections* collection)
    : collection_(collection) {}

int TsuiTitleBarSection::Index() const {
    return collection_ ? collection_->IndexOf(this) : -1;
}

void TsuiTitleBarSection::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_ && !picture_.isNull())
        width_ = picture_.width();
    changed();
}

void TsuiTitleBarSection::setWidth(int width) {
    if (width == width_)
        return;
    width_ = width;
    changed();
}

bool TsuiTitleBarSection::setAlign(TsuiTitleBarAlign align) {
    if (align == suiClient && collection_) {
        for (int i = 0; i < collection_->Count(); ++i) {
            if (collection_->Items(i)->align_ == suiClient) {
                ReportRefusal(collection_->Bar(),
                              QStringLiteral("Sorry, only one section's Align property can be "
                                             "\"suiClient\""));
                return false;
            }
        }
    }
    align_ = align;
    changed();
    return true;
}

void TsuiTitleBarSection::setPicture(const QImage& picture) {
    picture_ = picture;
    if (autoSize_ && !picture_.isNull())
        width_ = picture_.width();
    changed();
}

void TsuiTitleBarSection::setStretch(bool stretch) {
    stretch_ = stretch;
    changed();
}

void TsuiTitleBarSection::Assign(const TsuiTitleBarSection& other) {
    width_ = other.width_;
    align_ = other.align_;
    picture_ = other.picture_;
    stretch_ = other.stretch_;
    autoSize_ = other.autoSize_;
    changed();
}

void TsuiTitleBarSection::changed() {
    if (collection_)
        collection_->itemChanged();
}
