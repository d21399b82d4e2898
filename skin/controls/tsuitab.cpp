#include "controls/tsuitab.h"

#include <QEvent>
#include <QPainter>
#include <QShortcut>

#include "controls/tabrowgeometry.h"
#include "controls/tsuitabcontroltoppanel.h"
#include "look/looktraits.h"

TsuiTab::TsuiTab(QWidget* owner)
    : QWidget(owner), TsuiSkinned(this, owner, LookScope::SelfAndChildren) {
    row_ = new TsuiTabControlTopPanel(this);
    resize(width(), 80);
    styleUpdated(look());

    const auto bind = [this](const QKeySequence& keys, int step) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { switchTab(step); });
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

int TsuiTab::LeftMargin() const {
    return row_->LeftMargin();
}

void TsuiTab::setLeftMargin(int margin) {
    row_->setLeftMargin(margin);
}

void TsuiTab::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
    row_->update();
}

void TsuiTab::setColor(const QColor& color) {
    if (color == color_)
        return;
    color_ = color;
    colorChanged();
    update();
}

int TsuiTab::TabIndex() const {
    return row_->TabIndex();
}

void TsuiTab::setTabIndex(int index) {
    row_->setTabIndex(index);
}

QRect TsuiTab::ClientRect() const {
    return tabrow::PageRect(size(), row_ ? row_->rowHeight() : 0);
}

void TsuiTab::TabActive(int index) {
    Q_EMIT OnTabActive(index);
    Q_EMIT OnChange();
}

bool TsuiTab::AllowChange() {
    bool allow = true;
    Q_EMIT OnChanging(&allow);
    return allow;
}

void TsuiTab::LayOut() {
    if (!row_)
        return;
    row_->setGeometry(0, 0, width(), row_->rowHeight());
    layOutPages(ClientRect());
    update();
}

void TsuiTab::layOutPages(const QRect&) {}

void TsuiTab::colorChanged() {}

void TsuiTab::styleUpdated(const SkinLook& look) {
    const bool whitePage = look.traits().whitePages;
    setBorderColor(look.color(SkinColor::ControlBorder));
    setColor(whitePage ? QColor(Qt::white) : look.color(SkinColor::ControlBackground));
    if (row_) {
        // The row's height follows its images, and the pages follow the row (LayOut).
        row_->setLook(UIStyle(), FileTheme());
    }
}

void TsuiTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TsuiTab::changeEvent(QEvent* event) {
    // Tab widths follow the caption font.
    if (event->type() == QEvent::FontChange)
        row_->update();
    QWidget::changeEvent(event);
}

void TsuiTab::paintEvent(QPaintEvent*) {
    // The row's band is left unpainted (the row shows what lies behind the control).
    const int top = row_->rowHeight();
    const int w = width(), h = height();
    if (h <= top)
        return;
    QPainter painter(this);
    painter.fillRect(QRect(0, top, w, h - top), color_);
    painter.fillRect(QRect(0, top, 1, h - top), borderColor_);
    painter.fillRect(QRect(0, h - 1, w, 1), borderColor_);
    painter.fillRect(QRect(w - 1, top, 1, h - top), borderColor_);
}

void TsuiTab::switchTab(int step) {
    const int next = row_->neighbourTab(step);
    if (next >= 0)
        row_->selectByUser(next);
}
