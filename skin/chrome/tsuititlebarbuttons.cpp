#include "tsuititlebarbuttons.h"

#include "tsuititlebar.h"

TsuiTitleBarButtons::TsuiTitleBarButtons(TsuiTitleBar* bar) : bar_(bar) {}

TsuiTitleBarButton* TsuiTitleBarButtons::Items(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[index].get();
}

int TsuiTitleBarButtons::IndexOf(const TsuiTitleBarButton* button) const {
    for (int i = 0; i < Count(); ++i) {
        if (items_[i].get() == button)
            return i;
    }
    return -1;
}

int TsuiTitleBarButtons::IndexOfType(TsuiTitleBarBtnType type) const {
    for (int i = 0; i < Count(); ++i) {
        if (items_[i]->ButtonType() == type)
            return i;
    }
    return -1;
}

TsuiTitleBarButton* TsuiTitleBarButtons::Add() {
    items_.push_back(std::make_unique<TsuiTitleBarButton>(this));
    itemChanged(items_.back().get());
    return items_.back().get();
}

void TsuiTitleBarButtons::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    itemChanged(nullptr);
}

void TsuiTitleBarButtons::Clear() {
    items_.clear();
    itemChanged(nullptr);
}

void TsuiTitleBarButtons::Assign(const TsuiTitleBarButtons& other) {
    if (&other == this)
        return;
    items_.clear();
    for (const auto& item : other.items_) {
        items_.push_back(std::make_unique<TsuiTitleBarButton>(this));
        items_.back()->Assign(*item);
    }
    itemChanged(nullptr);
}

void TsuiTitleBarButtons::itemChanged(TsuiTitleBarButton*) {
    if (bar_)
        bar_->buttonsChanged();
}

void TsuiTitleBarButtons::itemNeedsPictures(TsuiTitleBarButton* button) {
    if (bar_)
        bar_->LoadButtonPictures(*button);
}
