#include "tsuipagecontrol.h"

#include <QPainter>
#include <QTabBar>

#include "tsuitabsheet.h"

TsuiPageControl::TsuiPageControl(QWidget* owner)
    : QWidget(owner), TsuiSkinned(this, owner, LookScope::SelfAndChildren),
      tabs_(new QTabBar(this)) {
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setFocusPolicy(Qt::TabFocus);
    // Compact tabs, so that a row of eight short captions fits a dialog-sized control.
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 3px; }"));
    connect(tabs_, &QTabBar::currentChanged, this, [this] {
        showActive();
        Q_EMIT activePageChanged();
    });
}

void TsuiPageControl::setLeftMargin(int margin) {
    if (margin == leftMargin_)
        return;
    leftMargin_ = margin;
    placeChildren();
}

void TsuiPageControl::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}

QColor TsuiPageControl::Color() const {
    return palette().color(QPalette::Window);
}

void TsuiPageControl::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void TsuiPageControl::AddSheet(TsuiTabSheet* sheet) {
    if (!sheet || sheets_.contains(sheet))
        return;
    sheet->setParent(this);
    sheets_.append(sheet);
    // Adding the first tab makes it current and shows it through currentChanged.
    tabs_->addTab(sheet->Caption());
    placeChildren();
    showActive();
}

TsuiTabSheet* TsuiPageControl::Page(int index) const {
    return index >= 0 && index < sheets_.size() ? sheets_.at(index) : nullptr;
}

int TsuiPageControl::IndexOf(const TsuiTabSheet* sheet) const {
    return static_cast<int>(sheets_.indexOf(const_cast<TsuiTabSheet*>(sheet)));
}

int TsuiPageControl::ActivePageIndex() const {
    return tabs_->currentIndex();
}

void TsuiPageControl::setActivePageIndex(int index) {
    if (index >= 0 && index < sheets_.size())
        tabs_->setCurrentIndex(index);
}

void TsuiPageControl::SheetCaptionChanged(TsuiTabSheet* sheet) {
    const int index = IndexOf(sheet);
    if (index >= 0)
        tabs_->setTabText(index, sheet->Caption());
}

void TsuiPageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
}

void TsuiPageControl::paintEvent(QPaintEvent*) {
    // A plain one-pixel ring around the sheet area until the skinned drawing lands.
    QPainter painter(this);
    painter.setPen(borderColor_);
    painter.drawRect(QRect(kSheetLeft - 1, kSheetTop - 1, width() - kSheetLeft - kSheetRight + 1,
                           height() - kSheetTop - kSheetBottom + 1));
}

void TsuiPageControl::showActive() {
    const int active = tabs_->currentIndex();
    for (int i = 0; i < sheets_.size(); ++i)
        sheets_.at(i)->setVisible(i == active);
}

void TsuiPageControl::placeChildren() {
    const int tabHeight = qMin(tabs_->sizeHint().height(), kSheetTop - 1);
    tabs_->setGeometry(leftMargin_, kSheetTop - 1 - tabHeight,
                       qMax(0, width() - leftMargin_ - kSheetRight), tabHeight);
    const QRect sheetRect(kSheetLeft, kSheetTop, width() - kSheetLeft - kSheetRight,
                          height() - kSheetTop - kSheetBottom);
    for (TsuiTabSheet* sheet : sheets_)
        sheet->setGeometry(sheetRect);
}
