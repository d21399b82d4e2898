#include "look/tsuiskinned.h"

#include <QWidget>
#include <algorithm>
#include <utility>

#include "look/styleselection.h"

namespace {

quint64 g_lookReads = 0;
// The scope that writes join; nullptr while none is open and while a change is re-read.
LookChangeScope* g_open = nullptr;
// How many changes are being re-read, one inside the other.
int g_rereading = 0;
// The number of the outermost change under way: writes made while it is re-read belong
// to it too.
quint64 g_change = 0;

} // namespace

LookChangeScope::LookChangeScope() : outermost_(g_open == nullptr) {
    if (!outermost_)
        return;
    g_open = this;
    if (g_rereading == 0)
        ++g_change;
}

LookChangeScope::~LookChangeScope() {
    if (!outermost_)
        return;
    // Writes that a styleUpdated makes are changes of their own, read at once; writes
    // that a container passes on to its children join this one.
    g_open = nullptr;
    ++g_rereading;
    for (std::size_t i = 0; i < marked_.size(); ++i) {
        TsuiSkinned* control = marked_[i];
        if (!control || control->pendingIn_ != this)
            continue;
        control->pendingIn_ = nullptr;
        const QPointer<QObject> alive(control->self_);
        control->changeLook();
        if (!alive)
            continue;
        const bool written = std::exchange(control->childrenWritten_, false);
        if (written || !control->passesLookToChildren())
            continue;
        g_open = this;
        inserting_ = true;
        insertAt_ = i + 1;
        ApplyThemeToChildren(control->self_, control->style_, control->theme_.data());
        inserting_ = false;
        g_open = nullptr;
    }
    --g_rereading;
}

LookChangeScope* LookChangeScope::Open() {
    return g_open;
}

bool LookChangeScope::mark(TsuiSkinned* control) {
    if (control->pendingIn_ == this)
        return false;
    // A change that has not reached the control yet need not read it.
    if (control->pendingIn_)
        control->pendingIn_->forget(control);
    control->pendingIn_ = this;
    if (inserting_)
        marked_.insert(marked_.begin() + static_cast<std::ptrdiff_t>(insertAt_++), control);
    else
        marked_.push_back(control);
    return true;
}

void LookChangeScope::forget(const TsuiSkinned* control) {
    std::replace(marked_.begin(), marked_.end(), const_cast<TsuiSkinned*>(control),
                 static_cast<TsuiSkinned*>(nullptr));
}

TsuiSkinned::TsuiSkinned(QObject* self, QObject* owner, LookScope scope)
    : self_(self), scope_(scope), style_(OwnerFormStyle(owner)),
      look_(SkinLook::Resolve(nullptr, style_)), readStyle_(style_) {}

TsuiSkinned::~TsuiSkinned() {
    if (pendingIn_)
        pendingIn_->forget(this);
    // The theme may outlive this part of the control (it can even be one of the control's
    // own children, destroyed after this destructor): it must not call back into it.
    QObject::disconnect(destroyedConnection_);
    QObject::disconnect(reloadConnection_);
}

quint64 TsuiSkinned::LookReadCount() {
    return g_lookReads;
}

bool TsuiSkinned::takesLookWrite(const TsuiFileTheme*, LookChange) const {
    return true;
}

void TsuiSkinned::styleUpdated(const SkinLook&) {}

void TsuiSkinned::writeLook(TsuiUIStyle style, TsuiFileTheme* theme, LookChange change) {
    if (!takesLookWrite(theme, change))
        return;
    const LookChangeScope scope;
    // A theme being destroyed reads as none already, but the control still follows it
    // until it is written none: then it need not fall back to DeepBlue by itself again.
    if (theme != theme_.data() || (!theme && destroyedConnection_))
        followTheme(theme);
    style_ = style;
    // A control the change has read with these values already (its container wrote it
    // from its styleUpdated before passing the look on) is not read again.
    if (!pendingIn_ && change != LookChange::Reload && readChange_ == g_change &&
        style == readStyle_ && theme == readTheme_ &&
        readLoad_ == (theme ? theme->loadSerial() : 0))
        return;
    pendingChange_ = pendingIn_ && pendingChange_ == LookChange::Style ? LookChange::Style : change;
    LookChangeScope::Open()->mark(this);
}

void TsuiSkinned::changeLook() {
    ++g_lookReads;
    change_ = pendingChange_;
    readChange_ = g_change;
    readLoad_ = theme_ ? theme_->loadSerial() : 0;
    look_ = SkinLook::Resolve(theme_.data(), style_);
    const bool styleChanged = style_ != readStyle_;
    const bool themeChanged = theme_.data() != readTheme_;
    readStyle_ = style_;
    readTheme_ = theme_.data();
    styleUpdated(look_);
    if (auto* widget = qobject_cast<QWidget*>(self_))
        widget->update();
    notifyLook(styleChanged, themeChanged);
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
        writeLook(style_, theme_.data(), LookChange::Reload);
}

void TsuiSkinned::onThemeDestroyed() {
    QObject::disconnect(reloadConnection_);
    destroyedConnection_ = {};
    reloadConnection_ = {};
    theme_ = nullptr;
    // Whatever the style was, a control whose theme went away draws as DeepBlue; a
    // container gives its children DeepBlue and no theme first, and not again after.
    const LookChangeScope scope;
    const bool container = passesLookToChildren();
    if (container)
        ApplyThemeToChildren(self_, TsuiUIStyle::DeepBlue, nullptr);
    writeLook(TsuiUIStyle::DeepBlue, nullptr, LookChange::Style);
    if (container && pendingIn_)
        childrenWritten_ = true;
}
