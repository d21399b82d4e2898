#include "tsuibutton.h"

TsuiButton::TsuiButton(QWidget* owner) : QPushButton(owner), binding_(owner, [this] { update(); }) {
    setCursor(Qt::PointingHandCursor);
}
