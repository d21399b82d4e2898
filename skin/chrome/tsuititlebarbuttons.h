#pragma once
// The buttons of a title bar, in the order in which they are laid out from the right.

#include <memory>
#include <vector>

#include "tsuititlebarbutton.h"

class TsuiTitleBar;

class TsuiTitleBarButtons {
public:
    // `bar` is notified of every change; null for a free-standing copy.
    explicit TsuiTitleBarButtons(TsuiTitleBar* bar = nullptr);
    TsuiTitleBarButtons(const TsuiTitleBarButtons&) = delete;
    TsuiTitleBarButtons& operator=(const TsuiTitleBarButtons&) = delete;

    TsuiTitleBar* Bar() const { return bar_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TsuiTitleBarButton* Items(int index) const;
    int IndexOf(const TsuiTitleBarButton* button) const;
    // The first button of this type; -1 when there is none.
    int IndexOfType(TsuiTitleBarBtnType type) const;
    TsuiTitleBarButton* Add();
    void Delete(int index);
    void Clear();
    // Replaces the items with copies of the other collection's.
    void Assign(const TsuiTitleBarButtons& other);

    // Called by the items: the bar reloads pictures and repaints.
    void itemChanged(TsuiTitleBarButton* button);
    void itemNeedsPictures(TsuiTitleBarButton* button);

private:
    TsuiTitleBar* bar_;
    std::vector<std::unique_ptr<TsuiTitleBarButton>> items_;
};
