#include "tsuistylebinding.h"

#include "styleselection.h"
#include "themeelements.h"
#include "tsuifiletheme.h"

TsuiStyleBinding::TsuiStyleBinding(QObject* owner, ApplyFn apply)
    : style_(OwnerFormStyle(owner)), apply_(std::move(apply)) {}

TsuiStyleBinding::~TsuiStyleBinding() {
    QObject::disconnect(themeConnection_);
}

void TsuiStyleBinding::setUIStyle(TsuiUIStyle style) {
    style_ = style;
    if (apply_)
        apply_();
}

TsuiFileTheme* TsuiStyleBinding::fileTheme() const {
    return theme_.data();
}

void TsuiStyleBinding::setFileTheme(TsuiFileTheme* theme) {
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

void TsuiStyleBinding::onThemeDestroyed() {
    themeConnection_ = {};
    theme_ = nullptr;
    if (themeRemovedHook_)
        themeRemovedHook_();
    // Whatever the style was, a control whose theme went away draws as DeepBlue.
    setUIStyle(TsuiUIStyle::DeepBlue);
}

bool TsuiStyleBinding::usesFileTheme() const {
    return ResolveUIStyle(theme_.data(), style_).useFile;
}

TsuiUIStyle TsuiStyleBinding::effectiveStyle() const {
    return ResolveUIStyle(theme_.data(), style_).effective;
}

QColor TsuiStyleBinding::color(int element) const {
    const ResolvedStyle resolved = ResolveUIStyle(theme_.data(), style_);
    const qint32 value = resolved.useFile ? theme_->ThemeColor(element)
                                          : BuiltinColor(StyleOrdinal(resolved.effective), element);
    return TsuiColorToQColor(static_cast<quint32>(value));
}

int TsuiStyleBinding::integer(int element) const {
    const ResolvedStyle resolved = ResolveUIStyle(theme_.data(), style_);
    return resolved.useFile ? theme_->ThemeInt(element)
                            : BuiltinInt(StyleOrdinal(resolved.effective), element);
}

bool TsuiStyleBinding::boolean(int element) const {
    const ResolvedStyle resolved = ResolveUIStyle(theme_.data(), style_);
    return resolved.useFile ? theme_->ThemeBool(element)
                            : BuiltinBool(StyleOrdinal(resolved.effective), element);
}

QImage TsuiStyleBinding::bitmap(int element, int frameCount, int frameIndex) const {
    const ResolvedStyle resolved = ResolveUIStyle(theme_.data(), style_);
    QImage image;
    if (resolved.useFile) {
        if (frameCount > 0)
            theme_->ThemeBitmapFrame(element, image, frameCount, frameIndex);
        else
            theme_->ThemeBitmap(element, image);
    } else {
        BuiltinBitmapFrame(StyleOrdinal(resolved.effective), element, &image, frameCount,
                           frameIndex);
    }
    return image;
}
