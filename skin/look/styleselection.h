#pragma once
// How a skinned control picks its look: the style it starts with, the choice between its
// file theme and a built-in style, and the passing on of both to children.

#include "catalogue/tsuiuistyle.h"

class QObject;
class TsuiFileTheme;

// The style a new skinned control adopts: the UIStyle of the first TsuiForm among the
// direct children of the owner's window, in child order; DeepBlue when the owner is not
// a widget or its window has no TsuiForm.
TsuiUIStyle OwnerFormStyle(const QObject* owner);

// For every direct child of the container, in child order, that publishes both
// "FileTheme" and "UIStyle": FileTheme := theme, then UIStyle := style, through the
// property system so that the child's own setters run. Other children are skipped. The
// writes are one change (LookChangeScope): each control re-reads its look once.
void ApplyThemeToChildren(QObject* container, TsuiUIStyle style, TsuiFileTheme* theme);

// Whether the object's class publishes a property of that name.
bool HasPublishedProperty(const QObject* component, const char* name);

struct ResolvedStyle {
    bool useFile;          // read every element from the theme
    TsuiUIStyle effective; // otherwise the built-in style to read
};

// A built-in style is used as given, whatever the theme; FromThemeFile uses the theme
// when it is present and loaded, and DeepBlue otherwise.
ResolvedStyle ResolveUIStyle(const TsuiFileTheme* theme, TsuiUIStyle style);
