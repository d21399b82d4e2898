#include "tsuitabsheet.h"

#include "styleselection.h"
#include "tsuipagecontrol.h"

TsuiTabSheet::TsuiTabSheet(QWidget* owner)
    : QWidget(owner), binding_(owner, [this] {
          ApplyThemeToChildren(this, binding_.uiStyle(), binding_.fileTheme());
          update();
      }) {
    binding_.setThemeRemovedHook(
        [this] { ApplyThemeToChildren(this, TsuiUIStyle::DeepBlue, nullptr); });
}

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
