#include "chrome/tsuititlebarpopupmenu.h"

#include <QActionGroup>

#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarbuttons.h"

namespace {
// The built-in looks in the order --look lists them, under the names it takes.
constexpr std::pair<TsuiUIStyle, const char*> kBuiltInLooks[] = {
    {TsuiUIStyle::MacOS, "MacOS"},
    {TsuiUIStyle::WinXP, "WinXP"},
    {TsuiUIStyle::DeepBlue, "DeepBlue"},
    {TsuiUIStyle::Protein, "Protein"},
    {TsuiUIStyle::BlueGlass, "BlueGlass"}};
} // namespace

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar* bar) : TsuiPopupMenu(bar), bar_(bar) {
    setObjectName(QStringLiteral("TitleBarSystemMenu"));
    minimize_ = addAction(QStringLiteral("Mi&nimize"));
    maximize_ = addAction(QStringLiteral("Ma&ximize/Restore"));
    // A plain QMenu: the skinned menu draws the sub-menus of its items as itself.
    lookMenu_ = new QMenu(QStringLiteral("Look"), this);
    lookMenu_->setObjectName(QStringLiteral("TitleBarLookMenu"));
    lookItems_ = new QActionGroup(this);
    lookItems_->setExclusive(true);
    for (const auto& [style, name] : kBuiltInLooks) {
        QAction* item = lookMenu_->addAction(QString::fromLatin1(name));
        item->setCheckable(true);
        lookItems_->addAction(item);
        looks_.append({style, item});
        connect(item, &QAction::triggered, this, [this, look = style] { Q_EMIT lookChosen(look); });
    }
    lookMenu_->addSeparator();
    QAction* themeFile = lookMenu_->addAction(QStringLiteral("Theme file\u2026"));
    themeFile->setCheckable(true);
    lookItems_->addAction(themeFile);
    looks_.append({TsuiUIStyle::FromThemeFile, themeFile});
    // The window marks the look once it has it: a theme file that does not load leaves
    // the mark where it was.
    connect(themeFile, &QAction::triggered, this, [this] { Q_EMIT themeFileAsked(); });
    addMenu(lookMenu_);
    lookMenu_->menuAction()->setVisible(false);
    addSeparator();
    close_ = addAction(QStringLiteral("&Close"));
    connect(minimize_, &QAction::triggered, this, [this] { bar_->MinimizeWindow(); });
    connect(maximize_, &QAction::triggered, this, [this] {
        // Every maximize button acts, as the item stands for all of them.
        const TsuiTitleBarButtons& buttons = bar_->Buttons();
        for (int i = 0; i < buttons.Count(); ++i) {
            if (buttons.Items(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
                bar_->RunButtonAction(i);
        }
    });
    connect(close_, &QAction::triggered, this, [this] { bar_->CloseWindow(); });
}

void TsuiTitleBarPopupMenu::UpdateItems() {
    bool hasMin = false;
    bool hasMax = false;
    bool hasClose = false;
    const TsuiTitleBarButtons& buttons = bar_->Buttons();
    for (int i = 0; i < buttons.Count(); ++i) {
        switch (buttons.Items(i)->ButtonType()) {
        case TsuiTitleBarBtnType::suiMin:
            hasMin = true;
            break;
        case TsuiTitleBarBtnType::suiMax:
            hasMax = true;
            break;
        case TsuiTitleBarBtnType::suiClose:
            hasClose = true;
            break;
        default:
            break;
        }
    }
    minimize_->setEnabled(hasMin);
    maximize_->setEnabled(hasMax);
    close_->setEnabled(hasClose);
}

void TsuiTitleBarPopupMenu::ShowLookMenu(bool shown) {
    lookMenu_->menuAction()->setVisible(shown);
}

QAction* TsuiTitleBarPopupMenu::LookItem(TsuiUIStyle style) const {
    for (const auto& [look, item] : looks_) {
        if (look == style)
            return item;
    }
    return nullptr;
}

void TsuiTitleBarPopupMenu::SetLookMark(TsuiUIStyle style) {
    if (QAction* item = LookItem(style))
        item->setChecked(true);
}

void TsuiTitleBarPopupMenu::Popup(QPoint screenPos) {
    UpdateItems();
    popup(screenPos);
}
