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
//
// "MS Sans Serif" is drawn from bitmap strikes of one size: on a screen scaled by
// `devicePixelRatio` other than 1 it would be drawn at its 1x size with doubled advances,
// small and letter-spaced. There the name is given to a scalable face instead, Tahoma
// (whose 8-point metrics are close to it) or DejaVu Sans, so text is drawn sharp at the
// screen's own resolution while the layout, in logical pixels, stays as it is.
QStringList
RegisterApplicationFonts(const QString& folder = QStringLiteral("/usr/share/wine/fonts"),
                         qreal devicePixelRatio = 1.0);

// The scalable face that stands in for a face of bitmap strikes on scaled screens.
QString ScalableStandIn();

// Pixels of a point size at the description's fixed 96 pixels per inch (8 pt -> 11 px).
int PointsToPixels(int points);

// The named font at that point size, sized in pixels so that screen scaling does not
// change the layout.
QFont DescriptionFont(const QString& family, int points, bool bold = false);
