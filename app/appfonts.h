#pragma once
// Fonts of the window description. The description names "MS Sans Serif" and "Tahoma"
// in points at 96 pixels per inch. Free fonts of both names with matching metrics ship in
// the fonts-wine package; they are loaded from there when present, and both names fall
// back to DejaVu Sans otherwise. This is the one place that knows.

#include <QFont>
#include <QString>
#include <QStringList>

// Loads the description's fonts from `folder` (the fonts-wine folder by default) into the
// application, and maps each name that is still unknown afterwards to DejaVu Sans. Call
// once, after the QApplication exists and before any window. Returns the families taken
// from font files.
QStringList
RegisterApplicationFonts(const QString& folder = QStringLiteral("/usr/share/wine/fonts"));

// Pixels of a point size at the description's fixed 96 pixels per inch (8 pt -> 11 px).
int PointsToPixels(int points);

// The named font at that point size, sized in pixels so that screen scaling does not
// change the layout.
QFont DescriptionFont(const QString& family, int points, bool bold = false);
