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
// Writing UIStyle stores it, resolves the look (skinlook.h) once, calls styleUpdated (where
// the control overwrites BorderColor, Color, Transparent and the like from the look and
// keeps the bitmaps it paints with), passes style and theme on to its direct children when
// it is a container (LookScope::SelfAndChildren, or an override of passesLookToChildren),
// and repaints. Writing FileTheme stores it and writes UIStyle again. Creation takes the
// style of the owner window's TsuiForm and resolves the look without calling styleUpdated.
// Paint code reads look() and never loads a bitmap.

#include <QMetaObject>
#include <QPointer>

#include "skinlook.h"
#include "tsuifiletheme.h"
#include "tsuiuistyle.h"

#define TSUI_SKINNED_PROPERTIES                                                                    \
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)                            \
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)

class TsuiSkinned {
public:
    TsuiSkinned(const TsuiSkinned&) = delete;
    TsuiSkinned& operator=(const TsuiSkinned&) = delete;

    TsuiUIStyle UIStyle() const { return style_; }
    void setUIStyle(TsuiUIStyle style);
    TsuiFileTheme* FileTheme() const { return theme_.data(); }
    void setFileTheme(TsuiFileTheme* theme);

    // The look as last resolved.
    const SkinLook& look() const { return look_; }

protected:
    enum class LookScope {
        Self,            // a plain control
        SelfAndChildren, // a container: its direct children take its style and theme
    };

    // `self` is the control itself, `owner` the window it is created on.
    TsuiSkinned(QObject* self, QObject* owner, LookScope scope = LookScope::Self);
    virtual ~TsuiSkinned();

    // Called after every resolution of the look, before the children are styled and the
    // control repaints. The default does nothing.
    virtual void styleUpdated(const SkinLook& look);
    // Whether this control passes its look on to its children now.
    virtual bool passesLookToChildren() const { return scope_ == LookScope::SelfAndChildren; }

private:
    void onThemeDestroyed();

    QObject* self_;
    LookScope scope_;
    TsuiUIStyle style_;
    QPointer<TsuiFileTheme> theme_;
    QMetaObject::Connection themeConnection_;
    SkinLook look_;
};
