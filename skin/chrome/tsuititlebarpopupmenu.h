#pragma once
// The system menu of a title bar: minimize, maximize or restore, close. It opens from
// the control box and with Alt+Space; each item is enabled only when the bar has the
// button it stands for.

#include <QMenu>

#include "tsuiskinned.h"

class TsuiTitleBar;
class QAction;

class TsuiTitleBarPopupMenu : public QMenu, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES

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
