#pragma once
// The system menu of a title bar: minimize, maximize or restore, close. It opens from
// the control box and with Alt+Space; each item is enabled only when the bar has the
// button it stands for. It is drawn as every skinned pop-up menu is.

#include "chrome/tsuipopupmenu.h"

class TsuiTitleBar;
class QAction;

class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
    Q_OBJECT

public:
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar* bar);

    // Enables the items for the bar's buttons (visible or not) and shows the menu at the
    // screen position.
    void Popup(QPoint screenPos);
    // Enables the items as Popup does, without showing the menu.
    void UpdateItems();

    QAction* MinimizeItem() const { return minimize_; }
    QAction* MaximizeItem() const { return maximize_; }
    QAction* CloseItem() const { return close_; }

private:
    TsuiTitleBar* bar_;
    QAction* minimize_;
    QAction* maximize_;
    QAction* close_;
};
