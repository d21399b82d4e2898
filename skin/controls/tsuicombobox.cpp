#include "tsuicombobox.h"

TsuiComboBox::TsuiComboBox(QWidget* owner) : QComboBox(owner), TsuiSkinned(this, owner) {
    setEditable(false);
}

void TsuiComboBox::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}
