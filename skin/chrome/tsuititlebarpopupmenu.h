#pragma once
// The system menu of a title bar: minimize, maximize or restore, close. It opens from
// the control box and with Alt+Space; each item is enabled only when the bar has the
// button it stands for. It is drawn as every skinned pop-up menu is, its "Look" sub-menu
// too.
//
// The "Look" sub-menu (the five built-in looks and "Theme file…") is there only for a
// window that shows it (ShowLookMenu): the menu says what was chosen and the window
// carries it out, marking its look with SetLookMark.

#include <QList>

#include "catalogue/tsuiuistyle.h"
#include "chrome/tsuipopupmenu.h"

class TsuiTitleBar;
class QAction;
class QActionGroup;

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

    // The "Look" sub-menu: hidden until a window shows it.
    void ShowLookMenu(bool shown);
    QMenu* LookMenu() const { return lookMenu_; }
    // The item of a built-in look, or of the theme file (FromThemeFile).
    QAction* LookItem(TsuiUIStyle style) const;
    // Checks the item of the window's look (FromThemeFile: "Theme file…").
    void SetLookMark(TsuiUIStyle style);

Q_SIGNALS:
    // A built-in look was chosen from the "Look" sub-menu.
    void lookChosen(TsuiUIStyle style);
    // "Theme file…" was chosen: the window asks for the file.
    void themeFileAsked();

private:
    TsuiTitleBar* bar_;
    QAction* minimize_;
    QAction* maximize_;
    QMenu* lookMenu_;
    QActionGroup* lookItems_;
    QList<QPair<TsuiUIStyle, QAction*>> looks_;
    QAction* close_;
};
