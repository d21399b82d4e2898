#include "chrome/tsuipopupmenu.h"

TsuiPopupMenu::TsuiPopupMenu(QWidget* owner) : QMenu(owner), TsuiSkinnedMenu(this, owner) {
    AttachMenuDrawHandlers(this);
}
