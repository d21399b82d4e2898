#pragma once
// What every skinned control shares, written once: the UIStyle and FileTheme properties,
// the resolved look, the style-updated step, passing the look on to children, and the
// fall-back to DeepBlue when the theme component goes away.
//
// A control derives from its Qt class first and from TsuiSkinned second, and puts
// TSUI_SKINNED_PROPERTIES after Q_OBJECT (the two Q_PROPERTY lines; moc expands the macro
// because it sees this header):
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
// Style and theme are set together by setLook, in one step: both are stored, the look
// (skinlook.h) is resolved once, styleUpdated runs (where the control overwrites
// BorderColor, Color, Transparent and the like from the look and keeps the bitmaps it
// paints with), style and theme are passed on to the direct children when the control is a
// container (LookScope::SelfAndChildren, or an override of passesLookToChildren), and the
// control repaints. Writing UIStyle is setLook with the present theme, writing FileTheme
// setLook with the present style. A control follows its theme: when the theme reads another
// file, the control re-reads its look once (a control whose frame or container re-read it
// for that load already is not re-read again). Creation takes the style of the owner
// window's TsuiForm and resolves the look without calling styleUpdated. Paint code reads
// look() and never loads a bitmap.
//
// A class that needs more than this overrides changeLook, the one step every assignment
// goes through, and asks lookChange() in styleUpdated what caused the re-read.

#include <QMetaObject>
#include <QPointer>

#include "catalogue/tsuiuistyle.h"
#include "look/skinlook.h"
#include "theme/tsuifiletheme.h"

#define TSUI_SKINNED_PROPERTIES                                                                    \
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)                            \
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)

class TsuiSkinned {
public:
    TsuiSkinned(const TsuiSkinned&) = delete;
    TsuiSkinned& operator=(const TsuiSkinned&) = delete;

    TsuiUIStyle UIStyle() const { return style_; }
    void setUIStyle(TsuiUIStyle style) { changeLook(style, theme_.data(), LookChange::Style); }
    TsuiFileTheme* FileTheme() const { return theme_.data(); }
    void setFileTheme(TsuiFileTheme* theme) { changeLook(style_, theme, LookChange::Theme); }
    // Both at once, the look read once.
    void setLook(TsuiUIStyle style, TsuiFileTheme* theme) {
        changeLook(style, theme, LookChange::Style);
    }

    // The look as last resolved.
    const SkinLook& look() const { return look_; }

protected:
    enum class LookScope {
        Self,            // a plain control
        SelfAndChildren, // a container: its direct children take its style and theme
    };
    // What made the look be read again. Values a style sets that the control's owner may
    // set by hand afterwards (the title bar's caption colour) survive a change of the
    // theme alone.
    enum class LookChange {
        Style,  // the style was written, with or without the theme
        Theme,  // the theme was written, the style kept
        Reload, // the theme read another file
    };

    // `self` is the control itself, `owner` the window it is created on.
    TsuiSkinned(QObject* self, QObject* owner, LookScope scope = LookScope::Self);
    virtual ~TsuiSkinned();

    // Stores style and theme, reads the look once and applies it (see above).
    virtual void changeLook(TsuiUIStyle style, TsuiFileTheme* theme, LookChange change);
    // Called after every resolution of the look, before the children are styled and the
    // control repaints. The default does nothing.
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
};
