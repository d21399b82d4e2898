#pragma once
// A pop-up menu drawn like the items of the main menu: a QMenu (so keys, mnemonics and
// accessibility are Qt's) whose items and frame come from its look. Its sub-menus are
// drawn the same way.

#include <QMenu>

#include "chrome/tsuiskinnedmenu.h"

class TsuiPopupMenu : public QMenu, public TsuiSkinnedMenu {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    TSUI_MENU_PROPERTIES

public:
    explicit TsuiPopupMenu(QWidget* owner = nullptr);
};
