#pragma once
// What every skinned control shares, written once: the UIStyle and FileTheme properties,
// the resolved look, the style-updated step, passing the look on to children, and the
// fall-back to DeepBlue when the theme component goes away.
//
// A control derives from its Qt class first and from TsuiSkinned second, and puts
// TSUI_SKINNED_PROPERTIES after Q_OBJECT (the two Q_PROPERTY lines and their change
// signals; moc expands the macro because it sees this header):
//
//     class TsuiEdit : public QLineEdit, public TsuiSkinned {
//         Q_OBJECT
//         TSUI_SKINNED_PROPERTIES
//     public:
//         explicit TsuiEdit(QWidget* owner = nullptr)
//             : QLineEdit(owner), TsuiSkinned(this, owner) {}
//     protected:
//         void styleUpdated(const SkinLook& look) override {
//             setBorderColor(look.color(SkinColor::ControlBorder));
//         }
//     };
//
// Style and theme are set together by setLook, in one write: both are stored and the
// control is marked to re-read its look. Writing UIStyle is setLook with the present
// theme, writing FileTheme setLook with the present style.
//
// The re-read (changeLook) runs when the outermost write ends, once for every control
// marked by it, parents before what they hold: the look is resolved once (skinlook.h),
// styleUpdated runs (where the control overwrites BorderColor, Color, Transparent and the
// like from the look and keeps the bitmaps it paints with), the control repaints and
// notifies UIStyleChanged and FileThemeChanged for the values that changed. A container
// (LookScope::SelfAndChildren, or an override of passesLookToChildren) then writes its
// style and theme to its direct children (ApplyThemeToChildren: FileTheme, then UIStyle),
// which join the same change. So every control inside the outermost one re-reads once,
// at any depth. LookChangeScope makes several writes one change. A write made from a
// styleUpdated is a change of its own and is re-read at once (the frame reads its title
// bar's new height right after writing its look); the control is then not re-read again
// for the change that is ending, nor when its container writes it the same values later
// in that change.
//
// A control follows its theme: when the theme reads another file, the control re-reads its
// look once (a control whose frame or container re-read it for that load already is not
// re-read again). Creation takes the style of the owner window's TsuiForm and resolves the
// look without calling styleUpdated. Paint code reads look() and never loads a bitmap.
//
// A class asks lookChange() in styleUpdated what caused the re-read, and may refuse a write
// in takesLookWrite.

#include <QMetaObject>
#include <QPointer>
#include <vector>

#include "catalogue/tsuiuistyle.h"
#include "look/skinlook.h"
#include "theme/tsuifiletheme.h"

// The two properties, their change signals and the hook through which TsuiSkinned emits
// them. Placed right after Q_OBJECT, it leaves the access private as Q_OBJECT does.
#define TSUI_SKINNED_PROPERTIES                                                                    \
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle NOTIFY UIStyleChanged)      \
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme NOTIFY FileThemeChanged) \
public:                                                                                            \
    Q_SIGNAL void UIStyleChanged();                                                                \
    Q_SIGNAL void FileThemeChanged();                                                              \
                                                                                                   \
private:                                                                                           \
    void notifyLook(bool styleChanged, bool themeChanged) override {                               \
        if (styleChanged)                                                                          \
            Q_EMIT UIStyleChanged();                                                               \
        if (themeChanged)                                                                          \
            Q_EMIT FileThemeChanged();                                                             \
    }

class LookChangeScope;

class TsuiSkinned {
public:
    TsuiSkinned(const TsuiSkinned&) = delete;
    TsuiSkinned& operator=(const TsuiSkinned&) = delete;

    TsuiUIStyle UIStyle() const { return style_; }
    void setUIStyle(TsuiUIStyle style) { writeLook(style, theme_.data(), LookChange::Style); }
    TsuiFileTheme* FileTheme() const { return theme_.data(); }
    void setFileTheme(TsuiFileTheme* theme) { writeLook(style_, theme, LookChange::Theme); }
    // Both at once, the look read once.
    void setLook(TsuiUIStyle style, TsuiFileTheme* theme) {
        writeLook(style, theme, LookChange::Style);
    }

    // The look as last resolved.
    const SkinLook& look() const { return look_; }

    // How many times a control of this process has re-read its look (changeLook), for
    // the tests and benchmarks that hold a change to one re-read per control.
    static quint64 LookReadCount();

protected:
    enum class LookScope {
        Self,            // a plain control
        SelfAndChildren, // a container: its direct children take its style and theme
    };
    // What made the look be read again. Values a style sets that the control's owner may
    // set by hand afterwards (the title bar's caption colour) survive a change of the
    // theme alone. When one change wrote the control more than once, a write of the style
    // counts over the others, and otherwise the last write counts.
    enum class LookChange {
        Style,  // the style was written, with or without the theme
        Theme,  // the theme was written, the style kept
        Reload, // the theme read another file
    };

    // `self` is the control itself, `owner` the window it is created on.
    TsuiSkinned(QObject* self, QObject* owner, LookScope scope = LookScope::Self);
    virtual ~TsuiSkinned();

    // Whether the control takes a write of this theme for this cause. The default takes
    // every write.
    virtual bool takesLookWrite(const TsuiFileTheme* theme, LookChange change) const;
    // Called after every resolution of the look, before the control repaints. The default
    // does nothing.
    virtual void styleUpdated(const SkinLook& look);
    // Whether this control passes its look on to its children now.
    virtual bool passesLookToChildren() const { return scope_ == LookScope::SelfAndChildren; }

public:
    // Whether this is a window's frame, whose style new controls of the window adopt.
    virtual bool isWindowFrame() const { return false; }

protected:
    // What caused the re-read that styleUpdated is called for.
    LookChange lookChange() const { return change_; }

private:
    friend class LookChangeScope;

    // Stores style and theme, passes them on and marks the control for the re-read.
    void writeLook(TsuiUIStyle style, TsuiFileTheme* theme, LookChange change);
    // The re-read: resolves the look once and applies it (see above).
    void changeLook();
    // Emits the change signals (TSUI_SKINNED_PROPERTIES).
    virtual void notifyLook(bool styleChanged, bool themeChanged) = 0;
    void followTheme(TsuiFileTheme* theme);
    void onThemeReloaded();
    void onThemeDestroyed();

    QObject* self_;
    LookScope scope_;
    TsuiUIStyle style_;
    QPointer<TsuiFileTheme> theme_;
    QMetaObject::Connection destroyedConnection_;
    QMetaObject::Connection reloadConnection_;
    // The load of the theme that the look was last read from (TsuiFileTheme::loadSerial).
    quint64 readLoad_ = 0;
    LookChange change_ = LookChange::Style;
    SkinLook look_;
    // Style and theme as the look was last read, for the change signals.
    TsuiUIStyle readStyle_;
    const TsuiFileTheme* readTheme_ = nullptr;
    // The outermost change the look was last read in (LookChangeScope).
    quint64 readChange_ = 0;
    // The change whose end re-reads this control, the cause so far, and whether the
    // children have been written for it already.
    LookChangeScope* pendingIn_ = nullptr;
    LookChange pendingChange_ = LookChange::Style;
    bool childrenWritten_ = false;
};

// Makes the writes of its lifetime one change: every control they mark re-reads its look
// once, when the outermost scope ends. Writes open one of their own when none is open.
class LookChangeScope {
public:
    LookChangeScope();
    ~LookChangeScope();
    LookChangeScope(const LookChangeScope&) = delete;
    LookChangeScope& operator=(const LookChangeScope&) = delete;

private:
    friend class TsuiSkinned;
    // Marks the control for this change (taking it from a change that has not reached it
    // yet); false when it was marked already.
    bool mark(TsuiSkinned* control);
    void forget(const TsuiSkinned* control);
    // The scope that writes join now; nullptr while none is open or a change is re-read.
    static LookChangeScope* Open();

    bool outermost_;
    std::vector<TsuiSkinned*> marked_;
    // While a re-read control passes its look on: where the children it marks go, right
    // after it, so that every control is read before what it holds.
    std::size_t insertAt_ = 0;
    bool inserting_ = false;
};
