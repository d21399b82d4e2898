#pragma once
// The geometry of a tab row as plain functions of plain values: tab widths, where each tab
// is drawn (the active one a pixel lower, the one that does not fit cut short), the scroll
// offset that brings the active tab into view, the two scroll buttons, the hit test and
// the page area below the row.
//
// Rectangles follow the skin's convention: QRect(x, y, w, h), Right one past the last
// pixel (see drawingoperations.h).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace tabrow {

// Widths are recorded for tabs 0 to 62 only: a list of 64 slots whose last one stays -1
// and ends it. A tab beyond is drawn but cannot be clicked.
inline constexpr int kRecordedTabs = 63;
// Tabs whose visibility can be switched off.
inline constexpr int kTabSlots = 64;
// Width of a tab without a caption; otherwise the caption's width plus the padding.
inline constexpr int kEmptyTabWidth = 80;
inline constexpr int kCaptionPadding = 20;
// Room kept free at the right of the row for the last tab.
inline constexpr int kLastTabRightRoom = 10;
// Gap between the scroll buttons and the row's right edge.
inline constexpr int kScrollButtonGap = 2;
// A page sits this far inside the page area on every side.
inline constexpr int kPageInset = 3;

int TabWidth(int captionWidth, bool emptyCaption);

struct TabInput {
    int width = 0; // TabWidth of its caption
    bool visible = true;
};

struct TabRowInput {
    int rowWidth = 0;
    int inactiveHeight = 0;    // height of the inactive tab image
    int scrollButtonWidth = 0; // width of one scroll button
    int leftMargin = 0;
    int tabIndex = -1; // active tab
    int scrollOffset = 0;
    std::vector<TabInput> tabs;
};

struct PlacedTab {
    int index = 0;
    QRect rect;
    bool active = false;  // drawn a pixel lower, from the active tab image
    bool clipped = false; // cut short at the scroll buttons
};

struct TabRowLayout {
    std::vector<PlacedTab> drawn;
    // Recorded widths, in tab order, for the tabs laid out before the row ran out of room
    // (at most kRecordedTabs): 0 for a hidden tab, the cut width for a clipped inactive
    // tab. The hit test reads these.
    std::vector<int> widths;
    int lastWhole = -1; // index of the last tab drawn whole
    bool scrollButtonsShown = false;
};

// Lays the tabs out from LeftMargin: hidden tabs take no room, the first scrollOffset
// visible tabs are scrolled out, the active tab is drawn at y 1 and the others at y 0,
// each inactiveHeight high. A tab whose right edge passes its limit (rowWidth - 10 for the
// last tab, the left scroll button's left edge for the others) is cut at the left scroll
// button and ends the row.
TabRowLayout LayOutTabs(const TabRowInput& input);

// The scroll offset at which the active tab is drawn whole: the given offset raised one
// visible tab at a time until it is (or until no tab is left to scroll out).
int ScrollIntoView(TabRowInput input);

// The tab under the point, or -1: starting at LeftMargin after the first `offset` visible
// tabs, tab k is hit when left < x < left + width and 0 < y < tabHeight (strictly, so a
// boundary between two tabs selects neither).
int TabAt(const std::vector<int>& widths, int margin, int offset, QPoint point, int tabHeight);

struct ScrollButtonRects {
    QRect left;
    QRect right;
};

// Both buttons at the right end of the row: the right one 2 pixels from the edge, the left
// one just before it; at the top of the row, or vertically centred and 2 pixels higher
// when the row is more than 4 pixels taller than a button.
ScrollButtonRects ScrollButtons(int rowWidth, int rowHeight, QSize buttonSize);

// -1 over the left button, 1 over the right one, else 0; edges count as inside, and the
// column the two share belongs to the left button.
int ScrollHoverAt(const ScrollButtonRects& buttons, QPoint point);

// Where a page goes inside a control of the given size below a row of the given height.
QRect PageRect(QSize control, int rowHeight);

} // namespace tabrow
