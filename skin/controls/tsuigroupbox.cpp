#include "tsuigroupbox.h"

#include <QPainter>

TsuiGroupBox::TsuiGroupBox(QWidget* owner)
    : QGroupBox(owner), TsuiSkinned(this, owner, LookScope::SelfAndChildren) {}

void TsuiGroupBox::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}

QColor TsuiGroupBox::Color() const {
    return palette().color(QPalette::Window);
}

void TsuiGroupBox::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void TsuiGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    const QFontMetrics metrics(font());
    const int ringTop = metrics.height() / 2;
    painter.setPen(borderColor_.isValid() ? borderColor_ : palette().color(QPalette::Mid));
    painter.drawRect(QRect(0, ringTop, width() - 1, height() - ringTop - 1));
    if (title().isEmpty())
        return;
    constexpr int kCaptionLeft = 8;
    const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, Color());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}
