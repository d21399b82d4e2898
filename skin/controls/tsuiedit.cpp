#include "tsuiedit.h"

TsuiEdit::TsuiEdit(QWidget* owner) : QLineEdit(owner), TsuiSkinned(this, owner) {}

void TsuiEdit::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}

QColor TsuiEdit::Color() const {
    return palette().color(QPalette::Base);
}

void TsuiEdit::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}
