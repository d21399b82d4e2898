#include "controls/tsuipagecontrol.h"

#include <QApplication>
#include <QChildEvent>
#include <algorithm>

#include "controls/tsuitabcontroltoppanel.h"
#include "controls/tsuitabsheet.h"

TsuiPageControl::TsuiPageControl(QWidget* owner) : TsuiTab(owner) {
    TopPanel()->setTabs({});
}

TsuiPageControl::~TsuiPageControl() {
    // The sheets are destroyed after this part of the control: they must not call back.
    for (TsuiTabSheet* sheet : std::as_const(pages_)) {
        sheet->pageControl_ = nullptr;
        sheet->pageIndex_ = -1;
    }
}

void TsuiPageControl::AddSheet(TsuiTabSheet* sheet) {
    if (!sheet || pages_.contains(sheet))
        return;
    if (sheet->parentWidget() != this) {
        // The ChildAdded event attaches it.
        sheet->setParent(this);
        if (pages_.contains(sheet))
            return;
    }
    attach(sheet);
}

void TsuiPageControl::attach(TsuiTabSheet* sheet) {
    if (pages_.contains(sheet))
        return;
    if (sheet->pageControl_ && sheet->pageControl_ != this)
        sheet->pageControl_->RemoveSheet(sheet);
    sheet->pageControl_ = this;
    sheet->setColor(Color());
    sheet->setGeometry(ClientRect());
    sheet->hide();
    pages_.append(sheet);
    renumber();
    rebuildTabs();
    setActivePage(sheet);
}

TsuiTabSheet* TsuiPageControl::Page(int index) const {
    return index >= 0 && index < pages_.size() ? pages_.at(index) : nullptr;
}

int TsuiPageControl::IndexOf(const TsuiTabSheet* sheet) const {
    return static_cast<int>(pages_.indexOf(const_cast<TsuiTabSheet*>(sheet)));
}

TsuiTabSheet* TsuiPageControl::ActivePage() const {
    return active_.data();
}

int TsuiPageControl::ActivePageIndex() const {
    return active_ ? active_->pageIndex_ : -1;
}

void TsuiPageControl::setActivePageIndex(int index) {
    if (index >= 0 && index < pages_.size())
        setActivePage(pages_.at(index));
}

void TsuiPageControl::setActivePage(TsuiTabSheet* sheet) {
    if (sheet && !pages_.contains(sheet))
        return;
    if (!sheet) {
        showPage(nullptr);
        rebuildTabs();
        return;
    }
    // When the row's index changes, the row runs TabActive, which shows the page.
    const int before = TopPanel()->TabIndex();
    TopPanel()->setTabIndex(sheet->pageIndex_);
    if (TopPanel()->TabIndex() == before || active_ != sheet)
        showPage(sheet);
}

void TsuiPageControl::SelectPage(int index) {
    setActivePage(Page(index));
}

void TsuiPageControl::TabActive(int index) {
    showPage(Page(index));
    TsuiTab::TabActive(index);
}

QStringList TsuiPageControl::Pages() const {
    QStringList names;
    for (const TsuiTabSheet* sheet : pages_)
        names << sheet->objectName();
    return names;
}

void TsuiPageControl::setPages(const QStringList& names) {
    std::stable_sort(pages_.begin(), pages_.end(),
                     [&names](const TsuiTabSheet* a, const TsuiTabSheet* b) {
                         return names.indexOf(a->objectName()) < names.indexOf(b->objectName());
                     });
    renumber();
    rebuildTabs();
}

void TsuiPageControl::MovePage(TsuiTabSheet* sheet, int index) {
    const int from = IndexOf(sheet);
    if (from < 0 || index < 0 || index >= pages_.size())
        return;
    pages_.move(from, index);
    renumber();
    rebuildTabs();
    setActivePage(sheet);
}

void TsuiPageControl::SheetCaptionChanged(TsuiTabSheet*) {
    rebuildTabs();
}

void TsuiPageControl::SheetTabVisibleChanged(TsuiTabSheet* sheet) {
    const int index = IndexOf(sheet);
    if (index < 0)
        return;
    TopPanel()->setTabVisible(index, sheet->TabVisible());
    if (!sheet->TabVisible() && active_ == sheet) {
        const int neighbour = visibleNeighbour(index - 1, index + 1);
        if (neighbour >= 0)
            setActivePage(pages_.at(neighbour));
    }
}

void TsuiPageControl::RemoveSheet(TsuiTabSheet* sheet) {
    const int index = IndexOf(sheet);
    if (index < 0)
        return;
    const bool wasShown = active_ == sheet;
    pages_.removeAt(index);
    sheet->pageControl_ = nullptr;
    sheet->pageIndex_ = -1;
    if (wasShown)
        active_ = nullptr;
    renumber();
    rebuildTabs();
    if (!wasShown)
        return;
    // The page before it, or the next one when it was the first; a hidden tab is passed
    // over unless no tab is visible.
    int next = visibleNeighbour(index - 1, index);
    if (next < 0)
        next = index > 0 ? index - 1 : (pages_.isEmpty() ? -1 : 0);
    if (next < 0)
        Q_EMIT activePageChanged();
    else
        setActivePage(pages_.at(next));
}

int TsuiPageControl::visibleNeighbour(int before, int after) const {
    for (int i = std::min(before, static_cast<int>(pages_.size()) - 1); i >= 0; --i) {
        if (pages_.at(i)->TabVisible())
            return i;
    }
    for (int i = std::max(after, 0); i < pages_.size(); ++i) {
        if (pages_.at(i)->TabVisible())
            return i;
    }
    return -1;
}

bool TsuiPageControl::event(QEvent* event) {
    if (event->type() == QEvent::ChildAdded) {
        // A sheet made a child after it was built; a new one adds itself.
        if (auto* sheet = qobject_cast<TsuiTabSheet*>(static_cast<QChildEvent*>(event)->child()))
            attach(sheet);
    } else if (event->type() == QEvent::ChildRemoved) {
        // A sheet given to another parent. (A deleted one has removed itself already.)
        QObject* child = static_cast<QChildEvent*>(event)->child();
        for (TsuiTabSheet* sheet : std::as_const(pages_)) {
            if (sheet == child) {
                RemoveSheet(sheet);
                break;
            }
        }
    }
    return TsuiTab::event(event);
}

void TsuiPageControl::layOutPages(const QRect& client) {
    for (TsuiTabSheet* sheet : std::as_const(pages_))
        sheet->setGeometry(client);
}

void TsuiPageControl::colorChanged() {
    for (TsuiTabSheet* sheet : std::as_const(pages_))
        sheet->setColor(Color());
}

void TsuiPageControl::renumber() {
    for (int i = 0; i < pages_.size(); ++i)
        pages_.at(i)->pageIndex_ = i;
}

void TsuiPageControl::rebuildTabs() {
    QStringList captions;
    std::vector<bool> visible;
    for (const TsuiTabSheet* sheet : std::as_const(pages_)) {
        captions << sheet->Caption();
        visible.push_back(sheet->TabVisible());
    }
    TopPanel()->resetTabs(captions, visible, ActivePageIndex());
}

void TsuiPageControl::showPage(TsuiTabSheet* page) {
    TsuiTabSheet* previous = active_.data();
    if (page == previous) {
        if (page)
            page->show();
        return;
    }
    QWidget* focus = focusTarget(page, previous);
    active_ = page;
    if (page) {
        page->show();
        page->raise();
        page->update();
    }
    if (focus)
        focus->setFocus(Qt::TabFocusReason);
    if (previous) {
        previous->hide();
        Q_EMIT previous->OnHide();
    }
    if (page)
        Q_EMIT page->OnShow();
    Q_EMIT activePageChanged();
}

QWidget* TsuiPageControl::focusTarget(TsuiTabSheet* page, TsuiTabSheet* previous) const {
    if (!page || !isVisible())
        return nullptr;
    const auto takesFocus = [page](const QWidget* w) {
        return w->isEnabled() && w->isVisibleTo(page) && (w->focusPolicy() & Qt::TabFocus);
    };
    // The page's first control when it can take the focus.
    for (QObject* child : page->children()) {
        if (auto* first = qobject_cast<QWidget*>(child)) {
            if (!first->isWindow() && takesFocus(first))
                return first;
            break;
        }
    }
    // Otherwise, when the focus would vanish with the previous page (the user switched
    // pages from the keyboard), the first control of the page's tab order.
    const QWidget* focus = QApplication::focusWidget();
    const bool focusLeaves =
        focus && (focus == this || (previous && previous->isAncestorOf(focus)));
    if (!focusLeaves)
        return nullptr;
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && takesFocus(w))
            return w;
    }
    return nullptr;
}
