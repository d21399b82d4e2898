#pragma once
// The picture strip of a title bar, in collection order.

#include "chrome/titlebarcollection.h"
#include "chrome/tsuititlebarsection.h"

class TsuiTitleBarSections : public TitleBarCollection<TsuiTitleBarSection, TsuiTitleBarSections> {
public:
    explicit TsuiTitleBarSections(TsuiTitleBar* bar = nullptr) : TitleBarCollection(bar) {}

    // Called by the items: the bar lays its sections out again and repaints.
    void itemChanged();

private:
    friend class TitleBarCollection;
    void collectionChanged(TsuiTitleBarSection*) { itemChanged(); }
};
