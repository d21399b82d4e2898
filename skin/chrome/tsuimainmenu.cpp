#include "chrome/tsuimainmenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include "chrome/tsuiform.h"

namespace {

// The first usable item among `items` and their sub-menus with `pressed` among its
// shortcuts.
QAction* FindShortCut(const QList<QAction*>& items, const QKeySequence& pressed) {
    for (QAction* item : items) {
        if (!item->isEnabled() || !item->isVisible())
            continue;
        for (const QKeySequence& shortcut : item->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return item;
        }
        if (const QMenu* sub = item->menu()) {
            if (QAction* found = FindShortCut(sub->actions(), pressed))
                return found;
        }
    }
    return nullptr;
}

} // namespace

TsuiMainMenu::TsuiMainMenu(QObject* owner) : QObject(owner), TsuiSkinnedMenu(this, owner) {
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

bool TsuiMainMenu::IsShortCut(const QKeyEvent& key) {
    const int code = key.key();
    if (code == 0 || code == Qt::Key_unknown || code == Qt::Key_Control || code == Qt::Key_Shift ||
        code == Qt::Key_Alt || code == Qt::Key_Meta || code == Qt::Key_AltGr)
        return false;
    // A key of the number pad counts as the same key elsewhere.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    QAction* item = FindShortCut(items_, QKeySequence(QKeyCombination(modifiers, Qt::Key(code))));
    if (!item)
        return false;
    if (!key.isAutoRepeat() || item->autoRepeat())
        item->trigger();
    return true;
}

void TsuiMainMenu::menuLookChanged() {
    Q_EMIT LookChanged();
}
