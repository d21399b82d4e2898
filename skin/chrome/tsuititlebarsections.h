#pragma once
// The picture strip of a title bar, in collection order.

#include <memory>
#include <vector>

#include "tsuititlebarsection.h"

class TsuiTitleBar;

class TsuiTitleBarSections {
public:
    explicit TsuiTitleBarSections(TsuiTitleBar* bar = nullptr);
    TsuiTitleBarSections(const TsuiTitleBarSections&) = delete;
    TsuiTitleBarSections& operator=(const TsuiTitleBarSections&) = delete;

    TsuiTitleBar* Bar() const { return bar_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TsuiTitleBarSection* Items(int index) const;
    int IndexOf(const TsuiTitleBarSection* section) const;
    TsuiTitleBarSection* Add();
    void Delete(int index);
    void Clear();
    void Assign(const TsuiTitleBarSections& other);

    void itemChanged();

private:
    TsuiTitleBar* bar_;
    std::vector<std::unique_ptr<TsuiTitleBarSection>> items_;
};
