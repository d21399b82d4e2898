#include "controls/tsuiedit.h"

#include <QPainter>

#include "controls/editface.h"

TsuiEdit::TsuiEdit(QWidget* owner)
    : QLineEdit(owner), TsuiSkinned(this, owner),
      borderColor_(look().color(SkinColor::ControlBorder)) {
    setFrame(false);
    setTextMargins(kEditBorderWidth, kEditBorderWidth, kEditBorderWidth, kEditBorderWidth);
}

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
    if (color == Color())
        return;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TsuiEdit::styleUpdated(const SkinLook& look) {
    setBorderColor(look.color(SkinColor::ControlBorder));
}

void TsuiEdit::paintEvent(QPaintEvent* event) {
    {
        // The frameless panel of some styles leaves the corners unfilled.
        QPainter painter(this);
        painter.fillRect(rect(), Color());
    }
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    EditFace face{rect(), borderColor_, Color(), {}, {}};
    if (isReadOnly() && hasFocus()) {
        face.caret = cursorRect();
        face.caretColor = palette().color(QPalette::Text);
    }
    PaintEditRings(painter, face);
}
