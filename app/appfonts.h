#pragma once
// Fonts of the window description. The description names "MS Sans Serif" and "Tahoma"
// in points at 96 pixels per inch; neither exists on Linux, so they are mapped once, here,
// to a font every installation has.

#include <QFont>
#include <QString>

// Maps the description's font names to installed ones. Call once, before any window.
void RegisterFontSubstitutions();

// Pixels of a point size at the description's fixed 96 pixels per inch (8 pt -> 11 px).
int PointsToPixels(int points);

// The named font at that point size, sized in pixels so that screen scaling does not
// change the layout.
QFont DescriptionFont(const QString& family, int points, bool bold = false);
