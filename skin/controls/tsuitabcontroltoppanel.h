#pragma once
// The tab row of a TsuiTab: skin-drawn tabs from LeftMargin, the active one a pixel lower
// and merged with the bar beneath; two arrow buttons at the right scroll the row by whole
// tabs when the tabs do not fit. A left click on a tab selects it after asking the owner's
// OnChanging; changes made by program code are not asked.
//
// Every geometry question is answered from the present state (tabrowgeometry.h), so mouse
// handling always agrees with what is drawn.

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <array>

#include "controls/tabrowgeometry.h"
#include "look/tsuiskinned.h"

class TsuiTab;

class TsuiTabControlTopPanel : public QWidget, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    Q_PROPERTY(QStringList Tabs READ Tabs WRITE setTabs)
    Q_PROPERTY(int TabIndex READ TabIndex WRITE setTabIndex)
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE setLeftMargin)

public:
    explicit TsuiTabControlTopPanel(TsuiTab* owner);

    QStringList Tabs() const { return tabs_; }
    // Replaces the captions; the active tab stays where it is when it still exists.
    void setTabs(const QStringList& tabs);
    int TabIndex() const { return tabIndex_; }
    // A change made by program code: not asked, then the owner's TabActive.
    void setTabIndex(int index);
    // A change made by the user (a click, a key): the owner's OnChanging may refuse it.
    // True when the index changed.
    bool selectByUser(int index);
    int LeftMargin() const { return leftMargin_; }
    void setLeftMargin(int margin);

    bool tabVisible(int index) const;
    void setTabVisible(int index, bool visible);
    // The next visible tab after (step 1) or before (step -1) the active one, going round
    // the ends; -1 when there is none other.
    int neighbourTab(int step) const;

    // Captions, visibility and the active tab at once, without asking or telling anyone:
    // the owner rebuilds the row after its pages changed.
    void resetTabs(const QStringList& tabs, const std::vector<bool>& visible, int tabIndex);

    int scrollOffset() const { return scrollOffset_; }
    void setScrollOffset(int offset);
    int scrollHover() const { return hover_; }

    // Height of the row: the tab image and the bar beneath it.
    int rowHeight() const;
    // Height of the tab image, the band in which clicks hit tabs.
    int tabHeight() const;

    tabrow::TabRowLayout layout() const;
    // Where the tab is drawn now; empty when it is hidden, scrolled out or beyond the row.
    QRect tabRect(int index) const;
    tabrow::ScrollButtonRects scrollButtonRects() const;
    // Whether the scroll buttons are drawn: the tabs do not fit, or the row is scrolled.
    bool scrollButtonsDrawn() const;

protected:
    void styleUpdated(const SkinLook& look) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    tabrow::TabRowInput input() const;
    bool changeTabIndex(int index, bool askOwner);
    void setHover(int hover);

    TsuiTab* owner_;
    QStringList tabs_{QStringLiteral("Tab1")};
    int tabIndex_ = 0;
    int leftMargin_ = 10;
    std::array<bool, tabrow::kTabSlots> visible_;
    int scrollOffset_ = 0;
    int hover_ = 0;
    QImage activeTab_;
    QImage inactiveTab_;
    QImage bar_;
    SkinStrip<ScrollButtonFrame> scrollButtons_;
};
