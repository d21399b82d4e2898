#include "controls/tsuitabcontroltoppanel.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "controls/tabrowaccessible.h"
#include "controls/tabrowface.h"
#include "controls/tsuitab.h"

namespace {
// Installed before any row exists: with a screen reader running, the row's first
// accessible name already asks for its interface, which is then kept.
[[maybe_unused]] const bool kAccessibilityInstalled = (InstallTabRowAccessibility(), true);
} // namespace

TsuiTabControlTopPanel::TsuiTabControlTopPanel(TsuiTab* owner)
    : QWidget(owner), TsuiSkinned(this, owner), owner_(owner) {
    visible_.fill(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Page tabs"));
    styleUpdated(look());
}

void TsuiTabControlTopPanel::setTabs(const QStringList& tabs) {
    tabs_ = tabs;
    if (tabs_.isEmpty())
        tabIndex_ = -1;
    update();
}

void TsuiTabControlTopPanel::setTabIndex(int index) {
    changeTabIndex(index, false);
}

bool TsuiTabControlTopPanel::selectByUser(int index) {
    return changeTabIndex(index, true);
}

bool TsuiTabControlTopPanel::changeTabIndex(int index, bool askOwner) {
    if (index == tabIndex_)
        return false;
    if (tabs_.isEmpty()) {
        tabIndex_ = -1;
        update();
        return false;
    }
    if (index < -1 || index > tabs_.size() - 1) {
        update();
        return false;
    }
    if (askOwner && owner_ && !owner_->AllowChange())
        return false;
    tabIndex_ = index;
    scrollOffset_ = tabrow::ScrollIntoView(input());
    update();
    if (QAccessible::isActive() && tabIndex_ >= 0) {
        QAccessibleEvent selected(this, QAccessible::Selection);
        selected.setChild(tabIndex_);
        QAccessible::updateAccessibility(&selected);
    }
    if (owner_)
        owner_->TabActive(tabIndex_);
    return true;
}

void TsuiTabControlTopPanel::setLeftMargin(int margin) {
    if (margin == leftMargin_)
        return;
    leftMargin_ = margin;
    update();
}

bool TsuiTabControlTopPanel::tabVisible(int index) const {
    return index < 0 || index >= tabrow::kTabSlots || visible_[static_cast<size_t>(index)];
}

void TsuiTabControlTopPanel::setTabVisible(int index, bool visible) {
    if (index < 0 || index >= tabrow::kTabSlots || visible_[static_cast<size_t>(index)] == visible)
        return;
    visible_[static_cast<size_t>(index)] = visible;
    update();
}

int TsuiTabControlTopPanel::neighbourTab(int step) const {
    const int count = static_cast<int>(tabs_.size());
    if (count == 0)
        return -1;
    int index = tabIndex_ < 0 ? (step > 0 ? -1 : count) : tabIndex_;
    for (int n = 0; n < count; ++n) {
        index = (index + step + count) % count;
        if (index == tabIndex_)
            break;
        if (tabVisible(index))
            return index;
    }
    return -1;
}

void TsuiTabControlTopPanel::resetTabs(const QStringList& tabs, const std::vector<bool>& visible,
                                       int tabIndex) {
    tabs_ = tabs;
    visible_.fill(true);
    for (size_t i = 0; i < visible.size() && i < visible_.size(); ++i)
        visible_[i] = visible[i];
    tabIndex_ = tabs_.isEmpty() ? -1 : tabIndex;
    scrollOffset_ = std::clamp(scrollOffset_, 0, static_cast<int>(tabs_.size()));
    scrollOffset_ = tabrow::ScrollIntoView(input());
    update();
}

void TsuiTabControlTopPanel::setScrollOffset(int offset) {
    offset = std::clamp(offset, 0, static_cast<int>(tabs_.size()));
    if (offset == scrollOffset_)
        return;
    scrollOffset_ = offset;
    update();
}

int TsuiTabControlTopPanel::rowHeight() const {
    return tabHeight() + bar_.height();
}

int TsuiTabControlTopPanel::tabHeight() const {
    return activeTab_.height();
}

tabrow::TabRowInput TsuiTabControlTopPanel::input() const {
    tabrow::TabRowInput in;
    in.rowWidth = width();
    in.inactiveHeight = inactiveTab_.height();
    in.scrollButtonWidth = scrollButtons_.frameSize().width();
    in.leftMargin = leftMargin_;
    in.tabIndex = tabIndex_;
    in.scrollOffset = scrollOffset_;
    const QFontMetrics metrics(owner_ ? owner_->font() : font());
    in.tabs.reserve(static_cast<size_t>(tabs_.size()));
    for (int i = 0; i < tabs_.size(); ++i) {
        const QString& caption = tabs_.at(i);
        in.tabs.push_back({tabrow::TabWidth(metrics.horizontalAdvance(caption), caption.isEmpty()),
                           tabVisible(i)});
    }
    return in;
}

tabrow::TabRowLayout TsuiTabControlTopPanel::layout() const {
    return tabrow::LayOutTabs(input());
}

QRect TsuiTabControlTopPanel::tabRect(int index) const {
    for (const tabrow::PlacedTab& tab : layout().drawn) {
        if (tab.index == index)
            return tab.rect;
    }
    return {};
}

tabrow::ScrollButtonRects TsuiTabControlTopPanel::scrollButtonRects() const {
    return tabrow::ScrollButtons(width(), height(), scrollButtons_.frameSize());
}

bool TsuiTabControlTopPanel::scrollButtonsDrawn() const {
    return scrollOffset_ != 0 || layout().scrollButtonsShown;
}

void TsuiTabControlTopPanel::styleUpdated(const SkinLook& look) {
    const auto tabs = look.strip<SkinImage::TabControlTab>();
    activeTab_ = tabs.frame(TabFrame::Active);
    inactiveTab_ = tabs.frame(TabFrame::Inactive);
    bar_ = look.strip<SkinImage::TabControlBar>().whole();
    scrollButtons_ = look.strip<SkinImage::ScrollButton>();
    if (owner_)
        owner_->LayOut();
}

void TsuiTabControlTopPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Scrolled no further than the active tab needs at the new width (a row laid out
    // while its window was hidden may have scrolled at a width it never had).
    tabrow::TabRowInput in = input();
    in.scrollOffset = 0;
    scrollOffset_ = tabrow::ScrollIntoView(in);
}

void TsuiTabControlTopPanel::paintEvent(QPaintEvent*) {
    // No background of its own: the owner leaves the row's band unpainted, so what lies
    // behind the owner shows through.
    TabRowFace face;
    face.size = size();
    face.layout = layout();
    face.captions = tabs_;
    face.activeTab = activeTab_;
    face.inactiveTab = inactiveTab_;
    face.bar = bar_;
    face.scrollButtons = scrollButtons_;
    face.drawScrollButtons = scrollOffset_ != 0 || face.layout.scrollButtonsShown;
    face.buttons = scrollButtonRects();
    face.hover = face.drawScrollButtons ? hover_ : 0;
    face.borderColor = owner_ ? owner_->BorderColor() : QColor(Qt::black);
    face.font = owner_ ? owner_->font() : font();
    face.textColor = palette().color(QPalette::WindowText);
    QPainter painter(this);
    PaintTabRow(painter, face);
}

void TsuiTabControlTopPanel::setHover(int hover) {
    if (hover == hover_)
        return;
    hover_ = hover;
    update();
}

void TsuiTabControlTopPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const tabrow::TabRowLayout rows = layout();
    const bool buttons = scrollOffset_ != 0 || rows.scrollButtonsShown;
    setHover(buttons ? tabrow::ScrollHoverAt(scrollButtonRects(), point) : 0);
    if (hover_ == -1) {
        setScrollOffset(scrollOffset_ - 1);
        return;
    }
    if (hover_ == 1) {
        if (rows.scrollButtonsShown)
            setScrollOffset(scrollOffset_ + 1);
        return;
    }
    const int hit = tabrow::TabAt(rows.widths, leftMargin_, scrollOffset_, point, tabHeight());
    if (hit >= 0)
        selectByUser(hit);
}

void TsuiTabControlTopPanel::mouseMoveEvent(QMouseEvent* event) {
    if (scrollButtonsDrawn())
        setHover(tabrow::ScrollHoverAt(scrollButtonRects(), event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TsuiTabControlTopPanel::leaveEvent(QEvent* event) {
    setHover(0);
    QWidget::leaveEvent(event);
}
