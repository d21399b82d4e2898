#include "controls/tabrowgeometry.h"

#include <algorithm>

#include "drawing/drawingoperations.h"

namespace tabrow {

int TabWidth(int captionWidth, bool emptyCaption) {
    return emptyCaption ? kEmptyTabWidth : captionWidth + kCaptionPadding;
}

TabRowLayout LayOutTabs(const TabRowInput& in) {
    TabRowLayout out;
    const int count = static_cast<int>(in.tabs.size());
    out.lastWhole = count - 1;
    // Where a cut tab ends: the left edge of the left scroll button.
    const int scrollLeft = in.rowWidth - 2 * in.scrollButtonWidth - kScrollButtonGap;
    int x = in.leftMargin;
    int limit = 0;
    int visibleCount = 0;
    bool clipped = false;
    for (int i = 0; i < count; ++i) {
        const bool recorded = i < kRecordedTabs;
        limit = i == count - 1 ? in.rowWidth - kLastTabRightRoom : scrollLeft;
        if (!in.tabs[i].visible) {
            if (recorded)
                out.widths.push_back(0);
            continue;
        }
        if (clipped)
            break;
        const int width = in.tabs[i].width;
        if (recorded)
            out.widths.push_back(width);
        ++visibleCount;
        if (visibleCount <= in.scrollOffset)
            continue;
        const bool active = i == in.tabIndex;
        PlacedTab tab{i, QRect(x, active ? 1 : 0, width, in.inactiveHeight), active, false};
        if (x + width > limit) {
            tab.rect.setWidth(std::max(0, scrollLeft - x));
            tab.clipped = true;
            clipped = true;
            out.lastWhole = i - 1;
            if (!active && recorded)
                out.widths.back() = tab.rect.width();
        }
        out.drawn.push_back(tab);
        x += width;
    }
    out.scrollButtonsShown = count > 0 && (limit < x || clipped);
    return out;
}

int ScrollIntoView(TabRowInput input) {
    const int index = input.tabIndex;
    const int count = static_cast<int>(input.tabs.size());
    if (index < 0 || index >= count || !input.tabs[static_cast<size_t>(index)].visible)
        return input.scrollOffset;
    // Visible tabs before the active one: the offset at which it is the first tab shown.
    int position = 0;
    for (int i = 0; i < index; ++i) {
        if (input.tabs[static_cast<size_t>(i)].visible)
            ++position;
    }
    // A tab scrolled out at the left comes back as the first one shown.
    if (position < input.scrollOffset)
        return position;
    // Scroll right a tab at a time until it is drawn whole; a tab wider than the row is
    // never whole and stops as the first one shown.
    int offset = input.scrollOffset;
    for (; offset < position; ++offset) {
        input.scrollOffset = offset;
        if (LayOutTabs(input).lastWhole >= index)
            break;
    }
    return offset;
}

int TabAt(const std::vector<int>& widths, int margin, int offset, QPoint point, int tabHeight) {
    if (!(0 < point.y() && point.y() < tabHeight))
        return -1;
    int left = margin;
    int seen = 0;
    for (int k = 0; k < static_cast<int>(widths.size()) && k < kRecordedTabs; ++k) {
        const int width = widths[k];
        if (width < 0)
            break;
        // The offset counts visible tabs, as the layout does; hidden ones have no width.
        if (width > 0 && ++seen <= offset)
            continue;
        if (left < point.x() && point.x() < left + width)
            return k;
        left += width;
    }
    return -1;
}

ScrollButtonRects ScrollButtons(int rowWidth, int rowHeight, QSize buttonSize) {
    const int w = buttonSize.width(), h = buttonSize.height();
    const int y = h + 4 < rowHeight ? (rowHeight - h) / 2 - 2 : 0;
    return {QRect(rowWidth - 2 * w - kScrollButtonGap, y, w, h),
            QRect(rowWidth - w - kScrollButtonGap, y, w, h)};
}

int ScrollHoverAt(const ScrollButtonRects& buttons, QPoint point) {
    int hover = 0;
    if (PtInRectInclusive(point, buttons.right))
        hover = 1;
    if (PtInRectInclusive(point, buttons.left))
        hover = -1;
    return hover;
}

QRect PageRect(QSize control, int rowHeight) {
    return QRect(kPageInset, rowHeight + kPageInset, control.width() - 2 * kPageInset,
                 control.height() - rowHeight - 2 * kPageInset);
}

} // namespace tabrow
