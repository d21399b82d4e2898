#include "tsuimainmenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "tsuiform.h"

TsuiMainMenu::TsuiMainMenu(QObject* owner)
    : QObject(owner), TsuiSkinned(this, owner), TsuiSkinnedMenu(this) {
    ApplyMenuLook(UIStyle(), look());
    // A window's main menu shows in the menu bar of the window's frame.
    if (qobject_cast<QWidget*>(owner)) {
        for (QObject* child : owner->children()) {
            if (auto* frame = qobject_cast<TsuiForm*>(child)) {
                frame->setMenu(this);
                break;
            }
        }
    }
}

TsuiMainMenu::~TsuiMainMenu() {
    // The sub-menus are drawn with this menu's style, which goes with it. Their items
    // going away is no change to report any more.
    blockSignals(true);
    items_.clear();
    for (const QPointer<QMenu>& menu : std::as_const(ownedMenus_))
        delete menu.data();
}

TsuiForm* TsuiMainMenu::Form() const {
    return qobject_cast<TsuiForm*>(form_.data());
}

void TsuiMainMenu::setForm(TsuiForm* form) {
    form_ = form;
}

QList<QAction*> TsuiMainMenu::actions() const {
    return items_;
}

QMenu* TsuiMainMenu::addMenu(const QString& title) {
    auto* menu = new QMenu(title, qobject_cast<QWidget*>(parent()));
    ownedMenus_.append(menu);
    addAction(menu->menuAction());
    return menu;
}

void TsuiMainMenu::addAction(QAction* item) {
    insertAction(nullptr, item);
}

void TsuiMainMenu::insertAction(QAction* before, QAction* item) {
    if (!item || items_.contains(item))
        return;
    const qsizetype at = before ? items_.indexOf(before) : -1;
    items_.insert(at < 0 ? items_.size() : at, item);
    AttachMenuDrawHandlers(item);
    connect(item, &QAction::changed, this, [this, item] {
        AttachMenuDrawHandlers(item);
        Q_EMIT ItemChanged();
    });
    connect(item, &QObject::destroyed, this, [this, item] {
        if (items_.removeAll(item) > 0)
            Q_EMIT ItemsChanged();
    });
    Q_EMIT ItemsChanged();
}

void TsuiMainMenu::removeAction(QAction* item) {
    if (items_.removeAll(item) == 0)
        return;
    disconnect(item, nullptr, this, nullptr);
    Q_EMIT ItemsChanged();
}

void TsuiMainMenu::styleUpdated(const SkinLook& look) {
    ApplyMenuLook(UIStyle(), look);
}

void TsuiMainMenu::menuLookChanged() {
    Q_EMIT LookChanged();
}
