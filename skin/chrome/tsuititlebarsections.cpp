#include "chrome/tsuititlebarsections.h"

#include "chrome/tsuititlebar.h"

void TsuiTitleBarSections::itemChanged() {
    if (bar_)
        bar_->sectionsChanged();
}
