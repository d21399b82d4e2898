#include "tsuitabsheet.h"

#include "tsuipagecontrol.h"

TsuiTabSheet::TsuiTabSheet(QWidget* owner)
    : QWidget(owner), TsuiSkinned(this, owner, LookScope::SelfAndChildren) {}

void TsuiTabSheet::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    if (TsuiPageControl* control = PageControl())
        control->SheetCaptionChanged(this);
}

QColor TsuiTabSheet::Color() const {
    return palette().color(QPalette::Window);
}

void TsuiTabSheet::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

TsuiPageControl* TsuiTabSheet::PageControl() const {
    return qobject_cast<TsuiPageControl*>(parentWidget());
}

int TsuiTabSheet::PageIndex() const {
    const TsuiPageControl* control = PageControl();
    return control ? control->IndexOf(this) : -1;
}
