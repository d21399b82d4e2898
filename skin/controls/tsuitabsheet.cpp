#include "controls/tsuitabsheet.h"

#include "controls/tsuipagecontrol.h"

TsuiTabSheet::TsuiTabSheet(QWidget* owner)
    : QWidget(owner), TsuiSkinned(this, owner, LookScope::SelfAndChildren) {
    // The page control cannot tell a new child from its ChildAdded event (the sheet is not
    // a sheet yet then), so the sheet announces itself.
    if (auto* control = qobject_cast<TsuiPageControl*>(owner))
        control->AddSheet(this);
}

TsuiTabSheet::~TsuiTabSheet() {
    if (pageControl_)
        pageControl_->RemoveSheet(this);
}

void TsuiTabSheet::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    setAccessibleName(caption);
    if (pageControl_)
        pageControl_->SheetCaptionChanged(this);
}

QColor TsuiTabSheet::Color() const {
    return palette().color(QPalette::Window);
}

void TsuiTabSheet::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void TsuiTabSheet::setTabVisible(bool visible) {
    if (visible == tabVisible_)
        return;
    tabVisible_ = visible;
    if (pageControl_)
        pageControl_->SheetTabVisibleChanged(this);
}

void TsuiTabSheet::setPageIndex(int index) {
    if (pageControl_)
        pageControl_->MovePage(this, index);
}
