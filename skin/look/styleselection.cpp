#include "styleselection.h"

#include <QMetaObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "tsuifiletheme.h"

namespace {
// The window frame class is found by name: it lives with the controls and this file must
// not depend on it. Subclasses count.
bool IsTsuiForm(const QObject* object) {
    for (const QMetaObject* meta = object->metaObject(); meta; meta = meta->superClass()) {
        if (qstrcmp(meta->className(), "TsuiForm") == 0)
            return true;
    }
    return false;
}
} // namespace

TsuiUIStyle OwnerFormStyle(const QObject* owner) {
    const auto* widget = qobject_cast<const QWidget*>(owner);
    if (!widget)
        return TsuiUIStyle::DeepBlue;
    const QWidget* form = widget->window();
    for (const QObject* child : form->children()) {
        if (!IsTsuiForm(child))
            continue;
        const QVariant style = child->property("UIStyle");
        if (style.canConvert<TsuiUIStyle>())
            return style.value<TsuiUIStyle>();
        return TsuiUIStyle::DeepBlue;
    }
    return TsuiUIStyle::DeepBlue;
}

void ApplyThemeToChildren(QObject* container, TsuiUIStyle style, TsuiFileTheme* theme) {
    if (!container)
        return;
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
