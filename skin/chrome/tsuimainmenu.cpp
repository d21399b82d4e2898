#include "tsuimainmenu.h"

TsuiMainMenu::TsuiMainMenu(QWidget* owner) : QMenuBar(owner), TsuiSkinned(this, owner) {
    // The menu is part of the window on every platform, never a desktop-wide bar.
    setNativeMenuBar(false);
}
