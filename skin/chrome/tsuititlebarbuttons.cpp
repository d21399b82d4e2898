#include "chrome/tsuititlebarbuttons.h"

#include "chrome/tsuititlebar.h"

int TsuiTitleBarButtons::IndexOfType(TsuiTitleBarBtnType type) const {
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->ButtonType() == type)
            return i;
    }
    return -1;
}

void TsuiTitleBarButtons::itemChanged(TsuiTitleBarButton*) {
    if (bar_)
        bar_->buttonsChanged();
}

void TsuiTitleBarButtons::itemNeedsPictures(TsuiTitleBarButton* button) {
    if (bar_)
        bar_->LoadButtonPictures(*button);
}
