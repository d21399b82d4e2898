#include "tsuiskinned.h"

#include <QWidget>

#include "styleselection.h"

TsuiSkinned::TsuiSkinned(QObject* self, QObject* owner, LookScope scope)
    : self_(self), scope_(scope), style_(OwnerFormStyle(owner)),
      look_(SkinLook::Resolve(nullptr, style_)) {}

TsuiSkinned::~TsuiSkinned() {
    // The theme may outlive this part of the control (it can even be one of the control's
    // own children, destroyed after this destructor): it must not call back into it.
    QObject::disconnect(themeConnection_);
}

void TsuiSkinned::styleUpdated(const SkinLook&) {}

void TsuiSkinned::setUIStyle(TsuiUIStyle style) {
    style_ = style;
    look_ = SkinLook::Resolve(theme_.data(), style_);
    styleUpdated(look_);
    if (passesLookToChildren())
        ApplyThemeToChildren(self_, style_, theme_.data());
    if (auto* widget = qobject_cast<QWidget*>(self_))
        widget->update();
}

void TsuiSkinned::setFileTheme(TsuiFileTheme* theme) {
    if (theme != theme_.data()) {
        QObject::disconnect(themeConnection_);
        themeConnection_ = {};
        theme_ = theme;
        if (theme) {
            themeConnection_ =
                QObject::connect(theme, &QObject::destroyed, [this] { onThemeDestroyed(); });
        }
    }
    setUIStyle(style_);
}

void TsuiSkinned::onThemeDestroyed() {
    themeConnection_ = {};
    theme_ = nullptr;
    if (passesLookToChildren())
        ApplyThemeToChildren(self_, TsuiUIStyle::DeepBlue, nullptr);
    // Whatever the style was, a control whose theme went away draws as DeepBlue.
    setUIStyle(TsuiUIStyle::DeepBlue);
}
