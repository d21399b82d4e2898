#pragma once
// An owned, ordered list of a title bar's items (its buttons, its picture sections),
// told to the bar on every change. Derived is the collection class itself: it gives its
// items to construct and receives collectionChanged(item) after every change (the new
// item after Add, null after Delete, Clear and Assign).

#include <memory>
#include <vector>

class TsuiTitleBar;

template <class Item, class Derived> class TitleBarCollection {
public:
    // `bar` is notified of every change; null for a free-standing copy.
    explicit TitleBarCollection(TsuiTitleBar* bar) : bar_(bar) {}
    TitleBarCollection(const TitleBarCollection&) = delete;
    TitleBarCollection& operator=(const TitleBarCollection&) = delete;

    TsuiTitleBar* Bar() const { return bar_; }
    int Count() const { return static_cast<int>(items_.size()); }
    Item* Items(int index) const {
        if (index < 0 || index >= Count())
            return nullptr;
        return items_[static_cast<std::size_t>(index)].get();
    }
    int IndexOf(const Item* item) const {
        for (int i = 0; i < Count(); ++i) {
            if (items_[static_cast<std::size_t>(i)].get() == item)
                return i;
        }
        return -1;
    }
    Item* Add() {
        items_.push_back(std::make_unique<Item>(self()));
        self()->collectionChanged(items_.back().get());
        return items_.back().get();
    }
    void Delete(int index) {
        if (index < 0 || index >= Count())
            return;
        items_.erase(items_.begin() + index);
        self()->collectionChanged(nullptr);
    }
    void Clear() {
        items_.clear();
        self()->collectionChanged(nullptr);
    }
    // Replaces the items with copies of the other collection's.
    void Assign(const Derived& other) {
        if (&other == self())
            return;
        items_.clear();
        for (const auto& item : other.items_) {
            items_.push_back(std::make_unique<Item>(self()));
            items_.back()->Assign(*item);
        }
        self()->collectionChanged(nullptr);
    }

protected:
    ~TitleBarCollection() = default;

    Derived* self() { return static_cast<Derived*>(this); }
    const Derived* self() const { return static_cast<const Derived*>(this); }

    TsuiTitleBar* bar_;
    std::vector<std::unique_ptr<Item>> items_;
};
