#include "tsuicombobox.h"

TsuiComboBox::TsuiComboBox(QWidget* owner)
    : QComboBox(owner), binding_(owner, [this] { update(); }) {
    setEditable(false);
}

void TsuiComboBox::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}
