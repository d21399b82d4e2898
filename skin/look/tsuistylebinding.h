#pragma once
// What every skinned control shares: its UIStyle and FileTheme, the re-read of its
// look whenever either is assigned, and the fall-back to DeepBlue when the theme
// component it refers to goes away. A control holds one binding, publishes the two
// properties as Q_PROPERTYs that forward here, and says in its apply callback which
// elements it reads (through the element readers below) and repaints.

#include <QColor>
#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <functional>

#include "tsuiuistyle.h"

class TsuiFileTheme;
class QObject;

class TsuiStyleBinding {
public:
    using ApplyFn = std::function<void()>;

    // `owner` is the component's owner: the window it is created on. The initial style
    // is OwnerFormStyle(owner); the FileTheme starts as none. `apply` is not called here.
    TsuiStyleBinding(QObject* owner, ApplyFn apply);
    ~TsuiStyleBinding();
    TsuiStyleBinding(const TsuiStyleBinding&) = delete;
    TsuiStyleBinding& operator=(const TsuiStyleBinding&) = delete;

    TsuiUIStyle uiStyle() const { return style_; }
    // Stores the style, then runs the apply callback (which re-reads and repaints).
    void setUIStyle(TsuiUIStyle style);

    TsuiFileTheme* fileTheme() const;
    // Stores the reference, then assigns the current style again so the look is re-read.
    void setFileTheme(TsuiFileTheme* theme);

    // Element readers: through ResolveUIStyle, from the theme file or from the built-in
    // table with the effective style. `element` is 1..42.
    bool usesFileTheme() const;
    TsuiUIStyle effectiveStyle() const;
    QColor color(int element) const;
    int integer(int element) const;
    bool boolean(int element) const;
    // The element's bitmap; with frameCount > 0 only frame frameIndex (1-based).
    QImage bitmap(int element, int frameCount = 0, int frameIndex = 0) const;

    // Called when the referenced theme component is destroyed; by default the control
    // falls back to DeepBlue with no theme. Containers set this to pass the fall-back on
    // to their children first.
    void setThemeRemovedHook(std::function<void()> hook) { themeRemovedHook_ = std::move(hook); }

private:
    void onThemeDestroyed();

    TsuiUIStyle style_;
    QPointer<TsuiFileTheme> theme_;
    QMetaObject::Connection themeConnection_;
    ApplyFn apply_;
    std::function<void()> themeRemovedHook_;
};
