#include "chrome/tsuipopupmenu.h"

TsuiPopupMenu::TsuiPopupMenu(QWidget* owner)
    : QMenu(owner), TsuiSkinned(this, owner), TsuiSkinnedMenu(this) {
    ApplyMenuLook(UIStyle(), look());
    AttachMenuDrawHandlers(this);
}

void TsuiPopupMenu::styleUpdated(const SkinLook& look) {
    ApplyMenuLook(UIStyle(), look);
}
