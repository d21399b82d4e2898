#pragma once
// The main menu of a skinned window: a list of top-level items, each a QAction whose
// sub-menu is a QMenu drawn by this menu's style. It is no widget of its own: the frame
// (TsuiForm) it is attached to shows the items as the buttons of its menu bar.
//
// Created on a window, it attaches itself to the first TsuiForm among the window's
// children. The bar follows the menu: adding or removing items rebuilds it, a change of
// an item's caption or enabled state shows on its button, a change of look repaints it.

#include <QList>
#include <QObject>
#include <QPointer>

#include "chrome/tsuiskinnedmenu.h"

class QAction;
class QKeyEvent;
class QMenu;
class TsuiForm;

class TsuiMainMenu : public QObject, public TsuiSkinnedMenu {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
    TSUI_MENU_PROPERTIES

public:
    explicit TsuiMainMenu(QObject* owner = nullptr);
    ~TsuiMainMenu() override;

    // The top-level items, in order.
    QList<QAction*> actions() const;
    // A new top-level item with a new, empty sub-menu, owned by this menu.
    QMenu* addMenu(const QString& title);
    // Adds an item (its sub-menu, if any, is drawn by this menu); the caller keeps it.
    void addAction(QAction* item);
    void insertAction(QAction* before, QAction* item);
    // Takes the item out of the menu without deleting it.
    void removeAction(QAction* item);

    // The menu's shortcut lookup: runs the item, at any depth, whose shortcut is the key
    // of `key` and answers true; answers false when no item has it. Disabled and hidden
    // items, and the items below a disabled or hidden sub-menu, take no keys, so the key
    // goes on to the window. A held key repeats an item only when the item allows it.
    bool IsShortCut(const QKeyEvent& key);

    // The frame that shows this menu, set by the frame.
    TsuiForm* Form() const;
    void setForm(TsuiForm* form);

Q_SIGNALS:
    // Items were added or removed: the bar makes its buttons again.
    void ItemsChanged();
    // A top-level item's caption or enabled state changed.
    void ItemChanged();
    // The look or the font the items and the bar are drawn with changed.
    void LookChanged();

protected:
    void menuLookChanged() override;

private:
    QList<QAction*> items_;
    QList<QPointer<QMenu>> ownedMenus_;
    QPointer<QObject> form_;
};
