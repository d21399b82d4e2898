#include "look/tsuiskinned.h"

#include <QWidget>

#include "look/styleselection.h"

TsuiSkinned::TsuiSkinned(QObject* self, QObject* owner, LookScope scope)
    : self_(self), scope_(scope), style_(OwnerFormStyle(owner)),
      look_(SkinLook::Resolve(nullptr, style_)) {}

TsuiSkinned::~TsuiSkinned() {
    // The theme may outlive this part of the control (it can even be one of the control's
    // own children, destroyed after this destructor): it must not call back into it.
    QObject::disconnect(destroyedConnection_);
    QObject::disconnect(reloadConnection_);
}

void TsuiSkinned::styleUpdated(const SkinLook&) {}

void TsuiSkinned::changeLook(TsuiUIStyle style, TsuiFileTheme* theme, LookChange change) {
    if (theme != theme_.data())
        followTheme(theme);
    style_ = style;
    change_ = change;
    readLoad_ = theme ? theme->loadSerial() : 0;
    look_ = SkinLook::Resolve(theme, style_);
    styleUpdated(look_);
    if (passesLookToChildren())
        ApplyThemeToChildren(self_, style_, theme_.data());
    if (auto* widget = qobject_cast<QWidget*>(self_))
        widget->update();
}

void TsuiSkinned::followTheme(TsuiFileTheme* theme) {
    QObject::disconnect(destroyedConnection_);
    QObject::disconnect(reloadConnection_);
    destroyedConnection_ = {};
    reloadConnection_ = {};
    theme_ = theme;
    if (!theme)
        return;
    destroyedConnection_ =
        QObject::connect(theme, &QObject::destroyed, self_, [this] { onThemeDestroyed(); });
    reloadConnection_ = QObject::connect(theme, &TsuiFileTheme::elementsChanged, self_,
                                         [this] { onThemeReloaded(); });
}

void TsuiSkinned::onThemeReloaded() {
    // A frame or container on the same theme may have passed the new load on already.
    if (theme_ && theme_->loadSerial() != readLoad_)
        changeLook(style_, theme_.data(), LookChange::Reload);
}

void TsuiSkinned::onThemeDestroyed() {
    QObject::disconnect(reloadConnection_);
    destroyedConnection_ = {};
    reloadConnection_ = {};
    theme_ = nullptr;
    if (passesLookToChildren())
        ApplyThemeToChildren(self_, TsuiUIStyle::DeepBlue, nullptr);
    // Whatever the style was, a control whose theme went away draws as DeepBlue.
    setUIStyle(TsuiUIStyle::DeepBlue);
}
