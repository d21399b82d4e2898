#pragma once
// The buttons of a title bar, in the order in which they are laid out from the right.

#include "chrome/titlebarcollection.h"
#include "chrome/tsuititlebarbutton.h"

class TsuiTitleBarButtons : public TitleBarCollection<TsuiTitleBarButton, TsuiTitleBarButtons> {
public:
    explicit TsuiTitleBarButtons(TsuiTitleBar* bar = nullptr) : TitleBarCollection(bar) {}

    // The first button of this type; -1 when there is none.
    int IndexOfType(TsuiTitleBarBtnType type) const;

    // Called by the items: the bar reloads pictures and repaints.
    void itemChanged(TsuiTitleBarButton* button);
    void itemNeedsPictures(TsuiTitleBarButton* button);

private:
    friend class TitleBarCollection;
    void collectionChanged(TsuiTitleBarButton* button) { itemChanged(button); }
};
