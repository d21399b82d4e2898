#include "look/styleselection.h"

#include <QMetaObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "look/tsuiskinned.h"
#include "theme/tsuifiletheme.h"

TsuiUIStyle OwnerFormStyle(const QObject* owner) {
    const auto* widget = qobject_cast<const QWidget*>(owner);
    if (!widget)
        return TsuiUIStyle::DeepBlue;
    const QWidget* form = widget->window();
    for (const QObject* child : form->children()) {
        // The frame is found by what it is, not by its class name, and without this
        // layer knowing the window classes built on it.
        if (const auto* skinned = dynamic_cast<const TsuiSkinned*>(child);
            skinned && skinned->isWindowFrame())
            return skinned->UIStyle();
    }
    return TsuiUIStyle::DeepBlue;
}

void ApplyThemeToChildren(QObject* container, TsuiUIStyle style, TsuiFileTheme* theme) {
    if (!container)
        return;
    // One change: every control inside re-reads its look once, when it ends.
    const LookChangeScope change;
    // Guarded copies: a child's setter may add or delete children of the container.
    QList<QPointer<QObject>> children;
    for (QObject* child : container->children())
        children.append(child);
    for (const QPointer<QObject>& child : children) {
        if (!child)
            continue;
        if (!HasPublishedProperty(child, "FileTheme") || !HasPublishedProperty(child, "UIStyle"))
            continue;
        child->setProperty("FileTheme", QVariant::fromValue(theme));
        child->setProperty("UIStyle", QVariant::fromValue(style));
    }
}

bool HasPublishedProperty(const QObject* component, const char* name) {
    return component && component->metaObject()->indexOfProperty(name) >= 0;
}

ResolvedStyle ResolveUIStyle(const TsuiFileTheme* theme, TsuiUIStyle style) {
    if (style != TsuiUIStyle::FromThemeFile)
        return {false, style};
    if (theme && theme->ThemeLoaded())
        return {true, TsuiUIStyle::FromThemeFile};
    return {false, TsuiUIStyle::DeepBlue};
}
