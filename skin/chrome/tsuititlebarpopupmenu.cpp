#include "chrome/tsuititlebarpopupmenu.h"

#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarbuttons.h"

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar* bar) : TsuiPopupMenu(bar), bar_(bar) {
    setObjectName(QStringLiteral("TitleBarSystemMenu"));
    minimize_ = addAction(QStringLiteral("Mi&nimize"));
    maximize_ = addAction(QStringLiteral("Ma&ximize/Restore"));
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

void TsuiTitleBarPopupMenu::Popup(QPoint screenPos) {
    UpdateItems();
    popup(screenPos);
}
