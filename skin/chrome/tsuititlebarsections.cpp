#include "tsuititlebarsections.h"

#include "tsuititlebar.h"

void TsuiTitleBarSections::itemChanged() {
    if (bar_)
        bar_->sectionsChanged();
}
