#include "tsuititlebarsections.h"

#include "tsuititlebar.h"

TsuiTitleBarSections::TsuiTitleBarSections(TsuiTitleBar* bar) : bar_(bar) {}

TsuiTitleBarSection* TsuiTitleBarSections::Items(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[index].get();
}

int TsuiTitleBarSections::IndexOf(const TsuiTitleBarSection* section) const {
    for (int i = 0; i < Count(); ++i) {
        if (items_[i].get() == section)
            return i;
    }
    return -1;
}

TsuiTitleBarSection* TsuiTitleBarSections::Add() {
    items_.push_back(std::make_unique<TsuiTitleBarSection>(this));
    itemChanged();
    return items_.back().get();
}

void TsuiTitleBarSections::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    itemChanged();
}

void TsuiTitleBarSections::Clear() {
    items_.clear();
    itemChanged();
}

void TsuiTitleBarSections::Assign(const TsuiTitleBarSections& other) {
    if (&other == this)
        return;
    items_.clear();
    for (const auto& item : other.items_) {
        items_.push_back(std::make_unique<TsuiTitleBarSection>(this));
        items_.back()->Assign(*item);
    }
    itemChanged();
}

void TsuiTitleBarSections::itemChanged() {
    if (bar_)
        bar_->sectionsChanged();
}
