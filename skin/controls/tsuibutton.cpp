#include "tsuibutton.h"

TsuiButton::TsuiButton(QWidget* owner) : QPushButton(owner), TsuiSkinned(this, owner) {
    setCursor(Qt::PointingHandCursor);
}
